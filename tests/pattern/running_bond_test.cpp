// Running bonds and Common Flemish: known points worked by hand, row properties, golden maps.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "pattern/pattern_hash.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

TEST(RunningBond, HalfBondKnownPoint) {
    // Row 1 of 4 is odd: offset 0.5 * 0.25 = 0.125; (0.05 - 0.125) * 4 = -0.3 -> brick -1. The
    // frame fields keep the caller's defaults.
    const float W = 1.f / 4.f;
    BrickCell want;
    want.brickU = -1;
    want.brickV = 1;
    want.localU = (0.05f - (-1.f * W + 0.5f * W)) / W;
    want.localV = (0.30f - 1.f * W) / W;
    want.sizeU = want.sizeV = W;
    EXPECT_EQ(Eval(Settings(0, 4, 4), 0.05f, 0.30f), want);
    EXPECT_NEAR(want.localU, 0.7f, 1e-6f);
}

TEST(RunningBond, GroutedFacesAreUnclampedAndScaled) {
    // nx 4, ny 8: W 0.25, H 0.125, m 0.125; gu = 0.125 * 0.1 / 0.25 = 0.05, gv = 0.1.
    // Just right of a vertical joint's centre: inside the joint the face coordinate runs past the
    // edge.
    const BrickCell c = Eval(Settings(4, 4, 8, 0.1f, 0.1f), 0.251f, 0.5f);
    const float gu = 0.125f * 0.1f / 0.25f;
    EXPECT_TRUE(c.isGrout);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.localU, ((0.251f - 1.f * 0.25f) / 0.25f - gu / 2.f) / (1.f - gu));
    EXPECT_LT(c.localU, 0.f);
    EXPECT_EQ(c.sizeU, (1.f - gu) * 0.25f);
    EXPECT_EQ(c.sizeV, (1.f - 0.125f * 0.1f / 0.125f) * 0.125f);
}

TEST(RunningBond, StackAndThirdBondOffsets) {
    for (float v = 0.01f; v < 1.f; v += 0.0625f) {
        for (float u = 0.003f; u < 1.f; u += 0.01f) {
            const BrickCell stack = Eval(Settings(4, 4, 4), u, v);
            EXPECT_EQ(stack.brickU, static_cast<int>(std::floor(4.f * u)));
            const BrickCell third = Eval(Settings(1, 4, 4), u, v);
            const int row = static_cast<int>(std::floor(4.f * v));
            // Odd rows shift by a third of a brick; the offset does not accumulate.
            const float o = (row & 1) ? 0.33333334f * 0.25f : 0.f;
            EXPECT_EQ(third.brickU, static_cast<int>(std::floor((u - o) * 4.f))) << u << "," << v;
            EXPECT_EQ(third.brickV, row);
        }
    }
}

TEST(RunningBond, RandomShiftIsPerRowAndFollowsTheSeed) {
    const PatternSettings a = Settings(0, 4, 4, 0.f, 0.f, 0.5f, 7);
    const PatternSettings b = Settings(0, 4, 4, 0.f, 0.f, 0.5f, 8);
    for (int row = 0; row < 4; ++row) {
        const float v = (static_cast<float>(row) + 0.5f) / 4.f;
        // Recover the row's offset from the face coordinate at two points: it must agree.
        const BrickCell c1 = Eval(a, 0.1f, v);
        const BrickCell c2 = Eval(a, 0.8f, v);
        const float o1 = 0.1f - (static_cast<float>(c1.brickU) + c1.localU) * 0.25f;
        const float o2 = 0.8f - (static_cast<float>(c2.brickU) + c2.localU) * 0.25f;
        EXPECT_NEAR(o1, o2, 1e-5f);
        const float shift = (2.f * RowShiftHash(7u, row) - 1.f) * 0.5f;
        const float expected = (shift + ((row & 1) ? 0.5f : 0.f)) * 0.25f;
        EXPECT_NEAR(o1, expected, 1e-5f) << "row " << row;
    }
    int differing = 0;
    for (float v = 0.05f; v < 1.f; v += 0.25f) differing += Eval(a, 0.5f, v) != Eval(b, 0.5f, v);
    EXPECT_GT(differing, 0);
}

TEST(RunningBond, BrickCrossingTheTileEdgeIsTwoBricks) {
    // An odd row of the half bond: the brick across u = 0 is -1 on the left edge and nx - 1 on
    // the right; each part is a brick of its own.
    const PatternSettings ps = Settings(0, 4, 4);
    std::set<int> seen;
    for (float u = 0.f; u < 1.f; u += 1.f / 256) seen.insert(Eval(ps, u, 0.3f).brickU);
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3}));
}

TEST(CommonFlemish, HeaderKnownPoint) {
    // 0.8 * 10707 = 8565.6 lies past the stretcher's 8291: the header, of the second set. Its
    // face, 0.2256 wide and 1 tall, is not turned; local U runs across it.
    const float p = 0.8f * 10707.f;
    BrickCell want;
    want.brickU = 1;
    want.kind = 1;
    want.localU = (p - 8291.f) / 2416.f;
    want.localV = 0.1f;
    want.sizeU = want.projSizeU = 0.22564678f;
    want.sizeV = want.projSizeV = 1.f;
    EXPECT_EQ(Eval(Settings(2, 1, 1), 0.8f, 0.1f), want);
    EXPECT_NEAR(want.localU, 0.113f, 1e-3f);
}

TEST(CommonFlemish, StretchersTurnWhenWideAndHeadersTakeTheSecondSet) {
    // nx 4, ny 8: stretcher face 0.19 x 0.125 is wider than tall. Frames and kinds over the tile
    // are the core frame table's.
    const PatternSettings ps = Settings(2, 4, 8, 0.05f, 0.05f);
    int headers = 0, stretchers = 0;
    for (float v = 0.004f; v < 1.f; v += 0.031f) {
        for (float u = 0.002f; u < 1.f; u += 0.0071f) {
            const BrickCell c = Eval(ps, u, v);
            if (c.isGrout) continue;
            (c.kind ? headers : stretchers)++;
            EXPECT_EQ(c.turned, c.kind ? 0 : 1) << u << "," << v;
        }
    }
    EXPECT_GT(headers, 0);
    EXPECT_GT(stretchers, 2 * headers);
}

}  // namespace
}  // namespace QuarelNS
