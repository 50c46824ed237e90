// Polygon-table tiles: each repeat cell holds the table's polygons, drawn in the tile's design
// square. A point takes the first polygon that contains it (crossing test); it is grout when it
// lies within a reach of any outline, scaled by the piece's box. Points in no polygon are grout
// and take the polygon whose box is nearest.
//
// The search structures skip polygons, runs of edges and edges whose boxes show that they cannot
// change the answer; every edge that is examined goes through the plain formulas, so the result
// is the one of a scan over every edge. With the tile's grid (table_tile_grid.h) a point first
// asks its grid cell, which knows the piece where no outline comes near and lists the few edges
// the reach test can need.
#include <algorithm>
#include <cmath>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/table_tile_grid.h"
#include "pattern/table_tile_search.h"
#include "pattern/table_tile_steps.h"

namespace QuarelNS {

namespace {

// Whether the point is farther than `reach` from the box along one axis: then every point of the
// box is farther than that.
inline bool BeyondBox(float x0, float x1, float y0, float y1, float px, float py, float reach) {
    return x0 - px > reach || px - x1 > reach || y0 - py > reach || py - y1 > reach;
}

// Crossing test of one polygon: flips an inside flag for each edge that straddles the line
// y = py with its crossing to the right of px.
bool InsidePiece(const PolygonTileSearch& table, const SearchPiece& piece, float px, float py) {
    // Below or above the polygon no edge straddles the line. Left of it every straddling edge
    // crosses to the right and they come in pairs; right of it none does.
    if (!(py >= piece.y0 && py < piece.y1) || px < piece.gx0 || px > piece.gx1) return false;
    const std::int32_t band =
        std::clamp(FloorToInt((py - piece.y0) * piece.bandScale), 0, kCrossingBands - 1);
    const std::uint16_t* slot = table.bandStart + piece.firstBand + band;
    bool inside = false;
    for (std::uint16_t k = slot[0]; k < slot[1]; ++k) {
        const SearchEdge& e = table.edges[table.bandEdges[k]];
        if ((e.yc > py) != (e.yp > py) && e.pcy != 0.f) {
            const float xs = (py - e.yc) * e.pcx / e.pcy + e.xc;
            if (xs > px) inside = !inside;
        }
    }
    return inside;
}

// Squared distance from the point to the segment P..C.
inline float EdgeDistanceSq(const SearchEdge& e, float px, float py) {
    float lambda = 0.f;
    if (e.len2 > 1e-12f) {
        lambda = Clamp01(((px - e.xp) * e.cpx + (py - e.yp) * e.cpy) / e.len2);
    }
    const float dx = px - (e.xp + lambda * e.cpx);
    const float dy = py - (e.yp + lambda * e.cpy);
    return dx * dx + dy * dy;
}

// Whether some outline of the table lies within `reach` of the point, that is whether the square
// root of the smallest squared edge distance is at most `reach` (the square root is monotonic, so
// any edge within reach decides it).
bool WithinReachOfOutline(const PolygonTileSearch& table, float px, float py, float reach) {
    for (std::int32_t k = 0; k < table.count; ++k) {
        const SearchPiece& piece = table.pieces[k];
        if (BeyondBox(piece.gx0, piece.gx1, piece.gy0, piece.gy1, px, py, reach)) continue;
        for (std::uint16_t r = piece.firstRun; r < piece.firstRun + piece.runCount; ++r) {
            const EdgeRun& run = table.runs[r];
            if (BeyondBox(run.x0, run.x1, run.y0, run.y1, px, py, reach)) continue;
            for (std::uint16_t i = run.first; i < run.first + run.count; ++i) {
                const SearchEdge& e = table.edges[i];
                if (BeyondBox(e.x0, e.x1, e.y0, e.y1, px, py, reach)) continue;
                if (reach >= std::sqrt(EdgeDistanceSq(e, px, py))) return true;
            }
        }
    }
    return false;
}

// The same answer from the grid cell: at most the edges that can be nearest to a point of the
// cell, in ascending order of their bounds (any edge within reach means the nearest is).
bool WithinReachOfOutline(const PolygonTileSearch& table, const PolygonTileGrid& grid,
                          const TileGridCell& cell, float px, float py, float reach) {
    if (reach < cell.nearLow) return false;
    if (reach >= cell.nearHigh) return true;
    for (std::uint32_t k = cell.nearFirst; k < cell.nearFirst + cell.nearCount; ++k) {
        const TileGridNear& n = grid.near[k];
        if (n.low > reach) break;
        if (reach >= std::sqrt(EdgeDistanceSq(table.edges[n.edge], px, py))) return true;
    }
    return false;
}

// The nearest outline point: its squared distance and the offset from it to the point.
struct OutlineNear {
    float d2 = std::numeric_limits<float>::infinity();
    float ox = 0.f;
    float oy = 0.f;
};

// The same formula as EdgeDistanceSq, keeping the offset of the nearest edge.
inline void NearerEdge(const SearchEdge& e, float px, float py, OutlineNear& n) {
    float lambda = 0.f;
    if (e.len2 > 1e-12f) {
        lambda = Clamp01(((px - e.xp) * e.cpx + (py - e.yp) * e.cpy) / e.len2);
    }
    const float dx = px - (e.xp + lambda * e.cpx);
    const float dy = py - (e.yp + lambda * e.cpy);
    const float d2 = dx * dx + dy * dy;
    if (d2 < n.d2) n = {d2, dx, dy};
}

// The nearest outline of any piece by the plain scan; boxes farther than the best so far are
// passed over.
OutlineNear NearestOutline(const PolygonTileSearch& table, float px, float py) {
    OutlineNear n;
    for (std::int32_t k = 0; k < table.count; ++k) {
        const SearchPiece& piece = table.pieces[k];
        if (BeyondBox(piece.gx0, piece.gx1, piece.gy0, piece.gy1, px, py, std::sqrt(n.d2))) {
            continue;
        }
        for (std::uint16_t r = piece.firstRun; r < piece.firstRun + piece.runCount; ++r) {
            const EdgeRun& run = table.runs[r];
            if (BeyondBox(run.x0, run.x1, run.y0, run.y1, px, py, std::sqrt(n.d2))) continue;
            for (std::uint16_t i = run.first; i < run.first + run.count; ++i) {
                NearerEdge(table.edges[i], px, py, n);
            }
        }
    }
    return n;
}

// The same from the grid cell, whose list holds every edge that can be nearest to one of its
// points, by ascending lower bound.
OutlineNear NearestOutline(const PolygonTileSearch& table, const PolygonTileGrid& grid,
                           const TileGridCell& cell, float px, float py) {
    OutlineNear n;
    for (std::uint32_t k = cell.nearFirst; k < cell.nearFirst + cell.nearCount; ++k) {
        const TileGridNear& e = grid.near[k];
        if (e.low * e.low > n.d2) break;
        NearerEdge(table.edges[e.edge], px, py, n);
    }
    return n;
}

}  // namespace

void PolygonTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                      const PolygonTileSearch& table, const PolygonTileGrid* grid) {
    const DesignPosition d = PlaceInDesignSquare(ps, u, v, table.size);
    const TileGridCell* gc = grid ? TileGridCellAt(*grid, d.px, d.py, table.size) : nullptr;

    std::int32_t piece = -1;
    if (gc && gc->piece != kTileGridMixed) {
        piece = gc->piece;  // no outline near the cell: its piece is every point's
    } else {
        for (std::int32_t k = 0; k < table.count; ++k) {
            if (InsidePiece(table, table.pieces[k], d.px, d.py)) {
                piece = k;
                break;
            }
        }
    }
    const bool found = piece >= 0;
    if (!found) {
        // Nearest box; a later polygon replaces the kept one only when strictly nearer.
        piece = 0;
        float nearestSq = std::numeric_limits<float>::infinity();
        for (std::int32_t k = 0; k < table.count; ++k) {
            const SearchPiece& p = table.pieces[k];
            const float sq = BoxDistanceSq(p.x0, p.x1, p.y0, p.y1, d.px, d.py);
            if (sq < nearestSq) {
                nearestSq = sq;
                piece = k;
            }
        }
    }

    const SearchPiece& p = table.pieces[piece];
    const BoxFace f = FaceOfBox(p.x0, p.x1, p.y0, p.y1, d, table.size);
    const float reach = (std::clamp(ps.gap_u, 0.f, 0.49f) + std::clamp(ps.gap_v, 0.f, 0.49f)) *
                        0.25f * std::min(f.wd, f.hd);
    if (found) {
        // The face comes from the grout finish, but the joint follows the outlines: curved and
        // slanted edges have no border test.
        const GroutFace g = GroutFinish(ps.gap_u, ps.gap_v, f.w, f.h, f.s, f.t);
        cell.isGrout = gc ? WithinReachOfOutline(table, *grid, *gc, d.px, d.py, reach)
                          : WithinReachOfOutline(table, d.px, d.py, reach);
        SetBrickLocalFrame(g.a, g.b, g.faceW, g.faceH, cell);
    } else {
        cell.isGrout = true;
        SetBrickLocalFrame(f.s, f.t, f.w, f.h, cell);
    }
    // The face is the piece less the joint's reach around every outline: on it the distance is
    // the outline's less the reach; in a joint inside a piece the reach less the outline's (a
    // lower bound of the way to the face, exact beside a side); outside every piece the two
    // added. Design units become tile units as DesignFactor says (exact with equal counts).
    if (ps.wantJointDist) {
        const OutlineNear n =
            gc ? NearestOutline(table, *grid, *gc, d.px, d.py) : NearestOutline(table, d.px, d.py);
        const float outline = std::sqrt(n.d2);
        const float edge = found ? outline - reach : -(outline + reach);
        const float S = table.size;
        const DesignJacobian jac{S * d.nu, 0.f, 0.f, -S * d.nv};
        cell.jointDist = JointDistance(edge * DesignFactor(n.ox, n.oy, jac), cell.isGrout);
    }

    cell.brickU = table.stride * d.a + piece;
    cell.brickV = d.b;
    cell.kind = p.kind;
}

}  // namespace QuarelNS
