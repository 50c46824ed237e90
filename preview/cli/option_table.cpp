#include "preview/cli/option_table.h"

#include <algorithm>

#include "preview/common/bake_profiles.h"
#include "preview/common/swatch_size.h"

namespace QuarelPreview {

namespace {

constexpr CommandSet kRender = Only(Command::Render);
constexpr CommandSet kSample = Only(Command::Sample);
constexpr CommandSet kBake = Only(Command::Bake);
constexpr CommandSet kSwatch = Only(Command::Swatch);
constexpr CommandSet kPicker = Only(Command::Picker);
constexpr CommandSet kShow = Only(Command::Show);
constexpr CommandSet kParams = Only(Command::Params);
constexpr CommandSet kAll = 0xFFu;
// Commands that make a map from the preset, the scene and the parameter values.
constexpr CommandSet kMapSettings = kRender | kSample | kBake | kPicker | kShow;
constexpr CommandSet kParamValues = kMapSettings | kSwatch;

using Kind = OptionRange::Kind;

std::string CheckAssignment(std::string& v) {
    const std::size_t eq = v.find('=');
    if (eq == std::string::npos || eq == 0) return "'" + v + "' is not NAME=VALUE, e.g. --set nx=6";
    return {};
}

std::string CheckBox(std::string& v) {
    Point3 b;
    return ParseBox(v, b) ? std::string() : "'" + v + "' is not X,Y,Z with each from 0.001 to 1000";
}

std::string CheckSizeForm(std::string& v) {
    int w = 0, h = 0;
    return ParseSize(v, w, h) ? std::string()
                              : "'" + v + "' is not a whole number N, or W x H as 512x256";
}

std::string CheckCamera(std::string& v) {
    return CameraProblem(v);
}

std::string CheckLight(std::string& v) {
    return LightProblem(v);
}

// Each row names only the fields it sets; the others keep their defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

std::vector<OptionRow> MakeOptionTable() {
    const std::string patternHelp =
        "Pattern: id (0-29) or name, e.g. \"Herringbone\" (quarel-preview patterns lists them)";
    return {
        {.names = "--module",
         .commands = kAll,
         .target = &PreviewOptions::module,
         .typeName = "PATH",
         .help = "The module to load (default: the build tree's)"},
        {.names = "--preset",
         .commands = kMapSettings,
         .target = &PreviewOptions::preset,
         .typeName = "FILE",
         .help = "JSON preset of parameter values (a map's values, as show prints them)"},
        {.names = "--preset",
         .commands = kSwatch,
         .target = &PreviewOptions::preset,
         .typeName = "FILE",
         .help = "JSON preset whose pattern the swatch shows; it may set nothing else, since\n"
                 "a swatch is drawn in fixed settings"},
        {.names = "--scene",
         .commands = kMapSettings,
         .target = &PreviewOptions::scene,
         .typeName = "FILE",
         .help = "Scene file to take the map from: its first QuarelMap, in the order the\n"
                 "module searches node materials after loading"},
        {.names = "--map",
         .commands = kMapSettings,
         .target = &PreviewOptions::mapName,
         .typeName = "NAME",
         .help = "With --scene: the QuarelMap of this name"},
        {.names = "--save-scene",
         .commands = kMapSettings & ~kShow,
         .target = &PreviewOptions::saveScene,
         .typeName = "FILE",
         .help = "Also save the map as a scene file (missing folders are made)"},
        {.names = "--image-path",
         .commands = kMapSettings,
         .target = &PreviewOptions::imagePaths,
         .typeName = "DIR",
         .help = "A folder to look in for images that are not where a scene or preset says\n"
                 "(repeatable, in order): by their path relative to the scene, then by name"},
        {.names = "--allow-missing",
         .commands = kMapSettings,
         .target = &PreviewOptions::allowMissing,
         .help = "With --scene: go on when images of the scene cannot be found or decoded;\n"
                 "they show as a magenta and black checker"},
        {.names = "--pattern",
         .commands = kParamValues & ~kSwatch,
         .typeName = "VALUE",
         .help = patternHelp,
         .param = "pattern"},
        {.names = "--pattern",
         .commands = kSwatch,
         .typeName = "VALUE",
         .help = patternHelp,
         .defaultText = "0",
         .param = "pattern"},
        {.names = "--nx",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Horizontal count (parameter nx)",
         .param = "nx"},
        {.names = "--ny",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Vertical count (parameter ny)",
         .param = "ny"},
        {.names = "--gap-u",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Vertical grout width (parameter gap_u)",
         .param = "gap_u"},
        {.names = "--gap-v",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Horizontal grout width (parameter gap_v)",
         .param = "gap_v"},
        {.names = "--random-shift",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Random row shift (parameter random_shift)",
         .param = "random_shift"},
        {.names = "--seed",
         .commands = kMapSettings,
         .typeName = "VALUE",
         .help = "Seed (parameter seed)",
         .param = "seed"},
        {.names = "--set",
         .commands = kMapSettings,
         .target = &OptionText::sets,
         .typeName = "NAME=VALUE",
         .help = "NAME=VALUE: a parameter by internal name (repeatable; quarel-preview params "
                 "lists them)",
         .check = CheckAssignment,
         .checkName = "assignment"},
        {.names = "--set",
         .commands = kSwatch,
         .target = &OptionText::sets,
         .typeName = "NAME=VALUE",
         .help = "pattern=VALUE only, as --pattern: a swatch is drawn in fixed settings",
         .check = CheckAssignment,
         .checkName = "assignment"},
        {.names = "--output",
         .commands = kRender | kSample,
         .target = &OptionText::output,
         .typeName = "WHAT",
         .help = "What to show: color, mono, cells (swatch colours), normal (the normal\n"
                 "output), bump (the bump output), perturb (the map's perturbation as a\n"
                 "normal) or height (the relief's height field)",
         .defaultText = "color",
         .choices = "color|mono|cells|normal|bump|perturb|height"},
        {.names = "--normal-y-down",
         .commands = kRender,
         .target = &PreviewOptions::normalYDown,
         .help = "With --output normal or perturb: green grows downwards (+Y down) instead of\n"
                 "upwards"},
        {.names = "--normal-y-down",
         .commands = kBake,
         .target = &PreviewOptions::normalYDown,
         .help = "PREFIX-normal.png with green growing downwards (+Y down) instead of upwards"},
        {.names = "--normal-source",
         .commands = kBake,
         .target = &OptionText::normalSource,
         .typeName = "height|output",
         .help = "Normals from slopes of the baked height tile (height), or the map's own\n"
                 "normal output as a host sees it (output)",
         .defaultText = "height",
         .choices = "height|output"},
        {.names = "--bevel",
         .commands = kBake,
         .target = &PreviewOptions::bevel,
         .typeName = "PX",
         .help = "Pixels, 0 to 64, the height is smoothed over to each side of a step before\n"
                 "its slopes are taken (0: plain differences of the height image); with the\n"
                 "map's own bevel (bevel_width) an extra blur on top of it, in pixels of a\n"
                 "1024 px tile, scaled with --size",
         .defaultText = "2",
         .range = {Kind::Int, 0, 64}},
        {.names = "--relief-depth",
         .commands = kBake,
         .target = &PreviewOptions::reliefDepth,
         .typeName = "D",
         .help = "How many pixels of the tile a unit height step (grout 0 to brick 1) stands\n"
                 "high, 0 to 10000; larger gives steeper joints. With the map's own bevel\n"
                 "(bevel_width) pixels of a 1024 px tile, scaled with --size, so that a bake\n"
                 "shows the same relief at any size",
         .defaultText = "6",
         .range = {Kind::Real, 0, 10000}},
        {.names = "--roughness",
         .commands = kBake,
         .target = &PreviewOptions::roughnessBrick,
         .typeName = "R",
         .help = "The bricks' roughness in the roughness map, 0 (smooth) to 1 (rough)",
         .defaultText = "0.8",
         .range = {Kind::Real, 0, 1}},
        {.names = "--joint-roughness",
         .commands = kBake,
         .target = &PreviewOptions::roughnessJoint,
         .typeName = "R",
         .help = "The joint's roughness in the roughness map, 0 to 1",
         .defaultText = "0.95",
         .range = {Kind::Real, 0, 1}},
        {.names = "--roughness-variance",
         .commands = kBake,
         .target = &PreviewOptions::roughnessVariance,
         .typeName = "V",
         .help = "How far, 0 to 1, each brick's roughness moves either way from --roughness,\n"
                 "drawn from the brick and the map's seed",
         .defaultText = "0.08",
         .range = {Kind::Real, 0, 1}},
        {.names = "--ao-radius",
         .commands = kBake,
         .target = &PreviewOptions::occlusionRadius,
         .typeName = "T",
         .help = "How far, in tile units (0.001 to 0.25), the ambient occlusion looks for\n"
                 "higher relief around each pixel",
         .defaultText = "0.02",
         .range = {Kind::Real, 0.001, 0.25}},
        {.names = "--profile",
         .commands = kBake,
         .target = &PreviewOptions::profile,
         .typeName = "TARGET",
         .help = "The file set for a target: its files, names, channel packing, normal\n"
                 "direction and colour spaces (listed below)",
         .defaultText = "separate",
         .choices = BakeProfileChoices()},
        {.names = "--height-format",
         .commands = kBake,
         .target = &PreviewOptions::heightFormat,
         .typeName = "png16|exr",
         .help = "The height file: 16-bit grey PNG, or 32-bit float OpenEXR (0 at the joint,\n"
                 "1 at the brick top; PREFIX.json gives the relief's depth)",
         .defaultText = "png16",
         .choices = "png16|exr"},
        {.names = "--metallic",
         .commands = kBake,
         .target = &PreviewOptions::metallic,
         .typeName = "M",
         .help = "Metallic, 0 to 1, in the packed masks of the engine profiles",
         .defaultText = "0",
         .range = {Kind::Real, 0, 1}},
        {.names = "--strict",
         .commands = kBake,
         .target = &PreviewOptions::strict,
         .help = "A tile that does not repeat (its shape ends unlike it begins) is an error\n"
                 "instead of a warning"},
        {.names = "--json",
         .commands = kParams,
         .target = &PreviewOptions::json,
         .help = "The table as a JSON array, one object a parameter: name, prefix, label,\n"
                 "kind, default, min and max (with a range), items (of a choice), description"},
        {.names = "--object",
         .commands = kRender,
         .target = &PreviewOptions::object,
         .typeName = "OBJECT",
         .help = "The map lit on a sample object instead of the plane: sphere, cube,\n"
                 "cylinder or plane",
         .choices = "sphere|cube|cylinder|plane"},
        {.names = "--bump",
         .commands = kRender,
         .target = &PreviewOptions::bump,
         .typeName = "AMOUNT",
         .help = "With --object: how far the map's perturbation bends the shading normal,\n"
                 "0 to 100",
         .defaultText = "1",
         .range = {Kind::Real, 0, 100}},
        {.names = "--camera",
         .commands = kRender,
         .target = &OptionText::camera,
         .typeName = "D,AZ,EL",
         .help = "With --object: the camera's distance from the object's centre (1 to 100, the\n"
                 "object fits a unit cube), its azimuth around the vertical from +x towards +y\n"
                 "(-360 to 360) and its elevation (-89 to 89), in degrees",
         .defaultText = "the object filling most of the picture, from azimuth -53.4 and\n"
                        "elevation 30.1 (the plane from 65)",
         .check = CheckCamera,
         .checkName = "camera"},
        {.names = "--light",
         .commands = kRender,
         .target = &OptionText::light,
         .typeName = "AZ,EL",
         .help = "With --object: the key light's direction, azimuth (-360 to 360) and elevation\n"
                 "(-90 to 90) in degrees as --camera's; the fill light stays",
         .defaultText = "-122.7,48.8, above and front left",
         .check = CheckLight,
         .checkName = "light"},
        {.names = "--object-tiles",
         .commands = kRender,
         .target = &PreviewOptions::objectTiles,
         .typeName = "N",
         .help = "With --object: tiles around the sphere or the cylinder, or across each face\n"
                 "of the cube and the plane, 1 to 64; the bricks keep their proportions",
         .defaultText = "2 sphere, 3 cylinder, 1 cube and plane",
         .range = {Kind::Int, 1, 64}},
        {.names = "--projection",
         .commands = kRender | kSample,
         .target = &OptionText::projection,
         .typeName = "plane|box",
         .help = "plane (UV) or box (four side faces unrolled, \"Accurate\" projection)",
         .defaultText = "plane",
         .choices = "plane|box"},
        {.names = "--box",
         .commands = kRender | kSample,
         .target = &OptionText::box,
         .typeName = "X,Y,Z",
         .help = "Box size X,Y,Z for --projection box",
         .defaultText = "1,0.5,1",
         .check = CheckBox,
         .checkName = "box"},
        {.names = "--size",
         .commands = kRender,
         .target = &OptionText::size,
         .typeName = "N",
         .help = "Picture height in pixels, 8 to 8192 (the box's faces and the sheet are\n"
                 "wider); on the sheet, each pattern's side",
         .defaultText = "512; 200 a pattern on the sheet",
         .range = {Kind::Int, 8, 8192},
         .value = 512,
         .check = CheckSizeForm,
         .checkName = "size"},
        {.names = "--size",
         .commands = kBake,
         .target = &OptionText::size,
         .typeName = "W[xH]",
         .help = "The tile in pixels, each side 8 to 8192, the same for every map: N for a\n"
                 "square, W x H (2048x1024) for a tile stretched across; either way it tiles",
         .defaultText = "1024",
         .range = {Kind::Int, 8, 8192},
         .value = 1024,
         .check = CheckSizeForm,
         .checkName = "size"},
        {.names = "--size",
         .commands = kSwatch,
         .target = &OptionText::size,
         .typeName = "N",
         .help = "Side of the square swatch in pixels, " + std::to_string(kMinSwatchSize) + " to " +
                 std::to_string(kMaxSwatchSize),
         .defaultText = std::to_string(kDefaultSwatchSize),
         .range = {Kind::Int, kMinSwatchSize, kMaxSwatchSize},
         .value = kDefaultSwatchSize,
         .check = CheckSizeForm,
         .checkName = "size"},
        {.names = "--repeat",
         .commands = kRender,
         .target = &PreviewOptions::repeat,
         .typeName = "N",
         .help = "Pattern tiles along each side of the plane, 1 to 64",
         .defaultText = "1",
         .range = {Kind::Int, 1, 64}},
        {.names = "--samples",
         .commands = kRender,
         .target = &PreviewOptions::samples,
         .typeName = "N",
         .help = "Samples per pixel, 1 to 256, in a fixed pattern (no noise between runs)",
         .defaultText = "4",
         .range = {Kind::Int, 1, 256}},
        {.names = "--samples",
         .commands = kBake,
         .target = &PreviewOptions::samples,
         .typeName = "N",
         .help = "Samples per pixel of the colour map, 1 to 256, in a fixed pattern",
         .defaultText = "4",
         .range = {Kind::Int, 1, 256}},
        {.names = "--threads",
         .commands = kRender | kBake,
         .target = &PreviewOptions::threads,
         .typeName = "N",
         .help = "Render threads, 0 to 1024",
         .defaultText = "0, all cores",
         .range = {Kind::Int, 0, 1024}},
        {.names = "--sheet",
         .commands = kRender,
         .target = &PreviewOptions::sheet,
         .help = "A labelled sheet of all 30 patterns"},
        {.names = "--quiet,-q",
         .commands = kRender | kBake,
         .target = &PreviewOptions::quiet,
         .help = "No progress bar (it is shown only when standard error is a terminal)"},
        {.names = "--quiet,-q",
         .commands = kAll & ~(kRender | kBake),
         .target = &PreviewOptions::quiet,
         .help = "Taken for scripts that pass it to every command; this command shows no\n"
                 "progress bar either way"},
        {.names = "--out",
         .commands = kRender,
         .target = &PreviewOptions::out,
         .typeName = "FILE",
         .help = "The PNG picture to write (a name ending in .png), overwritten if it exists;\n"
                 "missing folders below an existing one are made",
         .defaultText = "a free name under out/"},
        {.names = "--out",
         .commands = kSwatch,
         .target = &PreviewOptions::out,
         .typeName = "FILE",
         .help = "The PNG file of the swatch, overwritten if it exists",
         .defaultText = "out/swatch-ID-NAME.png, a free name"},
        {.names = "--out",
         .commands = kPicker,
         .target = &PreviewOptions::out,
         .typeName = "FILE",
         .help = "The PNG file of the picker menu, overwritten if it exists",
         .defaultText = "a free name under out/"},
        {.names = "--out",
         .commands = kBake,
         .target = &PreviewOptions::out,
         .typeName = "PREFIX",
         .help = "Path prefix of the four maps, with or without .png: PREFIX-color.png and\n"
                 "so on, each overwritten if it exists",
         .defaultText = "out/bake-SOURCE-ID-NAME, a free name"},
    };
}

#pragma GCC diagnostic pop

std::vector<CommandRow> MakeCommandTable() {
    return {
        {Command::Render, "", "a picture of the map",
         "Renders the map to a PNG picture: a plane, the four sides of a box, or the\n"
         "labelled sheet of every pattern (the default with no arguments at all)",
         "a render draws the map into one picture"},
        {Command::Sample, "sample", "values at points read from standard input",
         "Reads points 'u v' or 'u v du dv' (tile units) from standard input, one a line, and\n"
         "prints 'r g b a' of the chosen output at each, one point per line.\n"
         "With --projection box (--box X,Y,Z) the lines are 'x y z nx ny nz': a point on the "
         "box\nfrom 0,0,0 to X,Y,Z and its outward normal, shaded as a renderer shades that "
         "box\n(projection_mode \"Accurate\" unless a preset or --set chooses otherwise);\n"
         "a point may be off the surface by 1e-4 of the box's largest side at most.\n"
         "The first line that is malformed, not finite or off the box stops the run",
         "sample prints the values at the points it reads and draws no picture"},
        {Command::Params, "params", "the parameters: default, range and meaning",
         "Lists the parameters: name, default, range and what each does",
         "params lists the module's parameters, whatever a map's values"},
        {Command::Bake, "bake", "colour, normal, height, id, roughness and AO maps of a tile",
         "Writes colour (8-bit), normal (16-bit), height (16-bit grey) and id (8-bit) maps of\n"
         "one tile: PREFIX-color.png, PREFIX-normal.png, PREFIX-height.png, PREFIX-id.png.\n"
         "The normals are slopes of the height tile: smoothed by a tent filter reaching\n"
         "--bevel pixels to each side, then central differences, on the wrapped grid, a unit\n"
         "height step standing --relief-depth pixels high. The id map gives each brick one\n"
         "flat colour, grout black. PREFIX-roughness.png (16-bit grey): --roughness for the\n"
         "bricks, each moved by up to --roughness-variance, --joint-roughness in the joint.\n"
         "PREFIX-ao.png (16-bit grey): ambient occlusion of the height tile, the mean\n"
         "horizon of 8 directions within --ao-radius tile units, wrapped",
         "a bake is one tile of the plane as colour, normal, height, id, roughness and\n"
         "occlusion maps"},
        {Command::Swatch, "swatch", "the editor's swatch of one pattern",
         "Draws the editor's swatch of --pattern through a device context, --size pixels square",
         "a swatch shows the pattern alone, in fixed settings, as the editor draws it"},
        {Command::Picker, "picker", "the editor's pattern picker menu",
         "Draws the editor's pattern picker menu, opened on the map's rollout through the\n"
         "module, with the map's pattern ticked",
         "the picker is drawn as the editor shows its menu"},
        {Command::Patterns, "patterns", "every pattern's id, name and group",
         "Lists every pattern: id, name and its group in the pattern picker",
         "patterns lists the pattern catalogue"},
        {Command::Show, "show", "the map's values as a preset",
         "Prints the map's parameter values (a new map, a preset's or a scene's map, with\n"
         "--set values) as a preset that --preset reads back",
         "show prints the map's values as a preset and writes nothing"},
    };
}

}  // namespace

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> table = MakeCommandTable();
    return table;
}

const CommandRow& CommandInfo(Command c) {
    return CommandTable()[static_cast<std::size_t>(c)];
}

const std::vector<OptionRow>& OptionTable() {
    static const std::vector<OptionRow> table = MakeOptionTable();
    return table;
}

std::string LongName(const OptionRow& row) {
    return row.names.substr(0, row.names.find(','));
}

const OptionRow* RowFor(std::string_view option, Command c) {
    for (const OptionRow& row : OptionTable())
        if ((row.commands & Only(c)) != 0 && LongName(row) == option) return &row;
    return nullptr;
}

bool OneRange(std::string_view option) {
    const OptionRow* first = nullptr;
    for (const OptionRow& row : OptionTable()) {
        if (LongName(row) != option) continue;
        if (first == nullptr)
            first = &row;
        else if (!(row.range == first->range))
            return false;
    }
    return true;
}

}  // namespace QuarelPreview
