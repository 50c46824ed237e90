// Running bonds and Common Flemish: known points worked by hand, row properties, golden maps.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "pattern/pattern_hash.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::CellMapHash;
using testing::Eval;
using testing::Settings;

TEST(RunningBond, HalfBondKnownPoint) {
    // Row 1 of 4 is odd: offset 0.5 * 0.25 = 0.125; (0.05 - 0.125) * 4 = -0.3 -> brick -1.
    const BrickCell c = Eval(Settings(0, 4, 4), 0.05f, 0.30f);
    EXPECT_EQ(c.brickU, -1);
    EXPECT_EQ(c.brickV, 1);
    const float W = 1.f / 4.f;
    const float o = 0.5f * W;
    const float s = (0.05f - (-1.f * W + o)) / W;
    const float t = (0.30f - 1.f * W) / W;
    EXPECT_EQ(c.localU, s);
    EXPECT_EQ(c.localV, t);
    EXPECT_NEAR(c.localU, 0.7f, 1e-6f);
    EXPECT_EQ(c.sizeU, W);
    EXPECT_EQ(c.sizeV, W);
    EXPECT_FALSE(c.isGrout);
    EXPECT_EQ(c.kind, 0);
    EXPECT_EQ(c.turned, 0);
    EXPECT_EQ(c.upright, 1);
    EXPECT_EQ(c.projSizeU, 0.f);
}

TEST(RunningBond, GroutedFacesAreUnclampedAndScaled) {
    // nx 4, ny 8: W 0.25, H 0.125, m 0.125; gu = 0.125 * 0.1 / 0.25 = 0.05, gv = 0.1.
    const PatternSettings ps = Settings(4, 4, 8, 0.1f, 0.1f);
    const BrickCell c = Eval(ps, 0.251f, 0.5f);  // just right of a vertical joint centre
    const float W = 0.25f, H = 0.125f;
    const float gu = 0.125f * 0.1f / W;
    const float s = (0.251f - 1.f * W) / W;
    EXPECT_TRUE(c.isGrout);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.localU, (s - gu / 2.f) / (1.f - gu));
    EXPECT_LT(c.localU, 0.f);  // inside the joint the face coordinate runs past the edge
    EXPECT_EQ(c.sizeU, (1.f - gu) * W);
    EXPECT_EQ(c.sizeV, (1.f - 0.125f * 0.1f / H) * H);
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

TEST(RunningBond, CustomTilesAndOutOfRangeIdsMatchTheHalfBond) {
    for (float u = 0.f; u < 1.f; u += 0.037f) {
        const PatternSettings half = Settings(0, 5, 7, 0.1f, 0.05f, 0.3f, 99);
        PatternSettings custom = half;
        custom.pattern = 3;
        EXPECT_EQ(Eval(custom, u, 0.55f), Eval(half, u, 0.55f));
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
    const BrickCell left = Eval(ps, 0.01f, 0.3f);
    const BrickCell right = Eval(ps, 0.99f, 0.3f);
    EXPECT_EQ(left.brickU, -1);
    EXPECT_EQ(right.brickU, 3);
    std::set<int> seen;
    for (float u = 0.f; u < 1.f; u += 1.f / 256) seen.insert(Eval(ps, u, 0.3f).brickU);
    EXPECT_EQ(seen, (std::set<int>{-1, 0, 1, 2, 3}));
}

TEST(CommonFlemish, HeaderKnownPoint) {
    const BrickCell c = Eval(Settings(2, 1, 1), 0.8f, 0.1f);
    const float p = 0.8f * 10707.f;  // 8565.6: past the stretcher's 8291
    EXPECT_TRUE(p >= 8291.f);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.brickV, 0);
    EXPECT_FALSE(c.isGrout);
    // Face 0.2256 wide, 1 tall: not turned; local U is s across the header.
    EXPECT_EQ(c.turned, 0);
    EXPECT_EQ(c.upright, 1);
    EXPECT_EQ(c.localU, (p - 8291.f) / 2416.f);
    EXPECT_NEAR(c.localU, 0.113f, 1e-3f);
    EXPECT_EQ(c.localV, 0.1f);
    EXPECT_EQ(c.sizeU, 0.22564678f);
    EXPECT_EQ(c.projSizeU, c.sizeU);
    EXPECT_EQ(c.projSizeV, c.sizeV);
}

TEST(CommonFlemish, StretchersTurnWhenWideAndHeadersTakeTheSecondSet) {
    // nx 4, ny 8: stretcher face 0.19 x 0.125 is wider than tall.
    const PatternSettings ps = Settings(2, 4, 8, 0.05f, 0.05f);
    int headers = 0, stretchers = 0;
    for (float v = 0.004f; v < 1.f; v += 0.031f) {
        for (float u = 0.002f; u < 1.f; u += 0.0071f) {
            const BrickCell c = Eval(ps, u, v);
            EXPECT_EQ(c.kind, c.brickU & 1) << u << "," << v;
            EXPECT_EQ(c.upright, 1 - c.turned);
            EXPECT_GE(c.localU, 0.f);
            EXPECT_LE(c.localV, 1.f);
            EXPECT_LE(c.sizeU, c.sizeV);
            if (c.isGrout) continue;
            (c.kind ? headers : stretchers)++;
            EXPECT_EQ(c.turned, c.kind ? 0 : 1);
        }
    }
    EXPECT_GT(headers, 0);
    EXPECT_GT(stretchers, 2 * headers);
}

TEST(Golden, RunningBondsAndFlemishCellMaps) {
    struct Case {
        int pattern;
        std::uint64_t plain, varied;
    };
    // Hashes of 64 x 64 maps; regenerate only for an intended change of results.
    const Case cases[] = {
        {0, 0xECECA25E230DB623ull, 0x82ECC9B33E448573ull},
        {1, 0xBA7CFCD06EFE29B3ull, 0x8F6164643E93255Full},
        {2, 0xDCE5FE416C1730B3ull, 0xA75F22C35F59A483ull},
        {4, 0x35338744D6371843ull, 0x178E4EEF277CF242ull},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellMapHash(Settings(c.pattern, 4, 8, 0.05f, 0.05f), 64), c.plain)
            << "pattern " << c.pattern;
        EXPECT_EQ(CellMapHash(Settings(c.pattern, 3, 5, 0.2f, 0.1f, 0.35f, 4321), 64), c.varied)
            << "pattern " << c.pattern;
    }
}

}  // namespace
}  // namespace QuarelNS
