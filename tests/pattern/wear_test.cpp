// Missing bricks and edge noise: the share left out, whole bricks across the tile's edges, the
// untouched query at zero settings, and joints that wander but never close.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "pattern/catalogue.h"
#include "pattern/seamless_identity.h"
#include "pattern/wear.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

BrickCell Worn(const PatternSettings& ps, const WearSettings& w, float u, float v) {
    BrickCell c;
    EvaluateWornPattern(ps, w, u, v, c);
    return c;
}

bool SameBits(const BrickCell& a, const BrickCell& b) {
    return a == b && a.isGrout == b.isGrout && std::memcmp(&a.jointDist, &b.jointDist, 4) == 0;
}

TEST(Wear, ZeroSettingsGiveThePlainQueryBitForBit) {
    const WearSettings none;  // the defaults: nothing missing, no noise, pieces as they are
    for (int pattern = 0; pattern < kPatternCount; ++pattern) {
        PatternSettings ps = Settings(pattern, 5, 7, 0.06f, 0.04f, 0.2f, 99);
        ps.wantJointDist = true;
        for (int i = 0; i < 64; ++i)
            for (int j = 0; j < 64; ++j) {
                const float u = (static_cast<float>(i) + 0.37f) / 64.f * 3.f - 1.f;
                const float v = (static_cast<float>(j) + 0.71f) / 64.f * 3.f - 1.f;
                ASSERT_TRUE(SameBits(Worn(ps, none, u, v), Eval(ps, u, v)))
                    << "pattern " << pattern << " at " << u << ", " << v;
            }
    }
}

TEST(Wear, MissingShareFollowsTheSettingOverManyBricks) {
    // 64 x 64 = 4096 bricks; the binomial spread at one half is 0.8 %.
    const PatternSettings ps = Settings(1, 64, 64, 0.05f, 0.05f, 0.f, 1234);
    for (const float share : {0.05f, 0.2f, 0.5f, 0.9f}) {
        for (const std::uint32_t seed : {1u, 1234u, 99999u}) {
            PatternSettings seeded = ps;
            seeded.seed = seed;
            WearSettings w;
            w.missing = share;
            int missing = 0;
            for (int bu = 0; bu < 64; ++bu)
                for (int bv = 0; bv < 64; ++bv) {
                    BrickCell c;
                    c.brickU = bu, c.brickV = bv;
                    missing += BrickMissing(seeded, w, c) ? 1 : 0;
                }
            EXPECT_NEAR(static_cast<float>(missing) / 4096.f, share, 0.02f)
                << "share " << share << " seed " << seed;
        }
    }
    WearSettings all;
    all.missing = 1.f;
    EXPECT_TRUE(BrickMissing(ps, all, BrickCell{}));
}

TEST(Wear, AMissingBrickIsJointAllOverAndKeepsItsIndices) {
    const PatternSettings ps = Settings(1, 8, 16, 0.05f, 0.05f, 0.f, 7);
    WearSettings w;
    w.missing = 0.3f;
    int seen = 0;
    for (int i = 0; i < 200; ++i)
        for (int j = 0; j < 200; ++j) {
            const float u = (static_cast<float>(i) + 0.5f) / 200.f;
            const float v = (static_cast<float>(j) + 0.5f) / 200.f;
            const BrickCell plain = Eval(ps, u, v), worn = Worn(ps, w, u, v);
            BrickCell same = worn;
            same.isGrout = plain.isGrout;
            ASSERT_TRUE(SameBits(same, plain));  // identity, frame and joint distance untouched
            if (plain.isGrout) {
                ASSERT_TRUE(worn.isGrout);
                continue;
            }
            ASSERT_EQ(worn.isGrout, BrickMissing(ps, w, plain));
            seen += worn.isGrout ? 1 : 0;
        }
    EXPECT_GT(seen, 0);
}

TEST(Wear, ACutBrickIsMissingOnBothSidesOfTheTileEdge) {
    // Even counts: the shape repeats, so seamless bricks join their parts across the edge.
    for (const int pattern : {0, 1, 2, 21}) {
        const PatternSettings ps = Settings(pattern, 6, 10, 0.05f, 0.05f, 0.f, 31);
        WearSettings whole;
        whole.missing = 0.5f;
        whole.seamless = true;
        WearSettings parts = whole;
        parts.seamless = false;
        int pairs = 0, split = 0;
        for (int k = 0; k < 97; ++k) {
            const float x = (static_cast<float>(k) + 0.5f) / 97.f;
            const float lo = 1e-4f, hi = 1.f - 1e-4f;
            for (const auto& [ua, va, ub, vb] :
                 {std::array{lo, x, hi, x}, std::array{x, lo, x, hi}}) {
                BrickCell a = Eval(ps, ua, va), b = Eval(ps, ub, vb);
                if (a.isGrout || b.isGrout) continue;
                ApplySeamlessIdentity(ps, a);
                ApplySeamlessIdentity(ps, b);
                if (a.brickU != b.brickU || a.brickV != b.brickV || a.kind != b.kind) continue;
                ++pairs;
                EXPECT_EQ(Worn(ps, whole, ua, va).isGrout, Worn(ps, whole, ub, vb).isGrout)
                    << "pattern " << pattern << " at " << x;
                split += Worn(ps, parts, ua, va).isGrout != Worn(ps, parts, ub, vb).isGrout;
            }
        }
        EXPECT_GT(pairs, 0) << "pattern " << pattern;
        EXPECT_GT(split, 0) << "pattern " << pattern << ": the parts alone decide apart";
    }
}

// Labels of a dense grid: -1 grout, else an id of the brick (indices and set).
std::vector<std::int64_t> Labels(const PatternSettings& ps, const WearSettings& w, int n) {
    std::vector<std::int64_t> out(static_cast<std::size_t>(n) * n);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const BrickCell c = Worn(ps, w, (static_cast<float>(i) + 0.5f) / static_cast<float>(n),
                                     (static_cast<float>(j) + 0.5f) / static_cast<float>(n));
            out[static_cast<std::size_t>(j) * n + i] =
                c.isGrout ? -1
                          : (static_cast<std::int64_t>(c.brickU) * 4096 + c.brickV) * 4 + c.kind;
        }
    return out;
}

// The smallest distance between grid points of two different bricks, searched up to `reach`
// (the tile wraps: the pattern repeats with it). Only points next to the grout can be closest.
float MinSeparation(const std::vector<std::int64_t>& l, int n, float reach) {
    const int r = static_cast<int>(std::ceil(reach * static_cast<float>(n)));
    const auto at = [&](int i, int j) {
        return l[static_cast<std::size_t>((j + n) % n) * n + static_cast<std::size_t>((i + n) % n)];
    };
    float best = reach;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const std::int64_t id = at(i, j);
            if (id < 0 ||
                (at(i + 1, j) >= 0 && at(i - 1, j) >= 0 && at(i, j + 1) >= 0 && at(i, j - 1) >= 0))
                continue;
            for (int dj = -r; dj <= r; ++dj)
                for (int di = -r; di <= r; ++di) {
                    const std::int64_t other = at(i + di, j + dj);
                    if (other < 0 || other == id) continue;
                    best =
                        std::min(best, std::hypot(static_cast<float>(di), static_cast<float>(dj)) /
                                           static_cast<float>(n));
                }
        }
    return best;
}

TEST(Wear, EdgeNoiseNeverClosesAJoint) {
    // Joints 0.1 of a brick: 0.0125 across the courses, 0.025 between the heads.
    constexpr int n = 1024;
    constexpr float reach = 0.016f;
    const PatternSettings ps = Settings(1, 4, 8, 0.1f, 0.1f, 0.f, 5);
    const std::vector<std::int64_t> flat = Labels(ps, WearSettings{}, n);
    const float plain = MinSeparation(flat, n, reach);
    EXPECT_NEAR(plain, 0.0125f, 2.f / n);
    for (const float scale : {0.5f, 1.f, 3.f}) {
        WearSettings w;
        w.edgeNoise = 1.f;
        w.edgeNoiseScale = scale;
        const std::vector<std::int64_t> worn = Labels(ps, w, n);
        // Two grid steps of slack for where the grid happens to fall.
        const float bound = plain / (1.f + kEdgeNoiseMaxSlope) - 2.f / static_cast<float>(n);
        EXPECT_GE(MinSeparation(worn, n, reach), bound) << "scale " << scale;
        // The joints do move: many grid points change between brick and grout.
        std::size_t changed = 0;
        for (std::size_t k = 0; k < worn.size(); ++k) changed += (worn[k] < 0) != (flat[k] < 0);
        EXPECT_GT(changed, worn.size() / 100) << "scale " << scale;
    }
}

TEST(Wear, EdgeNoiseSlopeStaysWithinItsBoundAndRepeatsWithTheTile) {
    const PatternSettings ps = Settings(1, 6, 12, 0.05f, 0.05f, 0.f, 4321);
    WearSettings w;
    w.edgeNoise = 1.f;
    w.edgeNoiseScale = 0.7f;
    constexpr float h = 1e-3f;
    float steepest = 0.f;
    for (int i = 0; i < 300; ++i)
        for (int j = 0; j < 300; ++j) {
            const float u = (static_cast<float>(i) + 0.5f) / 300.f * (1.f - 2.f * h) + h;
            const float v = (static_cast<float>(j) + 0.5f) / 300.f * (1.f - 2.f * h) + h;
            const JointWarp pu = EdgeNoiseWarp(ps, w, u + h, v),
                            mu = EdgeNoiseWarp(ps, w, u - h, v);
            const JointWarp pv = EdgeNoiseWarp(ps, w, u, v + h),
                            mv = EdgeNoiseWarp(ps, w, u, v - h);
            // The Jacobian's Frobenius norm bounds its spectral norm.
            const float a = (pu.du - mu.du) / (2.f * h), b = (pv.du - mv.du) / (2.f * h);
            const float c = (pu.dv - mu.dv) / (2.f * h), d = (pv.dv - mv.dv) / (2.f * h);
            steepest = std::max(steepest, std::sqrt(a * a + b * b + c * c + d * d));
        }
    EXPECT_LE(steepest, kEdgeNoiseMaxSlope);
    EXPECT_GT(steepest, 0.1f * kEdgeNoiseMaxSlope);  // the bound is not empty

    // Across the tile's edges the field runs on: no seam in the outline.
    for (int k = 0; k <= 50; ++k) {
        const float x = static_cast<float>(k) / 50.f;
        const JointWarp a = EdgeNoiseWarp(ps, w, 1.f - 1e-5f, x), b = EdgeNoiseWarp(ps, w, 0.f, x);
        const JointWarp c = EdgeNoiseWarp(ps, w, x, 1.f - 1e-5f), d = EdgeNoiseWarp(ps, w, x, 0.f);
        EXPECT_NEAR(a.du, b.du, 1e-5f);
        EXPECT_NEAR(a.dv, b.dv, 1e-5f);
        EXPECT_NEAR(c.du, d.du, 1e-5f);
        EXPECT_NEAR(c.dv, d.dv, 1e-5f);
        // Whole tiles away (dyadic points: exact in float), the same record.
        const float u = static_cast<float>(k) / 64.f;
        EXPECT_TRUE(SameBits(Worn(ps, w, u, 0.3125f), Worn(ps, w, u + 2.f, 0.3125f - 3.f))) << u;
    }
}

TEST(Wear, BadValuesGiveDefinedRecords) {
    const PatternSettings ps = Settings(1, 4, 8, 0.05f, 0.05f);
    const float bad[] = {NAN, INFINITY, -INFINITY, -1.f, 1e30f, 0.f};
    for (const float x : bad)
        for (const float y : bad) {
            WearSettings w;
            w.missing = x;
            w.edgeNoise = y;
            w.edgeNoiseScale = x;
            const JointWarp d = EdgeNoiseWarp(ps, w, 0.3f, 0.6f);
            EXPECT_TRUE(std::isfinite(d.du) && std::isfinite(d.dv)) << x << ", " << y;
            EXPECT_LE(std::fabs(d.du), 0.5f);
            const BrickCell c = Worn(ps, w, x, y);  // non-finite coordinates as well
            EXPECT_TRUE(std::isfinite(c.localU) && std::isfinite(c.localV));
        }
}

}  // namespace
}  // namespace QuarelNS
