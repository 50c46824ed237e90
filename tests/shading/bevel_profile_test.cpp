// The bevel's height: the profiles' values and slopes, and on every pattern the slopes that the
// host's central differences see across the bevel band and beyond it.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "pattern/catalogue.h"
#include "pattern/evaluate.h"
#include "shading/bevel_profile.h"

namespace QuarelNS {
namespace {

constexpr BevelProfile kProfiles[] = {BevelProfile::Linear, BevelProfile::Round,
                                      BevelProfile::Smooth};

TEST(BevelProfile, RampsFromJointToFaceAndSlopeMatchesItsDifferences) {
    for (const BevelProfile p : kProfiles) {
        SCOPED_TRACE(static_cast<int>(p));
        EXPECT_EQ(BevelRamp(p, 0.f), 0.f);
        EXPECT_EQ(BevelRamp(p, 1.f), 1.f);
        EXPECT_EQ(BevelRamp(p, -3.f), 0.f);
        EXPECT_EQ(BevelRamp(p, 7.f), 1.f);
        EXPECT_EQ(BevelRamp(p, NAN), 0.f);
        float last = 0.f;
        for (int i = 1; i <= 99; ++i) {
            const float t = static_cast<float>(i) / 100.f;
            const float h = 1e-3f;
            const float fd = (BevelRamp(p, t + h) - BevelRamp(p, t - h)) / (2.f * h);
            EXPECT_NEAR(BevelRampSlope(p, t), fd, 2e-2f * std::max(1.f, fd)) << "t=" << t;
            EXPECT_GT(BevelRamp(p, t), last);
            last = BevelRamp(p, t);
        }
    }
    EXPECT_EQ(BevelProfileFromId(1), BevelProfile::Round);
    EXPECT_EQ(BevelProfileFromId(2), BevelProfile::Smooth);
    EXPECT_EQ(BevelProfileFromId(-1), BevelProfile::Linear);
    EXPECT_EQ(BevelProfileFromId(99), BevelProfile::Linear);
}

TEST(BevelProfile, WithoutABandHeightsAreThoseOfAPlainEvaluation) {
    BrickCell brick;
    brick.jointDist = 0.001f;
    BrickCell grout = brick;
    grout.isGrout = true;
    for (const float w : {0.f, -1.f, NAN}) {
        EXPECT_EQ(BevelledHeight(brick, w, BevelProfile::Smooth, 0.7f, 0.2f), 0.7f);
        EXPECT_EQ(BevelledHeight(grout, w, BevelProfile::Smooth, 0.7f, 0.2f), 0.2f);
    }
    // With a band: the grout keeps the joint's height, the joint edge starts there.
    brick.jointDist = 0.f;
    EXPECT_EQ(BevelledHeight(grout, 0.1f, BevelProfile::Linear, 0.7f, 0.2f), 0.2f);
    EXPECT_EQ(BevelledHeight(brick, 0.1f, BevelProfile::Linear, 0.7f, 0.2f), 0.2f);
}

// The height of a unit relief (brick 1, joint 0) at a point of the pattern plane.
float Height(const PatternSettings& ps, float u, float v, float width, BevelProfile p) {
    BrickCell c;
    EvaluatePattern(ps, u, v, c);
    return BevelledHeight(c, width, p, 1.f, 0.f);
}

// On every pattern, at random brick points and with the host's finest central-difference step:
// inside the band the height slopes as the profile says (the distance rises by one tile unit per
// tile unit, less where the step straddles a corner's bisector or a curved row); beyond the band
// and the step the face is exactly flat.
TEST(BevelProfile, CentralDifferencesSeeTheProfileAcrossTheBandAndFlatBeyondIt) {
    constexpr float kWidth = 0.1f;     // a tenth of the brick's smaller side
    constexpr float kStep = 0x1p-14f;  // within the host's steps, 2^-16 .. 2^-13
    for (int pattern = 0; pattern < kPatternCount; ++pattern) {
        SCOPED_TRACE(std::string(PatternInfoFor(pattern).name));
        PatternSettings ps;
        ps.wantJointDist = true;
        ps.pattern = pattern;
        ps.nx = ps.ny = 4;
        std::mt19937 rng(5u + static_cast<unsigned>(pattern));
        std::uniform_real_distribution<float> unit(0.f, 1.f);
        int inBand = 0, flat = 0;
        for (int i = 0; i < 3000 && (inBand < 40 || flat < 40); ++i) {
            const float u = unit(rng), v = unit(rng);
            BrickCell c;
            EvaluatePattern(ps, u, v, c);
            const float band = BevelBandWidth(c, kWidth);
            if (c.isGrout || !(band > 0.f)) continue;
            const float gu = (Height(ps, u + kStep, v, kWidth, BevelProfile::Linear) -
                              Height(ps, u - kStep, v, kWidth, BevelProfile::Linear)) /
                             (2.f * kStep);
            const float gv = (Height(ps, u, v + kStep, kWidth, BevelProfile::Linear) -
                              Height(ps, u, v - kStep, kWidth, BevelProfile::Linear)) /
                             (2.f * kStep);
            const float slope = std::sqrt(gu * gu + gv * gv);
            if (c.jointDist > band + 2.f * kStep) {
                ++flat;
                EXPECT_EQ(gu, 0.f) << c;
                EXPECT_EQ(gv, 0.f) << c;
            } else if (c.jointDist > 2.f * kStep && c.jointDist < band - 2.f * kStep) {
                ++inBand;
                // A linear profile rises 1 / band per tile unit of distance.
                EXPECT_GT(slope, 0.6f / band) << c;
                // The waves' first-order distance rises faster where their rows bend most.
                EXPECT_LT(slope, (pattern == 21 || pattern == 22 ? 2.f : 1.7f) / band) << c;
            }
        }
        EXPECT_GE(inBand, 10);
        EXPECT_GE(flat, 10);
    }
}

// On a joint-free stack bond the distance is exact, so the central differences of each profile
// agree with its analytic slope across the band.
TEST(BevelProfile, SlopeAgreesWithTheProfileOnStraightJoints) {
    PatternSettings ps;
    ps.wantJointDist = true;
    ps.pattern = 4;
    ps.nx = 4;
    ps.ny = 8;  // bricks 0.25 x 0.125: the band is 0.3 x 0.125 wide
    ps.gap_u = ps.gap_v = 0.f;
    constexpr float kWidth = 0.3f;
    constexpr float kStep = 0x1p-15f;
    const float band = kWidth * 0.125f;
    for (const BevelProfile p : kProfiles) {
        SCOPED_TRACE(static_cast<int>(p));
        // Up from the lower joint of a brick, at its middle along u.
        for (int i = 1; i < 20; ++i) {
            const float d = band * static_cast<float>(i) / 20.f;
            const float v = 0.125f * 3.f + d;
            const float fd = (Height(ps, 0.125f, v + kStep, kWidth, p) -
                              Height(ps, 0.125f, v - kStep, kWidth, p)) /
                             (2.f * kStep);
            const float want = BevelRampSlope(p, d / band) / band;
            EXPECT_NEAR(fd, want, 0.02f * want + 2.f) << "d=" << d;
        }
    }
}

}  // namespace
}  // namespace QuarelNS
