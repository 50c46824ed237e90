// The relief mathematics of the shading layer against the pattern itself: step sizes, heights,
// slopes across known brick edges, the normal colour, the bump output's picture, and the
// perturbations against central differences of their own height samples.
#include <cmath>
#include <cstdint>
#include <random>

#include "host/builtin_classes.h"
#include "shading/bump_relief.h"
#include "shading/relief_height.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr float kMaxStep = 0.0001220703125f;  // 2^-13

class ReliefShadingTest : public ShadingTest {
protected:
    void Place(float u, float v, const Point3& filter) { sc.SetUVW(Point3(u, v, 0.f), filter); }
    Point3 Perturb() { return EvalReliefPerturb(Src(), nullptr, sc); }
    AColor NormalColor(float amount, float depth) {
        return NormalColorFromSlopes(EvalNormalSlopes(Src(), nullptr, sc, amount), depth);
    }
};

TEST(ReliefStep, AQuarterOfTheFilterBetweenTwoToTheMinus16And13) {
    EXPECT_EQ(ReliefStep(0.f), kMinStep);
    EXPECT_EQ(ReliefStep(1e-9f), kMinStep);
    EXPECT_EQ(ReliefStep(-0.0002f), 0.00005f);
    EXPECT_EQ(ReliefStep(0.0002f), 0.00005f);
    EXPECT_EQ(ReliefStep(5.f), kMaxStep);
    EXPECT_EQ(ReliefStep(NAN), kMinStep);
    EXPECT_EQ(ReliefStep(INFINITY), kMaxStep);
    EXPECT_EQ(ReliefStep(-INFINITY), kMaxStep);
}

// White bricks on black grout: the slope is 0.5 / step within one step of an edge, pointing
// up the edge, and zero one and a half steps away; the step follows the filter size.
TEST_F(ReliefShadingTest, AnEdgeTiltsWithinOneStepAndTheStepFollowsTheFilter) {
    const float edge = RisingEdge(snap, 0.06f, 0.25f, 0.3f);
    for (const float filter : {0.f, 100.f}) {
        const float step = filter == 0.f ? kMinStep : kMaxStep;
        SCOPED_TRACE(filter);
        const Point3 f(filter, filter, 0.f);
        Place(edge - 0.5f * step, 0.06f, f);
        const Point3 p = Perturb();
        EXPECT_FLOAT_EQ(p.x, 0.5f / step * 5.f);
        EXPECT_EQ(p.y, 0.f);
        EXPECT_EQ(p.z, 0.f);
        // The normal tilts away from the higher side: red below one half, less so when deeper.
        const AColor shallow = NormalColor(0.f, 1.f), deep = NormalColor(0.f, 50000.f);
        EXPECT_LT(shallow.r, 0.5f);
        EXPECT_LT(shallow.r, deep.r);
        EXPECT_LT(deep.r, 0.5f);
        EXPECT_FLOAT_EQ(shallow.g, 0.5f);
        const float gx = -0.5f / step;
        EXPECT_NEAR(shallow.r, 0.5f + 0.5f * gx / std::sqrt(gx * gx + 1.f), 1e-6f);

        for (const float away : {-1.5f, 1.5f}) {
            Place(edge + away * step, 0.06f, f);
            EXPECT_EQ(Perturb(), Point3(0.f, 0.f, 0.f)) << away;
            EXPECT_EQ(NormalColor(0.f, 1.f), AColor(0.5f, 0.5f, 1.f, 1.f)) << away;
        }
    }
    // Between the two steps: only the larger one reaches across the edge.
    Place(edge - 3.f * kMinStep, 0.06f, Point3(0.f, 0.f, 0.f));
    EXPECT_EQ(Perturb(), Point3(0.f, 0.f, 0.f));
    Place(edge - 3.f * kMinStep, 0.06f, Point3(100.f, 100.f, 0.f));
    EXPECT_FLOAT_EQ(Perturb().x, 0.5f / kMaxStep * 5.f);

    // The slope is expressed along the surface's derivative vectors.
    sc.dPdUVW[0] = Point3(0.f, 2.f, 1.f);
    Place(edge - 0.5f * kMinStep, 0.06f, Point3(0.f, 0.f, 0.f));
    const Point3 along = Perturb();
    EXPECT_EQ(along.x, 0.f);
    EXPECT_FLOAT_EQ(along.y, 2.f * 0.5f / kMinStep * 5.f);
    EXPECT_FLOAT_EQ(along.z, 0.5f / kMinStep * 5.f);

    // Nothing tilts where maps are off.
    sc.doMaps = FALSE;
    EXPECT_EQ(Perturb(), Point3(0.f, 0.f, 0.f));
    EXPECT_EQ(EvalBumpReliefPerturb(Src(), nullptr, sc, BumpReliefValues{}), Point3(0.f, 0.f, 0.f));
}

// The height inside a brick: its bump colour's grey, blended towards the nested map's grey by
// the amount (capped at 1); the nested map is evaluated only when the amount is positive.
TEST_F(ReliefShadingTest, TextureReliefBlendsTowardsTheNestedMaps) {
    ProbeMap probe;
    probe.color = AColor(0.1f, 0.2f, 0.6f, 1.f);
    brickMap = &probe;
    snap.bump_brick_color = Color(0.9f, 0.9f, 0.9f);
    Place(0.3f, 0.06f, Point3(0.001f, 0.001f, 0.f));
    const TexCoords at = ResolveTexCoords(snap, nullptr, sc, false);
    const BrickEvalSource src = Src();
    const float brick = Grey(snap.bump_brick_color), map = Grey(Color(0.1f, 0.2f, 0.6f));
    auto height = [&](float amount) {
        return SampleReliefHeight(MakeReliefHeightField(src, sc, at, amount, true), 0.f, 0.f);
    };
    EXPECT_FLOAT_EQ(height(0.f), brick);
    EXPECT_EQ(probe.calls, 0);
    EXPECT_FLOAT_EQ(height(1.f), map);
    EXPECT_FLOAT_EQ(height(0.5f), 0.5f * (brick + map));
    EXPECT_FLOAT_EQ(height(7.f), map);
    EXPECT_FLOAT_EQ(height(-1.f), brick);
    EXPECT_FLOAT_EQ(height(NAN), brick);
    EXPECT_EQ(probe.calls, 3);
    // A map that may not be shown (its map is already being shown further up) is left out.
    EXPECT_FLOAT_EQ(SampleReliefHeight(MakeReliefHeightField(src, sc, at, 1.f, false), 0.f, 0.f),
                    brick);
}

// Heights come from the pattern's own colour-2 bricks only, never from the random second
// colour that the diffuse colour shows.
TEST_F(ReliefShadingTest, RandomSecondColourBricksKeepTheBrickHeight) {
    snap.pattern = 20;  // I-Paver: has colour-2 cells of its own
    snap.random_second_color_on = 1;
    snap.bump_brick_color = Color(1.f, 1.f, 1.f);
    snap.bump_brick_color_2 = Color(0.2f, 0.3f, 0.4f);
    const BrickEvalSource src = Src();
    int randomSeconds = 0, ownSeconds = 0;
    for (const BrickPoint& b : BrickCentres(snap)) {
        Place(b.u, b.v, Point3(0.001f, 0.001f, 0.f));
        const TexCoords at = ResolveTexCoords(snap, nullptr, sc, false);
        const float h = SampleReliefHeight(MakeReliefHeightField(src, sc, at, 0.f, true), 0.f, 0.f);
        const bool own = b.cell.kind == 1;
        EXPECT_FLOAT_EQ(h, Grey(own ? snap.bump_brick_color_2 : snap.bump_brick_color));
        ownSeconds += own;
        randomSeconds += !own && At(b.u, b.v) == AColor(snap.brick_color_2, 1.f);
    }
    EXPECT_GT(ownSeconds, 0);
    EXPECT_GT(randomSeconds, 0);  // the colour does show random second bricks here
}

// Random points, filters, derivative vectors and a textured blend: the perturbations are
// exactly the central differences of their own height samples.
TEST_F(ReliefShadingTest, PerturbationsAreTheCentralDifferencesOfTheirHeights) {
    auto* checker = new CheckerMap;
    SingleRefMaker holdChecker(checker);
    brickMap = checker;
    // Small bricks, so that many of the points lie within a step of an edge.
    snap.nx = snap.ny = 256;
    snap.gap_u = snap.gap_v = 0.2f;
    snap.master_u_tiling = 4.f;
    snap.color_variance = 0.4f;
    snap.master_angle = 0.3f;
    snap.relief_tex_amount = 0.5f;
    snap.bump_grout_color = Color(0.1f, 0.2f, 0.1f);
    BumpReliefValues bump;
    bump.brickColor = Color(0.8f, 0.7f, 0.9f);
    bump.groutColor = Color(0.2f, 0.1f, 0.3f);
    bump.relief = 0.7f;
    bump.depth = 1.5f;
    const BrickEvalSource src = Src();

    std::mt19937 rng(11);
    std::uniform_real_distribution<float> uv(-1.f, 2.f), d(-2.f, 2.f), filter(0.f, 0.002f);
    int tilted = 0;
    for (int i = 0; i < 400; ++i) {
        Place(uv(rng), uv(rng), Point3(filter(rng), filter(rng), 0.f));
        sc.dPdUVW[0] = Point3(d(rng), d(rng), d(rng));
        sc.dPdUVW[1] = Point3(d(rng), d(rng), d(rng));
        const TexCoords at = ResolveTexCoords(snap, nullptr, sc, true);
        const float du = ReliefStep(at.duvw.x), dv = ReliefStep(at.duvw.y);

        const ReliefHeightField field = MakeReliefHeightField(src, sc, at, 0.5f, true);
        auto h = [&](float a, float b) { return SampleReliefHeight(field, a, b); };
        const float gu = (h(du, 0.f) - h(-du, 0.f)) * 0.5f / du;
        const float gv = (h(0.f, dv) - h(0.f, -dv)) * 0.5f / dv;
        const Point3 expected = (at.dPdu * gu + at.dPdv * gv) * 5.f;
        const Point3 got = EvalReliefPerturb(src, nullptr, sc);
        ASSERT_NEAR(got.x, expected.x, 1e-3f * (1.f + std::fabs(expected.x))) << i;
        ASSERT_NEAR(got.y, expected.y, 1e-3f * (1.f + std::fabs(expected.y))) << i;
        ASSERT_NEAR(got.z, expected.z, 1e-3f * (1.f + std::fabs(expected.z))) << i;
        tilted += got != Point3(0.f, 0.f, 0.f);

        const NormalSlopes slopes = EvalNormalSlopes(src, nullptr, sc, 0.5f);
        ASSERT_FLOAT_EQ(slopes.gx, -gu);
        ASSERT_FLOAT_EQ(slopes.gy, -gv);

        const BumpHeightField bf = MakeBumpHeightField(src, sc, at, bump, true);
        auto hb = [&](float a, float b) { return SampleBumpHeight(bf, a, b); };
        const float bu = (hb(du, 0.f) - hb(-du, 0.f)) * 0.5f / du;
        const float bv = (hb(0.f, dv) - hb(0.f, -dv)) * 0.5f / dv;
        const Point3 bumpExpected = (at.dPdu * bu + at.dPdv * bv) * (1.5f * 5.f);
        const Point3 bumpGot = EvalBumpReliefPerturb(src, nullptr, sc, bump);
        ASSERT_NEAR(bumpGot.x, bumpExpected.x, 1e-3f * (1.f + std::fabs(bumpExpected.x))) << i;
        ASSERT_NEAR(bumpGot.y, bumpExpected.y, 1e-3f * (1.f + std::fabs(bumpExpected.y))) << i;
        ASSERT_NEAR(bumpGot.z, bumpExpected.z, 1e-3f * (1.f + std::fabs(bumpExpected.z))) << i;
    }
    EXPECT_GT(tilted, 100);  // the points did meet edges
}

// The bump picture: grout colour in the joints whatever the texture, the texture's grey on the
// bricks at full relief, the base colours at none; relief above 1 acts as 1.
TEST_F(ReliefShadingTest, TheBumpPictureBlendsBricksTowardsTheTexture) {
    ProbeMap texture, nested;
    texture.color = AColor(0.9f, 0.6f, 0.3f, 0.5f);
    nested.color = AColor(0.1f, 0.1f, 0.4f, 1.f);
    brickMap = &nested;
    BumpReliefValues v;
    v.brickColor = Color(0.7f, 0.7f, 0.7f);
    v.groutColor = Color(0.05f, 0.1f, 0.15f);
    v.bumpTexture = &texture;
    const float tex = Grey(Color(0.9f, 0.6f, 0.3f));
    auto at = [&](float u, float w) {
        Place(u, w, Point3(0.001f, 0.001f, 0.f));
        return EvalBumpReliefColor(Src(), nullptr, sc, v);
    };
    for (const float relief : {1.f, 0.3f, 5.f}) {
        v.relief = relief;
        EXPECT_EQ(at(0.3f, 0.f), AColor(v.groutColor, 1.f)) << relief;
        const float r = std::min(relief, 1.f);
        const AColor b = at(0.3f, 0.06f);
        EXPECT_NEAR(b.r, 0.7f + (tex - 0.7f) * r, 1e-6f) << relief;
        EXPECT_NEAR(b.b, 0.7f + (tex - 0.7f) * r, 1e-6f) << relief;
        EXPECT_EQ(b.a, 1.f);
    }
    EXPECT_EQ(nested.calls, 0);

    // Without the texture switch the main map's nested maps give the level.
    v.relief = 1.f;
    v.bumpOn = 0;
    const AColor viaNested = at(0.3f, 0.06f);
    EXPECT_NEAR(viaNested.g, Grey(Color(0.1f, 0.1f, 0.4f)), 1e-6f);
    EXPECT_GT(nested.calls, 0);

    // No relief: the pattern in the three colours, exactly.
    const int textureCalls = texture.calls;
    for (const float relief : {0.f, -2.f, NAN}) {
        v.relief = relief;
        EXPECT_EQ(at(0.3f, 0.06f), AColor(v.brickColor, 1.f));
        EXPECT_EQ(at(0.3f, 0.f), AColor(v.groutColor, 1.f));
    }
    EXPECT_EQ(texture.calls, textureCalls);

    // A colour variance scales the mask per brick: the brick moves towards the grout colour.
    snap.color_variance = 1.f;
    v.relief = 1.f;
    v.bumpOn = 1;
    bool scaled = false;
    for (const BrickPoint& p : BrickCentres(snap)) {
        Place(p.u, p.v, Point3(0.001f, 0.001f, 0.f));
        const AColor c = EvalBumpReliefColor(Src(), nullptr, sc, v);
        const float m = (c.r - v.groutColor.r) / (tex - v.groutColor.r);
        EXPECT_NEAR((c.g - v.groutColor.g) / (tex - v.groutColor.g), m, 1e-4f);
        EXPECT_LE(m, 1.f + 1e-6f);
        scaled |= m < 0.99f;
    }
    EXPECT_TRUE(scaled);
}

TEST_F(ReliefShadingTest, NonFiniteInputsGiveFiniteRelief) {
    auto* checker = new CheckerMap;
    SingleRefMaker holdChecker(checker);
    brickMap = checker;
    snap.relief_tex_amount = 1.f;
    BumpReliefValues bump;
    bump.bumpTexture = checker;
    const float bad[] = {NAN, INFINITY, -INFINITY, 1e30f};
    for (const float x : bad) {
        for (int which = 0; which < 3; ++which) {
            SCOPED_TRACE(testing::Message() << x << " in " << which);
            Place(0.3f, 0.06f, Point3(0.001f, 0.001f, 0.f));
            sc.dPdUVW[0] = Point3(1.f, 0.f, 0.f);
            if (which == 0) Place(x, 0.06f, Point3(0.001f, 0.001f, 0.f));
            if (which == 1) Place(0.3f, 0.06f, Point3(x, x, 0.f));
            if (which == 2) sc.dPdUVW[0] = Point3(x, x, x);
            const Point3 p = Perturb();
            const Point3 b = EvalBumpReliefPerturb(Src(), nullptr, sc, bump);
            const AColor n = NormalColor(1.f, 5.f);
            for (const float c : {p.x, p.y, p.z, b.x, b.y, b.z, n.r, n.g, n.b})
                EXPECT_TRUE(std::isfinite(c));
        }
    }
    EXPECT_EQ(NormalColorFromSlopes({NAN, 0.f}, 1.f), AColor(0.5f, 0.5f, 1.f, 1.f));
    EXPECT_EQ(NormalColorFromSlopes({0.f, 0.f}, NAN), AColor(0.5f, 0.5f, 1.f, 1.f));
    EXPECT_EQ(NormalColorFromSlopes({0.f, 0.f}, -3.f), AColor(0.5f, 0.5f, 1.f, 1.f));
    EXPECT_EQ(NormalColorFromSlopes({0.f, INFINITY}, 1.f), AColor(0.5f, 0.5f, 1.f, 1.f));
    // A slope too steep for its square to fit a float still tilts the normal all the way.
    const AColor steep = NormalColorFromSlopes({-3e20f, 0.f}, 1.f);
    EXPECT_EQ(steep.r, 0.f);
    EXPECT_EQ(steep.g, 0.5f);
    EXPECT_FLOAT_EQ(steep.b, 0.5f);
}

}  // namespace
}  // namespace QuarelTest
