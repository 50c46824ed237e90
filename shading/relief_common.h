// What every relief evaluator shares: the sampling step, the grey value that turns a colour into
// a height, the samples in their fixed order, the perturbation they give, and the guard that keeps
// a relief output nested inside its own map from evaluating itself forever.
//
// Heights are sampled at +du, -du, +dv, -dv around the shading point, in this order, with
// du = min(2^-13, max(2^-16, 0.25 |duv.x|)) and dv likewise from duv.y: a quarter of the filter
// size, but never so small that float coordinates near 1000 tiles stop resolving it, and never
// so large that a blurry lookup smears an edge over a whole brick.
#pragma once

#include <cmath>

#include "acolor.h"
#include "point3.h"
#include "shading/float_guards.h"
#include "shading/mono.h"

namespace QuarelNS {

inline constexpr float kReliefStepMin = 1.52587890625e-05f;  // 2^-16
inline constexpr float kReliefStepMax = 0.0001220703125f;    // 2^-13

// The main map's and the bump output's perturbations are the height gradient times this.
inline constexpr float kReliefPerturbScale = 5.f;

// The sampling step for a filter size d. A NaN filter gives the smallest step, an infinite one
// the largest.
inline float ReliefStep(float d) {
    const float s = 0.25f * std::fabs(d);
    if (!(s > kReliefStepMin)) return kReliefStepMin;
    return s < kReliefStepMax ? s : kReliefStepMax;
}

// The four heights of one shading point, in sampling order.
struct ReliefSamples {
    float uPlus, uMinus, vPlus, vMinus;
};

// The heights around a shading point and the steps they were taken at.
struct ReliefCross {
    ReliefSamples h;
    float du, dv;
};

// h(+du, 0), h(-du, 0), h(0, +dv), h(0, -dv) with the steps of the filter size duvw: the order
// is part of the result when the height reads anything stateful (a nested map that counts its
// calls, say), so it is fixed here.
template <typename Height>
ReliefCross SampleReliefCross(Height&& h, const Point3& duvw) {
    ReliefCross c;
    c.du = ReliefStep(duvw.x);
    c.dv = ReliefStep(duvw.y);
    c.h.uPlus = h(c.du, 0.f);
    c.h.uMinus = h(-c.du, 0.f);
    c.h.vPlus = h(0.f, c.dv);
    c.h.vMinus = h(0.f, -c.dv);
    return c;
}

// A perturbation: the central differences (h+ - h-) * 0.5 / step along the surface's
// derivative vectors, times k. A component that is not finite (from non-finite derivative
// vectors) is 0.
inline Point3 ReliefPerturbation(const ReliefCross& c, const Point3& dPdu, const Point3& dPdv,
                                 float k) {
    const float gu = (c.h.uPlus - c.h.uMinus) * 0.5f / c.du;
    const float gv = (c.h.vPlus - c.h.vMinus) * 0.5f / c.dv;
    return Point3(FiniteOr0((gu * dPdu.x + gv * dPdv.x) * k),
                  FiniteOr0((gu * dPdu.y + gv * dPdv.y) * k),
                  FiniteOr0((gu * dPdu.z + gv * dPdv.z) * k));
}

// Relief evaluations that show a map's nested maps in their heights (the texture relief) can be
// reached again from inside those maps, when one of the map's relief outputs is nested in the
// map itself, directly or deeper. Each thread keeps the maps whose nested maps it is showing
// for relief; an evaluation that finds its map already there leaves the nested maps out, which
// ends the cycle after one level. Also refuses when the per-thread list is full. A scope that is
// not `wanted` (no texture relief asked for) costs nothing and never enters.
class ReliefNestingScope {
public:
    ReliefNestingScope(const void* map, bool wanted);
    ~ReliefNestingScope();
    ReliefNestingScope(const ReliefNestingScope&) = delete;
    ReliefNestingScope& operator=(const ReliefNestingScope&) = delete;

    // True when the nested maps may be shown.
    bool Entered() const { return mEntered; }

private:
    bool mEntered = false;
};

}  // namespace QuarelNS
