// Missing bricks and wandering joints as the host sees them: the same pixels are joint in the
// colour, the relief height, the cells output and the bake's id map, for any thread count.
#include <gtest/gtest.h>

#include "pattern/swatch_colour.h"
#include "preview/render/brick_ids.h"
#include "preview/render/relief_view.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/relief_outputs.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Table;

constexpr int kSize = 160;

// Grout grey 0 in the colour and the relief, bricks never near it (no variation).
constexpr const char* kWornWall = R"({"pattern": "1/2 Running", "nx": 6, "ny": 12,
    "gap_u": 0.08, "gap_v": 0.1, "brick_color": [0.8, 0.5, 0.3], "grout_color": [0, 0, 0],
    "missing_bricks": 25, "edge_noise": 1, "edge_noise_scale": 1.5, "seed": 4,
    "seamless_bricks": true})";

bool Black(const Image& im, int x, int y) {
    if (!im.IsDeep()) return im.Get(x, y) == 0;
    const std::size_t i = (static_cast<std::size_t>(y) * im.width + x) * 3;
    return im.rgb16[i] == 0 && im.rgb16[i + 1] == 0 && im.rgb16[i + 2] == 0;
}

Image RenderOf(Texmap* map, Output output, int threads) {
    RenderRequest r;
    r.output = output;
    r.size = kSize;
    r.samples = 1;  // the pixel's centre: no pixel mixes joint and brick
    r.threads = threads;
    r.cells = CellsSettings(map, Table());
    return Render(r, map);
}

TEST(WearPreview, EveryOutputShowsTheSameJointsForAnyThreadCount) {
    auto slot = QuarelPreviewTest::MapFromPreset(kWornWall);
    Texmap* map = slot->Get();
    Interval valid = FOREVER;
    ReliefOutputFor(map, kNormalPrefix)->Update(0, valid);
    const std::uint32_t groutCell = [] {
        QuarelNS::BrickCell grout;
        grout.isGrout = true;
        return QuarelNS::SwatchCellColour(grout);
    }();
    for (const int threads : {1, 3}) {
        SCOPED_TRACE(threads);
        const Image color = RenderOf(map, Output::Color, threads);
        const Image height = RenderOf(map, Output::Height, threads);
        const Image cells = RenderOf(map, Output::Cells, threads);
        const Image ids =
            RenderBrickIds(BrickIdSettingsOf(map, Table()), kSize, kSize, threads, nullptr);
        int joint = 0, differ = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const bool inColor = Black(color, x, y);
                joint += inColor;
                differ += inColor != Black(height, x, y) || inColor != Black(ids, x, y) ||
                          inColor != (cells.Get(x, y) == groutCell);
            }
        EXPECT_EQ(differ, 0);
        // A quarter of the bricks missing and the joints: far more than the plain joints.
        EXPECT_GT(joint, kSize * kSize / 4);
    }
}

}  // namespace
}  // namespace QuarelPreview
