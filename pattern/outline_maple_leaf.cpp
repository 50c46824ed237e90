// Maple Leaf (id 24): interlocking leaves on a skew lattice, one per grid cell. Up to nine
// neighbouring leaves are tested against the point; the deepest containing leaf wins, and a
// point outside every leaf is grout that belongs to the nearest one.
//
// The plain method flattens the outline per candidate and tests all 288 chords for both the
// crossing parity and the nearest distance. This one reads the chords from a table built at
// compile time with the same float operations and skips only work that cannot change the
// answer, with the grids of outline_maple_leaf_grid.h: a point settled well inside one leaf and
// outside all others goes straight to that leaf's grout test; otherwise only the candidates
// whose box can reach the point are tested, each against the few chords its grid cell lists.
// Without the grids (should they not fit their storage) the band and box searches below do the
// same. The results are bit-identical.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "pattern/cell_steps.h"
#include "pattern/generators.h"
#include "pattern/outline_maple_leaf_chords.h"
#include "pattern/outline_maple_leaf_grid.h"

namespace QuarelNS {

namespace {

constexpr float kFar = std::numeric_limits<float>::infinity();

// Parity of the crossings to the right of (X, Y); a chord counts when it straddles Y and the
// crossing's x, computed as (Q.x - Q'.x)(Y - Q'.y)/(Q.y - Q'.y) + Q'.x, exceeds X.
bool InsideLeaf(float X, float Y) {
    const int band = LeafBandOf(Y);
    const std::size_t end = kLeafBands.first[static_cast<std::size_t>(band) + 1];
    bool inside = false;
    for (std::size_t i = kLeafBands.first[static_cast<std::size_t>(band)]; i < end; ++i) {
        const LeafCrossChord& c = kLeafBands.chords[i];
        if ((c.y1 > Y) == (c.y0 > Y)) continue;
        if (X < c.xlo || (X <= c.xhi && (c.x1 - c.x0) * (Y - c.y0) / (c.y1 - c.y0) + c.x0 > X)) {
            inside = !inside;
        }
    }
    return inside;
}

float BoxDistance2(const LeafBox& b, float X, float Y) {
    const float dx = std::max(std::max(b.x0 - X, X - b.x1), 0.f);
    const float dy = std::max(std::max(b.y0 - Y, Y - b.y1), 0.f);
    return dx * dx + dy * dy;
}

// The smallest squared chord distance when it is at most `bound`, else some value above `bound`.
// A chord whose distance is at most both the bound and the best so far is never skipped, so the
// minimum is exact whenever it matters.
float NearestChordDistance2(float X, float Y, float bound) {
    float segmentBound[kLeafSegmentCount];
    int first = 0;
    for (int s = 0; s < kLeafSegmentCount; ++s) {
        segmentBound[s] = BoxDistance2(kLeafSegmentBoxes[static_cast<std::size_t>(s)], X, Y);
        if (segmentBound[s] < segmentBound[first]) first = s;
    }
    float best = kFar;
    auto searchSegment = [&](int s) {
        if (segmentBound[s] > std::min(best, bound)) return;
        for (int k = s * kLeafBlocksPerSegment; k < (s + 1) * kLeafBlocksPerSegment; ++k) {
            if (BoxDistance2(kLeafBlockBoxes[static_cast<std::size_t>(k)], X, Y) >
                std::min(best, bound)) {
                continue;
            }
            for (int c = k * kLeafBlockChords; c < (k + 1) * kLeafBlockChords; ++c) {
                best = std::min(best,
                                LeafChordDistance2(kLeafChords[static_cast<std::size_t>(c)], X, Y));
            }
        }
    };
    // The nearest segment first, so that the bound tightens early.
    searchSegment(first);
    for (int s = 0; s < kLeafSegmentCount; ++s) {
        if (s != first) searchSegment(s);
    }
    return best;
}

// The nearest chord with the offset from its nearest point to (X, Y), from the point's grid
// cell (its list holds every chord that can be nearest to one of its points, by ascending
// bound), or over every chord where the grid does not reach.
struct ChordNearest {
    float d2 = kFar;
    float ox = 0.f;
    float oy = 0.f;
    void Offer(const LeafChord& c, float X, float Y) {
        // As LeafChordDistance2.
        float t = 0.f;
        if (c.len2 > 1e-8f) t = ((X - c.x0) * c.dx + (Y - c.y0) * c.dy) / c.len2;
        t = Clamp01(t);
        const float ex = X - (c.x0 + t * c.dx);
        const float ey = Y - (c.y0 + t * c.dy);
        const float e2 = ex * ex + ey * ey;
        if (e2 < d2) {
            d2 = e2;
            ox = ex;
            oy = ey;
        }
    }
};

ChordNearest NearestChord(const LeafGrid& grid, float X, float Y) {
    ChordNearest n;
    const int at = grid.complete ? LeafGridCellIndex(X, Y) : -1;
    if (at < 0) {
        for (const LeafChord& c : kLeafChords) n.Offer(c, X, Y);
        return n;
    }
    const LeafGridCell& cell = grid.cells[static_cast<std::size_t>(at)];
    for (int k = cell.nearFirst; k < cell.nearFirst + cell.nearCount; ++k) {
        const LeafGridNear& e = grid.near[static_cast<std::size_t>(k)];
        if (e.bound2 > n.d2) break;
        n.Offer(kLeafChords[e.chord], X, Y);
    }
    return n;
}

// Tile-unit joint distance at leaf point (X, Y): on a leaf the way to the joint's inner edge, gw
// inside the outline; off every leaf the way to the nearest leaf's face. The lattice is skewed
// by about 3 % with equal counts, so one factor serves every direction there (DesignFactor).
float LeafJointDistance(const LeafGrid& grid, float X, float Y, bool inLeaf, bool grout, float gw,
                        float nu, float nv) {
    const ChordNearest n = NearestChord(grid, X, Y);
    const float d = std::sqrt(n.d2);
    const float edge = inLeaf ? d - gw : -(d + gw);
    const DesignJacobian jac{4716.5f * nu, 970.5f * nv, -938.f * nu, 4844.f * nv};
    return JointDistance(edge * DesignFactor(n.ox, n.oy, jac), grout);
}

struct Candidate {
    float X, Y;
    std::int32_t di, dj;
    bool inside;
    const LeafGridCell* cell;  // null when the grid is incomplete

    float Nearest2(const LeafGrid& grid, float bound) const {
        return cell ? LeafGridNearest2(grid, *cell, X, Y, bound)
                    : NearestChordDistance2(X, Y, bound);
    }
};

// Writes the leaf (bu, bv) and the point's place on it, at leaf coordinates (X, Y).
void FinishLeaf(BrickCell& cell, std::int32_t bu, std::int32_t bv, float X, float Y, bool grout) {
    cell.brickU = bu;
    cell.brickV = bv;
    cell.kind = (cell.brickU + cell.brickV) & 1;
    cell.localU = Clamp01((X + 322.f) / kLeafWidth);
    cell.localV = Clamp01(1.f - (Y + 2449.f) / kLeafHeight);
    cell.isGrout = grout;
}

// A point settled in one leaf: the single containing candidate, whatever the width. False when
// the grid does not settle this part of the cell (a, b).
bool FinishSettledLeaf(const LeafGrid& grid, std::int32_t a, std::int32_t b, float fu, float fv,
                       float gw, float nu, float nv, bool wantJointDist, BrickCell& cell) {
    const LeafSettledCell& s = grid.settled[static_cast<std::size_t>(LeafSettledCellIndex(fu, fv))];
    if (!s.settled) return false;
    const float du = fu - static_cast<float>(s.di);
    const float dv = fv - static_cast<float>(s.dj);
    const float X = 4716.5f * du + 970.5f * dv;
    const float Y = 4844.f * dv - 938.f * du;
    bool grout = false;
    // As in ChooseLeaf; a point clear of the outline by more than gw + 1 is no joint.
    if (gw > 0.f && !(gw + 1.f < s.clear)) {
        const int at = LeafGridCellIndex(X, Y);
        const float bound = (gw + 1.f) * (gw + 1.f);
        grout = gw >
                std::sqrt(at >= 0 ? LeafGridNearest2(grid, grid.cells[static_cast<std::size_t>(at)],
                                                     X, Y, bound)
                                  : NearestChordDistance2(X, Y, bound));
    }
    FinishLeaf(cell, a + s.di, b + s.dj, X, Y, grout);
    if (wantJointDist) cell.jointDist = LeafJointDistance(grid, X, Y, true, grout, gw, nu, nv);
    return true;
}

// The candidate a point belongs to (-1 when there is none) and whether it lies in that leaf's
// joint: the one leaf that contains it, the deepest of several, or the nearest of none.
struct LeafChoice {
    int taken = -1;
    bool grout = true;
};

LeafChoice ChooseLeaf(const Candidate* cands, int count, int containing, float gw,
                      const LeafGrid& grid) {
    LeafChoice r;
    if (containing == 1) {
        for (int k = 0; k < count; ++k) {
            if (cands[k].inside) r.taken = k;
        }
        // gw > sqrt(d2) is false for every d2 >= 0 when gw is 0, and for every d2 beyond
        // (gw + 1)^2 otherwise, so the search needs nothing farther.
        if (gw > 0.f) {
            const Candidate& c = cands[r.taken];
            r.grout = gw > std::sqrt(c.Nearest2(grid, (gw + 1.f) * (gw + 1.f)));
        } else {
            r.grout = false;
        }
    } else if (containing > 1) {
        // Overlapping leaves: the one the point lies deepest in; the earlier one on a tie.
        float deepest = 0.f;
        for (int k = 0; k < count; ++k) {
            if (!cands[k].inside) continue;
            const float d2 = cands[k].Nearest2(grid, kFar);
            if (r.taken < 0 || d2 > deepest) {
                r.taken = k;
                deepest = d2;
            }
        }
        r.grout = gw > std::sqrt(deepest);
    } else {
        // Outside every leaf: the nearest one, the earlier one on a tie.
        float nearest = 1e30f;
        for (int k = 0; k < count; ++k) {
            const float d2 = cands[k].Nearest2(grid, nearest);
            if (d2 < nearest) {
                r.taken = k;
                nearest = d2;
            }
        }
    }
    return r;
}

}  // namespace

void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    const float nu = static_cast<float>(std::max(ps.nx, 1));
    const float nv = static_cast<float>(std::max(ps.ny, 1));
    const float gu = std::clamp(ps.gap_u, 0.f, 0.45f);
    const float gv = std::clamp(ps.gap_v, 0.f, 0.45f);
    cell.sizeU = 1.f / nu;
    cell.sizeV = 1.f / nv;

    const float su = nu * u;
    const float sv = nv * v;
    const std::int32_t a = FloorToInt(su);
    const std::int32_t b = FloorToInt(sv);
    const float fu = su - static_cast<float>(a);
    const float fv = sv - static_cast<float>(b);
    const float gw = kLeafLatticeMin * ((gu + gv) * 0.5f) * 0.25f;
    const float e = gw + 2.f;

    const LeafGrid& grid = MapleLeafGrid();
    if (grid.complete && FinishSettledLeaf(grid, a, b, fu, fv, gw, nu, nv, ps.wantJointDist, cell))
        return;
    Candidate cands[9];
    int count = 0;
    int containing = 0;
    auto consider = [&](std::int32_t di, std::int32_t dj) {
        const float du = fu - static_cast<float>(di);
        const float dv = fv - static_cast<float>(dj);
        const float X = 4716.5f * du + 970.5f * dv;
        const float Y = 4844.f * dv - 938.f * du;
        if (X < kLeafMinX - e || X > kLeafMaxX + e || Y < kLeafMinY - e || Y > kLeafMaxY + e) {
            return;
        }
        // Every candidate lies in the grid's extent (its reach covers the widest joint).
        const int at = grid.complete ? LeafGridCellIndex(X, Y) : -1;
        const LeafGridCell* gc = at >= 0 ? &grid.cells[static_cast<std::size_t>(at)] : nullptr;
        const bool inside = gc ? LeafGridInside(grid, *gc, X, Y) : InsideLeaf(X, Y);
        cands[count++] = {X, Y, di, dj, inside, gc};
        containing += inside ? 1 : 0;
    };
    if (grid.complete) {
        // Only the neighbours whose grown box can reach this part of the cell, in search order.
        const LeafOffsetCell& oc =
            grid.offsets[static_cast<std::size_t>(LeafOffsetCellIndex(fu, fv))];
        for (int k = 0; k < oc.count; ++k) {
            const LeafOffsetCandidate& c = oc.candidates[k];
            if (static_cast<float>(c.reach) <= e) consider(c.di, c.dj);
        }
    } else {
        for (std::int32_t dj = -1; dj <= 1; ++dj) {
            for (std::int32_t di = -1; di <= 1; ++di) consider(di, dj);
        }
    }

    const LeafChoice choice = ChooseLeaf(cands, count, containing, gw, grid);
    if (choice.taken >= 0) {
        const Candidate& c = cands[choice.taken];
        FinishLeaf(cell, a + c.di, b + c.dj, c.X, c.Y, choice.grout);
        if (ps.wantJointDist)
            cell.jointDist =
                LeafJointDistance(grid, c.X, c.Y, containing > 0, choice.grout, gw, nu, nv);
    } else {
        FinishLeaf(cell, 0, 0, 0.f, 0.f, choice.grout);
    }
}

}  // namespace QuarelNS
