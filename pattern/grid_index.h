// Integer steps of the grid-based generators: counts as they use them, the non-negative
// remainder, and the plain frame swap that some parquet bonds use instead of the shared
// local-frame step.
#pragma once

#include <algorithm>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/evaluate.h"
#include "pattern/pattern_types.h"

namespace QuarelNS {

// A count below 1 is taken as 1; the upper bound keeps index products inside int32 even if a
// generator is called without the dispatcher's sanitising.
inline std::int32_t CountOrOne(std::int32_t n) {
    return std::clamp(n, 1, kMaxPatternCount);
}

// Non-negative remainder of x by n (n >= 1): indices left of or below the tile wrap correctly.
inline std::int32_t ModIndex(std::int32_t x, std::int32_t n) {
    const std::int32_t r = x % n;
    return r < 0 ? r + n : r;
}

// Patterns that draw their joints as lines take gap_u / gap_v held to [0, 0.45];
// NaN counts as no joint.
inline float ClampJointGap(float g) {
    return g > 0.f ? std::min(g, 0.45f) : 0.f;
}

// Frame swap decided on the cell extents (W > H) after the grout finish: local coordinates
// stay unclamped and the frame flags and projection sizes keep the caller's values.
inline void SwapFrameOnCell(const GroutFace& f, float W, float H, BrickCell& cell) {
    if (W > H) {
        cell.localU = f.b;
        cell.localV = f.a;
        cell.sizeU = f.faceH;
        cell.sizeV = f.faceW;
    } else {
        cell.localU = f.a;
        cell.localV = f.b;
        cell.sizeU = f.faceW;
        cell.sizeV = f.faceH;
    }
}

}  // namespace QuarelNS
