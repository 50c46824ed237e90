// Wear in the colour core: a missing brick shows the grout's colour or map and, through the
// relief record, the grout's height; with wandering joints the colour and the relief still agree
// point for point, on the plane and on every face of the box.
#include <gtest/gtest.h>

#include <algorithm>

#include "shading/brick_wear.h"
#include "shading/relief_height.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

class Wear : public ShadingTest {
protected:
    void SetUp() override {
        snap.pattern = 1;
        snap.nx = 6;
        snap.ny = 12;
        snap.gap_u = snap.gap_v = 0.08f;
        snap.brick_color = Color(0.8f, 0.5f, 0.3f);
        snap.grout_color = Color(0.1f, 0.2f, 0.9f);
        snap.missing_bricks = 30.f;
        snap.seed = 9;
    }
    bool IsGroutColour(const AColor& c) const {
        return c.r == snap.grout_color.r && c.g == snap.grout_color.g && c.b == snap.grout_color.b;
    }
};

TEST_F(Wear, MissingBricksShowTheGroutInColourAndHeight) {
    const ShadeOverrides relief = PatternReliefRecord(snap);
    int missing = 0;
    for (const BrickPoint& p : BrickCentres(snap)) {
        const bool gone = IsGroutColour(At(p.u, p.v));
        missing += gone;
        // The relief's grey: the grout's 0 where the brick is missing, the brick's 1 elsewhere.
        EXPECT_EQ(At(p.u, p.v, &relief).r, gone ? 0.f : 1.f) << p.cell;
    }
    EXPECT_GT(missing, 10);

    // The grout map stands in for a missing brick, in the master coordinates it sees in joints.
    ProbeMap probe;
    groutMap = &probe;
    for (const BrickPoint& p : BrickCentres(snap)) {
        const int before = probe.calls;
        const AColor c = At(p.u, p.v);
        if (probe.calls == before) continue;
        EXPECT_EQ(c.b, probe.color.b);
        EXPECT_FLOAT_EQ(probe.uvw.x, p.u);
    }
    EXPECT_GE(probe.calls, missing);
}

TEST_F(Wear, WanderingJointsAreTheSameInColourAndReliefOnEveryFace) {
    snap.edge_noise = 1.f;
    snap.edge_noise_scale = 0.8f;
    const ShadeOverrides relief = PatternReliefRecord(snap);
    for (const BoxFace face : {BoxFace{}, BoxFace{5, 1}, BoxFace{9, 3}}) {
        int joint = 0;
        for (int i = 0; i < 160; ++i)
            for (int j = 0; j < 160; ++j) {
                const float u = (static_cast<float>(i) + 0.3f) / 160.f;
                const float v = (static_cast<float>(j) + 0.6f) / 160.f;
                const bool grout = IsGroutColour(At(u, v, nullptr, face.count, face.element));
                joint += grout;
                ASSERT_EQ(At(u, v, &relief, face.count, face.element).r, grout ? 0.f : 1.f)
                    << u << ", " << v << " on face " << face.element;
            }
        EXPECT_GT(joint, 160 * 160 / 5);
    }
}

TEST_F(Wear, EachFaceOfTheBoxLeavesOutItsOwnBricks) {
    // The face is part of a brick's identity, as for every other per-brick value.
    int differ = 0;
    for (const BrickPoint& p : BrickCentres(snap, 6))
        differ += IsGroutColour(At(p.u, p.v, nullptr, 6, 0)) !=
                  IsGroutColour(At(p.u, p.v, nullptr, 6, 2));
    EXPECT_GT(differ, 0);
}

TEST(BrickTop, SinkAndTiltStayBetweenTheJointAndTodaysTop) {
    EvalSnapshot s;
    BrickCell cell;
    cell.sizeU = 0.25f, cell.sizeV = 0.125f;
    // Nothing set: exactly today's top everywhere on the face.
    for (std::uint32_t key = 0; key < 50; ++key) {
        cell.localU = 0.1f * static_cast<float>(key % 11);
        EXPECT_EQ(DrawBrickTop(s, key * 7919u).ShareAt(cell), 1.f);
    }
    s.height_variance = 0.4f;
    s.tilt_variance = 1.f;
    float lowest = 1.f, highest = 0.f, deepest = 0.f;
    for (std::uint32_t key = 0; key < 4000; ++key) {
        const BrickTop top = DrawBrickTop(s, key * 2654435761u);
        float lo = 1.f, hi = 0.f;
        for (const float lu : {0.f, 1.f})
            for (const float lv : {0.f, 1.f}) {
                cell.localU = lu, cell.localV = lv;
                lo = std::min(lo, top.ShareAt(cell));
                hi = std::max(hi, top.ShareAt(cell));
            }
        // The highest corner keeps what the sink leaves; the lowest drops by the tilt's share.
        EXPECT_NEAR(hi, top.keep, 1e-6f);
        EXPECT_NEAR(lo, top.keep * (1.f - top.tilt), 1e-6f);
        lowest = std::min(lowest, lo);
        highest = std::max(highest, hi);
        deepest = std::max(deepest, hi - lo);
    }
    EXPECT_GE(lowest, 0.f);
    EXPECT_LE(highest, 1.f);
    EXPECT_GT(deepest, 0.9f);  // some brick tilts by nearly all of its relief

    // Bad settings count as 0 or 1.
    s.height_variance = NAN;
    s.tilt_variance = 1e30f;
    const float bad = DrawBrickTop(s, 12345u).ShareAt(cell);
    EXPECT_TRUE(bad >= 0.f && bad <= 1.f);
}

}  // namespace
}  // namespace QuarelTest
