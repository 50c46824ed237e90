// Paving Tile 2: big and small squares in the pinwheel arrangement, on a lattice rotated against
// UV so that the tile repeats seamlessly. Each lattice cell holds one big square at its corner
// and one small square below that corner.
#include <cmath>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/table_tile_data.h"
#include "pattern/table_tile_steps.h"

namespace QuarelNS {

namespace {

// Up to this many lattice cells per unit tile, every square corner is an integer below 2^24
// (exact in float) and the design point lies within 3 units of its exact lattice image, so the
// square that holds it is among the few around its lattice cell.
constexpr std::int32_t kNearScanCells = 4096;
constexpr std::int32_t kFullScanReach = 4;  // cells searched on each side by the plain scan

struct SquareBox {
    float x0, x1, y0, y1;
};

inline SquareBox SquareOf(std::int32_t i, std::int32_t j, bool small) {
    const float fi = static_cast<float>(i);
    const float fj = static_cast<float>(j);
    const float X0 = kPinwheelBig * fi + kPinwheelOffsetX - kPinwheelSmall * fj;
    const float Y0 = kPinwheelSmall * fi + kPinwheelOffsetY + kPinwheelBig * fj;
    if (small) return {X0, X0 + kPinwheelSmall, Y0 - kPinwheelSmall, Y0};
    return {X0, X0 + kPinwheelBig, Y0, Y0 + kPinwheelBig};
}

inline bool Holds(const SquareBox& b, float X, float Y) {
    return X >= b.x0 && X <= b.x1 && Y >= b.y0 && Y <= b.y1;
}

struct LatticeHit {
    std::int32_t i = 0;
    std::int32_t j = 0;
    bool small = false;
    bool found = false;
};

// The plain search: every square of the 9 x 9 cells around the point, big before small; the
// last square that holds the point wins, and while none does, the first strictly nearest.
LatticeHit FullScan(float X, float Y, std::int32_t ci, std::int32_t cj) {
    LatticeHit hit;
    float nearestSq = std::numeric_limits<float>::infinity();
    for (std::int32_t j = cj - kFullScanReach; j <= cj + kFullScanReach; ++j) {
        for (std::int32_t i = ci - kFullScanReach; i <= ci + kFullScanReach; ++i) {
            for (const bool small : {false, true}) {
                const SquareBox b = SquareOf(i, j, small);
                if (Holds(b, X, Y)) {
                    hit = {i, j, small, true};
                } else if (!hit.found) {
                    const float sq = BoxDistanceSq(b.x0, b.x1, b.y0, b.y1, X, Y);
                    if (sq < nearestSq) {
                        nearestSq = sq;
                        hit = {i, j, small, false};
                    }
                }
            }
        }
    }
    return hit;
}

// The same answer from the only squares that can hold the point when the lattice is exact: in
// lattice coordinates relative to its cell the point lies in [0, 1)^2, a big square spans
// [0, 1.14] x [-0.17, 0.97] of its cell and a small one [-0.03, 0.17] x [-0.2, 0], so only the
// big squares of cells (ci - 1 .. ci + 1, cj .. cj + 1) and the small squares of cells
// (ci .. ci + 1, cj .. cj + 1) qualify. Scanned in the plain search's order.
LatticeHit NearScan(float X, float Y, std::int32_t ci, std::int32_t cj) {
    LatticeHit hit;
    for (std::int32_t j = cj; j <= cj + 1; ++j) {
        for (std::int32_t i = ci - 1; i <= ci + 1; ++i) {
            if (Holds(SquareOf(i, j, false), X, Y)) hit = {i, j, false, true};
            if (i >= ci && Holds(SquareOf(i, j, true), X, Y)) hit = {i, j, true, true};
        }
    }
    return hit;
}

// Non-negative remainder.
inline std::int32_t Wrap(std::int32_t i, std::int32_t n) {
    const std::int32_t r = i % n;
    return r < 0 ? r + n : r;
}

}  // namespace

void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    // Six lattice cells per six counts, rounded up: counts 1 to 6 give the same tile.
    const std::int32_t cellsU = 6 * ((std::max(ps.nx, 1) - 1) / 6 + 1);
    const std::int32_t cellsV = 6 * ((std::max(ps.ny, 1) - 1) / 6 + 1);
    const float fcu = static_cast<float>(cellsU);
    const float fcv = static_cast<float>(cellsV);
    const float x1 = fcu * u;
    const float x2 = fcv * (1.f - v);
    const float X = kPinwheelBig * x1 + kPinwheelOffsetX - kPinwheelSmall * x2;
    const float Y = kPinwheelSmall * x1 + kPinwheelOffsetY + kPinwheelBig * x2;
    const std::int32_t ci = FloorToInt(x1);
    const std::int32_t cj = FloorToInt(x2);

    LatticeHit hit;
    if (cellsU <= kNearScanCells && cellsV <= kNearScanCells) hit = NearScan(X, Y, ci, cj);
    if (!hit.found) hit = FullScan(X, Y, ci, cj);

    const SquareBox b = SquareOf(hit.i, hit.j, hit.small);
    const float e = hit.small ? kPinwheelSmall : kPinwheelBig;
    const float s = Clamp01(e <= 1e-6f ? 0.5f : (X - b.x0) / e);
    const float t = Clamp01(e <= 1e-6f ? 0.5f : 1.f - (Y - b.y0) / e);

    // The square's sides in UV: the design axes mapped through the lattice.
    const float au = kPinwheelBig / fcu, av = kPinwheelSmall / fcv;
    const float bu = kPinwheelSmall / fcu, bv = kPinwheelBig / fcv;
    const float faceW = (e / kPinwheelCellArea) * std::sqrt(au * au + av * av);
    const float faceH = (e / kPinwheelCellArea) * std::sqrt(bu * bu + bv * bv);

    const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, faceW, faceH, s, t);
    cell.isGrout = hit.found ? g.isGrout : true;
    // The squares are parallelograms in the tile: the distance to a side is the face coordinate
    // over its gradient's length (X and Y run along the lattice, sheared when the counts differ).
    {
        const float rawS = e <= 1e-6f ? 0.5f : (X - b.x0) / e;
        const float rawT = e <= 1e-6f ? 0.5f : 1.f - (Y - b.y0) / e;
        const GroutFace r = GroutFinish(ps.gap_u, ps.gap_v, faceW, faceH, rawS, rawT);
        const float xu = kPinwheelBig * fcu, xv = kPinwheelSmall * fcv;
        const float yu = kPinwheelSmall * fcu, yv = kPinwheelBig * fcv;
        const float unitA = r.faceW / faceW * e / std::sqrt(xu * xu + xv * xv);
        const float unitB = r.faceH / faceH * e / std::sqrt(yu * yu + yv * yv);
        if (ps.wantJointDist)
            cell.jointDist = JointDistance(RectFaceDistance(r.a, r.b, unitA, unitB), cell.isGrout);
    }
    SetBrickLocalFrame(g.a, g.b, g.faceW, g.faceH, cell);

    cell.kind = hit.small ? 1 : 0;
    cell.brickU = 2 * Wrap(hit.i, cellsU) + cell.kind;
    cell.brickV = Wrap(hit.j, cellsV);
}

}  // namespace QuarelNS
