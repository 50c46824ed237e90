#include "preview/cli/options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>

#include "preview/editor/swatch_picture.h"

namespace QuarelPreview {

namespace {

// Shorthand options and the parameters they set.
struct Shorthand {
    const char* option;
    const char* param;
    const char* help;
};
constexpr Shorthand kShorthands[] = {
    {"--pattern", "pattern", "Pattern: id (0-29) or display name, e.g. \"Herringbone\""},
    {"--nx", "nx", "Horizontal count (parameter nx)"},
    {"--ny", "ny", "Vertical count (parameter ny)"},
    {"--gap-u", "gap_u", "Vertical grout width (parameter gap_u)"},
    {"--gap-v", "gap_v", "Horizontal grout width (parameter gap_v)"},
    {"--random-shift", "random_shift", "Random row shift (parameter random_shift)"},
    {"--seed", "seed", "Seed (parameter seed)"},
};

bool ParseBox(const std::string& text, Point3& box) {
    float v[3];
    const char* p = text.data();
    const char* end = p + text.size();
    for (int k = 0; k < 3; ++k) {
        const auto [next, ec] = std::from_chars(p, end, v[k]);
        if (ec != std::errc() || !std::isfinite(v[k]) || v[k] < 0.001f || v[k] > 1000.f)
            return false;
        p = next;
        if (k < 2) {
            if (p == end || *p != ',') return false;
            ++p;
        }
    }
    if (p != end) return false;
    box = Point3(v[0], v[1], v[2]);
    return true;
}

}  // namespace

int ParseOptions(int argc, char** argv, PreviewOptions& o) {
    CLI::App app{
        "quarel-preview: loads QuarelMap.dlt as a host does and renders its map to PNG.\n"
        "With no arguments it writes a labelled sheet of every pattern into out/."};
    app.set_help_all_flag("--help-all", "Help for every subcommand");

    // Options every command takes.
    app.add_option("--module", o.module, "The module to load (default: the build tree's)");
    app.add_option("--preset", o.preset, "JSON preset of parameter values");
    app.add_option("--scene", o.scene,
                   "Scene file to take the map from: its first QuarelMap, in the order the\n"
                   "module searches node materials after loading");
    app.add_option("--map", o.mapName, "With --scene: the QuarelMap of this name");
    app.add_option("--save-scene", o.saveScene, "Also save the map as a scene file");
    std::string shorthand[std::size(kShorthands)];
    for (std::size_t i = 0; i < std::size(kShorthands); ++i)
        app.add_option(kShorthands[i].option, shorthand[i], kShorthands[i].help);
    std::vector<std::string> sets;
    app.add_option("--set", sets, "NAME=VALUE: a parameter by internal name (repeatable)")
        ->check(CLI::Validator(
            [](std::string& v) -> std::string {
                const std::size_t eq = v.find('=');
                if (eq == std::string::npos || eq == 0)
                    return "'" + v + "' is not NAME=VALUE, e.g. --set nx=6";
                return {};
            },
            "NAME=VALUE", "assignment"));
    std::string output = OutputName(o.output);
    app.add_option("--output", output,
                   "What to show: color, mono, cells (swatch colours), normal (the normal "
                   "output), bump (the bump output), perturb (the map's perturbation as a "
                   "normal) or height (the relief's height field)")
        ->check(CLI::IsMember({"color", "mono", "cells", "normal", "bump", "perturb", "height"}))
        ->capture_default_str();
    app.add_flag("--normal-y-down", o.normalYDown,
                 "Normal pictures with green growing downwards (+Y down) instead of upwards");

    // Bake's normal map, and the lit sample objects of pictures.
    std::string normalSource = "height";
    app.add_option("--normal-source", normalSource,
                   "bake: normals from the baked height tile (height: smoothed by a tent filter\n"
                   "reaching --bevel pixels each side, then central differences, wrapping) or\n"
                   "the map's own normal output (output)")
        ->check(CLI::IsMember({"height", "output"}))
        ->capture_default_str();
    app.add_option("--bevel", o.bevel,
                   "bake: pixels the height is smoothed over to each side of a step before its\n"
                   "slopes are taken (0: plain differences of the height image)")
        ->check(CLI::Range(0, 64))
        ->capture_default_str();
    app.add_option("--relief-depth", o.reliefDepth,
                   "bake: how many pixels of the tile a unit height step (grout 0 to brick 1)\n"
                   "stands high; larger gives steeper joints")
        ->check(CLI::Range(0.0, 10000.0))
        ->capture_default_str();
    app.add_option("--object", o.object,
                   "A lit sample object instead of the plane: sphere, cube, cylinder or plane")
        ->check(CLI::IsMember({"sphere", "cube", "cylinder", "plane"}));
    app.add_option("--bump", o.bump,
                   "With --object: how far the map's perturbation bends the shading normal")
        ->check(CLI::Range(0.0, 100.0))
        ->capture_default_str();

    // Options of pictures.
    std::string projection = ProjectionName(o.projection);
    app.add_option("--projection", projection,
                   "plane (UV) or box (four side faces unrolled, \"Accurate\" projection)")
        ->check(CLI::IsMember({"plane", "box"}))
        ->capture_default_str();
    std::string box;
    app.add_option("--box", box, "Box size X,Y,Z for --projection box (default 1,0.5,1)")
        ->check(CLI::Validator(
            [](std::string& v) -> std::string {
                Point3 b;
                return ParseBox(v, b) ? std::string()
                                      : "'" + v + "' is not X,Y,Z with each from 0.001 to 1000";
            },
            "X,Y,Z", "box"));
    app.add_option("--size", o.size,
                   "Picture height in pixels, 8 to 8192 (per pattern on a sheet); a swatch's side, "
                   "8 to 1024");
    app.add_option("--repeat", o.repeat, "Pattern tiles along each side of a plane")
        ->check(CLI::Range(1, 64))
        ->capture_default_str();
    app.add_option("--samples", o.samples, "Samples per pixel (a fixed pattern)")
        ->check(CLI::Range(1, 256))
        ->capture_default_str();
    app.add_option("--threads", o.threads, "Render threads (0: all cores)")
        ->check(CLI::Range(0, 1024))
        ->capture_default_str();
    app.add_flag("--sheet", o.sheet, "A labelled sheet of all 30 patterns");
    app.add_flag("--quiet,-q", o.quiet, "No progress bar");
    app.add_option("--out", o.out, "Output PNG file, or bake's path prefix (default: under out/)");

    CLI::App* sample = app.add_subcommand(
        "sample",
        "Reads points 'u v' or 'u v du dv' (tile units) from standard input, one a line, and\n"
        "prints 'r g b a' of the chosen output at each. With --projection box (--box X,Y,Z):\n"
        "lines 'x y z nx ny nz', a point on the box from 0,0,0 to X,Y,Z and its outward\n"
        "normal, evaluated as a renderer shades that box (projection_mode \"Accurate\"\n"
        "unless a preset or --set chooses otherwise)");
    sample->fallthrough();
    CLI::App* params =
        app.add_subcommand("params", "Lists the parameters: name, type and range, as declared");
    params->fallthrough();
    CLI::App* bake = app.add_subcommand(
        "bake",
        "Writes seamless colour, normal (16-bit), height (16-bit) and id maps of one tile:\n"
        "PREFIX-color.png, PREFIX-normal.png, PREFIX-height.png, PREFIX-id.png (--size\n"
        "default 1024, --samples default 4). The normals are slopes of the height tile,\n"
        "smoothed over --bevel pixels (default 2) and scaled by --relief-depth (default 6:\n"
        "a unit height step stands 6 pixels high); the id map gives each brick one flat\n"
        "colour, grout black");
    bake->fallthrough();
    CLI::App* swatch = app.add_subcommand(
        "swatch",
        "Draws the editor's swatch of --pattern through a device context, --size pixels square\n"
        "(default 50)");
    swatch->fallthrough();
    CLI::App* picker = app.add_subcommand(
        "picker",
        "Draws the editor's pattern picker menu, opened on the map's rollout through the\n"
        "module, with the map's pattern ticked");
    picker->fallthrough();
    app.require_subcommand(0, 1);

    try {
        app.parse(argc, argv);
        if (sample->parsed()) {
            o.command = Command::Sample;
            for (const char* opt : {"--size", "--repeat", "--samples", "--sheet", "--out",
                                    "--threads", "--normal-y-down"})
                if (app.count(opt) > 0) throw CLI::ValidationError(opt, "does not apply to sample");
        } else if (params->parsed()) {
            o.command = Command::Params;
        } else if (bake->parsed()) {
            o.command = Command::Bake;
            for (const char* opt : {"--projection", "--box", "--repeat", "--sheet", "--output"})
                if (app.count(opt) > 0) throw CLI::ValidationError(opt, "does not apply to bake");
        } else if (swatch->parsed() || picker->parsed()) {
            o.command = swatch->parsed() ? Command::Swatch : Command::Picker;
            const char* name = swatch->parsed() ? "swatch" : "picker";
            for (const char* opt : {"--output", "--projection", "--box", "--repeat", "--samples",
                                    "--sheet", "--threads"})
                if (app.count(opt) > 0)
                    throw CLI::ValidationError(opt, std::string("does not apply to ") + name);
            if (picker->parsed() && app.count("--size") > 0)
                throw CLI::ValidationError("--size", "does not apply to picker");
            // A swatch shows the pattern alone: no map is made, so no scene is read or written.
            if (swatch->parsed())
                for (const char* opt : {"--scene", "--map", "--save-scene"})
                    if (app.count(opt) > 0)
                        throw CLI::ValidationError(opt, "does not apply to swatch");
        }
        // Checked here, not by a validator: the range depends on the subcommand.
        const bool swatchSize = o.command == Command::Swatch;
        const int lo = swatchSize ? kMinSwatchSize : 8, hi = swatchSize ? kMaxSwatchSize : 8192;
        if (app.count("--size") > 0 && (o.size < lo || o.size > hi))
            throw CLI::ValidationError("--size", "Value " + std::to_string(o.size) +
                                                     " not in range " + std::to_string(lo) +
                                                     " to " + std::to_string(hi));
        for (const char* opt : {"--normal-source", "--bevel", "--relief-depth"})
            if (app.count(opt) > 0 && o.command != Command::Bake)
                throw CLI::ValidationError(opt, "applies to bake only");
        if (app.count("--object") > 0) {
            if (o.command != Command::Render)
                throw CLI::ValidationError("--object", "applies to pictures only");
            for (const char* opt : {"--projection", "--box", "--repeat", "--sheet", "--output"})
                if (app.count(opt) > 0)
                    throw CLI::ValidationError(opt, "does not apply to --object");
        } else if (app.count("--bump") > 0) {
            throw CLI::ValidationError("--bump", "applies to --object only");
        }
        if (app.count("--map") > 0 && app.count("--scene") == 0)
            throw CLI::ValidationError("--map", "applies to --scene only");
        if (output == "cells" && projection == "box")
            throw CLI::ValidationError("--output cells", "shows the plane only");
        if (app.count("--box") > 0 && projection != "box")
            throw CLI::ValidationError("--box", "applies to --projection box only");
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitRefused;
    }

    constexpr Output kOutputs[] = {Output::Color, Output::Mono,    Output::Cells, Output::Normal,
                                   Output::Bump,  Output::Perturb, Output::Height};
    for (Output candidate : kOutputs)
        if (output == OutputName(candidate)) o.output = candidate;
    o.projection = projection == "box" ? Projection::Box : Projection::Plane;
    o.normalFromOutput = normalSource == "output";
    if (!box.empty()) ParseBox(box, o.box);
    for (std::size_t i = 0; i < std::size(kShorthands); ++i)
        if (app.count(kShorthands[i].option) > 0)
            o.sets.emplace_back(kShorthands[i].param, shorthand[i]);
    for (const std::string& s : sets) {
        const std::size_t eq = s.find('=');
        o.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
    }
    if (argc <= 1) o.sheet = true;
    if (app.count("--size") == 0)
        o.size = o.command == Command::Bake     ? 1024
                 : o.command == Command::Swatch ? kDefaultSwatchSize
                 : o.sheet                      ? 200
                                                : 512;
    if (o.command == Command::Bake && app.count("--samples") == 0) o.samples = 4;
    return -1;
}

}  // namespace QuarelPreview
