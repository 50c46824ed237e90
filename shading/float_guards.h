// Small float helpers of the evaluators that keep non-finite values from turning into undefined
// behaviour or into NaN colours. Each equals the plain operation for ordinary finite values.
#pragma once

#include <cmath>
#include <cstdint>

namespace QuarelNS {

// Clamp to [0, 1]; NaN gives 0.
inline float Clamp01(float x) {
    return x > 0.f ? (x < 1.f ? x : 1.f) : 0.f;
}

// x when finite, else 0.
inline float FiniteOr0(float x) {
    return std::isfinite(x) ? x : 0.f;
}

// floor(x) as an integer in [lo, hi]; NaN gives lo. Converting a NaN or out-of-range float to
// int is undefined, so the bounds are applied while still in float.
inline std::int32_t SaturatingFloor(float x, std::int32_t lo, std::int32_t hi) {
    const float f = std::floor(x);
    if (!(f > static_cast<float>(lo))) return lo;  // NaN included
    if (f >= static_cast<float>(hi)) return hi;
    return static_cast<std::int32_t>(f);
}

}  // namespace QuarelNS
