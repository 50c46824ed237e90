// Search structures of the table-driven tiles, derived from the constant tables at compile time:
// snapped rectangles, and for polygon tables the snapped edges with their boxes, runs of edges
// with a common box, and horizontal bands listing the edges a crossing test must look at.
//
// They only let the generators skip work whose result is known: every per-edge formula is
// evaluated exactly as on the plain tables, so results are bit-identical to a scan of every edge.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "pattern/pattern_types.h"
#include "pattern/table_tile_data.h"
#include "pattern/table_tile_steps.h"

namespace QuarelNS {

// Boxes used to skip edges are grown by this many design units. The per-edge formulas round by
// far less than that at design coordinates below 2^16, so an edge whose grown box lies beyond a
// distance provably does not come nearer than it, and a crossing beyond the box cannot happen.
inline constexpr float kSearchMargin = 1.f;
inline constexpr int kCrossingBands = 32;  // per polygon, over its height
inline constexpr int kEdgeRunLength = 8;   // edges per run box in the outline distance

struct SnappedRect {
    float x0, x1, y0, y1;
    std::int32_t kind;
};

struct RectTileSearch {
    const SnappedRect* rects;
    std::int32_t count;
    float size;
    std::int32_t stride;
};

// An outline edge from P to C, with the differences both formulas use.
struct SearchEdge {
    float xp, yp;          // P
    float xc, yc;          // C
    float cpx, cpy;        // C - P
    float pcx, pcy;        // P - C
    float len2;            // |C - P|^2
    float x0, x1, y0, y1;  // box of the edge, grown by kSearchMargin
};

// Consecutive edges of one polygon under one grown box.
struct EdgeRun {
    float x0, x1, y0, y1;
    std::uint16_t first;
    std::uint16_t count;
};

struct SearchPiece {
    float x0, x1, y0, y1;      // box of the snapped vertices
    float gx0, gx1, gy0, gy1;  // the same, grown by kSearchMargin
    float bandScale;           // crossing bands per design unit above y0
    std::int32_t kind;
    std::uint16_t firstRun;
    std::uint16_t runCount;
    std::uint16_t firstBand;  // into bandStart: kCrossingBands + 1 offsets into bandEdges
};

struct PolygonTileSearch {
    const SearchPiece* pieces;
    std::int32_t count;
    const SearchEdge* edges;
    std::int32_t edgeCount;
    const EdgeRun* runs;
    const std::uint16_t* bandStart;
    const std::uint16_t* bandEdges;
    float size;
    std::int32_t stride;
};

// Generic generators over a table; the pattern ids are thin wrappers around them.
void RectTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                   const RectTileSearch& table);
struct PolygonTileGrid;
// `grid` may be null: the generator then searches the table alone, with the same results.
void PolygonTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                      const PolygonTileSearch& table, const PolygonTileGrid* grid);

namespace table_search_detail {

constexpr float Min(float a, float b) {
    return b < a ? b : a;
}
constexpr float Max(float a, float b) {
    return a < b ? b : a;
}

constexpr DesignPoint SnappedVertex(const PolygonTile& poly, int k, float S) {
    return {SnapDesign(poly.vertices[k].x, S), SnapDesign(poly.vertices[k].y, S)};
}

// Edge e of a polygon runs from vertex e - 1 to vertex e, starting with last -> first.
constexpr SearchEdge MakeEdge(const PolygonTile& poly, int e, float S) {
    const DesignPoint p = SnappedVertex(poly, (e + poly.count - 1) % poly.count, S);
    const DesignPoint c = SnappedVertex(poly, e, S);
    SearchEdge r{};
    r.xp = p.x;
    r.yp = p.y;
    r.xc = c.x;
    r.yc = c.y;
    r.cpx = c.x - p.x;
    r.cpy = c.y - p.y;
    r.pcx = p.x - c.x;
    r.pcy = p.y - c.y;
    r.len2 = r.cpx * r.cpx + r.cpy * r.cpy;
    r.x0 = Min(p.x, c.x) - kSearchMargin;
    r.x1 = Max(p.x, c.x) + kSearchMargin;
    r.y0 = Min(p.y, c.y) - kSearchMargin;
    r.y1 = Max(p.y, c.y) + kSearchMargin;
    return r;
}

constexpr SearchPiece PieceBox(const PolygonTile& poly, float S) {
    SearchPiece r{};
    const DesignPoint first = SnappedVertex(poly, 0, S);
    r.x0 = r.x1 = first.x;
    r.y0 = r.y1 = first.y;
    for (int k = 1; k < poly.count; ++k) {
        const DesignPoint q = SnappedVertex(poly, k, S);
        r.x0 = Min(r.x0, q.x);
        r.x1 = Max(r.x1, q.x);
        r.y0 = Min(r.y0, q.y);
        r.y1 = Max(r.y1, q.y);
    }
    r.gx0 = r.x0 - kSearchMargin;
    r.gx1 = r.x1 + kSearchMargin;
    r.gy0 = r.y0 - kSearchMargin;
    r.gy1 = r.y1 + kSearchMargin;
    r.bandScale = r.y1 > r.y0 ? static_cast<float>(kCrossingBands) / (r.y1 - r.y0) : 0.f;
    r.kind = poly.kind;
    return r;
}

// Calls visit(piece, band, edge) for every edge a crossing test in that band must examine: the
// edges that are not horizontal (those never straddle a line) and whose y span meets the band's
// y range, grown by the margin so that rounding in the band index cannot lose an edge.
template <class Visit>
constexpr void ForEachBandEdge(const PolygonTileTable& t, Visit visit) {
    int edgeBase = 0;
    for (int k = 0; k < static_cast<int>(t.rows.size()); ++k) {
        const PolygonTile& poly = t.rows[k];
        const SearchPiece box = PieceBox(poly, t.size);
        for (int band = 0; band < kCrossingBands; ++band) {
            double lo = -1e30, hi = 1e30;
            if (box.bandScale > 0.f) {
                lo = box.y0 + band / static_cast<double>(box.bandScale) - kSearchMargin;
                hi = box.y0 + (band + 1) / static_cast<double>(box.bandScale) + kSearchMargin;
            }
            for (int e = 0; e < poly.count; ++e) {
                const SearchEdge edge = MakeEdge(poly, e, t.size);
                if (edge.yp == edge.yc) continue;
                if (Min(edge.yp, edge.yc) <= hi && Max(edge.yp, edge.yc) >= lo) {
                    visit(k, band, edgeBase + e);
                }
            }
        }
        edgeBase += poly.count;
    }
}

constexpr std::size_t CountEdges(const PolygonTileTable& t) {
    std::size_t n = 0;
    for (const PolygonTile& p : t.rows) n += static_cast<std::size_t>(p.count);
    return n;
}

constexpr std::size_t CountRuns(const PolygonTileTable& t) {
    std::size_t n = 0;
    for (const PolygonTile& p : t.rows) {
        n += static_cast<std::size_t>((p.count + kEdgeRunLength - 1) / kEdgeRunLength);
    }
    return n;
}

constexpr std::size_t CountBandEdges(const PolygonTileTable& t) {
    std::size_t n = 0;
    ForEachBandEdge(t, [&n](int, int, int) { ++n; });
    return n;
}

// The tables are constant: a polygon without area or an index beyond 16 bits is a build error.
constexpr bool IsSearchable(const PolygonTileTable& t) {
    if (t.rows.empty()) return false;
    for (const PolygonTile& p : t.rows) {
        if (p.count < 3) return false;
    }
    return CountEdges(t) < 65536 && CountBandEdges(t) < 65536;
}

}  // namespace table_search_detail

template <std::size_t N>
struct RectTileSearchData {
    std::array<SnappedRect, N> rects{};
    float size = 0.f;
    std::int32_t stride = 0;

    constexpr RectTileSearch View() const {
        return {rects.data(), static_cast<std::int32_t>(N), size, stride};
    }
};

template <const RectTileTable& T>
constexpr auto BuildRectTileSearch() {
    RectTileSearchData<T.rows.size()> d;
    d.size = T.size;
    d.stride = T.stride;
    for (std::size_t k = 0; k < T.rows.size(); ++k) {
        const RectTile& r = T.rows[k];
        d.rects[k] = {SnapDesign(r.x, T.size), SnapDesign(r.x + r.width, T.size),
                      SnapDesign(r.y, T.size), SnapDesign(r.y + r.height, T.size), r.kind};
    }
    return d;
}

template <std::size_t P, std::size_t E, std::size_t R, std::size_t B>
struct PolygonTileSearchData {
    std::array<SearchPiece, P> pieces{};
    std::array<SearchEdge, E> edges{};
    std::array<EdgeRun, R> runs{};
    std::array<std::uint16_t, P*(kCrossingBands + 1)> bandStart{};
    std::array<std::uint16_t, B> bandEdges{};
    float size = 0.f;
    std::int32_t stride = 0;

    constexpr PolygonTileSearch View() const {
        return {pieces.data(),
                static_cast<std::int32_t>(P),
                edges.data(),
                static_cast<std::int32_t>(E),
                runs.data(),
                bandStart.data(),
                bandEdges.data(),
                size,
                stride};
    }
};

template <const PolygonTileTable& T>
constexpr auto BuildPolygonTileSearch() {
    namespace detail = table_search_detail;
    static_assert(detail::IsSearchable(T), "polygon table without area or too large");
    PolygonTileSearchData<T.rows.size(), detail::CountEdges(T), detail::CountRuns(T),
                          detail::CountBandEdges(T)>
        d;
    d.size = T.size;
    d.stride = T.stride;

    std::size_t edge = 0, run = 0;
    for (std::size_t k = 0; k < T.rows.size(); ++k) {
        const PolygonTile& poly = T.rows[k];
        SearchPiece& piece = d.pieces[k];
        piece = detail::PieceBox(poly, T.size);
        piece.firstRun = static_cast<std::uint16_t>(run);
        piece.firstBand = static_cast<std::uint16_t>(k * (kCrossingBands + 1));
        for (int e = 0; e < poly.count; ++e) {
            d.edges[edge + static_cast<std::size_t>(e)] = detail::MakeEdge(poly, e, T.size);
        }
        for (int first = 0; first < poly.count; first += kEdgeRunLength) {
            const int count = detail::Min(poly.count - first, kEdgeRunLength);
            EdgeRun& r = d.runs[run++];
            const SearchEdge& e0 = d.edges[edge + static_cast<std::size_t>(first)];
            r = {e0.x0,
                 e0.x1,
                 e0.y0,
                 e0.y1,
                 static_cast<std::uint16_t>(edge + first),
                 static_cast<std::uint16_t>(count)};
            for (int e = 1; e < count; ++e) {
                const SearchEdge& q = d.edges[edge + static_cast<std::size_t>(first + e)];
                r.x0 = detail::Min(r.x0, q.x0);
                r.x1 = detail::Max(r.x1, q.x1);
                r.y0 = detail::Min(r.y0, q.y0);
                r.y1 = detail::Max(r.y1, q.y1);
            }
        }
        piece.runCount = static_cast<std::uint16_t>(run - piece.firstRun);
        edge += static_cast<std::size_t>(poly.count);
    }

    // Band lists, in piece and band order, so each band's offset range is contiguous.
    std::size_t fill = 0;
    int lastSlot = -1;
    detail::ForEachBandEdge(T, [&](int k, int band, int e) {
        const int slot = k * (kCrossingBands + 1) + band;
        while (lastSlot < slot)
            d.bandStart[static_cast<std::size_t>(++lastSlot)] = static_cast<std::uint16_t>(fill);
        d.bandEdges[fill++] = static_cast<std::uint16_t>(e);
    });
    while (lastSlot + 1 < static_cast<int>(d.bandStart.size())) {
        d.bandStart[static_cast<std::size_t>(++lastSlot)] = static_cast<std::uint16_t>(fill);
    }
    return d;
}

}  // namespace QuarelNS
