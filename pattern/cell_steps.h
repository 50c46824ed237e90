// Steps most generators share: safe float-to-int floors, the grout finish of a rectangular cell
// and the local-frame step. Inline: they run once per shading sample.
//
// Guarantees: every function here gives a defined result for any float input, NaN and infinities
// included; integer results are saturated to +-kIndexLimit so that index arithmetic never
// overflows.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/pattern_types.h"

namespace QuarelNS {

constexpr float kIndexLimit = 268435456.f;  // 2^28: leaves room for 2k + 1 and the like

// floor(x) as an int32. NaN gives 0; values beyond +-2^28 saturate (a plain cast of those is
// undefined behaviour).
inline std::int32_t FloorToInt(float x) {
    const float f = std::floor(x);
    if (!(f > -kIndexLimit)) return f != f ? 0 : -static_cast<std::int32_t>(kIndexLimit);
    if (!(f < kIndexLimit)) return static_cast<std::int32_t>(kIndexLimit);
    return static_cast<std::int32_t>(f);
}

inline float Clamp01(float x) {
    return std::min(std::max(x, 0.f), 1.f);
}

// Result of the grout finish: face coordinates before the local-frame step.
struct GroutFace {
    float a;      // s' across the cell along u, 0..1 on the face, unclamped
    float b;      // t' along v
    float faceW;  // face extent along u (su * W)
    float faceH;  // face extent along v (sv * H)
    bool isGrout;
};

// Grout finish of a cell of extent (W, H) at fractional position (s, t). Grout widths are
// measured in units of the cell's shorter side, so joints have the same absolute width on every
// side of the brick; each joint fraction is capped at 0.98 of the cell.
inline GroutFace GroutFinish(float gapU, float gapV, float W, float H, float s, float t) {
    const float m = std::max(1e-6f, std::min(W, H));
    float gu = W > 1e-6f ? m * gapU / W : 0.f;
    float gv = H > 1e-6f ? m * gapV / H : 0.f;
    // Written so that a NaN width gives no joint rather than a NaN face.
    gu = gu > 0.f ? std::min(gu, 0.98f) : 0.f;
    gv = gv > 0.f ? std::min(gv, 0.98f) : 0.f;
    const float hu = gu / 2.f;
    const float hv = gv / 2.f;
    GroutFace f;
    // A side is tested only when its joint has width: in float s and t can land a hair outside
    // [0, 1], and a bare s < 0 would speckle a joint-free wall with grout.
    f.isGrout = (hu > 0.f && (s < hu || s > 1.f - hu)) || (hv > 0.f && (t < hv || t > 1.f - hv));
    const float su = std::max(1.f - gu, 1e-6f);
    const float sv = std::max(1.f - gv, 1e-6f);
    f.a = (s - hu) / su;
    f.b = (t - hv) / sv;
    f.faceW = su * W;
    f.faceH = sv * H;
    return f;
}

// The shared local-frame step: localV always runs along the longer side of the face.
inline void SetBrickLocalFrame(float a, float b, float w, float h, BrickCell& cell) {
    a = Clamp01(a);
    b = Clamp01(b);
    if (w > h) {
        cell.localU = b;
        cell.localV = a;
        cell.sizeU = h;
        cell.sizeV = w;
        cell.turned = 1;
        cell.upright = 0;
        cell.projSizeU = h;
        cell.projSizeV = w;
    } else {
        cell.localU = a;
        cell.localV = b;
        cell.sizeU = w;
        cell.sizeV = h;
        cell.turned = 0;
        cell.upright = 1;
        cell.projSizeU = w;
        cell.projSizeV = h;
    }
}

// Grout finish followed by the local-frame step, for the generators that use both unchanged.
inline void FinishRectCell(const PatternSettings& ps, float W, float H, float s, float t,
                           BrickCell& cell) {
    const GroutFace f = GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t);
    cell.isGrout = f.isGrout;
    SetBrickLocalFrame(f.a, f.b, f.faceW, f.faceH, cell);
}

}  // namespace QuarelNS
