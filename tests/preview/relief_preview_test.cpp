// The preview's relief: the outputs sampled as the map's own outputs answer, their parameters
// under a prefix (options and nested presets), 16-bit normal and height pictures, the green
// convention, and baked tiles that wrap.
#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>

#include "preview/commands/run.h"
#include "preview/render/bake.h"
#include "preview/render/point_context.h"
#include "preview/render/relief_view.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"
#include "preview/setup/relief_outputs.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Host;
using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::Table;

// A new map with a preset applied and every map it shows updated, as the tool does.
struct ReliefMap {
    std::unique_ptr<MapSlot> slot;
    Texmap* map = nullptr;
    explicit ReliefMap(const char* preset = "{}")
        : slot(QuarelPreviewTest::MapFromPreset(preset)), map(slot->Get()) {
        UpdateForRender(map);
    }
};

// The u of the edge from the joint at u0 to the brick at u1 on the row through v, found from
// the relief's own heights (0 in the joints, 1 on the bricks at the defaults).
float RisingEdge(Texmap* map, float v, float u0, float u1) {
    const ShadeContextBuilder builder(map);
    PointShadeContext sc;
    auto height = [&](float u) {
        builder.SetPlanePoint(sc, u, v);
        return ReliefHeightAt(OutputTexmap(Output::Height, map), sc);
    };
    EXPECT_EQ(height(u0), 0.f);
    EXPECT_EQ(height(u1), 1.f);
    for (int i = 0; i < 40; ++i) {
        const float mid = 0.5f * (u0 + u1);
        (height(mid) == 0.f ? u0 : u1) = mid;
    }
    return u1;
}

TEST(ReliefPreview, SamplesAreWhatTheOutputsAnswer) {
    ReliefMap m;
    Texmap* normal = m.map->GetSubTexmap(kNormalSubMap);
    Texmap* bump = m.map->GetSubTexmap(kBumpSubMap);
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(bump, nullptr);
    const ShadeContextBuilder builder(m.map);
    PointShadeContext sc;
    const float edge = RisingEdge(m.map, 0.06f, 0.25f, 0.3f);
    int tilted = 0;
    for (const float u : {0.1f, 0.3f, edge - 1e-5f, edge + 1e-5f, edge - 2e-6f}) {
        builder.SetPlanePoint(sc, u, 0.06f);
        const AColor n = SampleOutput(Output::Normal, m.map, {}, sc, u, 0.06f);
        EXPECT_EQ(n, normal->EvalColor(sc));
        EXPECT_EQ(SampleOutput(Output::Bump, m.map, {}, sc, u, 0.06f), bump->EvalColor(sc));
        const Point3 p = m.map->EvalNormalPerturb(sc);
        EXPECT_EQ(SampleOutput(Output::Perturb, m.map, {}, sc, u, 0.06f),
                  AColor(p.x, p.y, p.z, 0.f));
        // The perturbation shown as a normal leans the way the normal output does.
        const AColor shown = EvalOutput(Output::Perturb, m.map, {}, sc, u, 0.06f);
        EXPECT_EQ(shown.r < 0.5f, n.r < 0.5f) << u;
        EXPECT_EQ(shown.r > 0.5f, n.r > 0.5f) << u;
        tilted += n.r < 0.5f;
    }
    EXPECT_EQ(tilted, 3);  // the three within a step of the edge

    // The tool prints the same: flat in a brick, the perturbation as three values and 0.
    std::string out;
    ASSERT_EQ(RunTool({"sample", "--output", "normal"}, "0.3 0.06\n", &out), kExitOk);
    EXPECT_EQ(out, "0.5 0.5 1 1\n");
    ASSERT_EQ(RunTool({"sample", "--output", "perturb"}, "0.3 0.06\n", &out), kExitOk);
    EXPECT_EQ(out, "0 0 0 0\n");
    std::ostringstream point;
    point.precision(9);
    point << edge - 2e-6f << " 0.06\n";
    ASSERT_EQ(RunTool({"sample", "--output", "perturb"}, point.str(), &out), kExitOk);
    EXPECT_GT(std::atof(out.c_str()), 0.f) << out;  // the height rises with u
    EXPECT_EQ(out.substr(out.size() - 3), " 0\n") << out;
    ASSERT_EQ(RunTool({"sample", "--output", "bump"}, "0.3 0\n0.3 0.06\n", &out), kExitOk);
    EXPECT_EQ(out, "0 0 0 1\n1 1 1 1\n");
}

TEST(ReliefPreview, TheOutputsParametersTakeAPrefix) {
    ReliefMap m(R"({"normal_depth": 7, "normal": {"normal_depth": 2, "relief_tex_amount": 0.25},
                    "bump": {"depth": 3, "grout_color": [0.2, 0.3, 0.4], "comment": "bump"}})");
    auto read = [&](const char* name) {
        ParamValue v;
        EXPECT_TRUE(ReadParam(m.map, *Table().Find(name), v)) << name;
        return v;
    };
    EXPECT_FLOAT_EQ(read("normal.normal_depth").f, 2.f);
    EXPECT_FLOAT_EQ(read("normal.relief_tex_amount").f, 0.25f);
    EXPECT_FLOAT_EQ(read("normal_depth").f, 7.f);  // the map's own (legacy) relief block
    EXPECT_FLOAT_EQ(read("bump.depth").f, 3.f);
    EXPECT_FLOAT_EQ(read("bump.grout_color").c.b, 0.4f);
    IParamBlock2* own = m.map->GetSubTexmap(kNormalSubMap)->GetParamBlock(0);
    EXPECT_FLOAT_EQ(own->GetFloat(0), 2.f);

    // The bump output's grout colour shows in its picture through --set as well.
    std::string out;
    ASSERT_EQ(RunTool({"sample", "--output", "bump", "--set", "bump.grout_color=0.5,0.25,0"},
                      "0.3 0\n", &out),
              kExitOk);
    EXPECT_EQ(out, "0.5 0.25 0 1\n");

    std::vector<Assignment> values;
    std::string error;
    EXPECT_FALSE(ParsePreset(R"({"normal": {"depth": 1}})", Table(), "p", "", values, error));
    EXPECT_NE(error.find("\"normal.depth\": unknown parameter"), std::string::npos) << error;
    EXPECT_FALSE(ParsePreset(R"({"bump": {"tex_relief": 2}})", Table(), "p", "", values, error));
    EXPECT_NE(error.find("bump.tex_relief"), std::string::npos) << error;
}

// The bits a channel of a PNG file holds; 0 when it cannot be read.
int PngBits(const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return 0;
    const int bits = (png.format & PNG_FORMAT_FLAG_LINEAR) != 0 ? 16 : 8;
    png_image_free(&png);
    return bits;
}

TEST(ReliefPreview, NormalAndHeightPicturesAreSixteenBit) {
    const auto dir = QuarelPreviewTest::TestDir();
    for (const char* output : {"normal", "height", "bump", "perturb"}) {
        const std::string path = (dir / (std::string(output) + ".png")).string();
        ASSERT_EQ(RunTool({"--output", output, "--size", "16", "-q", "--out", path}, ""), kExitOk);
        const bool deep = std::string(output) == "normal" || std::string(output) == "height";
        EXPECT_EQ(PngBits(path), deep ? 16 : 8) << output;
    }
    std::string out;
    const std::string prefix = (dir / "tile").string();
    ASSERT_EQ(RunTool({"bake", "--size", "16", "--samples", "1", "-q", "--out", prefix}, "", &out),
              kExitOk);
    EXPECT_EQ(out, prefix + "-color.png\n" + prefix + "-normal.png\n" + prefix + "-height.png\n" +
                       prefix + "-id.png\n" + prefix + "-roughness.png\n" + prefix + "-ao.png\n" +
                       prefix + ".json\n");
    EXPECT_EQ(PngBits(prefix + "-color.png"), 8);
    EXPECT_EQ(PngBits(prefix + "-normal.png"), 16);
    std::filesystem::remove_all(dir);
}

TEST(ReliefPreview, TheGreenConventionCanBeTurned) {
    ReliefMap m(R"({"gap_u": 0.2, "gap_v": 0.2, "normal": {"normal_depth": 0.2}})");
    RenderRequest r;
    r.output = Output::Normal;
    r.size = 64;
    r.samples = 64;  // rows of samples a step apart: every joint's edge is met
    const Image up = Render(r, m.map);
    r.normalYDown = true;
    const Image down = Render(r, m.map);
    ASSERT_TRUE(up.IsDeep());
    int tilted = 0;
    for (std::size_t i = 0; i < up.rgb16.size(); i += 3) {
        EXPECT_EQ(up.rgb16[i], down.rgb16[i]);
        EXPECT_LE(std::abs(static_cast<int>(up.rgb16[i + 1]) + down.rgb16[i + 1] - 65535), 1);
        EXPECT_EQ(up.rgb16[i + 2], down.rgb16[i + 2]);
        tilted += up.rgb16[i + 1] != 32768;
    }
    EXPECT_GT(tilted, 0);
}

// The tile rendered as part of a continuous 2 x 2 tile render of the plane: each quadrant is
// the baked tile, so the tile's last column continues into its first and its bottom row into
// its top without a seam.
TEST(ReliefPreview, BakedTilesWrap) {
    ReliefMap m(R"({"pattern": "Herringbone", "random_shift": 0.2, "color_variance": 0.3,
                    "gap_u": 0.08, "normal": {"normal_depth": 0.5}})");
    constexpr int kSize = 32;
    BakeRequest b;
    b.size = kSize;
    b.samples = 4;
    b.normalSource = NormalSource::Output;  // the height normals wrap by construction
    const BakedTiles tiles = Bake(b, m.map);
    for (const auto& [output, tile] :
         {std::pair{Output::Color, &tiles.color}, std::pair{Output::Normal, &tiles.normal},
          std::pair{Output::Height, &tiles.height}}) {
        SCOPED_TRACE(OutputName(output));
        ASSERT_EQ(tile->width, kSize);
        RenderRequest r;
        r.output = output;
        r.size = 2 * kSize;
        r.repeat = 2;
        r.samples = 4;
        const Image plane = Render(r, m.map);
        ASSERT_EQ(plane.IsDeep(), tile->IsDeep());
        const int max = tile->IsDeep() ? 65535 : 255;
        int differ = 0, varied = 0;
        for (int y = 0; y < 2 * kSize; ++y)
            for (int x = 0; x < 2 * kSize; ++x)
                for (int c = 0; c < 3; ++c) {
                    const std::size_t at = (static_cast<std::size_t>(y) * 2 * kSize + x) * 3 + c;
                    const std::size_t in =
                        (static_cast<std::size_t>(y % kSize) * kSize + x % kSize) * 3 + c;
                    const int a = tile->IsDeep() ? plane.rgb16[at] : plane.rgb[at];
                    const int t = tile->IsDeep() ? tile->rgb16[in] : tile->rgb[in];
                    differ += std::abs(a - t) > max / 255;
                    varied += t != (tile->IsDeep() ? tile->rgb16[c] : tile->rgb[c]);
                }
        EXPECT_EQ(differ, 0);
        EXPECT_GT(varied, 0);  // the tile shows a pattern, not one flat colour
    }
}

}  // namespace
}  // namespace QuarelPreview
