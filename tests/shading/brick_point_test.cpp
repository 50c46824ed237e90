// The per-point core: colours, fallbacks, the master transform, counts, and the per-brick
// variations as the result and a nested map show them.
#include <cmath>
#include <set>
#include <tuple>

#include "shading/brick_hash.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr float kPi = 3.14159265f;

// With the default pattern, (0.3, 0.06) lies on a brick and (0.3, 0) in a joint.
TEST_F(ShadingTest, MapsAreUsedOnlyWhenAllowedSwitchedOnAndPresent) {
    ProbeMap brick, grout;
    const AColor brickAt = At(0.3f, 0.06f), groutAt = At(0.3f, 0.f);
    EXPECT_EQ(brickAt, AColor(snap.brick_color, 1.f));
    EXPECT_EQ(groutAt, AColor(snap.grout_color, 1.f));
    brickMap = &brick;
    groutMap = &grout;
    EXPECT_EQ(At(0.3f, 0.06f), brick.color);
    EXPECT_EQ(At(0.3f, 0.f), grout.color);

    ShadeOverrides noMaps;
    noMaps.evalMaps = false;
    EXPECT_EQ(At(0.3f, 0.06f, &noMaps), brickAt);
    EXPECT_EQ(At(0.3f, 0.f, &noMaps), groutAt);

    snap.brick_map_on = snap.grout_map_on = 0;
    EXPECT_EQ(At(0.3f, 0.06f), brickAt);
    EXPECT_EQ(At(0.3f, 0.f), groutAt);
    EXPECT_EQ(brick.calls, 1);
    EXPECT_EQ(grout.calls, 1);

    ShadeOverrides own;
    own.useOwnColors = true;
    own.brickColor1 = Color(0.9f, 0.8f, 0.7f);
    own.groutColor = Color(0.1f, 0.2f, 0.3f);
    EXPECT_EQ(At(0.3f, 0.06f, &own), AColor(own.brickColor1, 1.f));
    EXPECT_EQ(At(0.3f, 0.f, &own), AColor(own.groutColor, 1.f));

    sc.doMaps = FALSE;
    EXPECT_EQ(EvalMapColor(Src(), nullptr, 0, sc), AColor(0.f, 0.f, 0.f, 0.f));
}

TEST_F(ShadingTest, GroutMapSeesUnwrappedMasterCoordinatesAndSurfaceIds) {
    ProbeMap grout;
    groutMap = &grout;
    snap.nx = snap.ny = 1;
    snap.gap_u = snap.gap_v = 0.9f;
    snap.master_u_tiling = 2.f;
    snap.master_u_offset = 0.1f;
    snap.master_angle = kPi / 2.f;
    sc.mtlNum = 5;
    // (0.75, 0.25): tiled and shifted to (1.1, 0.25), then turned a quarter about the centre.
    ASSERT_TRUE(CellAt(snap, 0.75f, 1.1f).isGrout);
    At(0.75f, 0.25f);
    ASSERT_EQ(grout.calls, 1);
    EXPECT_NEAR(grout.uvw.x, 0.75f, 1e-5f);
    EXPECT_NEAR(grout.uvw.y, 1.1f, 1e-5f);
    EXPECT_NEAR(grout.duvw.x, 0.002f, 1e-9f);  // u filter size times |tiling|
    EXPECT_NEAR(grout.duvw.y, 0.002f, 1e-9f);
    EXPECT_EQ(grout.mtlNum, 5);
    EXPECT_EQ(grout.nodeId, 5);
    EXPECT_EQ(grout.faceNumber, 5);
}

TEST_F(ShadingTest, WholeTilesAddressTheSameBrick) {
    snap.color_variance = 1.f;
    snap.hue_shift = 0.5f;
    EXPECT_EQ(At(1.25f, 0.06f), At(0.25f, 0.06f));
    EXPECT_EQ(At(-0.75f, -1.94f), At(0.25f, 0.06f));
}

TEST_F(ShadingTest, CountOverrideReplacesHorizontalCount) {
    ProbeMap brick;
    brickMap = &brick;
    snap.pattern = 4;  // "Fine Stack": columns line up, so a row shows exactly the count
    auto idsAlongRow = [&](int count) {
        std::set<int> ids;
        for (int i = 0; i < 400; ++i) {
            const float u = (static_cast<float>(i) + 0.5f) / 400.f;
            if (CellAt(snap, u, 0.06f, count).isGrout) continue;
            At(u, 0.06f, nullptr, count);
            ids.insert(brick.nodeId);
        }
        return ids.size();
    };
    EXPECT_EQ(idsAlongRow(-1), 4u);
    EXPECT_EQ(idsAlongRow(0), 4u);
    EXPECT_EQ(idsAlongRow(7), 7u);
}

// Which of 0, 90 and 180 degrees turns the cell's local point into what the map saw; -1: none.
int SeenQuarterTurns(const BrickCell& c, const Point3& seen) {
    for (int k = 0; k < 4; ++k) {
        const double a = k * 3.14159265358979 / 2.0;
        const double du = c.localU - 0.5, dv = c.localV - 0.5;
        const double x = du * std::cos(a) - dv * std::sin(a) + 0.5;
        const double y = dv * std::cos(a) + du * std::sin(a) + 0.5;
        if (std::fabs(x - seen.x) < 1e-4 && std::fabs(y - seen.y) < 1e-4) return k;
    }
    return -1;
}

TEST_F(ShadingTest, RandomRotationTurnsEachBrickByWholeSteps) {
    ProbeMap brick;
    brickMap = &brick;
    snap.brick_angle = kPi;
    snap.random_texture_rotation_step = 90;
    const auto centres = BrickCentres(snap);
    ASSERT_GT(centres.size(), 20u);
    auto turnsSeen = [&] {
        std::set<int> seen;
        for (const BrickPoint& p : centres) {
            At(p.u, p.v);
            seen.insert(SeenQuarterTurns(p.cell, brick.uvw));
        }
        return seen;
    };
    EXPECT_EQ(turnsSeen(), (std::set<int>{0, 1, 2}));
    snap.brick_angle = -kPi / 2.f;  // a negative angle turns the other way
    EXPECT_EQ(turnsSeen(), (std::set<int>{0, 3}));
    // Step 0: every brick by exactly the angle; angle 0: none.
    snap.random_texture_rotation_step = 0;
    snap.brick_angle = kPi / 2.f;
    EXPECT_EQ(turnsSeen(), std::set<int>{1});
    snap.brick_angle = 0.f;
    snap.random_texture_rotation_step = 90;
    EXPECT_EQ(turnsSeen(), std::set<int>{0});
}

TEST_F(ShadingTest, RandomSecondColour) {
    snap.nx = 16;
    snap.ny = 32;
    snap.random_second_color_on = 1;
    const auto centres = BrickCentres(snap);
    ASSERT_GT(centres.size(), 300u);
    int second = 0;
    for (const BrickPoint& p : centres) {
        const AColor c = At(p.u, p.v);
        ASSERT_TRUE(c == AColor(snap.brick_color, 1.f) || c == AColor(snap.brick_color_2, 1.f));
        second += c == AColor(snap.brick_color_2, 1.f);
    }
    const double share = static_cast<double>(second) / static_cast<double>(centres.size());
    EXPECT_NEAR(share, 0.25, 0.06);

    ShadeOverrides noSecond;
    noSecond.allowSecondColor = false;
    for (const BrickPoint& p : centres)
        EXPECT_EQ(At(p.u, p.v, &noSecond), AColor(snap.brick_color));

    // The custom layouts place their second set themselves.
    for (int pattern = 13; pattern <= 19; ++pattern) {
        snap.pattern = pattern;
        snap.nx = 4;
        snap.ny = 8;
        for (const BrickPoint& p : BrickCentres(snap))
            EXPECT_EQ(At(p.u, p.v),
                      AColor(p.cell.kind == 1 ? snap.brick_color_2 : snap.brick_color))
                << "pattern " << pattern;
    }
}

TEST_F(ShadingTest, ColourVarianceScalesPerBrickWithinBounds) {
    snap.brick_color = Color(0.5f, 0.25f, 0.8f);
    const auto centres = BrickCentres(snap);
    for (const BrickPoint& p : centres) EXPECT_EQ(At(p.u, p.v), AColor(snap.brick_color));

    snap.color_variance = 1.f;
    float lo = 2.f, hi = 0.f;
    for (const BrickPoint& p : centres) {
        const AColor c = At(p.u, p.v);
        const float f = c.g / 0.25f;  // the green channel never clamps
        EXPECT_GE(f, 0.f);
        EXPECT_LT(f, 2.f);
        EXPECT_FLOAT_EQ(c.r, std::fmin(1.f, 0.5f * f));
        EXPECT_FLOAT_EQ(c.b, std::fmin(1.f, 0.8f * f));
        EXPECT_EQ(c.a, 1.f);
        lo = std::fmin(lo, f);
        hi = std::fmax(hi, f);
    }
    EXPECT_LT(lo, 0.5f);
    EXPECT_GT(hi, 1.5f);
}

// Grey stays grey under any hue (the known colours below).
TEST_F(ShadingTest, HueShiftVariesColourPerBrick) {
    snap.hue_shift = 1.f;
    const auto centres = BrickCentres(snap);
    snap.brick_color = Color(1.f, 0.f, 0.f);
    std::set<std::tuple<float, float, float>> colours;
    for (const BrickPoint& p : centres) {
        const AColor c = At(p.u, p.v);
        EXPECT_FLOAT_EQ(std::fmax(c.r, std::fmax(c.g, c.b)), 1.f);  // value and saturation kept
        EXPECT_FLOAT_EQ(std::fmin(c.r, std::fmin(c.g, c.b)), 0.f);
        colours.insert({c.r, c.g, c.b});
    }
    EXPECT_GT(colours.size(), centres.size() * 3 / 4);
}

TEST(ShiftHueTest, KnownColours) {
    struct Case {
        Color in;
        float shift;
        Color out;
    } cases[] = {
        {{1.f, 0.f, 0.f}, 1.f / 3.f, {0.f, 1.f, 0.f}},
        {{1.f, 0.f, 0.f}, -1.f / 3.f, {0.f, 0.f, 1.f}},
        {{1.f, 0.5f, 0.f}, 0.5f, {0.f, 0.5f, 1.f}},
        {{0.4f, 0.4f, 0.4f}, 0.3f, {0.4f, 0.4f, 0.4f}},
        {{0.2f, 0.6f, 0.4f}, 1.f, {0.2f, 0.6f, 0.4f}},  // a whole turn
    };
    for (const Case& c : cases) {
        Color x = c.in;
        ShiftHue(x, c.shift);
        EXPECT_NEAR(x.r, c.out.r, 1e-5f) << c.shift;
        EXPECT_NEAR(x.g, c.out.g, 1e-5f) << c.shift;
        EXPECT_NEAR(x.b, c.out.b, 1e-5f) << c.shift;
    }
    // Out-of-range channels come back clamped once the hue moves.
    Color bright(2.f, 0.5f, 0.f);
    ShiftHue(bright, 0.5f);
    EXPECT_EQ(bright.r, 0.f);
    EXPECT_EQ(bright.b, 1.f);
}

TEST(BrickHashTest, KnownValues) {
    // Computed from the definitions outside this code base.
    EXPECT_EQ(CellKey(1, 2, 0), 374761393u ^ 1336530526u);
    EXPECT_EQ(CellKey(0, 0, 1), (0u - 86930369u) ^ 260640407u);
    EXPECT_EQ(RotationKey(1, 0, 1), (104729u * 668265263u) ^ (7920u * 374761393u));
    EXPECT_EQ(BrickRandom(1234, 0, BrickSalt::kSecondColor), 0xA8CDC9D0u);
    EXPECT_EQ(BrickRandom(1234, CellKey(3, -2, 1), BrickSalt::kColorVariance), 0x1999E5A3u);
    EXPECT_EQ(RotationHash(-1, 5), 0xB5916A51u);
    EXPECT_EQ(RotationHash(7, RotationKey(-5, 9, 2)), 0x327F1627u);
    EXPECT_EQ(Unit(0xFF800000u), 0.5f);
}

TEST_F(ShadingTest, FragmentWindowIsShapedLikeTheFaceAndVariesPerBrick) {
    ProbeMap brick;
    brickMap = &brick;
    snap.random_fragment_on = 1;
    snap.fragment_size = 0.25f;
    std::set<float> starts;
    for (const BrickPoint& p : BrickCentres(snap)) {
        // Two points of one face a local step apart: the map's step is the window's share of it.
        const BrickCell& c0 = p.cell;
        const float u1 = p.u + 0.02f, v1 = p.v + 0.01f;
        const BrickCell c1 = CellAt(snap, u1, v1);
        if (c1.isGrout || c1.brickU != c0.brickU || c1.brickV != c0.brickV) continue;
        At(p.u, p.v);
        const Point3 a = brick.uvw;
        At(u1, v1);
        const float fv = std::fmin(1.f, c0.sizeV / c0.sizeU * 0.25f);
        EXPECT_NEAR(brick.uvw.x - a.x, 0.25f * (c1.localU - c0.localU), 1e-5f);
        EXPECT_NEAR(brick.uvw.y - a.y, fv * (c1.localV - c0.localV), 1e-5f);
        // The window lies inside the texture and starts at a per-brick place.
        const float startU = a.x - 0.25f * c0.localU;
        EXPECT_GE(startU, 0.f);
        EXPECT_LE(startU + 0.25f, 1.f);
        starts.insert(startU);
    }
    EXPECT_GT(starts.size(), 10u);
}

}  // namespace
}  // namespace QuarelTest
