#include "pattern/outline_maple_leaf_grid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "pattern/grid_geometry.h"
#include "pattern/outline_maple_leaf_chords.h"

namespace QuarelNS {

namespace {

using namespace grid_geometry;

// Geometry of the build, in double: it decides only which chords a cell lists, never a result.
constexpr double kCellGrowth = 1.0;  // covers a point whose cell index rounded to a neighbour
constexpr double kSlack = 1.0;       // covers float rounding of the per-chord formulas

Seg ChordSeg(std::size_t i) {
    return {kLeafPoints[i].x, kLeafPoints[i].y, kLeafPoints[i + 1].x, kLeafPoints[i + 1].y};
}

// The crossing parity by the generator's rule, in double.
bool ContainsExactly(double x, double y) {
    bool inside = false;
    for (std::size_t i = 0; i < kLeafChordCount; ++i) {
        const Seg s = ChordSeg(i);
        if ((s.by > y) == (s.ay > y)) continue;
        if ((s.bx - s.ax) * (y - s.ay) / (s.by - s.ay) + s.ax > x) inside = !inside;
    }
    return inside;
}

enum class Tag { Full, Right, Left, Never };

// How chord i bears on the crossing parity of points of the rectangle.
Tag CrossTag(std::size_t i, const Rect& r) {
    const Seg s = ChordSeg(i);
    if (std::max(s.ay, s.by) < r.y0 || std::min(s.ay, s.by) > r.y1) return Tag::Never;
    // The generator's own test relies on the same margin: a crossing lies within one unit of
    // the chord's x extent.
    if (std::min(s.ax, s.bx) - 2.0 * kSlack > r.x1) return Tag::Right;
    if (std::max(s.ax, s.bx) + 2.0 * kSlack < r.x0) return Tag::Left;
    return Tag::Full;
}

struct Builder {
    LeafGrid& g;
    int cross = 0, chains = 0, near = 0;

    void AddCross(std::size_t i) {
        if (cross >= kLeafGridCrossCapacity) return void(g.complete = false);
        g.cross[static_cast<std::size_t>(cross++)] = {kLeafPoints[i].x, kLeafPoints[i].y,
                                                      kLeafPoints[i + 1].x, kLeafPoints[i + 1].y};
    }

    void AddChain(std::size_t first, std::size_t end) {
        if (chains >= kLeafGridChainCapacity) return void(g.complete = false);
        g.chains[static_cast<std::size_t>(chains++)] = {kLeafPoints[first].y, kLeafPoints[end].y};
    }

    void Cell(LeafGridCell& cell, const Rect& r) {
        cell.crossFirst = static_cast<std::uint16_t>(cross);
        cell.chainFirst = static_cast<std::uint16_t>(chains);
        // Chains: maximal runs of chords that are right of the cell or never straddle its
        // heights, with at least one of the former (a run of the latter adds nothing).
        std::size_t runStart = 0;
        bool inRun = false, anyRight = false;
        for (std::size_t i = 0; i < kLeafChordCount; ++i) {
            const Tag tag = CrossTag(i, r);
            if (tag == Tag::Right || tag == Tag::Never) {
                if (!inRun) runStart = i;
                inRun = true;
                anyRight = anyRight || tag == Tag::Right;
                continue;
            }
            if (inRun && anyRight) AddChain(runStart, i);
            inRun = anyRight = false;
            if (tag == Tag::Full) AddCross(i);
        }
        if (inRun && anyRight) AddChain(runStart, kLeafChordCount);
        if (cross - cell.crossFirst > 255 || chains - cell.chainFirst > 255) {
            return void(g.complete = false);
        }
        cell.crossCount = static_cast<std::uint8_t>(cross - cell.crossFirst);
        cell.chainCount = static_cast<std::uint8_t>(chains - cell.chainFirst);

        // Nearest-chord candidates: no point of the cell is farther than `reach` from its
        // nearest chord (the distance to a segment is convex, so a rectangle's farthest point
        // from it is a corner), so a chord whose distance to the cell exceeds that is never
        // the nearest.
        std::array<Seg, kLeafChordCount> segs;
        for (std::size_t i = 0; i < kLeafChordCount; ++i) segs[i] = ChordSeg(i);
        std::array<double, kLeafChordCount> dist;
        const double reach = NearSegments(r, segs, dist, 2.0 * kSlack);
        const double nearest = *std::min_element(dist.begin(), dist.end());
        // Far from every chord the float tests cannot differ from exact ones, and no outline
        // runs through the cell: its centre's side is every point's.
        cell.inside = -1;
        if (nearest > 2.0 * kSlack) {
            cell.inside = ContainsExactly((r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2) ? 1 : 0;
        }
        cell.nearFirst = static_cast<std::uint16_t>(near);
        for (std::size_t i = 0; i < kLeafChordCount; ++i) {
            const double d = dist[i];
            if (d > reach + 2.0 * kSlack) continue;
            if (near >= kLeafGridNearCapacity) return void(g.complete = false);
            const double low = std::max(0.0, d - kSlack);
            g.near[static_cast<std::size_t>(near++)] = {FloatAtMost(low * low),
                                                        static_cast<std::uint32_t>(i)};
        }
        cell.nearCount = static_cast<std::uint16_t>(near - cell.nearFirst);
        std::sort(g.near.begin() + cell.nearFirst, g.near.begin() + near,
                  [](const LeafGridNear& a, const LeafGridNear& b) {
                      return a.bound2 < b.bound2 || (a.bound2 == b.bound2 && a.chord < b.chord);
                  });
        cell.nearBound2 = cell.nearCount > 0 ? g.near[cell.nearFirst].bound2 : 0.f;
    }
};

// The box that candidate (di, dj)'s X and Y span over the cell [i, i + 1] x [j, j + 1] of an
// offset grid of `side` cells, grown for rounding: of the offset's cell index by kGrowth, of X
// and Y by the slack.
Rect CandidateImage(int side, int i, int j, int di, int dj) {
    constexpr double kGrowth = 1e-5;
    const double du0 = i / static_cast<double>(side) - kGrowth - di;
    const double du1 = (i + 1) / static_cast<double>(side) + kGrowth - di;
    const double dv0 = j / static_cast<double>(side) - kGrowth - dj;
    const double dv1 = (j + 1) / static_cast<double>(side) + kGrowth - dj;
    return {4716.5 * du0 + 970.5 * dv0 - kSlack, 4844.0 * dv0 - 938.0 * du1 - kSlack,
            4716.5 * du1 + 970.5 * dv1 + kSlack, 4844.0 * dv1 - 938.0 * du0 + kSlack};
}

// The distance from the leaf's outline to the box, when the box lies in the grid: every point's
// nearest chord is listed by the point's grid cell, so the lists of the cells the box meets hold
// the nearest chord of each of its points.
double OutlineDistance(const LeafGrid& g, const Rect& r) {
    auto index = [](double c, double origin) {
        return std::clamp(static_cast<int>(std::floor((c - origin) / kLeafGridStep)), 0,
                          kLeafGridSide - 1);
    };
    double d = 1e300;
    for (int j = index(r.y0, kLeafGridY0); j <= index(r.y1, kLeafGridY0); ++j) {
        for (int i = index(r.x0, kLeafGridX0); i <= index(r.x1, kLeafGridX0); ++i) {
            const LeafGridCell& cell = g.cells[static_cast<std::size_t>(j * kLeafGridSide + i)];
            for (int k = cell.nearFirst; k < cell.nearFirst + cell.nearCount; ++k) {
                d = std::min(
                    d, SegRectDistance(ChordSeg(g.near[static_cast<std::size_t>(k)].chord), r));
            }
        }
    }
    return d;
}

// Containment of a point far from the outline: a grid cell that no chord comes near already
// knows it.
bool Contains(const LeafGrid& g, double x, double y) {
    const int at = LeafGridCellIndex(static_cast<float>(x), static_cast<float>(y));
    if (at >= 0 && g.cells[static_cast<std::size_t>(at)].inside >= 0) {
        return g.cells[static_cast<std::size_t>(at)].inside != 0;
    }
    return ContainsExactly(x, y);
}

// The side (1 inside, 0 outside) shared by every grid cell the box meets when none of them has
// a chord near it, else -1.
int CleanSide(const LeafGrid& g, const Rect& r) {
    auto index = [](double c, double origin) {
        return std::clamp(static_cast<int>(std::floor((c - origin) / kLeafGridStep)), 0,
                          kLeafGridSide - 1);
    };
    int side = -2;
    for (int j = index(r.y0, kLeafGridY0); j <= index(r.y1, kLeafGridY0); ++j) {
        for (int i = index(r.x0, kLeafGridX0); i <= index(r.x1, kLeafGridX0); ++i) {
            const int s = g.cells[static_cast<std::size_t>(j * kLeafGridSide + i)].inside;
            if (s < 0 || (side >= 0 && s != side)) return -1;
            side = s;
        }
    }
    return side < 0 ? -1 : side;
}

void BuildSettled(LeafGrid& g) {
    for (int j = 0; j < kLeafSettledSide; ++j) {
        for (int i = 0; i < kLeafSettledSide; ++i) {
            LeafSettledCell& cell = g.settled[static_cast<std::size_t>(j * kLeafSettledSide + i)];
            cell = {0, 0, 0, 0.f};
            int containing = 0;
            bool clean = true;
            for (int dj = -1; dj <= 1 && clean; ++dj) {
                for (int di = -1; di <= 1 && clean; ++di) {
                    const Rect r = CandidateImage(kLeafSettledSide, i, j, di, dj);
                    // Well outside the leaf's box the crossing test finds no crossing.
                    if (r.x1 < kLeafMinX - 3.0 || r.x0 > kLeafMaxX + 3.0 ||
                        r.y1 < kLeafMinY - 3.0 || r.y0 > kLeafMaxY + 3.0) {
                        continue;
                    }
                    // A box within grid cells that no chord comes near is clean and on one
                    // side (an outline between two of them would come near both); only a
                    // containing leaf needs the distance itself.
                    const int inside = CleanSide(g, r);
                    const double d = inside == 0 ? 1e300 : OutlineDistance(g, r);
                    clean = d > 2.0 * kSlack;
                    if (clean && (inside == 1 || (inside < 0 && Contains(g, (r.x0 + r.x1) / 2,
                                                                         (r.y0 + r.y1) / 2)))) {
                        ++containing;
                        cell.di = static_cast<std::int8_t>(di);
                        cell.dj = static_cast<std::int8_t>(dj);
                        cell.clear = FloatAtMost(d - kSlack);
                    }
                }
            }
            cell.settled = clean && containing == 1 ? 1 : 0;
        }
    }
}

// The smallest reach for which candidate (di, dj) can pass the box test somewhere in offset cell
// (i, j), less one unit for the rounding of the generator's X and Y: the box excess of the
// ranges that X and Y take over the cell, a lower bound of the excess at any one point.
double CandidateReach(int i, int j, int di, int dj) {
    constexpr double kGrowth = 1e-5;  // covers an offset whose cell index rounded to a neighbour
    const double du0 = i / static_cast<double>(kLeafOffsetSide) - kGrowth - di;
    const double du1 = (i + 1) / static_cast<double>(kLeafOffsetSide) + kGrowth - di;
    const double dv0 = j / static_cast<double>(kLeafOffsetSide) - kGrowth - dj;
    const double dv1 = (j + 1) / static_cast<double>(kLeafOffsetSide) + kGrowth - dj;
    const double x0 = 4716.5 * du0 + 970.5 * dv0, x1 = 4716.5 * du1 + 970.5 * dv1;
    const double y0 = 4844.0 * dv0 - 938.0 * du1, y1 = 4844.0 * dv1 - 938.0 * du0;
    const double ex = std::max({kLeafMinX - x1, x0 - kLeafMaxX, 0.0});
    const double ey = std::max({kLeafMinY - y1, y0 - kLeafMaxY, 0.0});
    return std::max(ex, ey) - kSlack;
}

void BuildOffsets(LeafGrid& g) {
    // Beyond the widest joint's reach (gap widths are held to 0.45) no candidate is needed.
    constexpr double kWidest = 545.0;
    for (int j = 0; j < kLeafOffsetSide; ++j) {
        for (int i = 0; i < kLeafOffsetSide; ++i) {
            LeafOffsetCell& cell = g.offsets[static_cast<std::size_t>(j * kLeafOffsetSide + i)];
            cell.count = 0;
            for (int dj = -1; dj <= 1; ++dj) {
                for (int di = -1; di <= 1; ++di) {
                    const double reach = CandidateReach(i, j, di, dj);
                    if (reach > kWidest) continue;
                    cell.candidates[cell.count++] = {
                        static_cast<std::uint16_t>(std::floor(std::max(reach, 0.0))),
                        static_cast<std::int8_t>(di), static_cast<std::int8_t>(dj)};
                }
            }
        }
    }
}

void BuildMapleLeafGrid(LeafGrid& g) {
    g.complete = true;
    BuildOffsets(g);
    Builder b{g};
    for (int j = 0; j < kLeafGridSide; ++j) {
        for (int i = 0; i < kLeafGridSide; ++i) {
            const Rect r{kLeafGridX0 + i * static_cast<double>(kLeafGridStep) - kCellGrowth,
                         kLeafGridY0 + j * static_cast<double>(kLeafGridStep) - kCellGrowth,
                         kLeafGridX0 + (i + 1) * static_cast<double>(kLeafGridStep) + kCellGrowth,
                         kLeafGridY0 + (j + 1) * static_cast<double>(kLeafGridStep) + kCellGrowth};
            b.Cell(g.cells[static_cast<std::size_t>(j * kLeafGridSide + i)], r);
            if (!g.complete) return;
        }
    }
    BuildSettled(g);
}

}  // namespace

const LeafGrid& MapleLeafGrid() {
    // Filled in place (the grid is too large for a stack copy); the guarded initialisation of
    // `built` makes every other thread wait for the build and see it complete.
    static LeafGrid grid;
    static const LeafGrid* const built = [] {
        BuildMapleLeafGrid(grid);
        return &grid;
    }();
    return *built;
}

}  // namespace QuarelNS
