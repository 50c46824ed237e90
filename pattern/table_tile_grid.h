// A uniform grid over a polygon tile's design square that answers most of a point's questions
// from its cell:
// - a cell that no outline comes near (within two design units, grown cell included) lies wholly
//   in one piece or in none, so its points take that piece without a crossing test;
// - the reach test asks whether some edge lies within the joint's reach of the point, which holds
//   exactly when the nearest edge does. A cell lists the edges that can be nearest to one of its
//   points, by ascending lower bound of their distance, with a bound below which no edge is and
//   one within which some edge always is.
//
// Cells are grown by one design unit on every side before anything is decided for them, so that
// a point whose cell index rounds to a neighbour is still covered, and bounds have one more unit
// of slack, far above the float rounding of the per-edge formulas at design coordinates below
// 2^16. The grid is built once per tile, on first use, into static storage of fixed size; should
// the lists outgrow it the build is marked incomplete and the generator keeps to its searches.
#pragma once

#include <array>
#include <cstdint>

#include "pattern/table_tile_search.h"

namespace QuarelNS {

constexpr int kTileGridSide = 48;
constexpr std::int16_t kTileGridMixed = -2;  // an outline crosses the cell: test per point

struct TileGridCell {
    std::int16_t piece;  // the piece holding every point of the cell, -1 for none, or Mixed
    std::uint16_t nearCount;
    std::uint32_t nearFirst;
    float nearLow;   // no edge is nearer than this to a point of the cell
    float nearHigh;  // some edge is at most this far from every point of the cell
};

struct TileGridNear {
    float low;  // below the distance of any point of the cell to the edge
    std::uint32_t edge;
};

constexpr int kTileGridNearCapacity = 16384;
constexpr int kTileGridMaxEdges = 256;  // a cell's list holds at most every edge

struct PolygonTileGrid {
    bool complete = false;
    float cellsPerUnit = 0.f;
    std::array<TileGridCell, kTileGridSide * kTileGridSide> cells{};
    std::array<TileGridNear, kTileGridNearCapacity> near{};
};

void BuildPolygonTileGrid(const PolygonTileSearch& table, PolygonTileGrid& grid);

// The grids of Parquet Tile 2 and 3, built on first use (thread-safe).
const PolygonTileGrid& ParquetTile2Grid();
const PolygonTileGrid& ParquetTile3Grid();

// The cell of design point (px, py), or null outside the design square or with an incomplete
// grid.
inline const TileGridCell* TileGridCellAt(const PolygonTileGrid& g, float px, float py, float S) {
    if (!g.complete || !(px >= 0.f && px <= S && py >= 0.f && py <= S)) return nullptr;
    // Non-negative here, so the conversion truncates to the floor.
    const int i = static_cast<int>(px * g.cellsPerUnit);
    const int j = static_cast<int>(py * g.cellsPerUnit);
    return &g.cells[static_cast<std::size_t>((j < kTileGridSide ? j : kTileGridSide - 1) *
                                                 kTileGridSide +
                                             (i < kTileGridSide ? i : kTileGridSide - 1))];
}

}  // namespace QuarelNS
