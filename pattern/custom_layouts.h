// Internal to the custom patterns: the repeat cell they all start from, and one generator per
// layout family.
#pragma once

#include <algorithm>
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/pattern_types.h"

namespace QuarelNS {

// The point's repeat cell in the nx x ny grid and its position in that cell.
struct CustomCell {
    std::int32_t nu, nv;  // cell counts, at least 1
    float W, H;           // cell extents in UV units
    std::int32_t ci, cj;  // cell indices, held to the grid
    float s, t;           // position in the cell, 0..1
};

inline CustomCell SetUpCustomCell(const PatternSettings& ps, float u, float v) {
    CustomCell c;
    c.nu = std::max(ps.nx, 1);
    c.nv = std::max(ps.ny, 1);
    const float nu = static_cast<float>(c.nu);
    const float nv = static_cast<float>(c.nv);
    c.W = 1.f / nu;
    c.H = 1.f / nv;
    // Held to the grid so that a coordinate rounding up to 1 stays in the last cell.
    c.ci = std::clamp(FloorToInt(nu * u), 0, c.nu - 1);
    c.cj = std::clamp(FloorToInt(nv * v), 0, c.nv - 1);
    c.s = Clamp01((u - static_cast<float>(c.ci) * c.W) / c.W);
    c.t = Clamp01((v - static_cast<float>(c.cj) * c.H) / c.H);
    return c;
}

// Joint widths as fractions of the cell, measured against its shorter side (Patterns 1 to 4).
inline float CellGroutFraction(float gap, float extent, float m) {
    if (!(extent > 1e-6f)) return 0.f;
    return std::clamp(m * gap / extent, 0.f, 0.98f);
}

// Patterns 1, 2 and 4: pieces from a constant rectangle layout.
void CustomRectangleLayout(const PatternSettings& ps, float u, float v, BrickCell& cell,
                           int number);
// Pattern 3: three strips per cell, lying and standing in a checkerboard.
void CustomStrips(const PatternSettings& ps, float u, float v, BrickCell& cell);
// Patterns 5 and 6: discs or squares on the grid points, a body between them.
void CustomGridPoints(const PatternSettings& ps, float u, float v, BrickCell& cell, bool squares);
// Pattern 7: corner triangles and an octagon.
void CustomOctagons(const PatternSettings& ps, float u, float v, BrickCell& cell);

}  // namespace QuarelNS
