// Non-finite and huge inputs anywhere give a defined, finite colour. Under the sanitizers any
// undefined conversion or overflow on the way aborts the test.
#include <host/builtin_classes.h>

#include <cmath>
#include <functional>
#include <limits>

#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool Finite(const AColor& c) {
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

TEST_F(ShadingTest, NonFiniteInputsGiveFiniteColours) {
    auto* checker = new CheckerMap;
    SingleRefMaker holdChecker(checker);
    auto* multi = new MultiSubMap(5, MultiSubMap::kByNodeID);
    SingleRefMaker holdMulti(multi);
    brickMap = checker;
    brickMap2 = multi;
    groutMap = checker;

    const float odd[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 3e9f, 0.f};
    const std::function<void(EvalSnapshot&, float)> edits[] = {
        [](EvalSnapshot& s, float x) { s.master_u_tiling = x; },
        [](EvalSnapshot& s, float x) { s.master_v_offset = x; },
        [](EvalSnapshot& s, float x) { s.master_angle = x; },
        [](EvalSnapshot& s, float x) { s.brick_angle = x, s.random_texture_rotation_step = 1; },
        [](EvalSnapshot& s, float x) { s.brick_angle = x, s.random_texture_rotation_step = 0; },
        [](EvalSnapshot& s, float x) { s.brick_u_tiling = x; },
        [](EvalSnapshot& s, float x) { s.brick_v_offset = x; },
        [](EvalSnapshot& s, float x) { s.color_variance = x; },
        [](EvalSnapshot& s, float x) { s.hue_shift = x; },
        [](EvalSnapshot& s, float x) { s.random_fragment_on = 1, s.fragment_size = x; },
        [](EvalSnapshot& s, float x) { s.gap_u = x, s.random_shift = x; },
    };
    EvalSnapshot base;
    base.random_second_color_on = 1;
    base.color_variance = 0.3f;
    base.hue_shift = 0.2f;
    base.brick_angle = 1.f;
    base.random_texture_rotation_step = 15;
    for (const auto& edit : edits)
        for (float x : odd) {
            snap = base;
            edit(snap, x);
            for (float u : {0.3f, kNaN, kInf, -1e30f})
                for (float d : {0.001f, kNaN, kInf}) {
                    duvw = Point3(d, d, d);
                    const AColor c = At(u, 0.06f);
                    EXPECT_TRUE(Finite(c)) << "u " << u << " value " << x;
                }
        }

    // Counts, seeds and ids at their extremes.
    snap = base;
    snap.nx = std::numeric_limits<std::int32_t>::max();
    snap.ny = std::numeric_limits<std::int32_t>::min();
    snap.seed = std::numeric_limits<std::int32_t>::min();
    snap.pattern = 1000;
    snap.random_texture_rotation_step = std::numeric_limits<std::int32_t>::max();
    snap.brick_angle = 3e38f;
    EXPECT_TRUE(Finite(At(0.3f, 0.06f, nullptr, std::numeric_limits<int>::max(),
                          std::numeric_limits<int>::min())));
}

TEST(ShiftHueTest, NonFiniteShiftIsDefined) {
    for (float shift : {kNaN, kInf, -kInf, 1e30f, -1e-9f}) {
        Color c(0.8f, 0.3f, 0.1f);
        ShiftHue(c, shift);
        EXPECT_TRUE(std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b)) << shift;
    }
}

TEST(BoxProjectionRobustnessTest, NonFiniteContextIsDefined) {
    ScriptedShadeContext sc;
    EvalSnapshot snap;
    snap.nx = std::numeric_limits<std::int32_t>::max();
    for (float x : {kNaN, kInf, 1e30f, 1e-30f}) {
        sc.pObjRelBox = Point3(x, x, x);
        sc.gNormal = Point3(x, 1.f, 0.f);
        sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(1e-30f, x, 1.f));
        if (const BoxProjection box = ComputeBoxProjection(snap, sc); box.found) {
            EXPECT_TRUE(std::isfinite(box.uvw.x) && std::isfinite(box.uvw.y));
            EXPECT_GE(box.face.count, 1);
            EXPECT_LE(box.face.count, 8192);
        }
        sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(1.f, 1.f, 1.f));
        sc.gNormal = Point3(1e30f, 1e30f, 0.f);  // overflowing length, a usable direction
        const BoxProjection box = ComputeBoxProjection(snap, sc);
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.face.count, 8192);
    }
}

}  // namespace
}  // namespace QuarelTest
