// Herringbone, T-Shape and Basket Weave: parquet bonds of rectangles on an integer grid. Each
// finds the rectangle that covers the point and hands it to the shared grout finish.
#include <cstdint>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

void Herringbone(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // Grid units per unit of u and v, rounded up to whole 6-unit repeats so that the tile wraps
    // without a seam. Every brick is 3 x 1 units, lying or standing in alternation.
    const std::int32_t Cu = 6 * ((CountOrOne(ps.nx) + 2) / 3);
    const std::int32_t Cv = 6 * ((CountOrOne(ps.ny) + 2) / 3);
    const float X = static_cast<float>(Cu) * u;
    const float Y = static_cast<float>(Cv) * v;
    const std::int32_t a = FloorToInt(X);
    const std::int32_t b = FloorToInt(Y);

    // A lying brick starts at column c of row b where (c + b) mod 6 = 4, a standing one at row r
    // of column a where (a + r) mod 6 = 1. The diagonal phase of the grid cell says which brick
    // covers it and how many cells back that brick starts.
    const std::int32_t phase = ModIndex(a + b, 6);
    const bool standing = phase >= 1 && phase <= 3;
    float s, t, W, H;
    std::int32_t iu, jv;
    if (!standing) {
        const std::int32_t c = a - ModIndex(phase - 4, 6);
        s = (X - static_cast<float>(c)) / 3.f;
        t = Y - static_cast<float>(b);
        W = 3.f / static_cast<float>(Cu);
        H = 1.f / static_cast<float>(Cv);
        iu = ModIndex(c, Cu);
        jv = ModIndex(b, Cv);
    } else {
        const std::int32_t r = b - (phase - 1);
        s = X - static_cast<float>(a);
        t = (Y - static_cast<float>(r)) / 3.f;
        W = 1.f / static_cast<float>(Cu);
        H = 3.f / static_cast<float>(Cv);
        iu = ModIndex(a, Cu);
        jv = ModIndex(r, Cv);
    }
    FinishRectCell(ps, W, H, s, t, cell);
    // Indices reduced to the tile: a brick across the tile edge keeps one identity.
    cell.brickU = 2 * iu + (standing ? 1 : 0);
    cell.brickV = jv;
}

void TShape(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // Columns Wc wide; row pairs Hp high, each holding one standing brick a column wide and two
    // stacked lying pieces two columns wide and half the pair high.
    const float Wc = 1.f / static_cast<float>(3 * CountOrOne(ps.nx));
    const float h = 1.f / static_cast<float>(2 * CountOrOne(ps.ny));
    const float Hp = 2.f * h;
    const std::int32_t r = FloorToInt(v / Hp);
    const std::int32_t r2 = 2 * r;
    const float f = (v - static_cast<float>(r2) * h) / Hp;
    const bool upper = f >= 0.5f;
    const bool oddPair = (r & 1) != 0;
    const std::int32_t c = FloorToInt(u / Wc);
    const std::int32_t cm = ModIndex(c, 3);
    // The standing brick sits in the last column of each group of three in even pairs and in
    // the first in odd pairs.
    const bool standing = cm == (oddPair ? 0 : 2);

    float s, t, W, H;
    std::int32_t i, j;
    if (!standing) {
        i = c - cm + (oddPair ? 1 : 0);
        j = r2 + (upper ? 1 : 0);
        W = 2.f * Wc;
        H = h;
        s = (u - static_cast<float>(i) * Wc) / (2.f * Wc);
        t = (v - (static_cast<float>(upper ? 1 : 0) * h + static_cast<float>(r2) * h)) / h;
    } else {
        // Numbered by its pair, while lying pieces count half-rows (2r + upper). So a standing
        // brick can share its indices, and with them its random variation, with a lying piece
        // near it; the per-brick colours of stored scenes depend on this numbering.
        i = c;
        j = r;
        W = Wc;
        H = Hp;
        s = (u - static_cast<float>(c) * Wc) / Wc;
        t = f;
    }
    const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t);
    cell.isGrout = g.isGrout;
    if (ps.wantJointDist) cell.jointDist = JointDistance(g.edge, g.isGrout);
    SwapFrameOnCell(g, W, H, cell);
    cell.brickU = i;
    cell.brickV = j;
}

void BasketWeave(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // A checkerboard of square cells, each holding a pair of bricks; the pair's direction
    // alternates from cell to cell.
    const float Wc = 2.f / (2.f * static_cast<float>(CountOrOne(ps.nx)));
    const float Hc = 2.f / (2.f * static_cast<float>(CountOrOne(ps.ny)));
    const std::int32_t a = FloorToInt(u / Wc);
    const std::int32_t b = FloorToInt(v / Hc);
    float s = (u - static_cast<float>(a) * Wc) / Wc;
    float t = (v - static_cast<float>(b) * Hc) / Hc;
    std::int32_t half;
    float W, H;
    if (((a + b) & 1) != 0) {  // two standing bricks side by side
        half = s >= 0.5f ? 1 : 0;
        s = 2.f * (s - 0.5f * static_cast<float>(half));
        W = Wc / 2.f;
        H = Hc;
    } else {  // two lying bricks one above the other
        half = t >= 0.5f ? 1 : 0;
        t = 2.f * (t - 0.5f * static_cast<float>(half));
        W = Wc;
        H = Hc / 2.f;
    }
    FinishRectCell(ps, W, H, s, t, cell);
    cell.brickU = 2 * a + half;
    cell.brickV = b;
}

}  // namespace QuarelNS
