// Wave Checker and Wave Striped: columns of width W whose row boundaries are displaced by a
// sine bump; the two differ only in how the brick set alternates.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

void Wave(const PatternSettings& ps, float u, float v, BrickCell& cell, bool checker) {
    const float W = 1.f / static_cast<float>(CountOrOne(ps.nx));
    const float H = 1.f / static_cast<float>(CountOrOne(ps.ny));
    const float gu = ClampJointGap(ps.gap_u);
    const float gv = ClampJointGap(ps.gap_v);
    const std::int32_t a = FloorToInt(u / W);
    const float s = (u - static_cast<float>(a) * W) / W;

    const float A = 0.8447f * H;
    const float bump = std::sin(3.14159265f * s);
    const float vv = v + A * (bump * bump);
    std::int32_t b = FloorToInt(vv / H);
    float rem = vv - static_cast<float>(b) * H;
    if (rem < 0.f) {  // the division rounded up across a row boundary
        rem += H;
        b -= 1;
    }
    const float t = rem / H;

    cell.kind = (checker ? a + b : b) & 1;
    cell.brickU = a;
    cell.brickV = b;

    // The face spans the row's full swing along v: from its lowest trough to its highest crest.
    const float L = A + H;
    const float lv = L > 1e-6f ? Clamp01((v - (static_cast<float>(b) * H - A)) / L) : 0.5f;
    if (W > L) {
        cell.localU = lv;
        cell.localV = Clamp01(s);
        cell.sizeU = L;
        cell.sizeV = W;
        cell.turned = 1;
        cell.upright = 0;
    } else {
        cell.localU = Clamp01(s);
        cell.localV = lv;
        cell.sizeU = W;
        cell.sizeV = L;
        cell.turned = 0;
        cell.upright = 1;
    }
    cell.projSizeU = cell.sizeU;
    cell.projSizeV = cell.sizeV;

    // Joint widths here are fractions of the column width and row height themselves. A side is
    // tested only when its joint has width: s and t can land a hair outside [0, 1].
    const float hu = gu / 2.f;
    const float hv = gv / 2.f;
    cell.isGrout = (hu > 0.f && (hu > s || hu > 1.f - s)) || (hv > 0.f && (hv > t || hv > 1.f - t));
    // The row edges are curves t = const: their distance is taken to first order, t over its
    // gradient's length (slope A pi sin(2 pi s) / W against 1).
    const float cosine = std::sqrt(std::max(1.f - bump * bump, 0.f));
    const float slope = A * 6.2831853f * bump * cosine / W;
    const float rowUnit = H / std::sqrt(1.f + slope * slope);
    const float edge =
        std::min((std::min(s, 1.f - s) - hu) * W, (std::min(t, 1.f - t) - hv) * rowUnit);
    if (ps.wantJointDist) cell.jointDist = JointDistance(edge, cell.isGrout);
}

}  // namespace QuarelNS
