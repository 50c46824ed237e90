// Rounded corners: the grout a rounding adds matches the rounded outline's area, the points it
// takes keep their brick's identity, the distance follows the arc, bad radii are held, and faces
// that do not fill their frames keep their corners.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "pattern/catalogue.h"
#include "pattern/evaluate.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr float kPi = 3.14159265f;

BrickCell At(const PatternSettings& ps, float u, float v) {
    BrickCell c;
    EvaluatePattern(ps, u, v, c);
    return c;
}

float FrameDistance(const BrickCell& c) {
    return std::min(std::min(c.localU, 1.f - c.localU) * c.sizeU,
                    std::min(c.localV, 1.f - c.localV) * c.sizeV);
}

// The corner's lower left point and the face's size, for the brick through (u, v) of an upright
// running bond.
struct Face {
    float u0, v0, w, h;
};
Face FaceAt(const PatternSettings& ps, float u, float v) {
    const BrickCell c = At(ps, u, v);
    return {u - c.localU * c.sizeU, v - c.localV * c.sizeV, c.sizeU, c.sizeV};
}

// In each corner's square of side r, a dense grid finds grout on (1 - pi/4) r^2 of it: the
// area outside the quarter disc, and no more.
TEST(CornerRadius, TheGroutInEachCornerIsTheAreaOutsideTheQuarterDisc) {
    PatternSettings ps;
    const Face f = FaceAt(ps, 0.3f, 0.06f);
    for (const float fraction : {0.1f, 0.25f, 0.5f}) {
        ps.cornerRadius = fraction;
        const float r = fraction * std::min(f.w, f.h);
        for (const int corner : {0, 1, 2, 3}) {
            // From the corner inwards along each side.
            const float su = corner & 1 ? -1.f : 1.f, sv = corner & 2 ? -1.f : 1.f;
            const float cu = corner & 1 ? f.u0 + f.w : f.u0, cv = corner & 2 ? f.v0 + f.h : f.v0;
            constexpr int kGrid = 400;
            int grout = 0;
            for (int y = 0; y < kGrid; ++y) {
                for (int x = 0; x < kGrid; ++x) {
                    const float a = (static_cast<float>(x) + 0.5f) / kGrid * r;
                    const float b = (static_cast<float>(y) + 0.5f) / kGrid * r;
                    grout += At(ps, cu + su * a, cv + sv * b).isGrout;
                }
            }
            const float share = static_cast<float>(grout) / (kGrid * kGrid);
            EXPECT_NEAR(share, 1.f - kPi / 4.f, 0.01f) << fraction << " corner " << corner;
        }
    }
}

// A cut corner is grout of the same brick, the arc is the joint edge: the distance is zero on
// it, grows on both sides and is the frame distance beyond the corner's square.
TEST(CornerRadius, CutCornersKeepTheBrickAndTheDistanceFollowsTheArc) {
    PatternSettings ps;
    ps.pattern = 0;
    ps.wantJointDist = true;
    const BrickCell centre = At(ps, 0.3f, 0.06f);
    ASSERT_FALSE(centre.isGrout);
    ps.cornerRadius = 0.4f;
    const float r = 0.4f * std::min(centre.sizeU, centre.sizeV);
    // Walk the diagonal into the brick from a point by its lower left corner.
    const float u0 = 0.3f - centre.localU * centre.sizeU, v0 = 0.06f - centre.localV * centre.sizeV;
    const float corner = r * (1.f - 1.f / std::sqrt(2.f));  // the arc's point on the diagonal
    for (const float s : {0.2f, 0.5f, 0.9f, 1.1f, 1.5f, 3.f}) {
        const float d = s * corner;
        const BrickCell c = At(ps, u0 + d, v0 + d);
        SCOPED_TRACE(::testing::Message() << "at " << s << " of the cut " << ToString(c));
        EXPECT_EQ(c.isGrout, s < 1.f);
        EXPECT_EQ(c.brickU, centre.brickU);
        EXPECT_EQ(c.brickV, centre.brickV);
        EXPECT_NEAR(c.jointDist, std::fabs(d - corner) * std::sqrt(2.f), 2e-6f);
    }
    // Beyond the corner's square nothing changes.
    const BrickCell mid = At(ps, 0.3f, v0 + 0.5f * r);
    EXPECT_FALSE(mid.isGrout);
    EXPECT_NEAR(mid.jointDist, 0.5f * r, 2e-5f);
    ps.wantJointDist = false;
    EXPECT_EQ(At(ps, u0 + 0.2f * corner, v0 + 0.2f * corner).jointDist, 0.f);
}

// The rows that say their faces fill their frames are right to say so, and the others are left
// exactly as they are by a radius.
TEST(CornerRadius, OnlyFacesThatFillTheirFramesAreRounded) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    for (const PatternInfo& row : kPatternCatalogue) {
        PatternSettings ps;
        ps.pattern = row.id;
        ps.nx = 5;
        ps.ny = 7;
        ps.wantJointDist = true;
        PatternSettings round = ps;
        round.cornerRadius = 0.3f;
        int changed = 0;
        for (int i = 0; i < 4000; ++i) {
            const float u = unit(rng), v = unit(rng);
            const BrickCell c = At(ps, u, v), r = At(round, u, v);
            if (row.rectangularFaces && !c.isGrout) {
                ASSERT_NEAR(c.jointDist, FrameDistance(c), 1e-6f) << row.name << " " << ToString(c);
            }
            if (!row.rectangularFaces) {
                ASSERT_EQ(c, r) << row.name;
                ASSERT_EQ(c.jointDist, r.jointDist) << row.name;
            }
            changed += c.isGrout != r.isGrout;
        }
        if (row.rectangularFaces) {
            EXPECT_GT(changed, 0) << row.name;
        }
    }
}

TEST(CornerRadius, BadRadiiAreHeld) {
    PatternSettings ps;
    ps.wantJointDist = true;
    const Face f = FaceAt(ps, 0.3f, 0.06f);
    // By the brick's lower left corner: cut by any radius of a fifth of the side or more.
    const float u = f.u0 + 0.02f * f.h, v = f.v0 + 0.02f * f.h;
    const BrickCell square = At(ps, u, v);
    ASSERT_FALSE(square.isGrout);
    for (const float bad : {NAN, -1.f, 0.f, -INFINITY}) {
        ps.cornerRadius = bad;
        EXPECT_EQ(At(ps, u, v), square) << bad;
        EXPECT_EQ(At(ps, u, v).jointDist, square.jointDist) << bad;
    }
    PatternSettings half = ps, huge = ps;
    half.cornerRadius = 0.5f;
    huge.cornerRadius = INFINITY;
    EXPECT_TRUE(At(half, u, v).isGrout);
    EXPECT_EQ(At(huge, u, v), At(half, u, v));
}

}  // namespace
}  // namespace QuarelTest
