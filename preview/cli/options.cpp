#include "preview/cli/options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "pattern/catalogue.h"
#include "preview/common/param_table.h"
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
    {"--pattern", "pattern",
     "Pattern: id (0-29) or name, e.g. \"Herringbone\" (quarel-preview patterns lists them)"},
    {"--nx", "nx", "Horizontal count (parameter nx)"},
    {"--ny", "ny", "Vertical count (parameter ny)"},
    {"--gap-u", "gap_u", "Vertical grout width (parameter gap_u)"},
    {"--gap-v", "gap_v", "Horizontal grout width (parameter gap_v)"},
    {"--random-shift", "random_shift", "Random row shift (parameter random_shift)"},
    {"--seed", "seed", "Seed (parameter seed)"},
};

constexpr Command kCommands[] = {Command::Render,   Command::Sample, Command::Params,
                                 Command::Bake,     Command::Swatch, Command::Picker,
                                 Command::Patterns, Command::Show};

constexpr unsigned Bit(Command c) {
    return 1u << static_cast<unsigned>(c);
}
constexpr unsigned kAll = 0xFFu;
constexpr unsigned kMapSettings = Bit(Command::Render) | Bit(Command::Sample) | Bit(Command::Bake) |
                                  Bit(Command::Picker) | Bit(Command::Show);
constexpr unsigned kParamValues = kMapSettings | Bit(Command::Swatch);

// Which commands take each option; an option not listed is taken by every command.
struct Takes {
    const char* option;
    unsigned commands;
};
constexpr Takes kTakes[] = {
    {"--preset", kParamValues},
    {"--set", kParamValues},
    {"--pattern", kParamValues},
    {"--nx", kMapSettings},
    {"--ny", kMapSettings},
    {"--gap-u", kMapSettings},
    {"--gap-v", kMapSettings},
    {"--random-shift", kMapSettings},
    {"--seed", kMapSettings},
    {"--scene", kMapSettings},
    {"--map", kMapSettings},
    {"--save-scene", kMapSettings & ~Bit(Command::Show)},
    {"--output", Bit(Command::Render) | Bit(Command::Sample)},
    {"--normal-y-down", Bit(Command::Render) | Bit(Command::Bake)},
    {"--projection", Bit(Command::Render) | Bit(Command::Sample)},
    {"--box", Bit(Command::Render) | Bit(Command::Sample)},
    {"--normal-source", Bit(Command::Bake)},
    {"--bevel", Bit(Command::Bake)},
    {"--relief-depth", Bit(Command::Bake)},
    {"--object", Bit(Command::Render)},
    {"--bump", Bit(Command::Render)},
    {"--size", Bit(Command::Render) | Bit(Command::Bake) | Bit(Command::Swatch)},
    {"--repeat", Bit(Command::Render)},
    {"--samples", Bit(Command::Render) | Bit(Command::Bake)},
    {"--threads", Bit(Command::Render) | Bit(Command::Bake)},
    {"--sheet", Bit(Command::Render)},
    {"--out",
     Bit(Command::Render) | Bit(Command::Bake) | Bit(Command::Swatch) | Bit(Command::Picker)},
};

unsigned CommandsTaking(const std::string& option) {
    for (const Takes& t : kTakes)
        if (option == t.option) return t.commands;
    return kAll;
}

// Why a command takes no option beyond its own, for refusals.
const char* WhatItDoes(Command c) {
    switch (c) {
        case Command::Render:
            return "a render draws the map into one picture";
        case Command::Sample:
            return "sample prints the values at the points it reads and draws no picture";
        case Command::Params:
            return "params lists the module's parameters, whatever a map's values";
        case Command::Bake:
            return "a bake is one tile of the plane as colour, normal, height and id maps";
        case Command::Swatch:
            return "a swatch shows the pattern alone, in fixed settings, as the editor draws it";
        case Command::Picker:
            return "the picker is drawn as the editor shows its menu";
        case Command::Patterns:
            return "patterns lists the pattern catalogue";
        case Command::Show:
            return "show prints the map's values as a preset and writes nothing";
    }
    return "";
}

const char* Describe(Command c) {
    switch (c) {
        case Command::Render:
            return "Renders the map to a PNG picture: a plane, the four sides of a box, or the\n"
                   "labelled sheet of every pattern (the default with no arguments at all)";
        case Command::Sample:
            return "Reads points 'u v' or 'u v du dv' (tile units) from standard input, one a "
                   "line, and\nprints 'r g b a' of the chosen output at each, one point per line.\n"
                   "With --projection box (--box X,Y,Z) the lines are 'x y z nx ny nz': a point on "
                   "the box\nfrom 0,0,0 to X,Y,Z and its outward normal, shaded as a renderer "
                   "shades that box\n(projection_mode \"Accurate\" unless a preset or --set "
                   "chooses otherwise)";
        case Command::Params:
            return "Lists the parameters: name, default, range and what each does";
        case Command::Bake:
            return "Writes colour (8-bit), normal (16-bit), height (16-bit grey) and id (8-bit) "
                   "maps of\none tile: PREFIX-color.png, PREFIX-normal.png, PREFIX-height.png, "
                   "PREFIX-id.png.\nThe normals are slopes of the height tile: smoothed by a tent "
                   "filter reaching\n--bevel pixels to each side, then central differences, on "
                   "the wrapped grid, a unit\nheight step standing --relief-depth pixels high. The "
                   "id map gives each brick one\nflat colour, grout black";
        case Command::Swatch:
            return "Draws the editor's swatch of --pattern through a device context, --size "
                   "pixels square";
        case Command::Picker:
            return "Draws the editor's pattern picker menu, opened on the map's rollout through "
                   "the\nmodule, with the map's pattern ticked";
        case Command::Patterns:
            return "Lists every pattern: id, name and its group in the pattern picker";
        case Command::Show:
            return "Prints the map's parameter values (a new map, a preset's or a scene's map, "
                   "with\n--set values) as a preset that --preset reads back";
    }
    return "";
}

// One line for the list of subcommands.
const char* Summary(Command c) {
    switch (c) {
        case Command::Render:
            return "a picture of the map";
        case Command::Sample:
            return "values at points read from standard input";
        case Command::Params:
            return "the parameters: default, range and meaning";
        case Command::Bake:
            return "colour, normal, height and id maps of one tile";
        case Command::Swatch:
            return "the editor's swatch of one pattern";
        case Command::Picker:
            return "the editor's pattern picker menu";
        case Command::Patterns:
            return "every pattern's id, name and group";
        case Command::Show:
            return "the map's values as a preset";
    }
    return "";
}

// The default an option has for a command, as the help shows it; empty when it has none
// worth saying.
std::string DefaultFor(const std::string& option, Command c) {
    if (option == "--size")
        return c == Command::Bake     ? "1024"
               : c == Command::Swatch ? std::to_string(kDefaultSwatchSize)
                                      : "512; 200 a pattern on the sheet";
    if (option == "--samples") return "4";
    if (option == "--output") return "color";
    if (option == "--projection") return "plane";
    if (option == "--box") return "1,0.5,1";
    if (option == "--normal-source") return "height";
    if (option == "--bevel") return "2";
    if (option == "--relief-depth") return "6";
    if (option == "--bump") return "1";
    if (option == "--repeat") return "1";
    if (option == "--threads") return "0, all cores";
    if (option == "--pattern" && c == Command::Swatch) return "0";
    if (option == "--out")
        return c == Command::Bake ? "out/bake-SOURCE-ID-NAME, a free name"
                                  : "a free name under out/";
    return {};
}

// The pattern list `patterns` prints, from the engine's catalogue (the module's own list is
// what `patterns` reads; the help is printed before any module is loaded).
std::string CatalogueText() {
    std::string text;
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue) {
        char line[96];
        std::snprintf(line, sizeof line, "%2d  %-16s %s\n", p.id, std::string(p.name).c_str(),
                      std::string(QuarelNS::CategoryInfo(p.category).name).c_str());
        text += line;
    }
    return text;
}

std::string LongName(const CLI::Option& opt) {
    return opt.get_lnames().empty() ? std::string() : "--" + opt.get_lnames().front();
}

std::string CommandHelp(const CLI::App& main, Command c, bool expanded) {
    std::ostringstream out;
    const std::string name = CommandName(c);
    if (expanded) {
        out << (name.empty() ? "(no subcommand): render" : name) << "\n";
    } else {
        out << "Usage: quarel-preview " << (name.empty() ? "" : name + " ") << "[OPTIONS]\n";
    }
    out << Describe(c) << "\n\nOptions:\n";
    for (const CLI::Option* opt : main.get_options()) {
        const std::string flag = opt->get_name(false, true);
        if (flag.rfind("--", 0) != 0 || flag == "--help" || flag == "--help-all") continue;
        if ((CommandsTaking(LongName(*opt)) & Bit(c)) == 0) continue;
        std::string left = "  " + flag;
        if (opt->get_type_size() != 0) left += " " + opt->get_type_name();
        std::string help = opt->get_description();
        const std::string def = DefaultFor(LongName(*opt), c);
        if (!def.empty()) help += " (default: " + def + ")";
        if (left.size() < 26)
            left.resize(26, ' ');
        else
            left += "\n" + std::string(26, ' ');
        std::string indented;
        for (char ch : help) {
            indented += ch;
            if (ch == '\n') indented += std::string(26, ' ');
        }
        out << left << indented << "\n";
    }
    if (c == Command::Patterns) out << "\nThe patterns:\n" << CatalogueText();
    return out.str();
}

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

std::string LowerCase(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// A written picture is a PNG: an --out of another kind would get PNG bytes under its name. A
// device such as /dev/null takes whatever it is given.
void CheckOut(const std::string& out, Command c) {
    const std::string ext = LowerCase(std::filesystem::path(out).extension().string());
    std::error_code ec;
    const auto status = std::filesystem::status(out, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status))
        return;
    if (std::filesystem::is_directory(status) || out.back() == '/')
        throw CLI::ValidationError("--out", "'" + out + "' is a folder; name a file in it");
    if (c == Command::Bake) {
        for (const char* image :
             {".jpg", ".jpeg", ".tga", ".exr", ".bmp", ".tif", ".tiff", ".webp", ".gif", ".hdr"})
            if (ext == image)
                throw CLI::ValidationError(
                    "--out", "bake writes PNG files: give a path prefix, with or without .png");
        return;
    }
    if (ext != ".png")
        throw CLI::ValidationError("--out", "'" + out +
                                                "': the preview writes PNG files only; "
                                                "give a name ending in .png");
}

}  // namespace

const char* CommandName(Command c) {
    switch (c) {
        case Command::Render:
            return "";
        case Command::Sample:
            return "sample";
        case Command::Params:
            return "params";
        case Command::Bake:
            return "bake";
        case Command::Swatch:
            return "swatch";
        case Command::Picker:
            return "picker";
        case Command::Patterns:
            return "patterns";
        case Command::Show:
            return "show";
    }
    return "";
}

std::string BakePrefix(const std::string& out) {
    if (out.size() > 4 && LowerCase(out.substr(out.size() - 4)) == ".png")
        return out.substr(0, out.size() - 4);
    return out;
}

int ParseOptions(int argc, char** argv, PreviewOptions& o) {
    CLI::App app{
        "quarel-preview: loads QuarelMap.dlt as a host does and renders its map to PNG.\n"
        "With no arguments it writes a labelled sheet of every pattern into out/."};
    app.set_help_all_flag("--help-all", "Help for every subcommand, and the list of patterns");

    // Options every command takes.
    app.add_option("--module", o.module, "The module to load (default: the build tree's)")
        ->type_name("PATH");
    app.add_option("--preset", o.preset, "JSON preset of parameter values")->type_name("FILE");
    app.add_option("--scene", o.scene,
                   "Scene file to take the map from: its first QuarelMap, in the order the\n"
                   "module searches node materials after loading")
        ->type_name("FILE");
    app.add_option("--map", o.mapName, "With --scene: the QuarelMap of this name")
        ->type_name("NAME");
    app.add_option("--save-scene", o.saveScene,
                   "Also save the map as a scene file (missing folders are made)")
        ->type_name("FILE");
    std::string shorthand[std::size(kShorthands)];
    for (std::size_t i = 0; i < std::size(kShorthands); ++i)
        app.add_option(kShorthands[i].option, shorthand[i], kShorthands[i].help)
            ->type_name("VALUE");
    std::vector<std::string> sets;
    app.add_option("--set", sets,
                   "NAME=VALUE: a parameter by internal name (repeatable; quarel-preview params "
                   "lists them)")
        ->type_name("NAME=VALUE")
        ->check(CLI::Validator(
            [](std::string& v) -> std::string {
                const std::size_t eq = v.find('=');
                if (eq == std::string::npos || eq == 0)
                    return "'" + v + "' is not NAME=VALUE, e.g. --set nx=6";
                return {};
            },
            "", "assignment"));
    std::string output = OutputName(o.output);
    app.add_option("--output", output,
                   "What to show: color, mono, cells (swatch colours), normal (the normal\n"
                   "output), bump (the bump output), perturb (the map's perturbation as a\n"
                   "normal) or height (the relief's height field)")
        ->type_name("WHAT")
        ->check(CLI::IsMember({"color", "mono", "cells", "normal", "bump", "perturb", "height"})
                    .description(""));
    app.add_flag("--normal-y-down", o.normalYDown,
                 "Normal pictures with green growing downwards (+Y down) instead of upwards");

    // Bake's normal map, and the lit sample objects of pictures.
    std::string normalSource = "height";
    app.add_option("--normal-source", normalSource,
                   "Normals from slopes of the baked height tile (height), or the map's own\n"
                   "normal output as a host sees it (output)")
        ->type_name("height|output")
        ->check(CLI::IsMember({"height", "output"}).description(""));
    app.add_option("--bevel", o.bevel,
                   "Pixels, 0 to 64, the height is smoothed over to each side of a step before\n"
                   "its slopes are taken (0: plain differences of the height image)")
        ->type_name("PX")
        ->check(CLI::Range(0, 64).description(""));
    app.add_option("--relief-depth", o.reliefDepth,
                   "How many pixels of the tile a unit height step (grout 0 to brick 1) stands\n"
                   "high, 0 to 10000; larger gives steeper joints")
        ->type_name("D")
        ->check(CLI::Range(0.0, 10000.0).description(""));
    app.add_option("--object", o.object,
                   "The map lit on a sample object instead of the plane: sphere, cube,\n"
                   "cylinder or plane")
        ->type_name("OBJECT")
        ->check(CLI::IsMember({"sphere", "cube", "cylinder", "plane"}).description(""));
    app.add_option("--bump", o.bump,
                   "With --object: how far the map's perturbation bends the shading normal,\n"
                   "0 to 100")
        ->type_name("AMOUNT")
        ->check(CLI::Range(0.0, 100.0).description(""));

    // Options of pictures.
    std::string projection = ProjectionName(o.projection);
    app.add_option("--projection", projection,
                   "plane (UV) or box (four side faces unrolled, \"Accurate\" projection)")
        ->type_name("plane|box")
        ->check(CLI::IsMember({"plane", "box"}).description(""));
    std::string box;
    app.add_option("--box", box, "Box size X,Y,Z for --projection box")
        ->type_name("X,Y,Z")
        ->check(CLI::Validator(
            [](std::string& v) -> std::string {
                Point3 b;
                return ParseBox(v, b) ? std::string()
                                      : "'" + v + "' is not X,Y,Z with each from 0.001 to 1000";
            },
            "", "box"));
    app.add_option("--size", o.size,
                   "Picture height in pixels, 8 to 8192; a swatch's side, 8 to 1024")
        ->type_name("N");
    app.add_option("--repeat", o.repeat, "Pattern tiles along each side of the plane, 1 to 64")
        ->type_name("N")
        ->check(CLI::Range(1, 64).description(""));
    app.add_option("--samples", o.samples, "Samples per pixel, 1 to 256 (a fixed pattern)")
        ->type_name("N")
        ->check(CLI::Range(1, 256).description(""));
    app.add_option("--threads", o.threads, "Render threads, 0 to 1024")
        ->type_name("N")
        ->check(CLI::Range(0, 1024).description(""));
    app.add_flag("--sheet", o.sheet, "A labelled sheet of all 30 patterns");
    app.add_flag("--quiet,-q", o.quiet, "No progress bar");
    app.add_option("--out", o.out,
                   "Output PNG file, overwritten if it exists; bake: the path prefix, with or\n"
                   "without .png")
        ->type_name("FILE");

    CLI::App* subs[std::size(kCommands)] = {};
    for (Command c : kCommands) {
        if (c == Command::Render) continue;
        CLI::App* sub = app.add_subcommand(CommandName(c), Summary(c));
        sub->fallthrough();
        sub->formatter_fn([&app, c](const CLI::App*, std::string, CLI::AppFormatMode mode) {
            return CommandHelp(app, c, mode == CLI::AppFormatMode::Sub);
        });
        subs[static_cast<int>(c)] = sub;
    }
    app.formatter_fn([&app](const CLI::App*, std::string, CLI::AppFormatMode mode) {
        std::string text =
            app.get_description() + "\n\n" + CommandHelp(app, Command::Render, false);
        text += "\nSubcommands (quarel-preview COMMAND --help lists the options of each):\n";
        for (Command c : kCommands) {
            if (c == Command::Render) continue;
            char line[160];
            std::snprintf(line, sizeof line, "  %-10s%s\n", CommandName(c), Summary(c));
            text += line;
        }
        if (mode == CLI::AppFormatMode::All)
            for (Command c : kCommands)
                if (c != Command::Render) text += "\n" + CommandHelp(app, c, true);
        return text;
    });
    app.require_subcommand(0, 1);

    try {
        app.parse(argc, argv);
        for (Command c : kCommands)
            if (c != Command::Render && subs[static_cast<int>(c)]->parsed()) o.command = c;
        const std::string name = CommandName(o.command);
        for (const CLI::Option* opt : app.get_options()) {
            if (opt->count() == 0) continue;
            const std::string flag = LongName(*opt);
            if ((CommandsTaking(flag) & Bit(o.command)) == 0)
                throw CLI::ValidationError(flag, std::string("does not apply to ") +
                                                     (name.empty() ? "a render" : name) + ": " +
                                                     WhatItDoes(o.command));
        }
        // Options that apply to some pictures only.
        const bool isBox = projection == "box";
        if (app.count("--repeat") > 0 && isBox)
            throw CLI::ValidationError("--repeat",
                                       "tiles the plane; --projection box shows the "
                                       "box's four faces, each at its own size");
        if (app.count("--box") > 0 && !isBox)
            throw CLI::ValidationError("--box", "applies to --projection box only");
        if (output == "cells" && isBox)
            throw CLI::ValidationError("--output cells", "shows the plane only");
        if (o.command == Command::Render && app.count("--normal-y-down") > 0 &&
            output != "normal" && output != "perturb")
            throw CLI::ValidationError("--normal-y-down",
                                       "turns normal pictures only (--output normal or perturb)");
        if (o.sheet && app.count("--pattern") > 0)
            throw CLI::ValidationError("--pattern", "the sheet shows every pattern");
        if (app.count("--map") > 0 && app.count("--scene") == 0)
            throw CLI::ValidationError("--map", "applies to --scene only");
        if (o.sheet)
            for (const std::string& s : sets)
                if (s.rfind("pattern=", 0) == 0)
                    throw CLI::ValidationError("--set " + s, "the sheet shows every pattern");
        // Checked here, not by a validator: the range depends on the subcommand.
        const bool swatchSize = o.command == Command::Swatch;
        const int lo = swatchSize ? kMinSwatchSize : 8, hi = swatchSize ? kMaxSwatchSize : 8192;
        if (app.count("--size") > 0 && (o.size < lo || o.size > hi))
            throw CLI::ValidationError("--size", "Value " + std::to_string(o.size) +
                                                     " not in range " + std::to_string(lo) +
                                                     " to " + std::to_string(hi));
        if (app.count("--object") > 0) {
            for (const char* opt : {"--projection", "--box", "--repeat", "--sheet", "--output"})
                if (app.count(opt) > 0)
                    throw CLI::ValidationError(opt,
                                               "does not apply to --object: the object "
                                               "shows the map's colour, lit");
        } else if (app.count("--bump") > 0) {
            throw CLI::ValidationError("--bump", "applies to --object only");
        }
        if (app.count("--out") > 0) {
            if (o.out.empty()) throw CLI::ValidationError("--out", "needs a file name");
            CheckOut(o.out, o.command);
        }
    } catch (const CLI::ExtrasError& e) {
        // An option or command that does not exist: most likely one almost right.
        const std::vector<std::string> extra = app.remaining();
        const std::string word = extra.empty() ? std::string() : extra.front();
        if (word.empty()) return app.exit(e) == 0 ? kExitOk : kExitRefused;
        std::vector<std::string> names;
        for (const CLI::Option* opt : app.get_options())
            if (!LongName(*opt).empty()) names.push_back(LongName(*opt));
        for (Command c : kCommands)
            if (c != Command::Render) names.push_back(CommandName(c));
        const bool option = word.rfind('-', 0) == 0;
        std::cerr << "quarel-preview: unknown " << (option ? "option " : "command ") << word << "; "
                  << DidYouMean(word.substr(0, word.find('=')), names)
                  << "(quarel-preview --help lists them)\n";
        return kExitRefused;
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
    for (std::size_t i = 0; i < std::size(kShorthands); ++i) {
        if (app.count(kShorthands[i].option) == 0) continue;
        o.sets.emplace_back(kShorthands[i].param, shorthand[i]);
        o.setOrigins.push_back(std::string(kShorthands[i].option) + " " + shorthand[i]);
    }
    for (const std::string& s : sets) {
        const std::size_t eq = s.find('=');
        o.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
        o.setOrigins.push_back("--set " + s);
    }
    if (argc <= 1) o.sheet = true;
    if (app.count("--size") == 0)
        o.size = o.command == Command::Bake     ? 1024
                 : o.command == Command::Swatch ? kDefaultSwatchSize
                 : o.sheet                      ? 200
                                                : 512;
    return -1;
}

}  // namespace QuarelPreview
