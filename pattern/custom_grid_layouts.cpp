// Custom patterns 5 to 7: layouts built around the grid points of the nx x ny cell grid. Discs
// (Pattern 5) or squares (Pattern 6) of the second brick set sit on the grid points with a body
// brick between them; Pattern 7 puts corner triangles of the second set around an octagon.
// Joints here are absolute half-widths in units of the cell's shorter side.
#include <algorithm>
#include <cmath>

#include "pattern/custom_layouts.h"

namespace QuarelNS {

namespace {

inline float HalfJoint(float gap, float m) {
    return std::clamp(gap, 0.f, 0.95f) * 0.5f * m;
}

// Index of grid point `i` (0..n): the point on the far tile edge is the one at 0, so a disc that
// straddles the tile edge keeps one identity on both sides.
inline std::int32_t GridPointIndex(std::int32_t i, std::int32_t n) {
    return i < n ? i : 0;
}

// A joint-coloured point that belongs to no piece: the whole cell as its extent.
inline void SetCellGrout(const CustomCell& c, BrickCell& cell) {
    cell.isGrout = true;
    cell.localU = 0.f;
    cell.localV = 0.f;
    cell.sizeU = c.W;
    cell.sizeV = c.H;
}

// Signed tile-unit distance to the body's joints along the cell's edges (half-widths hu, hv
// absolute; 1e-6 or less is no joint, as in the grout test).
inline float BodyEdgeDistance(const CustomCell& c, float hu, float hv) {
    const float du = std::min(c.s, 1.f - c.s) * c.W - (hu > 1e-6f ? hu : 0.f);
    const float dv = std::min(c.t, 1.f - c.t) * c.H - (hv > 1e-6f ? hv : 0.f);
    return std::min(du, dv);
}

// The brick between the grid-point pieces, with joints along the cell's edges. `pieceEdge` is
// the signed distance to the grid-point piece's joint on the body's side (positive away from it).
void SetBody(const CustomCell& c, float hu, float hv, float pieceEdge, bool wantJointDist,
             BrickCell& cell) {
    cell.brickU = 2 * c.ci + 1;
    cell.brickV = 2 * c.cj + 1;
    cell.kind = 0;
    const float edge = std::min(BodyEdgeDistance(c, hu, hv), pieceEdge);
    if ((hu > 1e-6f && hu >= std::min(c.s, 1.f - c.s) * c.W) ||
        (hv > 1e-6f && hv >= std::min(c.t, 1.f - c.t) * c.H)) {
        SetCellGrout(c, cell);
        // In the cell-edge joint: the body's side of it, a lower bound of the way to a face.
        if (wantJointDist) cell.jointDist = JointDistance(BodyEdgeDistance(c, hu, hv), true);
        return;
    }
    if (wantJointDist) cell.jointDist = JointDistance(edge, false);
    const float su = std::max(1.f - (c.W > 1e-6f ? 2.f * hu / c.W : 0.f), 1e-6f);
    const float sv = std::max(1.f - (c.H > 1e-6f ? 2.f * hv / c.H : 0.f), 1e-6f);
    cell.isGrout = false;
    cell.localU = Clamp01((c.s - (c.W > 1e-6f ? hu / c.W : 0.f)) / su);
    cell.localV = Clamp01((c.t - (c.H > 1e-6f ? hv / c.H : 0.f)) / sv);
    cell.sizeU = su * c.W;
    cell.sizeV = sv * c.H;
}

// Signed distance from a point to an axis-aligned box centred on the origin, given the point's
// excess (|x| - half-width, |y| - half-height): negative inside (how deep), Euclidean outside.
inline float BoxDistance(float ex, float ey) {
    if (ex <= 0.f && ey <= 0.f) return std::max(ex, ey);
    const float ox = std::max(ex, 0.f);
    const float oy = std::max(ey, 0.f);
    return std::sqrt(ox * ox + oy * oy);
}

// A piece centred on the grid point, D across, with (dx, dy) the offset from its centre.
inline void SetCentredPiece(float dx, float dy, float D, BrickCell& cell) {
    cell.isGrout = false;
    cell.kind = 1;
    cell.localU = Clamp01(dx / D + 0.5f);
    cell.localV = Clamp01(dy / D + 0.5f);
    cell.sizeU = D;
    cell.sizeV = D;
}

}  // namespace

void CustomGridPoints(const PatternSettings& ps, float u, float v, BrickCell& cell, bool squares) {
    const CustomCell c = SetUpCustomCell(ps, u, v);
    const float m = std::min(c.W, c.H);
    const float hu = HalfJoint(ps.gap_u, m);
    const float hv = HalfJoint(ps.gap_v, m);
    const float hm = HalfJoint(std::min(ps.gap_u, ps.gap_v), m);

    // The nearest grid point: the corner of the cell's quarter the point is in.
    const std::int32_t cs = c.s >= 0.5f ? 1 : 0;
    const std::int32_t ct = c.t >= 0.5f ? 1 : 0;
    const float dx = (c.s - static_cast<float>(cs)) * c.W;
    const float dy = (c.t - static_cast<float>(ct)) * c.H;
    const std::int32_t pointU = 2 * GridPointIndex(c.ci + cs, c.nu);
    const std::int32_t pointV = 2 * GridPointIndex(c.cj + ct, c.nv);

    bool onPiece = false;
    bool inRing = false;
    float D = 0.f;
    // Signed tile-unit distances to the piece's face (positive on it) and to the ring's outer
    // edge (positive on the body's side).
    float pieceEdge, outerEdge;
    if (squares) {
        const float S = 0.185f * m;
        const float a = std::fabs(dx);
        const float b = std::fabs(dy);
        const float inner = S - hm;
        if (inner > 1e-6f && a < inner && b < inner) {
            onPiece = true;
            D = 2.f * inner;
        } else {
            inRing = a <= S + hm && b <= S + hm;
        }
        // Only what the point's region needs: the square root is the costly part.
        pieceEdge = onPiece || inRing ? -BoxDistance(a - inner, b - inner) : 0.f;
        outerEdge = onPiece ? 0.f : BoxDistance(a - (S + hm), b - (S + hm));
    } else {
        const float R = 0.205f * m;
        const float d = std::sqrt(dx * dx + dy * dy);
        pieceEdge = (R - hm) - d;
        outerEdge = d - (R + hm);
        if (R > 1e-6f && std::fabs(d - R) <= hm) {
            inRing = true;
        } else if (d < R - hm) {
            onPiece = true;
            const float r = R - hm > 1e-6f ? R - hm : R;
            D = 2.f * r;
        }
    }

    if (onPiece) {
        cell.brickU = pointU;
        cell.brickV = pointV;
        SetCentredPiece(dx, dy, D, cell);
        if (ps.wantJointDist) cell.jointDist = JointDistance(pieceEdge, false);
    } else if (inRing) {
        cell.kind = 0;
        cell.brickU = pointU;
        cell.brickV = pointV;
        SetCellGrout(c, cell);
        // The nearer of the piece inside the ring and the body outside it.
        if (ps.wantJointDist) cell.jointDist = JointDistance(std::max(pieceEdge, -outerEdge), true);
    } else {
        SetBody(c, hu, hv, outerEdge, ps.wantJointDist, cell);
    }
}

void CustomOctagons(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const CustomCell c = SetUpCustomCell(ps, u, v);
    const float m = std::min(c.W, c.H);
    // Half-joints as fractions of the cell.
    const float gu7 = c.W > 1e-6f ? std::clamp(HalfJoint(ps.gap_u, m) / c.W, 0.f, 0.45f) : 0.f;
    const float gv7 = c.H > 1e-6f ? std::clamp(HalfJoint(ps.gap_v, m) / c.H, 0.f, 0.45f) : 0.f;
    const float g = std::clamp((gu7 + gv7) / 2.f, 0.f, 0.29200003f);
    const float A = 0.293f + g;  // the octagon's diagonal sides, measured on s + t
    const float B = 0.293f - g;  // the triangles' legs
    const float s = c.s;
    const float t = c.t;
    const float rs = 1.f - s;
    const float rt = 1.f - t;
    // Tile-unit length of one unit of s + t or s - t across its diagonal joint.
    const float diag = c.W * c.H / std::sqrt(c.W * c.W + c.H * c.H);
    // Signed distance to the corner triangle whose sides lie ds and dt from the point.
    auto triangleEdge = [&](float ds, float dt) {
        return std::min(std::min(ds * c.W, dt * c.H), (B - ds - dt) * diag);
    };

    if (B > 1e-6f) {
        // Corners (0, 0), (0, 1), (1, 0), (1, 1) in this order, numbered (s side) * 2 + t side.
        std::int32_t corner = -1;
        if (s + t <= B) {
            corner = 0;
        } else if (s + rt <= B) {
            corner = 1;
        } else if (rs + t <= B) {
            corner = 2;
        } else if (rs + rt <= B) {
            corner = 3;
        }
        if (corner >= 0) {
            const std::int32_t su = corner >> 1;
            const std::int32_t tu = corner & 1;
            const float ds = su ? rs : s;  // distances from the corner's sides
            const float dt = tu ? rt : t;
            cell.isGrout = false;
            if (ps.wantJointDist) cell.jointDist = JointDistance(triangleEdge(ds, dt), false);
            cell.kind = 1;
            cell.brickU = 2 * c.ci + su;
            cell.brickV = 2 * c.cj + tu;
            cell.localU = Clamp01(ds / B);
            cell.localV = Clamp01(dt / B);
            cell.sizeU = B * c.W;
            cell.sizeV = B * c.H;
            return;
        }
    }

    cell.kind = 0;
    cell.brickU = c.ci;
    cell.brickV = c.cj;
    const float ou = 1.f - 2.f * gu7;
    const float ov = 1.f - 2.f * gv7;
    // The octagon is convex: its signed distance is the least over its sides' lines.
    const float octagonEdge = std::min(
        std::min(std::min(s - gu7, 1.f - gu7 - s) * c.W, std::min(t - gv7, 1.f - gv7 - t) * c.H),
        std::min(std::min(s + t - A, 2.f - A - s - t), 1.f - A - std::fabs(s - t)) * diag);
    if (ou > 1e-6f && ov > 1e-6f && gu7 <= s && s <= 1.f - gu7 && gv7 <= t && t <= 1.f - gv7 &&
        A <= s + t && s + t <= 2.f - A && std::fabs(s - t) <= 1.f - A) {
        const float ovSafe = std::max(ov, 1e-6f);
        cell.isGrout = false;
        cell.localU = Clamp01((s - gu7) / ou);
        cell.localV = Clamp01((t - gv7) / ovSafe);
        cell.sizeU = ou * c.W;
        cell.sizeV = ovSafe * c.H;
        if (ps.wantJointDist) cell.jointDist = JointDistance(octagonEdge, false);
        return;
    }
    SetCellGrout(c, cell);
    // The nearer of the octagon and the triangle of the point's quarter; each a lower bound.
    float edge = ou > 1e-6f && ov > 1e-6f ? octagonEdge : -1e30f;
    if (B > 1e-6f) edge = std::max(edge, triangleEdge(s < 0.5f ? s : rs, t < 0.5f ? t : rt));
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, true);
}

}  // namespace QuarelNS
