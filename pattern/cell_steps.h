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

// Signed distance, in tile units, to the edge of a face [0, 1]^2 given by its face coordinates
// (a, b) and the tile-unit lengths (w, h) of one unit of a and of b across the face (measured
// across, so a parallelogram's slanted sides are measured square to them). Positive on the face:
// the distance to its nearest side, exact. Negative off it: the farthest the point lies beyond a
// side's line, the distance beside a side and a lower bound of it where joints meet, so that it
// never exceeds the way to a neighbouring brick across the joint. NaN gives NaN, which
// JointDistance turns into 0.
inline float RectFaceDistance(float a, float b, float w, float h) {
    return std::min(std::min(a, 1.f - a) * w, std::min(b, 1.f - b) * h);
}

// The joint distance a record reports from a signed distance to the face (positive on it): the
// distance on the side the grout test chose, never negative. Where the grout test and the
// geometry disagree by a rounding the value is 0, so the distance stays continuous across the
// edge.
inline float JointDistance(float signedDist, bool isGrout) {
    const float d = isGrout ? -signedDist : signedDist;
    return d > 0.f ? d : 0.f;
}

// How design space sits on the tile: design units per tile unit, X = xu u + xv v + ..., and
// Y = yu u + yv v + ... (any signs).
struct DesignJacobian {
    float xu, xv, yu, yv;
};

// Tile units per design unit measured along the design direction (nx, ny) (any length): a line
// square to it at design distance d lies d / |J^T n| away in the tile. So a design distance to a
// straight edge, times the factor of the edge's normal, is the tile distance, whatever the design
// space's stretch; near a curve or a corner it is the first-order value. With a design space
// scaled alike along u and v the factor is one number and every distance is exact.
inline float DesignUnit(float nx, float ny, const DesignJacobian& j) {
    const float len2 = nx * nx + ny * ny;
    const float gx = j.xu * nx + j.yu * ny;
    const float gy = j.xv * nx + j.yv * ny;
    const float g2 = gx * gx + gy * gy;
    if (!(len2 > 0.f && g2 > 0.f)) return 1.f / std::max(std::fabs(j.xu), std::fabs(j.yv));
    return std::sqrt(len2 / g2);
}

// The least and the greatest DesignUnit over all directions: bounds for searches that order
// edges by design distance.
inline float DesignUnitLeast(const DesignJacobian& j) {
    // The singular values of J from its Frobenius norm and determinant.
    const float f2 = j.xu * j.xu + j.xv * j.xv + j.yu * j.yu + j.yv * j.yv;
    const float det = std::fabs(j.xu * j.yv - j.xv * j.yu);
    const float root = std::sqrt(std::max(f2 * f2 - 4.f * det * det, 0.f));
    return 1.f / std::sqrt(0.5f * (f2 + root));
}
inline float DesignUnitMost(const DesignJacobian& j) {
    const float f2 = j.xu * j.xu + j.xv * j.xv + j.yu * j.yu + j.yv * j.yv;
    const float det = std::fabs(j.xu * j.yv - j.xv * j.yu);
    const float root = std::sqrt(std::max(f2 * f2 - 4.f * det * det, 0.f));
    return 1.f / std::sqrt(std::max(0.5f * (f2 - root), 1e-30f));
}

// Tile units per design unit for a distance whose nearest outline point lies in the design
// direction (ox, oy). Where the design space is stretched by less than 5 % the one factor
// between the least and the greatest is used for every direction: the distance then stays
// continuous and errs by at most 2.5 % (0 when it is not stretched at all). More stretched, the
// factor follows the direction: exact beside straight sides, first order near curves, and where
// the nearest point jumps (on the bisector of a corner) the distance jumps by its value times the
// difference of the two directions' factors.
inline float DesignFactor(float ox, float oy, const DesignJacobian& j) {
    const float least = DesignUnitLeast(j);
    const float most = DesignUnitMost(j);
    if (most <= 1.05f * least) return std::sqrt(least * most);
    return DesignUnit(ox, oy, j);
}

// Result of the grout finish: face coordinates before the local-frame step.
struct GroutFace {
    float a;      // s' across the cell along u, 0..1 on the face, unclamped
    float b;      // t' along v
    float faceW;  // face extent along u (su * W)
    float faceH;  // face extent along v (sv * H)
    bool isGrout;
    float edge;  // signed tile-unit distance to the face's edge, positive on the face
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
    f.edge = RectFaceDistance(f.a, f.b, f.faceW, f.faceH);
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
    if (ps.wantJointDist) cell.jointDist = JointDistance(f.edge, f.isGrout);
    SetBrickLocalFrame(f.a, f.b, f.faceW, f.faceH, cell);
}

}  // namespace QuarelNS
