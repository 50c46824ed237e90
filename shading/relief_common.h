// What every relief evaluator shares: the sampling step, the grey value that turns a colour into
// a height, central differences in their fixed sample order, and the guard that keeps a relief
// output nested inside its own map from evaluating itself forever.
//
// Heights are sampled at +du, -du, +dv, -dv around the shading point, in this order, with
// du = min(2^-13, max(2^-16, 0.25 |duv.x|)) and dv likewise from duv.y: a quarter of the filter
// size, but never so small that float coordinates near 1000 tiles stop resolving it, and never
// so large that a blurry lookup smears an edge over a whole brick.
#pragma once

#include <cmath>

#include "acolor.h"

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

// A colour's height: the mean of r, g and b, as the relief outputs have always computed it.
inline float ReliefGrey(const AColor& c) {
    return (c.r + c.g + c.b) * 0.33333334f;
}

// The four heights of one shading point, in sampling order.
struct ReliefSamples {
    float uPlus, uMinus, vPlus, vMinus;
};

// h(+du, 0), h(-du, 0), h(0, +dv), h(0, -dv): the order is part of the result when the height
// reads anything stateful (a nested map that counts its calls, say), so it is fixed here.
template <typename Height>
ReliefSamples SampleCross(Height&& h, float du, float dv) {
    ReliefSamples s;
    s.uPlus = h(du, 0.f);
    s.uMinus = h(-du, 0.f);
    s.vPlus = h(0.f, dv);
    s.vMinus = h(0.f, -dv);
    return s;
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
