// Parameters by name through the loaded module: the table read from its block descriptors,
// values from the command line and from presets, and every class of bad input refused with a
// message that names the parameter (and its range) or the place in the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "preview/cli/options.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::Table;
using QuarelPreviewTest::TestDir;
using QuarelPreviewTest::WriteFile;

TEST(ParamText, ReadsEachTypeInTheEditorsUnits) {
    ParamValue v;
    std::string error;
    ASSERT_TRUE(ParseParamText(*Table().Find("pattern"), "maple LEAF", v, error)) << error;
    EXPECT_EQ(v.i, 24);
    ASSERT_TRUE(ParseParamText(*Table().Find("pattern"), "29", v, error)) << error;
    EXPECT_EQ(v.i, 29);
    ASSERT_TRUE(ParseParamText(*Table().Find("projection_mode"), "Accurate", v, error));
    EXPECT_EQ(v.i, 1);
    // The upper limit is met exactly although 0.9 is no float.
    ASSERT_TRUE(ParseParamText(*Table().Find("gap_u"), "0.9", v, error)) << error;
    EXPECT_EQ(v.f, 0.9f);
    ASSERT_TRUE(ParseParamText(*Table().Find("master_angle"), "90", v, error)) << error;
    EXPECT_FLOAT_EQ(v.f, static_cast<float>(M_PI / 2));
    ASSERT_TRUE(ParseParamText(*Table().Find("random_second_color_on"), "true", v, error));
    EXPECT_EQ(v.i, 1);
    ASSERT_TRUE(ParseParamText(*Table().Find("grout_color"), "0.1, 0.2,0.3", v, error)) << error;
    EXPECT_EQ(v.c, Color(0.1f, 0.2f, 0.3f));
}

TEST(ParamText, RefusesWithTheNameAndTheRange) {
    struct Case {
        const char* name;
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"nx", "0", "nx takes an integer from 1 to 256"},
        {"nx", "4.5", "nx takes an integer from 1 to 256"},
        {"nx", "99999999999", "out of range"},
        {"gap_v", "0.95", "gap_v takes a number from 0 to 0.9"},
        {"gap_u", "nan", "gap_u takes a number from 0 to 0.9"},
        {"master_angle", "3601", "master_angle takes an angle in degrees from -3600 to 3600"},
        {"pattern", "Nope", "pattern takes an id from 0 to 29"},
        {"pattern", "30", "pattern takes an id from 0 to 29"},
        {"brick_map_on", "1", "brick_map_on takes true or false"},
        {"brick_color", "1,1", "brick_color takes a colour r,g,b"},
        {"brick_color", "1,1,1.5", "each part from 0 to 1"},
        {"brick_map", "wood.png", "brick_map is a map: give it in a preset"},
    };
    for (const Case& c : cases) {
        ParamValue v;
        std::string error;
        EXPECT_FALSE(ParseParamText(*Table().Find(c.name), c.text, v, error)) << c.name;
        EXPECT_NE(error.find(c.says), std::string::npos)
            << c.name << "=" << c.text << ": " << error;
    }
}

TEST(Presets, SetEveryKindOfValueThroughTheBlocks) {
    const std::string path = WriteFile(TestDir() / "all.json", R"({
        "comment": "one of each",
        "pattern": "Hexagons", "nx": 6, "gap_u": 0.1, "master_angle": 30,
        "brick_color": [0.25, 0.5, 1], "random_second_color_on": true,
        "grout_map": {"map": "checker", "color1": [0, 0, 0], "color2": [1, 1, 1], "tiling": 4},
        "brick_map": {"map": "multisub", "by": "material", "count": 3,
                      "maps": [null, {"map": "checker", "tiling": [2, 3]}]}
    })");
    std::vector<Assignment> values;
    std::string error;
    ASSERT_TRUE(LoadPresetFile(path, Table(), values, error)) << error;
    ASSERT_EQ(values.size(), 8u);
    const MapRecipe& multi = *values[7].value.map;
    EXPECT_EQ(multi.kind, MapRecipe::Kind::MultiSub);
    EXPECT_EQ(multi.by, 2);
    ASSERT_EQ(multi.maps.size(), 2u);
    EXPECT_EQ(multi.maps[0], nullptr);
    EXPECT_EQ(multi.maps[1]->tileV, 3.f);

    auto slot = QuarelPreviewTest::Host().NewMap(error);
    ASSERT_TRUE(slot) << error;
    // Plain values reach the block as the editor would store them (angles in radians).
    std::vector<Assignment> plain(values.begin(), values.begin() + 6);
    ASSERT_TRUE(ApplyAssignments(slot->Get(), plain, error)) << error;
    ParamValue back;
    ASSERT_TRUE(ReadParam(slot->Get(), *Table().Find("pattern"), back));
    EXPECT_EQ(back.i, 12);
    ASSERT_TRUE(ReadParam(slot->Get(), *Table().Find("master_angle"), back));
    EXPECT_FLOAT_EQ(back.f, static_cast<float>(M_PI / 6));
    ASSERT_TRUE(ReadParam(slot->Get(), *Table().Find("brick_color"), back));
    EXPECT_EQ(back.c, Color(0.25f, 0.5f, 1.f));
    EXPECT_EQ(CellsSettings(slot->Get(), Table()).pattern.nx, 6);
}

TEST(Presets, RefuseEachClassOfBadInputClearly) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"{\"nx\": 4,\n  \"ny\": }", "bad.json:2:9: malformed JSON"},
        {"[1, 2]", "a preset is a JSON object"},
        {"{\"bricks\": 4}", "\"bricks\": unknown parameter"},
        {"{\"nx\": \"four\"}", "nx takes an integer from 1 to 256, not \"four\""},
        {"{\"nx\": 257}", "257 is out of range: nx takes an integer from 1 to 256"},
        {"{\"seed\": 1e30}", "out of range: seed takes an integer from 0 to 100000"},
        {"{\"brick_color\": [1, 0]}", "brick_color takes a colour [r, g, b]"},
        {"{\"grout_map_on\": 1}", "grout_map_on takes true or false"},
        {"{\"brick_map\": {\"map\": \"noise\"}}", "unknown map \"noise\""},
        {"{\"brick_map\": {\"map\": \"bitmap\"}}", "a bitmap needs \"file\""},
        {"{\"brick_map\": {\"map\": \"checker\", \"colour1\": [0, 0, 0]}}",
         "unknown key \"colour1\""},
        {"{\"brick_map\": {\"map\": \"checker\", \"tiling\": 0}}", "\"tiling\" takes a number"},
        {"{\"brick_map\": {\"map\": \"multisub\", \"count\": 1, \"maps\": [null, null]}}",
         "at most \"count\" (1)"},
        {"{\"comment\": 3}", "a comment is a string"},
        {"{\"nx\": 1e99999}", "malformed JSON: number overflow"},
    };
    for (const Case& c : cases) {
        std::vector<Assignment> values;
        std::string error;
        EXPECT_FALSE(ParsePreset(c.text, Table(), "bad.json", "", values, error)) << c.text;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.text << "\n  -> " << error;
        EXPECT_TRUE(values.empty());
    }
    // Maps nested too deep are refused rather than followed.
    std::string deep = "{\"map\": \"checker\"}";
    for (int i = 0; i < kMaxMapDepth; ++i)
        deep = "{\"map\": \"multisub\", \"count\": 1, \"maps\": [" + deep + "]}";
    std::vector<Assignment> values;
    std::string error;
    EXPECT_FALSE(
        ParsePreset("{\"brick_map\": " + deep + "}", Table(), "deep.json", "", values, error));
    EXPECT_NE(error.find("nest more than"), std::string::npos) << error;
}

TEST(Presets, FilesAndImagesThatCannotBeReadAreRefusedByTheTool) {
    std::string err;
    EXPECT_EQ(
        RunTool({"--preset", "/nonexistent/preset.json", "--out", "/dev/null"}, "", nullptr, &err),
        kExitRefused);
    EXPECT_NE(err.find("cannot read preset '/nonexistent/preset.json'"), std::string::npos) << err;

    const std::string preset =
        WriteFile(TestDir() / "missing-image.json",
                  R"({"brick_map": {"map": "bitmap", "file": "no-such.png"}})");
    EXPECT_EQ(RunTool({"--preset", preset, "--out", "/dev/null"}, "", nullptr, &err), kExitRefused);
    EXPECT_NE(err.find("brick_map"), std::string::npos) << err;
    EXPECT_NE(err.find((TestDir() / "no-such.png").string()), std::string::npos) << err;

    EXPECT_EQ(RunTool({"--set", "ny=0"}, "", nullptr, &err), kExitRefused);
    EXPECT_NE(err.find("--set ny=0: 0 is out of range: ny takes an integer from 1 to 256"),
              std::string::npos)
        << err;
    EXPECT_EQ(RunTool({"--projection", "box", "--box", "1000,1000,0.001", "--size", "64"}, "",
                      nullptr, &err),
              kExitRefused);
    EXPECT_NE(err.find("the picture would be"), std::string::npos) << err;
    EXPECT_EQ(RunTool({"--set", "tiles=3"}, "", nullptr, &err), kExitRefused);
    EXPECT_NE(err.find("unknown parameter 'tiles'"), std::string::npos) << err;
}

// The table is read from every block descriptor of the class, the relief block's included, with
// the names exactly as declared; `params` lists it.
TEST(ParamTable, ComesFromTheModulesBlockDescriptors) {
    EXPECT_EQ(Table().Find("master_angle")->type, TYPE_ANGLE);
    EXPECT_NE(Table().Find("bump_grout_color"), nullptr);
    EXPECT_EQ(Table().Find("NX"), nullptr);
    std::string out;
    ASSERT_EQ(RunTool({"params"}, "", &out), kExitOk);
    EXPECT_EQ(static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')),
              Table().Entries().size());
    EXPECT_NE(out.find("seed"), std::string::npos);
}

// Scripts take values from `params --json` and hand them back through --set: what it reports
// must be what the tool then accepts, and it must cover the whole table.
TEST(ParamTable, JsonGivesValuesTheToolAccepts) {
    std::string out;
    ASSERT_EQ(RunTool({"params", "--json"}, "", &out), kExitOk);
    const nlohmann::json all = nlohmann::json::parse(out);
    ASSERT_EQ(all.size(), Table().Entries().size());
    ParamValue v;
    std::string error;
    for (const nlohmann::json& j : all) {
        const std::string name = j.at("name");
        SCOPED_TRACE(name);
        const ParamEntry* p = Table().Find(name);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(j.at("prefix"), p->prefix);
        EXPECT_FALSE(j.at("description").get<std::string>().empty());
        const std::string kind = j.at("kind");
        if (kind == "map") continue;
        EXPECT_TRUE(ParseParamText(*p, j.at("default").get<std::string>(), v, error)) << error;
        if (kind == "choice") {
            int index = 0;
            for (const std::string item : j.at("items")) EXPECT_EQ(FindItem(*p, item), index++);
        }
        if (!j.contains("min")) continue;
        // Printed as JSON prints them, which is how a script passes them on.
        const nlohmann::json lo = j.at("min"), hi = j.at("max");
        EXPECT_LT(lo, hi);
        for (const nlohmann::json& x : {lo, hi})
            EXPECT_TRUE(ParseParamText(*p, x.dump(), v, error)) << error;
        const nlohmann::json above = hi.is_number_integer() ? nlohmann::json(hi.get<int>() + 1)
                                                            : nlohmann::json(hi.get<double>() + 1);
        EXPECT_FALSE(ParseParamText(*p, above.dump(), v, error)) << above;
    }
    // The flag belongs to params alone.
    EXPECT_EQ(RunTool({"--json"}, "", &out), kExitRefused);
}

}  // namespace
}  // namespace QuarelPreview
