// Sunk and tilted bricks as every height reader sees them: the heights at the bricks' centres
// spread over the share set, never above today's, and the normal output's slopes are the tilt
// each brick drew.
#include <algorithm>
#include <cmath>

#include "relief_probe.h"
#include "shading/brick_hash.h"
#include "shading/brick_wear.h"
#include "shading/bump_relief.h"
#include "shading/relief_height.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

class WearReliefTest : public ReliefProbeTest {
protected:
    WearReliefTest() {
        snap.nx = 16;  // 512 bricks of "1/2 Running", white on black grout
        snap.ny = 32;
    }
    BrickTop TopOf(const BrickCell& c) const {
        return DrawBrickTop(snap, CellKey(c.brickU, c.brickV, 0));
    }
};

TEST_F(WearReliefTest, HeightsAtBrickCentresSpreadOverTheShareSet) {
    snap.height_variance = 0.6f;
    const std::vector<BrickPoint> centres = BrickCentres(snap);
    ASSERT_GT(centres.size(), 400u);
    float lowest = 1.f, highest = 0.f, sum = 0.f;
    for (const BrickPoint& p : centres) {
        const float h = Height(p.u, p.v);
        EXPECT_FLOAT_EQ(h, TopOf(p.cell).keep) << p.cell;
        lowest = std::min(lowest, h);
        highest = std::max(highest, h);
        sum += h;
    }
    // Uniform over [0.4, 1]: its ends nearly reached, its mean in the middle.
    EXPECT_GE(lowest, 0.4f);
    EXPECT_LT(lowest, 0.43f);
    EXPECT_LE(highest, 1.f);
    EXPECT_GT(highest, 0.97f);
    EXPECT_NEAR(sum / static_cast<float>(centres.size()), 0.7f, 0.03f);
}

TEST_F(WearReliefTest, TheNormalOutputsSlopesAreEachBricksTilt) {
    snap.height_variance = 0.3f;
    snap.tilt_variance = 0.8f;
    int tilted = 0;
    for (const BrickPoint& p : BrickCentres(snap)) {
        const BrickTop top = TopOf(p.cell);
        const BrickCell& c = p.cell;
        // The bond's faces are not turned: localU runs along u over sizeU, localV along v.
        const float extent = std::fabs(top.dirU) * c.sizeU + std::fabs(top.dirV) * c.sizeV;
        const float k = top.keep * top.tilt / extent;
        const NormalSlopes g = Slopes(p.u, p.v);
        EXPECT_NEAR(g.gx, -k * top.dirU, 2e-3f * (1.f + k)) << c;
        EXPECT_NEAR(g.gy, -k * top.dirV, 2e-3f * (1.f + k)) << c;
        tilted += k > 0.5f;
    }
    EXPECT_GT(tilted, 100);
}

TEST_F(WearReliefTest, ABevelRisesToTheTiltedTop) {
    snap.tilt_variance = 1.f;
    snap.bevel_width = 0.3f;
    const std::vector<BrickPoint> centres = BrickCentres(snap);
    for (std::size_t b = 0; b < centres.size(); b += 25) {
        const BrickPoint& p = centres[b];
        // Along the middle of the face from its left joint inwards: 0 in the joint, rising,
        // and never above the tilted top at that point.
        const BrickTop top = TopOf(p.cell);
        const float left = p.u - (p.cell.localU * p.cell.sizeU);
        float last = -1.f;
        for (int k = 1; k <= 20; ++k) {
            const float u = left + p.cell.sizeU * 0.02f * static_cast<float>(k);
            BrickCell at = CellAt(snap, u, p.v);
            if (at.isGrout) continue;
            const float h = Height(u, p.v);
            EXPECT_LE(h, top.ShareAt(at) + 1e-5f);
            EXPECT_GE(h, 0.f);
            last = h;
        }
        EXPECT_GT(last, 0.f);
    }
}

}  // namespace
}  // namespace QuarelTest
