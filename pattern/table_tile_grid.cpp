#include "pattern/table_tile_grid.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>

#include "pattern/grid_geometry.h"

namespace QuarelNS {

namespace {

using namespace grid_geometry;

constexpr double kCellGrowth = 1.0;  // covers a point whose cell index rounded to a neighbour
constexpr double kSlack = 1.0;       // covers float rounding of the per-edge formulas

Seg EdgeSeg(const SearchEdge& e) {
    return {e.xp, e.yp, e.xc, e.yc};
}

// Edges of piece k: its runs cover them in one contiguous range.
std::pair<int, int> PieceEdges(const PolygonTileSearch& t, int k) {
    const SearchPiece& p = t.pieces[k];
    const EdgeRun& first = t.runs[p.firstRun];
    const EdgeRun& last = t.runs[p.firstRun + p.runCount - 1];
    return {first.first, last.first + last.count};
}

// Exact point-in-polygon by the generator's own rule (an edge counts when it straddles the line
// y = py, half-open, with its crossing right of px), in double.
bool Contains(const PolygonTileSearch& t, int k, double px, double py) {
    const auto [first, end] = PieceEdges(t, k);
    bool inside = false;
    for (int i = first; i < end; ++i) {
        const SearchEdge& e = t.edges[i];
        if ((e.yc > py) == (e.yp > py)) continue;
        const double xs = (py - e.yc) * (double{e.xp} - e.xc) / (double{e.yp} - e.yc) + e.xc;
        if (xs > px) inside = !inside;
    }
    return inside;
}

}  // namespace

void BuildPolygonTileGrid(const PolygonTileSearch& table, PolygonTileGrid& g) {
    g.complete = false;
    g.cellsPerUnit = static_cast<float>(kTileGridSide) / table.size;
    if (table.edgeCount > kTileGridMaxEdges) return;  // incomplete: the generator searches
    std::array<Seg, kTileGridMaxEdges> all;
    for (int i = 0; i < table.edgeCount; ++i)
        all[static_cast<std::size_t>(i)] = EdgeSeg(table.edges[i]);
    const std::span<const Seg> segs(all.data(), static_cast<std::size_t>(table.edgeCount));
    std::array<double, kTileGridMaxEdges> dist;

    const double step = static_cast<double>(table.size) / kTileGridSide;
    std::size_t near = 0;
    for (int j = 0; j < kTileGridSide; ++j) {
        for (int i = 0; i < kTileGridSide; ++i) {
            TileGridCell& cell = g.cells[static_cast<std::size_t>(j * kTileGridSide + i)];
            const Rect r{i * step - kCellGrowth, j * step - kCellGrowth,
                         (i + 1) * step + kCellGrowth, (j + 1) * step + kCellGrowth};
            const double reach = NearSegments(r, segs, dist, 2.0 * kSlack);
            const double nearest = *std::min_element(dist.begin(), dist.begin() + table.edgeCount);

            cell.piece = kTileGridMixed;
            if (nearest > 2.0 * kSlack) {
                cell.piece = -1;
                const double cx = (i + 0.5) * step, cy = (j + 0.5) * step;
                for (int k = 0; k < table.count; ++k) {
                    if (Contains(table, k, cx, cy)) {
                        cell.piece = static_cast<std::int16_t>(k);
                        break;
                    }
                }
            }

            cell.nearFirst = static_cast<std::uint32_t>(near);
            for (std::size_t e = 0; e < segs.size(); ++e) {
                if (dist[e] > reach + 2.0 * kSlack) continue;
                if (near >= g.near.size()) return;  // incomplete: the generator searches
                g.near[near++] = {FloatAtMost(std::max(0.0, dist[e] - kSlack)),
                                  static_cast<std::uint32_t>(e)};
            }
            cell.nearCount = static_cast<std::uint16_t>(near - cell.nearFirst);
            std::sort(g.near.begin() + cell.nearFirst, g.near.begin() + near,
                      [](const TileGridNear& a, const TileGridNear& b) {
                          return a.low < b.low || (a.low == b.low && a.edge < b.edge);
                      });
            cell.nearLow = g.near[cell.nearFirst].low;
            cell.nearHigh = FloatAtLeast(reach + kSlack);
        }
    }
    g.complete = true;
}

}  // namespace QuarelNS
