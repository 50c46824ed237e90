#include "relief_support.h"

#include "pattern/evaluate.h"

namespace QuarelTest {

void ReliefTest::Place(ScriptedShadeContext& sc, float u, float v, float filter, TimeValue t) {
    sc.SetUVW(Point3(u, v, 0.f), Point3(filter, filter, 0.f));
    sc.time = t;
}

bool InJoint(const EvalSnapshot& s, float u, float v) {
    PatternSettings ps;
    ps.pattern = s.pattern;
    ps.nx = s.nx;
    ps.ny = s.ny;
    ps.gap_u = s.gap_u;
    ps.gap_v = s.gap_v;
    ps.random_shift = s.random_shift;
    ps.seed = static_cast<std::uint32_t>(s.seed);
    BrickCell cell;
    EvaluatePattern(ps, u, v, cell);
    return cell.isGrout != 0;
}

float RisingEdge(const EvalSnapshot& s, float v, float u0, float u1) {
    EXPECT_TRUE(InJoint(s, u0, v));
    EXPECT_FALSE(InJoint(s, u1, v));
    for (int i = 0; i < 60; ++i) {
        const float mid = 0.5f * (u0 + u1);
        (InJoint(s, mid, v) ? u0 : u1) = mid;
    }
    return u1;
}

}  // namespace QuarelTest
