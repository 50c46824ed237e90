// The bevel as every height reader sees it: the map's own heights and slopes, the bump output's
// heights and picture and the legacy bump map's picture all rise from the joint by the profile
// across the band; the slopes the central differences give agree with the profile's own, are
// there across the whole band of every pattern's joints and vanish beyond it.
#include <cmath>
#include <random>

#include "shading/bevel_profile.h"
#include "shading/bump_relief.h"
#include "shading/relief_height.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr BevelProfile kProfiles[] = {BevelProfile::Linear, BevelProfile::Round,
                                      BevelProfile::Smooth};

class BevelReliefTest : public ShadingTest {
protected:
    BevelReliefTest() {
        snap.bevel_width = 0.3f;
        snap.bump_brick_color = Color(0.9f, 0.8f, 0.7f);
        snap.bump_grout_color = Color(0.1f, 0.2f, 0.1f);
    }
    // The shading point (u, v) with the largest relief step (a wide filter).
    TexCoords Place(float u, float v) {
        sc.SetUVW(Point3(u, v, 0.f), Point3(1.f, 1.f, 0.f));
        return ResolveTexCoords(snap, nullptr, sc, false);
    }
    float Height(float u, float v) {
        const TexCoords at = Place(u, v);
        return SampleReliefHeight(MakeReliefHeightField(Src(), sc, at, 0.f, true), 0.f, 0.f);
    }
    NormalSlopes Slopes(float u, float v) {
        Place(u, v);
        return EvalNormalSlopes(Src(), nullptr, sc, 0.f);
    }
    // The band of the brick at (u, v), in tile units.
    float Band(float u, float v) { return snap.bevel_width * Smaller(CellAt(snap, u, v)); }
    static float Smaller(const BrickCell& c) { return std::min(c.sizeU, c.sizeV); }

    const float grout = Grey(Color(0.1f, 0.2f, 0.1f)), brick = Grey(Color(0.9f, 0.8f, 0.7f));
};

// Along the first row of the default bond, inwards from a vertical joint: every reader's height
// is the profile between the joint's and the brick's; the diffuse colour keeps its step.
TEST_F(BevelReliefTest, EveryHeightReaderRisesByTheProfileAcrossTheBand) {
    const float edge = RisingEdge(snap, 0.06f, 0.25f, 0.3f), band = Band(0.3f, 0.06f);
    BumpReliefValues bump;
    bump.brickColor = Color(0.6f, 0.6f, 0.6f);
    bump.groutColor = Color(0.2f, 0.2f, 0.2f);
    bump.relief = 0.f;
    const ShadeOverrides legacy = PatternReliefRecord(snap);
    for (const BevelProfile profile : kProfiles) {
        snap.bevel_profile = static_cast<std::int32_t>(profile);
        for (int k = 0; k <= 12; ++k) {
            const float d = band * (0.02f + 0.1f * static_cast<float>(k));
            const float u = edge + d;
            const float t = std::min(d / band, 1.f);
            SCOPED_TRACE(testing::Message() << "profile " << snap.bevel_profile << " t " << t);
            const float ramp = BevelRamp(profile, t);
            EXPECT_NEAR(Height(u, 0.06f), grout + (brick - grout) * ramp, 2e-4f);
            EXPECT_NEAR(ReliefGrey(At(u, 0.06f, &legacy)), grout + (brick - grout) * ramp, 2e-4f);

            const TexCoords at = Place(u, 0.06f);
            const float b = 0.2f + 0.4f * ramp;
            EXPECT_NEAR(SampleBumpHeight(MakeBumpHeightField(Src(), sc, at, bump, true), 0, 0), b,
                        2e-4f);
            EXPECT_NEAR(EvalBumpReliefColor(Src(), nullptr, sc, bump).r, b, 2e-4f);
            EXPECT_EQ(At(u, 0.06f), AColor(snap.brick_color, 1.f));
        }
        EXPECT_FLOAT_EQ(Height(edge - 1e-4f, 0.06f), grout);
    }
}

// Inside the band the central differences agree with the profile's analytic slope, on a
// vertical joint (along u) and a horizontal one (along v); beyond it they are exactly 0.
TEST_F(BevelReliefTest, SlopesAgreeWithTheProfileAndVanishBeyondTheBand) {
    const float uEdge = RisingEdge(snap, 0.06f, 0.25f, 0.3f);
    const float vEdge = [&] {
        float v0 = 0.f, v1 = 0.06f;  // along v at u = 0.35: grout at the row's foot
        for (int i = 0; i < 60; ++i) {
            const float mid = 0.5f * (v0 + v1);
            (CellAt(snap, 0.35f, mid).isGrout ? v0 : v1) = mid;
        }
        return v1;
    }();
    const float band = Band(0.35f, 0.06f);
    for (const BevelProfile profile : kProfiles) {
        snap.bevel_profile = static_cast<std::int32_t>(profile);
        for (const float t : {0.1f, 0.3f, 0.5f, 0.7f, 0.9f}) {
            SCOPED_TRACE(testing::Message() << "profile " << snap.bevel_profile << " t " << t);
            const float expected = (brick - grout) * BevelRampSlope(profile, t) / band;
            const NormalSlopes across = Slopes(uEdge + t * band, 0.06f);
            EXPECT_NEAR(-across.gx, expected, 0.01f * expected + 0.05f);
            EXPECT_EQ(across.gy, 0.f);
            const NormalSlopes up = Slopes(0.35f, vEdge + t * band);
            EXPECT_NEAR(-up.gy, expected, 0.01f * expected + 0.05f);
            EXPECT_EQ(up.gx, 0.f);
        }
        const NormalSlopes flat = Slopes(uEdge + band * 1.05f, 0.06f);
        EXPECT_EQ(flat.gx, 0.f);
        EXPECT_EQ(flat.gy, 0.f);
    }
}

// Every pattern, at random points of its bricks: inside the band the normal tilts, beyond it
// (by more than a relief step) it is exactly flat, whatever the joint's direction or curve.
TEST_F(BevelReliefTest, EveryPatternTiltsAcrossTheWholeBandAndIsFlatBeyond) {
    snap.bevel_width = 0.25f;
    snap.nx = snap.ny = 6;
    snap.bump_brick_color = Color(1.f, 1.f, 1.f);
    snap.bump_grout_color = Color(0.f, 0.f, 0.f);
    constexpr float kStep = 0.0001220703125f;  // the relief step of a wide filter
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    int allBeyond = 0;
    for (int pattern = 0; pattern < 30; ++pattern) {
        snap.pattern = pattern;
        PatternSettings ps = PatternSettingsOn(snap, BoxFace{});
        ps.wantJointDist = true;
        int inBand = 0, tilted = 0, beyond = 0;
        for (int i = 0; i < 3000; ++i) {
            const float u = unit(rng), v = unit(rng);
            BrickCell cell;
            EvaluatePattern(ps, u, v, cell);
            const float band = snap.bevel_width * Smaller(cell);
            if (cell.isGrout || !(band > 4.f * kStep)) continue;
            const NormalSlopes g = Slopes(u, v);
            // A margin of a few steps: the curved outlines' distances are first-order values
            // that may change faster than the point moves.
            if (cell.jointDist > 4.f * kStep && cell.jointDist < band - 4.f * kStep) {
                ++inBand;
                tilted += g.gx != 0.f || g.gy != 0.f;
            } else if (cell.jointDist > band + 4.f * kStep) {
                ++beyond;
                ASSERT_EQ(g.gx, 0.f) << "pattern " << pattern << " at " << u << ", " << v;
                ASSERT_EQ(g.gy, 0.f) << "pattern " << pattern << " at " << u << ", " << v;
            }
        }
        SCOPED_TRACE(testing::Message() << "pattern " << pattern);
        EXPECT_GT(inBand, 100);
        allBeyond += beyond;
        // A point on the band's ridge (as far from two edges) may see equal heights both ways.
        EXPECT_GE(tilted, inBand - inBand / 200);
    }
    EXPECT_GT(allBeyond, 10000);
}

}  // namespace
}  // namespace QuarelTest
