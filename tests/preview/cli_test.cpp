// The command line as a new user meets it: what each command takes and refuses, names that are
// almost right, messages in the syntax the user wrote, output names that never overwrite
// silently, the pattern list, and `show` turning a map back into a preset.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <sstream>

#include <unistd.h>

#include "pattern/catalogue.h"
#include "preview/cli/options.h"
#include "preview/commands/run.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::SourceDir;
using QuarelPreviewTest::Table;
using QuarelPreviewTest::TestDir;
using QuarelPreviewTest::WriteFile;

// Runs the tool with both standard streams caught too (the option parser prints help and
// refusals there); `all` gets everything printed.
int RunAll(const std::vector<std::string>& args, std::string& all, const std::string& input = "") {
    std::ostringstream caughtOut, caughtErr;
    std::streambuf* oldOut = std::cout.rdbuf(caughtOut.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(caughtErr.rdbuf());
    std::string out, err;
    const int code = RunTool(args, input, &out, &err);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    all = caughtOut.str() + caughtErr.str() + out + err;
    return code;
}

std::string Patterns() {
    std::string text;
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue) {
        char line[96];
        std::snprintf(line, sizeof line, "%2d  %-16s %s\n", p.id, std::string(p.name).c_str(),
                      std::string(QuarelNS::CategoryInfo(p.category).name).c_str());
        text += line;
    }
    return text;
}

TEST(CommandLine, AnswersEachLineWithItsExitCodeAndWhy) {
    const std::string preset = SourceDir() + "/presets/brick-wall.json";
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const Case cases[] = {
        // Names that are almost right get the closest ones and where the list is.
        {{"--pattern", "Herringbon"}, kExitRefused, "did you mean \"Herringbone\"?"},
        {{"--pattern", "Herringbon"}, kExitRefused, "(quarel-preview patterns lists them)"},
        {{"--set", "pattern=hexagon"}, kExitRefused, "did you mean \"Hexagons\"?"},
        {{"--set", "projection_mode=Acurate"}, kExitRefused, "did you mean \"Accurate\"?"},
        {{"--set", "brik_color=1,1,1"}, kExitRefused, "did you mean \"brick_color\""},
        {{"--set", "brik_color=1,1,1"}, kExitRefused, "(quarel-preview params lists them)"},
        {{"--set", "normal.normal_dept=2"}, kExitRefused, "\"normal.normal_depth\""},
        {{"--set", "zzzz=1"},
         kExitRefused,
         "unknown parameter 'zzzz'; quarel-preview params lists"},
        {{"--pattren", "3"}, kExitRefused, "unknown option --pattren; did you mean \"--pattern\"?"},
        {{"bkae"}, kExitRefused, "unknown command bkae; did you mean \"bake\"?"},
        // Messages name the option the user typed.
        {{"--nx", "300"}, kExitRefused, "--nx 300: 300 is out of range: nx takes an integer"},
        {{"--set", "nx=300"}, kExitRefused, "--set nx=300: 300 is out of range"},
        {{"--set", "grout_color=1,1,2"}, kExitRefused, "takes a colour r,g,b"},
        // Options a command or mode does not use are refused with the reason.
        {{"--repeat", "2", "--projection", "box"}, kExitRefused, "--repeat: tiles the plane"},
        {{"--box", "1,1,1"}, kExitRefused, "applies to --projection box only"},
        {{"params", "--pattern", "3"}, kExitRefused, "--pattern: does not apply to params"},
        {{"patterns", "--set", "nx=3"}, kExitRefused, "--set: does not apply to patterns"},
        {{"sample", "--samples", "4"}, kExitRefused, "--samples: does not apply to sample"},
        {{"bake", "--repeat", "2"}, kExitRefused, "does not apply to bake: a bake is one tile"},
        {{"show", "--out", "a.png"}, kExitRefused, "--out: does not apply to show"},
        {{"--output", "color", "--normal-y-down"}, kExitRefused, "turns normal pictures only"},
        {{"--sheet", "--pattern", "3"}, kExitRefused, "the sheet shows every pattern"},
        {{"--sheet", "--set", "pattern=3"}, kExitRefused, "the sheet shows every pattern"},
        // Outputs are PNG files; bake takes a prefix.
        {{"--out", "x.jpg"}, kExitRefused, "PNG files only"},
        {{"--out", "x"}, kExitRefused, "PNG files only"},
        {{"bake", "--out", "x.tga"}, kExitRefused, "bake writes PNG files"},
        {{"bake", "--profile", "blender"},
         kExitRefused,
         "--profile: 'blender' is not separate, gltf,"},
        {{"bake", "--profile", "gltf", "--size", "9000"},
         kExitRefused,
         "--size: 9000 is out of range; give 8 to 8192"},
        {{"bake", "--height-format", "tiff"},
         kExitRefused,
         "--height-format: 'tiff' is not png16 or exr"},
        {{"bake", "--profile", "unreal", "--normal-y-down"},
         kExitRefused,
         "--profile unreal fixes the normals' direction"},
        {{"bake", "--help"}, kExitOk, "_MaskMap R metallic G occlusion B detail mask A smoothness"},
        // Help lists what each command takes, with its defaults, and nothing else.
        {{"bake", "--help"}, kExitOk, "--samples N"},
        {{"bake", "--help"}, kExitOk, "(default: 1024)"},
        {{"swatch", "--help"}, kExitOk, "--pattern VALUE"},
        {{"sample", "--help"}, kExitOk, "--output WHAT"},
        {{"--help"}, kExitOk, "(default: 4)"},
        {{"--help-all"}, kExitOk, "12  Hexagons         Pavement\n"},
        {{"show", "--preset", preset}, kExitOk, "\"pattern\": \"1/2 Running\",\n"},
        {{"params"}, kExitOk, "nx                             default 4"},
    };
    for (const Case& c : cases) {
        std::string line, all;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_EQ(RunAll(c.args, all), c.code) << line << "\n" << all;
        EXPECT_NE(all.find(c.says), std::string::npos) << line << "\n" << all;
    }
    // A command's help leaves out what it refuses, and speaks of that command alone.
    std::string help;
    ASSERT_EQ(RunAll({"swatch", "--help"}, help), kExitOk);
    EXPECT_EQ(help.find("--repeat"), std::string::npos) << help;
    EXPECT_EQ(help.find("--samples"), std::string::npos) << help;
    const struct {
        std::vector<std::string> args;
        const char* says;
        const char* not_said;
    } helps[] = {
        {{"bake", "--help"}, "The tile in pixels, each side 8 to 8192", "swatch"},
        {{"swatch", "--help"}, "Side of the square swatch in pixels, 8 to 1024", "prefix"},
        {{"picker", "--help"}, "The PNG file of the picker menu", "prefix"},
        {{"--help"}, "Picture height in pixels, 8 to 8192", "swatch's"},
        {{"params", "--help"}, "--quiet, -q", "--out"},
    };
    for (const auto& h : helps) {
        ASSERT_EQ(RunAll(h.args, help), kExitOk) << h.args[0];
        EXPECT_NE(help.find(h.says), std::string::npos) << help;
        EXPECT_EQ(help.find(h.not_said), std::string::npos) << help;
    }
}

// Every refusal speaks one way: the program's name first, then what the user typed, and
// numbers as the user would type them, whichever check found the fault.
TEST(CommandLine, EveryMessageHasOneShape) {
    const std::string missing = "/nonexistent-" + std::to_string(::getpid());
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--object", "sphere", "--bump", "-1"}, "--bump: -1 is out of range; give 0 to 100"},
        {{"--size", "abc"}, "--size: 'abc' is not a whole number"},
        {{"--repeat", "1.5"}, "--repeat: '1.5' is not a whole number; give 1 to 64"},
        {{"bake", "--relief-depth", "x"}, "--relief-depth: 'x' is not a number; give 0 to 10000"},
        {{"bake", "--bevel", "65"}, "--bevel: 65 is out of range; give 0 to 64"},
        {{"swatch", "--size", "4"}, "--size: 4 is out of range; give 8 to 1024"},
        {{"bake", "--size", "64x9000"}, "--size: 9000 is out of range; give 8 to 8192 for each"},
        {{"bake", "--size", "64x"}, "--size: '64x' is not a whole number N, or W x H"},
        {{"bake", "--size", "-64x64"}, "--size: '-64x64' is not a whole number N"},
        {{"--size", "64x32"}, "--size: '64x32': a render takes one number; only bake takes"},
        {{"swatch", "--size", "20x30"}, "--size: '20x30': swatch takes one number"},
        {{"--object", "cube", "--camera", "0.5,0,30"},
         "--camera: distance 0.5 is out of range; give 1 to 100"},
        {{"--object", "cube", "--camera", "3,0,90"},
         "--camera: elevation 90 is out of range; give -89 to 89"},
        {{"--object", "cube", "--camera", "3,0"}, "--camera: '3,0' is not DISTANCE,AZIMUTH"},
        {{"--object", "cube", "--light", "0,nan"}, "--light: '0,nan' is not AZIMUTH,ELEVATION"},
        {{"--object", "cube", "--object-tiles", "0"}, "--object-tiles: 0 is out of range"},
        {{"--camera", "3,0,30"}, "--camera: applies to --object only"},
        {{"--output", "colr"}, "--output: 'colr' is not color, mono, cells"},
        {{"--output", "colr"}, "did you mean \"color\"?"},
        {{"--box", "1,2", "--projection", "box"}, "--box: '1,2' is not X,Y,Z"},
        {{"--set", "nx"}, "'nx' is not NAME=VALUE"},
        {{"--set", "zzzz=1"}, "--set zzzz=1: unknown parameter 'zzzz'"},
        {{"--pattern", "Flemish"}, "did you mean \"Common Flemish\"?"},
        {{"--pattren", "3"}, "unknown option --pattren"},
        {{"bkae"}, "unknown command bkae"},
        {{"params", "--pattern", "3"}, "--pattern: does not apply to params"},
        {{"--size"}, "--size"},
        {{"--out", missing + "/dir/e.png", "--size", "8"}, "will not make folder"},
    };
    for (const auto& c : cases) {
        std::string line, all;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_NE(RunAll(c.args, all), kExitOk) << line;
        EXPECT_EQ(all.rfind("quarel-preview: ", 0), 0u) << line << "\n" << all;
        EXPECT_NE(all.find(c.says), std::string::npos) << line << "\n" << all;
        for (const char* stray : {"; (", "Value ", "000000", "Run with --help"})
            EXPECT_EQ(all.find(stray), std::string::npos) << line << "\n" << all;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// --out makes the folders it needs below one that exists, and says which.
TEST(CommandLine, OutSaysWhichFoldersItMade) {
    const std::string dir = (TestDir() / "made-folders").string();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::string all;
    ASSERT_EQ(RunAll({"--out", dir + "/a/b/e.png", "--size", "8"}, all), kExitOk) << all;
    EXPECT_NE(all.find("quarel-preview: made folder " + dir + "/a\n"), std::string::npos) << all;
    EXPECT_NE(all.find("quarel-preview: made folder " + dir + "/a/b\n"), std::string::npos) << all;
    EXPECT_TRUE(std::filesystem::exists(dir + "/a/b/e.png"));
}

// The main map's relief copies serve older scenes only: params says so, and setting them says so
// once rather than changing nothing without a word.
TEST(CommandLine, ControlsReadOnlyInOlderScenesSaySo) {
    std::string all, shown;
    ASSERT_EQ(RunTool({"show", "--set", "normal_depth=2", "--set", "relief_tex_amount=0.5"}, "",
                      &shown, &all),
              kExitOk);
    const std::string note =
        "quarel-preview: note: --set normal_depth=2 is read only when the map has no normal "
        "output (older scenes); set normal.normal_depth\n";
    ASSERT_NE(all.find(note), std::string::npos) << all;
    EXPECT_EQ(all.find("note:", all.find(note) + note.size()), std::string::npos) << all;
    ASSERT_EQ(RunAll({"params"}, all), kExitOk);
    for (const char* says : {"set normal.normal_depth", "set normal.relief_tex_amount",
                             "so it also lowers some bricks", "so it also changes them"})
        EXPECT_NE(all.find(says), std::string::npos) << says;
}

TEST(CommandLine, PresetMessagesSpeakThePresetsSyntax) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"{\n  \"nx\": 4,\n  \"nx\": 5\n}", "p.json:3:3: \"nx\" is given twice"},
        {"{\"normal\": {\"normal_depth\": 1,\n \"normal_depth\": 2}}", "p.json:2:2: "},
        {"{\"brick_map\": {\"map\": \"checker\", \"tiling\": 2, \"tiling\": 3}}", "p.json:1:47"},
        {"{\"brick_color\": [1, 1, 2]}", "takes a colour [r, g, b] with each part"},
        {"{\"nx\": 300}", "\"nx\": 300 is out of range"},
        {"{\"pattern\": \"Herringbon\"}", "did you mean \"Herringbone\"?"},
        {"{\"brik_color\": [1, 1, 1]}", "\"brik_color\": unknown parameter; did you mean"},
        {"{\"brick_map\": {\"map\": \"color\"}}", "a color map needs \"color\""},
    };
    for (const Case& c : cases) {
        std::vector<Assignment> values;
        std::string error;
        EXPECT_FALSE(ParsePreset(c.text, Table(), "p.json", "", values, error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << "\n  -> " << error;
    }
    // Keys alike in different objects are no repetition; escapes are read as the parser reads.
    std::vector<Assignment> values;
    std::string error;
    EXPECT_TRUE(ParsePreset(R"({"grout_map": {"map": "color", "color": [0, 0, 0]},
                                "brick_map": {"map": "color", "color": [1, 1, 1]},
                                "comment": "\"nx\": 3, {", "nx": 3})",
                            Table(), "p.json", "", values, error))
        << error;
    EXPECT_FALSE(ParsePreset(R"({"nx": 3, "n\u0078": 4})", Table(), "p.json", "", values, error));
}

// The list comes from the module's own picker menu; it must agree with the engine's catalogue,
// which the help prints before any module is loaded.
TEST(CommandLine, PatternsListsTheCatalogueInPickerGroups) {
    std::string out;
    ASSERT_EQ(RunTool({"patterns"}, "", &out), kExitOk);
    EXPECT_EQ(out, Patterns());
    std::string help;
    ASSERT_EQ(RunAll({"--help-all"}, help), kExitOk);
    EXPECT_NE(help.find(Patterns()), std::string::npos) << help;
}

TEST(CommandLine, DefaultNamesCarryTheSourceAndNeverOverwrite) {
    PreviewOptions o;
    o.preset = "presets/brick-wall.json";
    o.projection = Projection::Box;
    EXPECT_EQ(DefaultOutputName(o, 0, "1/2 Running"), "out/brick-wall-0-1-2-Running-box.png");
    o.preset.clear();
    o.scene = "scenes/my wall.qscene";
    o.mapName = "Wall";
    EXPECT_EQ(DefaultOutputName(o, 0, "1/2 Running"), "out/my-wall-Wall-0-1-2-Running-box.png");
    o.command = Command::Bake;
    o.projection = Projection::Plane;
    EXPECT_EQ(DefaultOutputName(o, 5, "Herringbone"), "out/bake-my-wall-Wall-5-Herringbone.png");

    const auto dir = TestDir();
    const std::string first = (dir / "a.png").string();
    EXPECT_EQ(FreePath(first), first);
    WriteFile(first, "x");
    EXPECT_EQ(FreePath(first), (dir / "a-2.png").string());
    WriteFile(dir / "a-2.png", "x");
    EXPECT_EQ(FreePath(first), (dir / "a-3.png").string());

    // A named output is overwritten; bake takes its prefix with or without ".png".
    std::string out;
    ASSERT_EQ(RunTool({"--size", "8", "-q", "--out", first}, "", &out), kExitOk);
    EXPECT_EQ(out, first + "\n");
    const std::string prefix = (dir / "t").string();
    ASSERT_EQ(RunTool({"bake", "--size", "8", "-q", "--out", prefix + ".png"}, "", &out), kExitOk);
    EXPECT_EQ(out, prefix + "-color.png\n" + prefix + "-normal.png\n" + prefix + "-height.png\n" +
                       prefix + "-id.png\n" + prefix + "-roughness.png\n" + prefix + "-ao.png\n" +
                       prefix + ".json\n");
    std::filesystem::remove_all(dir);
}

// Channels and depth of a PNG file: colour or grey, 8 or 16 bits.
struct PngKind {
    bool colour = false;
    int bits = 0;
};
PngKind KindOf(const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    PngKind kind;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return kind;
    kind.colour = (png.format & PNG_FORMAT_FLAG_COLOR) != 0;
    kind.bits = (png.format & PNG_FORMAT_FLAG_LINEAR) != 0 ? 16 : 8;
    png_image_free(&png);
    return kind;
}

TEST(CommandLine, HeightsAreSixteenBitGrey) {
    const auto dir = TestDir();
    const std::string height = (dir / "h.png").string();
    ASSERT_EQ(RunTool({"--output", "height", "--size", "16", "-q", "--out", height}, ""), kExitOk);
    EXPECT_FALSE(KindOf(height).colour);
    EXPECT_EQ(KindOf(height).bits, 16);
    const std::string prefix = (dir / "b").string();
    ASSERT_EQ(RunTool({"bake", "--size", "16", "-q", "--out", prefix}, ""), kExitOk);
    EXPECT_FALSE(KindOf(prefix + "-height.png").colour);
    EXPECT_EQ(KindOf(prefix + "-height.png").bits, 16);
    EXPECT_TRUE(KindOf(prefix + "-normal.png").colour);
    for (const char* grey : {"-roughness.png", "-ao.png"}) {
        EXPECT_FALSE(KindOf(prefix + grey).colour) << grey;
        EXPECT_EQ(KindOf(prefix + grey).bits, 16) << grey;
    }
    std::filesystem::remove_all(dir);
}

// Every stored value of the map the preset makes, read through the blocks.
std::vector<std::string> StoredValues(Texmap* map) {
    std::vector<std::string> values;
    for (const auto& e : Table().Entries()) {
        ParamValue v;
        if (!ReadParam(map, *e, v)) continue;
        char text[128];
        std::snprintf(text, sizeof text, "%s %d %.9g %.9g %.9g %.9g", e->name.c_str(), v.i,
                      static_cast<double>(v.f), static_cast<double>(v.c.r),
                      static_cast<double>(v.c.g), static_cast<double>(v.c.b));
        values.push_back(text);
    }
    return values;
}

// `show` prints a preset that gives the map the same values, a scene's map included, so that a
// saved scene's map can become a preset.
TEST(CommandLine, ShowPrintsAPresetThatReadsBackToTheSameValues) {
    const auto dir = TestDir();
    const std::string preset = SourceDir() + "/presets/herringbone-parquet.json";
    const std::string scene = (dir / "new" / "folder" / "parquet.qscene").string();
    ASSERT_EQ(
        RunTool({"sample", "--preset", preset, "--set", "master_angle=33.3", "--set",
                 "hue_shift=0.1", "--set", "bump.grout_color=0.3,0.2,0.1", "--save-scene", scene},
                ""),
        kExitOk);
    std::string shown;
    // The saved map is named after its preset.
    ASSERT_EQ(RunTool({"show", "--scene", scene, "--map", "herringbone-parquet"}, "", &shown),
              kExitOk);
    const std::string path = WriteFile(dir / "shown.json", shown);

    std::string error;
    auto fromPreset = QuarelPreviewTest::MapFromPresetFile(preset, error);
    auto fromShown = QuarelPreviewTest::MapFromPresetFile(path, error);
    ASSERT_TRUE(fromPreset && fromShown) << error << "\n" << shown;
    std::vector<Assignment> extra;
    ASSERT_TRUE(ParsePreset(R"({"master_angle": 33.3, "hue_shift": 0.1,
                                "bump": {"grout_color": [0.3, 0.2, 0.1]}})",
                            Table(), "extra", "", extra, error))
        << error;
    ASSERT_TRUE(ApplyAssignments(fromPreset->Get(), extra, error)) << error;
    EXPECT_EQ(StoredValues(fromShown->Get()), StoredValues(fromPreset->Get())) << shown;
    EXPECT_NE(shown.find("\"brick_map\": {\"map\":\"bitmap\",\"file\":\""), std::string::npos)
        << shown;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace QuarelPreview
