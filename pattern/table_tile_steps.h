// Steps the table-driven tiles share: placing a point in the design square of its repeat cell,
// snapping design coordinates to the square's edge, the squared distance to a box and the face
// coordinates of a piece from its box.
#pragma once

#include <algorithm>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/pattern_types.h"
#include "pattern/table_tile_data.h"

namespace QuarelNS {

// Design coordinates within kTileSnap of the edge of the design square [0, S] are moved onto it,
// so that pieces which stop just short of the tile edge reach it.
constexpr float SnapDesign(float c, float S) {
    if (c <= kTileSnap) return 0.f;
    if (c >= S - kTileSnap) return S;
    return c;
}

// A point placed in the design square of its repeat cell (a, b) of the nx x ny grid.
struct DesignPosition {
    std::int32_t a;  // repeat cell along u
    std::int32_t b;  // repeat cell along v
    float px;        // design x, 0..S
    float py;        // design y, 0..S, 0 at the top of the cell (largest v)
    float nu;        // repeat cells per unit along u and v
    float nv;
};

inline DesignPosition PlaceInDesignSquare(const PatternSettings& ps, float u, float v, float S) {
    DesignPosition d;
    d.nu = static_cast<float>(std::max(ps.nx, 1));
    d.nv = static_cast<float>(std::max(ps.ny, 1));
    const float x = d.nu * u;
    const float y = d.nv * v;
    d.a = FloorToInt(x);
    d.b = FloorToInt(y);
    d.px = (x - static_cast<float>(d.a)) * S;
    d.py = (1.f - (y - static_cast<float>(d.b))) * S;
    return d;
}

// Squared distance from a point to the box [x0, x1] x [y0, y1]; 0 inside and on the border.
inline float BoxDistanceSq(float x0, float x1, float y0, float y1, float px, float py) {
    const float dx = px < x0 ? x0 - px : (px > x1 ? px - x1 : 0.f);
    const float dy = py < y0 ? y0 - py : (py > y1 ? py - y1 : 0.f);
    return dx * dx + dy * dy;
}

// A piece's face from its box in design units: the point's position across it (s along u, t
// along v, both 0..1) and its extents in UV units.
struct BoxFace {
    float wd;  // design extents
    float hd;
    float s;
    float t;
    float w;  // UV extents
    float h;
};

inline BoxFace FaceOfBox(float x0, float x1, float y0, float y1, const DesignPosition& d, float S) {
    BoxFace f;
    f.wd = x1 - x0;
    f.hd = y1 - y0;
    // t runs with v, against the design y axis.
    f.s = Clamp01(f.wd <= 1e-6f ? 0.5f : (d.px - x0) / f.wd);
    f.t = Clamp01(f.hd <= 1e-6f ? 0.5f : 1.f - (d.py - y0) / f.hd);
    f.w = (f.wd / S) / d.nu;
    f.h = (f.hd / S) / d.nv;
    return f;
}

}  // namespace QuarelNS
