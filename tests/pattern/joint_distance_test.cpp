// The joint distance of every pattern against a brute-force measure: rings of samples around a
// point, each sample asking the engine which piece it lies on, find the nearest place where the
// point's face ends. On a brick that is the distance to the brick's outline; in the grout, the
// distance to the face of the brick the record names, which the engine may underestimate where
// joints meet but never exceeds. Walks across the joints check that the distance is zero on an edge
// and continuous.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <sstream>

#include "pattern/catalogue.h"
#include "support.h"

namespace QuarelNS::testing {
namespace {

constexpr float kStep = 0.0005f;   // ring spacing and angular spacing of the brute force
constexpr float kDeepest = 0.02f;  // points farther in are not measured (cost grows as d^2)

// The counts each pattern is measured at: 4 x 8 (unequal, so stretched design spaces are
// measured too), fewer repeats for the patterns whose repeat holds many small pieces, and equal
// counts, where the outline patterns are exact.
PatternSettings Measured(PatternSettings ps) {
    ps.wantJointDist = true;
    return ps;
}

PatternSettings CaseFor(int pattern, float gap, bool equalCounts = false) {
    const bool bigRepeat = pattern == 20 || (pattern >= 24 && pattern <= 29);
    if (equalCounts) {
        return Measured(Settings(pattern, bigRepeat ? 2 : 6, bigRepeat ? 2 : 6, gap, gap));
    }
    return Measured(Settings(pattern, bigRepeat ? 2 : 4, bigRepeat ? 3 : 8, gap, gap));
}

// Relative bound beyond the sampling error: first order on the curved rows of the waves, on
// the leaf's skew lattice, and on the curves and corners of the outline patterns when unequal
// counts stretch their design space.
float RelativeBound(int pattern, bool equalCounts) {
    if (pattern == 21 || pattern == 22) return 0.25f;
    if (pattern == 24) return equalCounts ? 0.05f : 0.3f;
    if (pattern == 20 || pattern == 28 || pattern == 29) return equalCounts ? 0.f : 0.3f;
    return 0.f;
}

bool SameFace(const BrickCell& a, const BrickCell& b) {
    return !b.isGrout && a.brickU == b.brickU && a.brickV == b.brickV && a.kind == b.kind;
}

// Radius of the first ring, out to `limit`, holding a sample for which `off` holds; infinity
// when none does.
template <class Off>
float RingSearch(float u, float v, float limit, Off off) {
    for (float r = kStep; r <= limit; r += kStep) {
        const int n = static_cast<int>(std::ceil(6.2831853f * r / kStep));
        for (int k = 0; k < n; ++k) {
            const float a = 6.2831853f * static_cast<float>(k) / static_cast<float>(n);
            if (off(u + r * std::cos(a), v + r * std::sin(a))) return r;
        }
    }
    return std::numeric_limits<float>::infinity();
}

struct Worst {
    float brickError = 0.f;   // largest |reported - brute force| beyond the bound, on bricks
    float groutExcess = 0.f;  // largest reported - brute force beyond the bound, in the grout
    int bricks = 0, grouts = 0;
};

Worst MeasurePattern(int pattern, bool equalCounts) {
    const PatternSettings ps = CaseFor(pattern, 0.08f, equalCounts);
    const float rel = RelativeBound(pattern, equalCounts);
    std::mt19937 rng(1000u + static_cast<unsigned>(pattern));
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    Worst w;
    for (int draw = 0; draw < 4000 && (w.bricks < 24 || w.grouts < 8); ++draw) {
        const float u = unit(rng), v = unit(rng);
        const BrickCell c = Eval(ps, u, v);
        const float d = c.jointDist;
        if (!(d >= 0.f) || d > kDeepest) continue;
        const float reach = d * (1.f + rel) + 6.f * kStep;
        // The tile's edge splits a brick into two identities: stay clear of it.
        if (std::min(std::min(u, 1.f - u), std::min(v, 1.f - v)) < reach + kStep) continue;
        const float tol = 3.f * kStep + rel * d;
        if (!c.isGrout) {
            if (w.bricks >= 24) continue;
            ++w.bricks;
            const float ref = RingSearch(
                u, v, reach, [&](float x, float y) { return !SameFace(c, Eval(ps, x, y)); });
            w.brickError = std::max(w.brickError, std::fabs(d - ref) - tol);
        } else {
            if (w.grouts >= 8) continue;
            ++w.grouts;
            const float ref = RingSearch(
                u, v, reach, [&](float x, float y) { return SameFace(c, Eval(ps, x, y)); });
            w.groutExcess = std::max(w.groutExcess, d - std::min(ref, reach) - tol);
        }
    }
    return w;
}

TEST(JointDistance, MatchesBruteForceOnBricksAndBoundsItInTheGrout) {
    for (int pattern = 0; pattern < kPatternCount; ++pattern) {
        SCOPED_TRACE(std::string(PatternInfoFor(pattern).name));
        for (const bool equal : {false, true}) {
            const Worst w = MeasurePattern(pattern, equal);
            EXPECT_GE(w.bricks, 12) << "equal counts " << equal;
            EXPECT_LE(w.brickError, 0.f) << "equal counts " << equal;
            EXPECT_LE(w.groutExcess, 0.f) << "equal counts " << equal;
        }
    }
}

// Walks in small steps along random lines: on one face the distance changes no faster than the
// way walked; where the walk leaves a face (into the grout or straight onto another brick) both
// sides are at the edge, so both read about zero. Never negative, never NaN.
void WalkAcrossJoints(int pattern, float gap) {
    // The outline patterns are continuous where their design space is stretched by less than
    // 5 %: with equal counts. Stretched further, the distance may jump on a corner's bisector.
    const bool outline = pattern == 20 || pattern == 24 || pattern == 28 || pattern == 29;
    const PatternSettings ps = CaseFor(pattern, gap, outline);
    constexpr float kWalk = 0.0002f;
    // Curved and stretched outlines change their first-order distance a little faster.
    const float slope = RelativeBound(pattern, outline) > 0.f ? 1.6f : 1.02f;
    std::mt19937 rng(77u + static_cast<unsigned>(pattern));
    std::uniform_real_distribution<float> inner(0.1f, 0.9f);
    std::uniform_real_distribution<float> turn(0.f, 6.2831853f);
    int edges = 0;
    for (int line = 0; line < 24; ++line) {
        const float u0 = inner(rng), v0 = inner(rng), a = turn(rng);
        const float du = kWalk * std::cos(a), dv = kWalk * std::sin(a);
        BrickCell prev = Eval(ps, u0, v0);
        for (int k = 1; k < 600; ++k) {
            const float u = u0 + du * static_cast<float>(k), v = v0 + dv * static_cast<float>(k);
            const BrickCell c = Eval(ps, u, v);
            ASSERT_GE(c.jointDist, 0.f) << c;
            const bool sameFace = !prev.isGrout && SameFace(prev, c);
            // Overlapping leaves meet where one lies deeper than the other, not on an outline:
            // the distance does not see that line.
            const bool leafTie = pattern == 24 && !prev.isGrout && !c.isGrout && !sameFace;
            if (leafTie) {
                // (known limitation)
            } else if (sameFace) {
                ASSERT_LE(std::fabs(c.jointDist - prev.jointDist), slope * kWalk + 1e-6f)
                    << "at u=" << u << " v=" << v << "\n"
                    << prev << "\n"
                    << c;
            } else if (!prev.isGrout || !c.isGrout) {
                ++edges;
                // The two sides of an edge crossed in one step lie within a step of it together;
                // a second step covers the rectangle tables, whose pieces overlap by a design
                // unit, the first in table order taking the overlap.
                const float atEdge = 2.f * slope * kWalk;
                ASSERT_LE(std::max(c.jointDist, prev.jointDist), atEdge)
                    << "edge at u=" << u << " v=" << v << "\n"
                    << prev << "\n"
                    << c;
            }
            prev = c;
        }
    }
    EXPECT_GE(edges, 2);
}

TEST(JointDistance, IsZeroOnEveryEdgeAndContinuousAcrossIt) {
    for (int pattern = 0; pattern < kPatternCount; ++pattern) {
        SCOPED_TRACE(std::string(PatternInfoFor(pattern).name));
        WalkAcrossJoints(pattern, 0.08f);
        WalkAcrossJoints(pattern, 0.f);
    }
}

// A joint-free running bond: the distance is the way to the nearest cell side, exactly.
TEST(JointDistance, KnownValuesOfARunningBond) {
    const PatternSettings ps = Measured(Settings(4, 4, 8));  // stack bond, cells 0.25 x 0.125
    EXPECT_FLOAT_EQ(Eval(ps, 0.125f, 0.0625f).jointDist, 0.0625f);
    EXPECT_NEAR(Eval(ps, 0.01f, 0.0625f).jointDist, 0.01f, 1e-6f);
    // With joints of 0.1 of the shorter side (0.0125 wide), the face begins 0.00625 in.
    const PatternSettings grout = Measured(Settings(4, 4, 8, 0.1f, 0.1f));
    EXPECT_NEAR(Eval(grout, 0.02f, 0.0625f).jointDist, 0.02f - 0.00625f, 1e-6f);
    const BrickCell joint = Eval(grout, 0.002f, 0.0625f);
    EXPECT_TRUE(joint.isGrout);
    EXPECT_NEAR(joint.jointDist, 0.00625f - 0.002f, 1e-6f);
    // Not asked for, it is not measured.
    EXPECT_EQ(Eval(Settings(4, 4, 8), 0.125f, 0.0625f).jointDist, 0.f);
}

bool SameBits(float a, float b) {
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool SameBitsButDistance(const BrickCell& a, const BrickCell& b) {
    return a.brickU == b.brickU && a.brickV == b.brickV && SameBits(a.localU, b.localU) &&
           SameBits(a.localV, b.localV) && SameBits(a.sizeU, b.sizeU) &&
           SameBits(a.sizeV, b.sizeV) && a.isGrout == b.isGrout && a.kind == b.kind &&
           a.turned == b.turned && a.upright == b.upright && SameBits(a.projSizeU, b.projSizeU) &&
           SameBits(a.projSizeV, b.projSizeV);
}

// The measure costs a query's other fields nothing: with the distance asked for or not, every
// pattern gives the same cell, bit for bit, at random points, with and without joints.
TEST(JointDistance, AskingForItLeavesEveryOtherFieldAlone) {
    std::mt19937 rng(2024u);
    std::uniform_real_distribution<float> coord(-3.f, 3.f);
    for (int pattern = 0; pattern < kPatternCount; ++pattern) {
        SCOPED_TRACE(std::string(PatternInfoFor(pattern).name));
        for (const float gap : {0.f, 0.05f, 0.3f}) {
            PatternSettings plain = Settings(pattern, 3, 7, gap, 0.5f * gap);
            plain.random_shift = 0.3f;
            const PatternSettings measured = Measured(plain);
            for (int i = 0; i < 400; ++i) {
                const float u = coord(rng), v = coord(rng);
                const BrickCell a = Eval(plain, u, v);
                const BrickCell b = Eval(measured, u, v);
                ASSERT_EQ(a.jointDist, 0.f);
                ASSERT_TRUE(SameBitsButDistance(a, b)) << u << ", " << v << "\n" << a << "\n" << b;
            }
        }
    }
}

}  // namespace
}  // namespace QuarelNS::testing
