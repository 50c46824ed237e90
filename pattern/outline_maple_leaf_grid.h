// A uniform grid over the maple leaf's design box that tells, per cell, which few chords a point
// of that cell must look at, so that a query reads a handful of chords instead of all 288:
// - for the crossing parity: the chords near the cell, tested in full, and chains of consecutive
//   chords that lie wholly right of the cell (or never straddle its heights). A chain's straddle
//   count at height Y has the parity of (end.y > Y) != (start.y > Y), since its inner points
//   cancel in pairs, so each chain costs two comparisons and every crossing on it counts;
// - for the nearest chord: the chords that can be nearest to some point of the cell, ordered by
//   a lower bound of their distance, so that a search stops at the first bound beyond its need;
// - a cell that no chord comes near (within two units) lies wholly inside or outside the leaf,
//   and says which.
//
// Cells are grown by one design unit on every side before anything is decided for them, so that
// a point whose cell index rounds to a neighbour is still covered. Bounds have one more unit of
// slack, far above the float rounding of a chord distance at these magnitudes (thousandths).
//
// The grid covers the leaf's box grown by the widest grout reach (gap widths are held to 0.45),
// so every candidate the generator tests lies in it. It is built once, on first use, into
// static storage of fixed size: no allocation, and nothing is written after the build. Should
// a list ever outgrow its capacity the build is marked incomplete and the generator keeps to
// its band and box search.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/outline_maple_leaf_chords.h"

namespace QuarelNS {

constexpr int kLeafGridSide = 32;
constexpr float kLeafGridStep = 220.f;
constexpr float kLeafGridInvStep = 1.f / kLeafGridStep;
constexpr float kLeafGridX0 = -900.f;
constexpr float kLeafGridY0 = -3050.f;
constexpr float kLeafGridX1 = kLeafGridX0 + kLeafGridSide * kLeafGridStep;  // 6140
constexpr float kLeafGridY1 = kLeafGridY0 + kLeafGridSide * kLeafGridStep;  // 3990

// The widest candidate reach: the lattice's shorter vector times the largest mean width 0.45,
// a quarter of it, and 2 more units.
static_assert(kLeafGridX0 < kLeafMinX - 544.f && kLeafGridX1 > kLeafMaxX + 544.f &&
                  kLeafGridY0 < kLeafMinY - 544.f && kLeafGridY1 > kLeafMaxY + 544.f,
              "the grid covers every candidate position");

// Lists of one cell: [first, first + count) in the grid's arrays.
struct LeafGridCell {
    std::uint16_t crossFirst, chainFirst, nearFirst, nearCount;
    std::uint8_t crossCount;  // chords tested in full for the parity
    std::uint8_t chainCount;  // chains whose every crossing counts
    std::int8_t inside;       // 1 or 0 when no chord comes near the cell, else -1: test per point
    float nearBound2;         // the first candidate's bound: a deep point's search ends here
};

struct LeafGridCrossChord {
    float x0, y0, x1, y1;
};

struct LeafGridChain {
    float yStart, yEnd;
};

struct LeafGridNear {
    float bound2;         // below the squared distance of any point of the cell to the chord
    std::uint32_t chord;  // index into kLeafChords
};

// The candidate leaves of a point by its position (fu, fv) in its lattice cell: of the nine
// neighbouring cells, those whose leaf box, grown by `reach`, some point of the offset cell
// lies in, in the generator's search order. A candidate is tested only when the joint's reach
// is at least that; the generator's own box test then decides as before.
constexpr int kLeafOffsetSide = 16;

struct LeafOffsetCandidate {
    std::uint16_t reach;  // rounded down
    std::int8_t di, dj;
};

struct LeafOffsetCell {
    std::uint8_t count;
    LeafOffsetCandidate candidates[9];
};

// Most points lie well inside one leaf and outside every other: a finer grid over the offset
// (fu, fv) names that leaf for every point of a cell where it holds for the whole cell (each of
// the nine candidates' images of the cell is more than two units from that leaf's outline),
// with a lower bound of the distance to its outline. Such a point has exactly one containing
// candidate whatever the joint's width, so the generator goes straight to that leaf's grout
// test.
constexpr int kLeafSettledSide = 64;

struct LeafSettledCell {
    std::int8_t di, dj;
    std::uint8_t settled;  // 1: every point of the cell lies in leaf (di, dj) and in no other
    float clear;           // below the distance of any point of the cell to that leaf's outline
};

constexpr int kLeafGridCrossCapacity = 2048;
constexpr int kLeafGridChainCapacity = 2048;
constexpr int kLeafGridNearCapacity = 24576;

struct LeafGrid {
    bool complete = false;
    std::array<LeafGridCell, kLeafGridSide * kLeafGridSide> cells{};
    std::array<LeafGridCrossChord, kLeafGridCrossCapacity> cross{};
    std::array<LeafGridChain, kLeafGridChainCapacity> chains{};
    std::array<LeafGridNear, kLeafGridNearCapacity> near{};
    std::array<LeafOffsetCell, kLeafOffsetSide * kLeafOffsetSide> offsets{};
    std::array<LeafSettledCell, kLeafSettledSide * kLeafSettledSide> settled{};
};

// The grid, built on the first call (thread-safe).
const LeafGrid& MapleLeafGrid();

// Index of the cell holding (X, Y) for a point inside the grid's extent, else -1.
inline int LeafGridCellIndex(float X, float Y) {
    if (!(X >= kLeafGridX0 && X <= kLeafGridX1 && Y >= kLeafGridY0 && Y <= kLeafGridY1)) {
        return -1;
    }
    // Non-negative here, so the conversion truncates to the floor.
    const int i = static_cast<int>((X - kLeafGridX0) * kLeafGridInvStep);
    const int j = static_cast<int>((Y - kLeafGridY0) * kLeafGridInvStep);
    return (j < kLeafGridSide ? j : kLeafGridSide - 1) * kLeafGridSide +
           (i < kLeafGridSide ? i : kLeafGridSide - 1);
}

// Squared distance to the chord, the projection parameter clamped to the chord.
inline float LeafChordDistance2(const LeafChord& c, float X, float Y) {
    float t = 0.f;
    if (c.len2 > 1e-8f) t = ((X - c.x0) * c.dx + (Y - c.y0) * c.dy) / c.len2;
    t = Clamp01(t);
    const float ex = X - (c.x0 + t * c.dx);
    const float ey = Y - (c.y0 + t * c.dy);
    return ex * ex + ey * ey;
}

// The crossing parity of (X, Y) from its grid cell: chains right of the point by their end
// heights, the chords near it by the full test, as the plain method tests each chord.
inline bool LeafGridInside(const LeafGrid& grid, const LeafGridCell& cell, float X, float Y) {
    if (cell.inside >= 0) return cell.inside != 0;
    bool inside = false;
    for (int k = cell.chainFirst; k < cell.chainFirst + cell.chainCount; ++k) {
        const LeafGridChain& c = grid.chains[static_cast<std::size_t>(k)];
        inside ^= (c.yEnd > Y) != (c.yStart > Y);
    }
    for (int k = cell.crossFirst; k < cell.crossFirst + cell.crossCount; ++k) {
        const LeafGridCrossChord& c = grid.cross[static_cast<std::size_t>(k)];
        if ((c.y1 > Y) == (c.y0 > Y)) continue;
        if ((c.x1 - c.x0) * (Y - c.y0) / (c.y1 - c.y0) + c.x0 > X) inside = !inside;
    }
    return inside;
}

// The smallest squared chord distance of (X, Y) when it is at most `bound`, else some value
// above `bound`, from its grid cell's candidates in ascending order of their bounds: once a
// bound exceeds what is still needed, so do all later ones.
inline float LeafGridNearest2(const LeafGrid& grid, const LeafGridCell& cell, float X, float Y,
                              float bound) {
    float best = std::numeric_limits<float>::infinity();
    if (cell.nearBound2 > bound) return best;
    for (int k = cell.nearFirst; k < cell.nearFirst + cell.nearCount; ++k) {
        const LeafGridNear& n = grid.near[static_cast<std::size_t>(k)];
        if (n.bound2 > std::min(best, bound)) break;
        best = std::min(best, LeafChordDistance2(kLeafChords[n.chord], X, Y));
    }
    return best;
}

// Index of the offset cell of (fu, fv) in [0, 1]^2.
inline int LeafOffsetCellIndex(float fu, float fv) {
    const int i = std::clamp(static_cast<int>(fu * kLeafOffsetSide), 0, kLeafOffsetSide - 1);
    const int j = std::clamp(static_cast<int>(fv * kLeafOffsetSide), 0, kLeafOffsetSide - 1);
    return j * kLeafOffsetSide + i;
}

// Index of the settled cell of (fu, fv) in [0, 1]^2.
inline int LeafSettledCellIndex(float fu, float fv) {
    const int i = std::clamp(static_cast<int>(fu * kLeafSettledSide), 0, kLeafSettledSide - 1);
    const int j = std::clamp(static_cast<int>(fv * kLeafSettledSide), 0, kLeafSettledSide - 1);
    return j * kLeafSettledSide + i;
}

}  // namespace QuarelNS
