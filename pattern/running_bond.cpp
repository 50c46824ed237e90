// Running bonds (ids 0, 1, 3, 4 and every id outside 0..29) and Common Flemish (id 2): rows of
// equal bricks whose joints are offset from row to row, the only patterns with a random row shift.
#include <cmath>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/pattern_hash.h"

namespace QuarelNS {

namespace {

// Random offset of row j in brick widths, in [-random_shift, random_shift); the same for every
// point of the row.
inline float RowShift(const PatternSettings& ps, std::int32_t j) {
    if (!(ps.random_shift > 0.f)) return 0.f;
    const float r = RowShiftHash(ps.seed, j);
    return (2.f * r - 1.f) * ps.random_shift;
}

}  // namespace

void RunningBond(const PatternSettings& ps, float u, float v, BrickCell& cell, float rowOffset) {
    const float nx = static_cast<float>(ps.nx);
    const float ny = static_cast<float>(ps.ny);
    const float W = 1.f / nx;
    const float H = 1.f / ny;
    const std::int32_t j = FloorToInt(ny * v);
    const float t = (v - static_cast<float>(j) * H) / H;
    const float o = (RowShift(ps, j) + ((j & 1) ? rowOffset : 0.f)) * W;
    // Bricks that cross the tile's left edge get index -1 (or lower with a large shift).
    const std::int32_t i = FloorToInt((u - o) * nx);
    const float s = (u - (static_cast<float>(i) * W + o)) / W;

    // The running bond keeps UV orientation and leaves its face coordinates unclamped.
    const GroutFace f = GroutFinish(ps.gap_u, ps.gap_v, W, H, s, t);
    cell.localU = f.a;
    cell.localV = f.b;
    cell.sizeU = f.faceW;
    cell.sizeV = f.faceH;
    cell.brickU = i;
    cell.brickV = j;
    cell.isGrout = f.isGrout;
    if (ps.wantJointDist) cell.jointDist = JointDistance(f.edge, f.isGrout);
}

void CommonFlemish(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // A period of width W holds a stretcher and a header in the proportion 8291 : 2416.
    const float W = 1.f / static_cast<float>(ps.nx);
    const float H = 1.f / static_cast<float>(ps.ny);
    const std::int32_t j = FloorToInt(static_cast<float>(ps.ny) * v);
    const float t = (v - static_cast<float>(j) * H) / H;
    const float o = (RowShift(ps, j) + ((j & 1) ? 0.5f : 0.f)) * W;
    const float x = u - o;
    const std::int32_t k = FloorToInt(x / W);
    const float fr = (x - static_cast<float>(k) * W) / W;
    const float p = Clamp01(fr) * 10707.f;
    const bool header = p >= 8291.f;
    const float s = Clamp01(header ? (p - 8291.f) / 2416.f : p / 8291.f);
    const float Wb = (header ? 0.22564678f : 0.7743532f) * W;

    FinishRectCell(ps, Wb, H, s, t, cell);
    cell.brickU = 2 * k + (header ? 1 : 0);
    cell.brickV = j;
    cell.kind = header ? 1 : 0;
}

}  // namespace QuarelNS
