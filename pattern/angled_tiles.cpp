// Diagonal, Triangles, Triangles 2 and Chevron: cells cut by slanted joints. Each measures the
// point's distance to its joints in the cell's own units and compares it with a half-width
// from gap_u and gap_v; none uses the rectangular grout finish.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

namespace {

// Cell extents, the cell holding (u, v) and the point's fractions across it.
struct AngledCell {
    float W, H, gu, gv;
    std::int32_t a, b;
    float s, t;
};

AngledCell LocateCell(const PatternSettings& ps, float u, float v) {
    AngledCell c;
    c.W = 1.f / static_cast<float>(CountOrOne(ps.nx));
    c.H = 1.f / static_cast<float>(CountOrOne(ps.ny));
    c.gu = ClampJointGap(ps.gap_u);
    c.gv = ClampJointGap(ps.gap_v);
    c.a = FloorToInt(u / c.W);
    c.b = FloorToInt(v / c.H);
    c.s = (u - static_cast<float>(c.a) * c.W) / c.W;
    c.t = (v - static_cast<float>(c.b) * c.H) / c.H;
    return c;
}

// Half-width of a slanted joint, shared by Diagonal and Triangles.
inline float SlantedJointHalf(float gu, float gv) {
    return (gu + gv) * 0.5f * 0.35f;
}

// Tile-unit length of one unit of a cell-fraction coordinate whose gradient is (gs/W, gt/H): a
// line on which it is constant lies that far per unit. The pieces here are convex, so the least
// of the signed distances to their sides' lines is the distance to the outline on a piece, and
// off it a lower bound of the distance to the piece (exact beside a side).
inline float LineUnit(float gs, float gt, float W, float H) {
    const float a = gs / W;
    const float b = gt / H;
    return 1.f / std::sqrt(a * a + b * b);
}

}  // namespace

void Diagonal(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const AngledCell c = LocateCell(ps, u, v);
    const float s = c.s;
    const float t = c.t;
    // The diagonal alternates like a checkerboard: (0,0)-(1,1) in odd cells, (0,1)-(1,0) in even.
    const bool odd = ((c.a + c.b) & 1) != 0;
    const bool first = odd ? t >= s : s + t <= 1.f;
    const float d = odd ? s - t : s + t - 1.f;

    // Cell edges only where their joint has width: s and t can land a hair outside [0, 1].
    const float hu = c.gu / 2.f;
    const float hv = c.gv / 2.f;
    cell.isGrout = (hu > 0.f && hu > std::min(s, 1.f - s)) ||
                   (hv > 0.f && hv > std::min(t, 1.f - t)) ||
                   SlantedJointHalf(c.gu, c.gv) > std::fabs(d) * 0.70710677f;
    const float slanted =
        (std::fabs(d) - SlantedJointHalf(c.gu, c.gv) / 0.70710677f) * LineUnit(1.f, 1.f, c.W, c.H);
    const float edge = std::min(
        std::min((std::min(s, 1.f - s) - hu) * c.W, (std::min(t, 1.f - t) - hv) * c.H), slanted);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, cell.isGrout);
    if (first) {
        cell.localU = Clamp01(s);
        cell.localV = Clamp01(t);
        cell.sizeU = c.W;
        cell.sizeV = c.H;
    } else {
        // Mirrored so that both halves see their triangle the same way round.
        cell.localU = Clamp01(odd ? t : 1.f - t);
        cell.localV = Clamp01(odd ? s : 1.f - s);
        cell.sizeU = c.H;
        cell.sizeV = c.W;
    }
    cell.brickU = 2 * c.a + (first ? 0 : 1);
    cell.brickV = c.b;
}

void Triangles(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float W = 1.f / static_cast<float>(CountOrOne(ps.nx));
    const float H = 1.f / static_cast<float>(CountOrOne(ps.ny));
    const float gu = ClampJointGap(ps.gap_u);
    const float gv = ClampJointGap(ps.gap_v);
    const std::int32_t r = FloorToInt(v / H);
    float t = (v - static_cast<float>(r) * H) / H;
    const float x = (u - ((r & 1) != 0 ? W / 2.f : 0.f)) / W;  // odd rows offset by half a cell
    const std::int32_t k = FloorToInt(x);
    float f = x - static_cast<float>(k);

    const bool lowerLeft = f + t <= 1.f;
    const float d = std::fabs(f + t - 1.f) * 0.70710677f;
    // Only the row's lower edge is a joint here; the row above supplies the upper one. Edges
    // are tested only where their joint has width: t can land a hair below 0.
    const float hu = gu / 2.f;
    const float hv = gv / 2.f;
    cell.isGrout = (hu > 0.f && (lowerLeft ? hu > f : hu > 1.f - f)) || (hv > 0.f && hv > t) ||
                   SlantedJointHalf(gu, gv) > d;
    // Sides: the vertical one, the row's lower joint, the slanted joint, and for the upper
    // triangle the row's top, where the row above has its joint.
    float edge = std::min(((lowerLeft ? f : 1.f - f) - hu) * W, (t - hv) * H);
    edge = std::min(edge, (d - SlantedJointHalf(gu, gv)) / 0.70710677f * LineUnit(1.f, 1.f, W, H));
    if (!lowerLeft) edge = std::min(edge, (1.f - t) * H);
    // The row's lower joint borders the row below, whose top lies t below.
    if (cell.isGrout) edge = std::max(edge, -t * H);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, cell.isGrout);
    if (!lowerLeft) {
        f = 1.f - f;
        t = 1.f - t;
    }
    cell.localU = Clamp01(f);
    cell.localV = Clamp01(t);
    cell.sizeU = W;
    cell.sizeV = H;
    cell.brickU = 2 * k + (lowerLeft ? 0 : 1);
    cell.brickV = r;
}

void Triangles2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float W = 1.f / static_cast<float>(CountOrOne(ps.nx));
    const float H = 1.f / static_cast<float>(CountOrOne(ps.ny));
    const float gu = ClampJointGap(ps.gap_u);
    const float gv = ClampJointGap(ps.gap_v);
    const std::int32_t r = FloorToInt(v / H);
    const float t = (v - static_cast<float>(r) * H) / H;
    const float x = (u - ((r & 1) != 0 ? W / 2.f : 0.f)) / W;

    // Upward triangles stand on the row's lower edge centred on whole x; the downward ones fill
    // the gaps between them. A point exactly on a side belongs to the upward triangle.
    std::int32_t k = FloorToInt(x + 0.5f);
    float dx = x - static_cast<float>(k);
    float h = 1.f - t;  // height left to the apex, 1 on the base
    std::int32_t kind = 0;
    if (!(h * 0.5f >= std::fabs(dx))) {
        k = FloorToInt(x);
        dx = x - static_cast<float>(k) - 0.5f;
        h = t;
        kind = 1;
    }
    cell.kind = kind;
    cell.brickU = 2 * k + kind;
    cell.brickV = r;

    // Distances to the sides (slope 2, hence 1/sqrt(5)) and to the base, in cell units.
    const float e1 = std::min((2.f * dx + h) * 0.4472136f, 1.f - h);
    const float e2 = (h - 2.f * dx) * 0.4472136f;
    const float d = std::min(e1, e2);
    // Without joints nothing is grout: next to a row edge d can come out a hair below 0.
    const float half = (gu + gv) * 0.25f;
    cell.isGrout = half > 0.f && half > d;
    // e1 and e2 measure the sides in cell units scaled by 1/sqrt(5); the base in cell heights.
    const float side = LineUnit(2.f, 1.f, W, H) * 2.236068f;
    const float edge = std::min(
        std::min((2.f * dx + h) * 0.4472136f - half, (h - 2.f * dx) * 0.4472136f - half) * side,
        (1.f - h - half) * H);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, cell.isGrout);
    cell.localU = Clamp01(dx + 0.5f);
    cell.localV = Clamp01(h);
    cell.sizeU = W;
    cell.sizeV = H;
}

void Chevron(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const AngledCell c = LocateCell(ps, u, v);
    const float s = c.s;
    const float t = c.t;
    // A V of slanted strips: m rises from 0 at the cell's side edges to 1 at its centre line.
    const std::int32_t side = s >= 0.5f ? 1 : 0;
    const float m = side != 0 ? 2.f * (1.f - s) : 2.f * s;
    const float z = m + t;
    const std::int32_t k = FloorToInt(2.f * z);  // strip 0..3
    const float f = 2.f * z - static_cast<float>(k);

    bool grout = false;
    if (c.gv / 2.f > 0.f) grout = f < c.gv / 2.f || f > 1.f - c.gv / 2.f;
    // Centre and side joints, measured against the cell's shorter side.
    const float gc = c.W > 1e-6f ? std::min(0.98f, std::min(c.W, c.H) * (c.gu * 0.2f) / c.W) : 0.f;
    if (gc / 2.f > 1e-6f)
        grout = grout || gc / 2.f > std::fabs(s - 0.5f) || gc / 2.f > std::min(s, 1.f - s);
    cell.isGrout = grout;
    // Strip sides (f is 2 (m + t), m rising by 2 per cell width) and the centre and side joints.
    const float hf = c.gv / 2.f > 0.f ? c.gv / 2.f : 0.f;
    const float hc = gc / 2.f > 1e-6f ? gc / 2.f : 0.f;
    const float edge = std::min(std::min(f - hf, 1.f - hf - f) * LineUnit(4.f, 2.f, c.W, c.H),
                                (std::min(std::fabs(s - 0.5f), std::min(s, 1.f - s)) - hc) * c.W);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, grout);

    cell.localU = c.gv > 0.f ? Clamp01((f - c.gv / 2.f) / std::max(1e-6f, 1.f - c.gv)) : Clamp01(f);
    cell.localV = Clamp01((t - m + 1.f) * 0.5f);
    // Strips continue with the same index into the row above.
    cell.brickU = 2 * c.a + side;
    cell.brickV = k + 2 * c.b;
    cell.sizeU = c.H / 2.f;
    cell.sizeV = std::sqrt((c.W / 2.f) * (c.W / 2.f) + c.H * c.H);
}

}  // namespace QuarelNS
