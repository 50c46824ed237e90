// I-Paver (id 20) and Maple Leaf (id 24): stones with curved outlines, grout by distance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "pattern/outline_ipaver_shape.h"
#include "pattern/outline_maple_leaf_chords.h"
#include "pattern/outline_maple_leaf_grid.h"
#include "reference/outline_tiles_reference.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kIPaver = 20;
constexpr int kMapleLeaf = 24;

using testing::Record;
using testing::SameBits;

// The engine against a plain method at one point; reports the first few disagreements.
template <class Plain>
void ExpectPlain(Plain plain, const PatternSettings& ps, float u, float v, int& mismatches) {
    const BrickCell fast = Eval(ps, u, v);
    const BrickCell want = plain(ps, u, v);
    if (!SameBits(fast, want) && ++mismatches <= 5)
        ADD_FAILURE() << ps << " u " << u << " v " << v << "\n  fast  " << fast << "\n  plain "
                      << want;
}

// Points on the lines k / side of the unit tile (the edges of an engine grid laid over one
// repeat cell when the counts are 1), each with its neighbouring floats on both sides.
std::vector<float> GridLines(int side) {
    std::vector<float> at;
    for (int k = 0; k <= side; ++k) {
        const float c = static_cast<float>(k) / static_cast<float>(side);
        for (float x : {std::nextafter(c, -1.f), c, std::nextafter(c, 2.f)}) {
            if (x >= 0.f && x < 1.f) at.push_back(x);
        }
    }
    return at;
}

// Pseudo-random points of the unit tile, the same on every run.
std::vector<std::pair<float, float>> RandomPoints(int n) {
    std::vector<std::pair<float, float>> p;
    std::uint32_t s = 2024u;
    auto next = [&s] {
        s = s * 1664525u + 1013904223u;
        return static_cast<float>(s >> 8) * 5.9604645e-8f;
    };
    for (int k = 0; k < n; ++k) {
        const float u = next();
        p.push_back({u, next()});
    }
    return p;
}

// ---- I-Paver ----

TEST(IPaver, KnownPoints) {
    const PatternSettings ps = Settings(kIPaver, 1, 1);
    // Centre of the centre stone.
    EXPECT_EQ(Eval(ps, 0.5f, 0.5f), Record(2, 2, 0.5f, 0.5f, 1.f, 1.f, false, 1));
    // v = 0 is design y = 1790, the first point of cell row 1: a corner stone's centre.
    EXPECT_EQ(Eval(ps, 0.f, 0.f), Record(0, 4, 0.5f, 0.5f, 1.f, 1.f, false, 1));
    // Centre of the lower-left connector (X = Y = 447.5).
    EXPECT_EQ(Eval(ps, 0.25f, 0.75f), Record(1, 1, 0.5f, 0.5f, 1.f, 1.f, false, 0));
    // Lower-right quarter (mirrored): X = 1454.375, qx = -(1454.375 - 1342.5).
    EXPECT_EQ(Eval(ps, 0.8125f, 0.75f), Record(3, 1, 335.625f / 895.f, 0.5f, 1.f, 1.f, false, 0));
    // Right tab of the centre stone: X = 1230.625, Y = 895, cx = 335.625.
    EXPECT_EQ(Eval(ps, 0.6875f, 0.5f), Record(2, 2, 789.125f / 907.f, 0.5f, 1.f, 1.f, false, 1));
    // Counts scale the cell and sizes: nx = 2, ny = 4, the centre stone of cell (1, 2).
    const PatternSettings ps24 = Settings(kIPaver, 2, 4);
    EXPECT_EQ(Eval(ps24, 0.75f, 0.125f),
              Record(4 * 1 + 2, 4 * 3 + 2, 0.5f, 0.5f, 0.5f, 0.25f, false, 1));
}

// The connector's centre is 137.5 * sqrt(2) = 194.454 from its nearest corner: grout once
// (gu + gv) * 447.5 exceeds it.
TEST(IPaver, GroutIsTheDistanceToTheOutline) {
    EXPECT_FALSE(Eval(Settings(kIPaver, 1, 1, 0.217f, 0.217f), 0.25f, 0.75f).isGrout);
    EXPECT_TRUE(Eval(Settings(kIPaver, 1, 1, 0.2175f, 0.2175f), 0.25f, 0.75f).isGrout);
    // Seen from inside the square, a tab counts by its ends: the centre stone's centre is
    // sqrt(143^2 + 310.5^2) = 341.85 from the outline, reached when gu + gv > 0.7639.
    EXPECT_FALSE(Eval(Settings(kIPaver, 1, 1, 0.38f, 0.38f), 0.5f, 0.5f).isGrout);
    EXPECT_TRUE(Eval(Settings(kIPaver, 1, 1, 0.385f, 0.385f), 0.5f, 0.5f).isGrout);
    // Widths are clamped to 0..0.45.
    for (float u = 0.f; u < 1.f; u += 1.f / 37) {
        for (float v = 0.f; v < 1.f; v += 1.f / 41) {
            EXPECT_EQ(Eval(Settings(kIPaver, 2, 3, 7.f, 0.45f), u, v),
                      Eval(Settings(kIPaver, 2, 3, 0.45f, 0.45f), u, v));
            EXPECT_EQ(Eval(Settings(kIPaver, 2, 3, -1.f, -3.f), u, v),
                      Eval(Settings(kIPaver, 2, 3, 0.f, 0.f), u, v));
        }
    }
}

TEST(IPaver, MirroredConnectorsRunTheOtherWay) {
    const PatternSettings ps = Settings(kIPaver, 1, 1);
    // Along v = 0.75 (the lower quarters), localU grows with u in the left connector and falls in
    // the right one; along v = 0.25 (upper quarters) the other way round.
    for (float u = 0.2f; u < 0.3f; u += 0.01f) {
        EXPECT_LT(Eval(ps, u, 0.75f).localU, Eval(ps, u + 0.005f, 0.75f).localU);
        EXPECT_GT(Eval(ps, u + 0.5f, 0.75f).localU, Eval(ps, u + 0.505f, 0.75f).localU);
        EXPECT_GT(Eval(ps, u, 0.25f).localU, Eval(ps, u + 0.005f, 0.25f).localU);
        EXPECT_LT(Eval(ps, u + 0.5f, 0.25f).localU, Eval(ps, u + 0.505f, 0.25f).localU);
    }
}

TEST(IPaver, GridProperties) {
    for (const PatternSettings& ps :
         {Settings(kIPaver, 1, 1), Settings(kIPaver, 3, 2, 0.04f, 0.02f)}) {
        int grout = 0;
        for (int y = 0; y < 97; ++y) {
            for (int x = 0; x < 97; ++x) {
                const BrickCell c = Eval(ps, (x + 0.5f) / 97.f, (y + 0.5f) / 97.f);
                // Faces are whole cells; the frame is the core frame table's.
                EXPECT_TRUE(c.sizeU == 1.f / static_cast<float>(ps.nx) &&
                            c.sizeV == 1.f / static_cast<float>(ps.ny))
                    << c;
                grout += c.isGrout ? 1 : 0;
                EXPECT_TRUE(ps.gap_u > 0.f || !c.isGrout);
                if (c.kind == 1) {
                    // I stones sit on even indices and their local frame covers the stone.
                    EXPECT_TRUE(c.brickU % 2 == 0 && c.brickV % 2 == 0) << c;
                    EXPECT_TRUE(c.localU >= 0.f && c.localU <= 1.f);
                    EXPECT_TRUE(c.localV >= 0.f && c.localV <= 1.f);
                } else if (c.brickU % 2 != 0) {
                    EXPECT_NE(c.brickV % 2, 0);  // connectors on odd indices
                }
            }
        }
        EXPECT_TRUE(ps.gap_u == 0.f || grout > 97 * 97 / 50) << grout;
    }
}

// The engine skips shape tests and distances where its grid over the repeat cell knows the
// answer; the plain method never does. Pixel centres, the grid's cell edges (with the quarter
// borders and the tile's edges among them), the counts of the tests and huge ones.
TEST(IPaver, MatchesThePlainMethodBitForBit) {
    const std::pair<int, int> counts[] = {{1, 1}, {3, 2}, {7, 13}, {256, 256}};
    const std::pair<float, float> gaps[] = {
        {0.f, 0.f}, {0.05f, 0.05f}, {0.02f, 0.1f}, {0.45f, 0.45f}, {5.f, -1.f}};
    const std::vector<float> lines = GridLines(kIPaverGridSide);
    int mismatches = 0;
    for (const auto& [nx, ny] : counts) {
        for (const auto& [gu, gv] : gaps) {
            const PatternSettings ps = Settings(kIPaver, nx, ny, gu, gv);
            for (int y = 0; y < 97; ++y) {
                for (int x = 0; x < 97; ++x)
                    ExpectPlain(reference::EvaluateIPaver, ps, (x + 0.5f) / 97, (y + 0.5f) / 97,
                                mismatches);
            }
            if (nx != 1) continue;
            for (float v : lines) {
                for (float u : lines) ExpectPlain(reference::EvaluateIPaver, ps, u, v, mismatches);
            }
        }
    }
    for (const auto& [nx, ny] : {std::pair{65536, 65536}, std::pair{4097, 3}}) {
        for (auto [u, v] : RandomPoints(3000)) {
            ExpectPlain(reference::EvaluateIPaver, Settings(kIPaver, nx, ny, 0.05f, 0.05f), u, v,
                        mismatches);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(IPaver, ShapeDistances) {
    // Inside tests at the limits: a tab's tip is in, just beyond is out.
    EXPECT_TRUE(InsideIShape(0.f, -453.5f));
    EXPECT_FALSE(InsideIShape(0.f, -453.6f));
    EXPECT_TRUE(InsideIShape(310.5f, 310.5f));
    EXPECT_FALSE(InsideIShape(310.6f, 200.f));
    EXPECT_FLOAT_EQ(IOutlineDistance(0.f, -400.f), 53.5f);  // under the bottom tab: its rim
    EXPECT_FLOAT_EQ(IOutlineDistance(250.f, 250.f), 60.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(-100.f), 447.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(137.5f), 304.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(200.f), 137.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(447.5f), -5.5f);
}

// ---- Maple Leaf ----

// Leaves (-1, 1) and (0, 1) both contain u = 6/128, v = 100/128; the point lies 8.4 inside the
// first and 22.1 inside the second, which wins although it comes later.
TEST(MapleLeaf, OverlapsAreResolvedByDepth) {
    const float lu = (8.7890625f + 322.f) / 5710.f;
    const float lv = 1.f - (-1103.59375f + 2449.f) / 5865.f;
    EXPECT_EQ(Eval(Settings(kMapleLeaf, 1, 1), 0.046875f, 0.78125f),
              Record(0, 1, lu, lv, 1.f, 1.f, false, 1));
    // Grout by the depth in the winner: half-width 4808.87 * 0.015 * 0.25 = 18.0 < 22.1, but
    // 4808.87 * 0.025 * 0.25 = 30.1 > 22.1.
    EXPECT_FALSE(Eval(Settings(kMapleLeaf, 1, 1, 0.015f, 0.015f), 0.046875f, 0.78125f).isGrout);
    EXPECT_TRUE(Eval(Settings(kMapleLeaf, 1, 1, 0.025f, 0.025f), 0.046875f, 0.78125f).isGrout);
}

// What the plain method cannot vouch for: a point belongs to a leaf of its own cell or a neighbour,
// and wider joints only add grout without moving any point to another leaf.
TEST(MapleLeaf, GridProperties) {
    for (const auto& [nx, ny] : {std::pair{1, 1}, std::pair{4, 3}, std::pair{2, 5}}) {
        const PatternSettings ps = Settings(kMapleLeaf, nx, ny);
        const PatternSettings wide = Settings(kMapleLeaf, nx, ny, 0.03f, 0.01f);
        const PatternSettings wider = Settings(kMapleLeaf, nx, ny, 0.06f, 0.02f);
        int grout = 0;
        for (int y = 0; y < 89; ++y) {
            for (int x = 0; x < 89; ++x) {
                const float u = (x + 0.5f) / 89.f;
                const float v = (y + 0.5f) / 89.f;
                const BrickCell c = Eval(ps, u, v);
                EXPECT_LE(std::abs(c.brickU - static_cast<int>(u * static_cast<float>(nx))), 1);
                EXPECT_LE(std::abs(c.brickV - static_cast<int>(v * static_cast<float>(ny))), 1);
                grout += c.isGrout ? 1 : 0;
                const BrickCell w = Eval(wide, u, v);
                EXPECT_TRUE(!c.isGrout || w.isGrout);
                EXPECT_TRUE(!w.isGrout || Eval(wider, u, v).isGrout);
                EXPECT_TRUE(c.isGrout || w.brickU == c.brickU);
            }
        }
        // With zero width only the slivers between leaves are grout.
        EXPECT_LT(grout, 89 * 89 / 100);
    }
}

// A chord can flip the crossing parity at height Y only if it straddles Y; every such chord must
// be listed in Y's band.
TEST(MapleLeaf, BandsListEveryChordThatCanCross) {
    for (float y = kLeafMinY - 3.f; y <= kLeafMaxY + 3.f; y += 0.37f) {
        const int band = LeafBandOf(y);
        for (std::size_t i = 0; i < kLeafChordCount; ++i) {
            const LeafPoint q0 = kLeafPoints[i];
            const LeafPoint q1 = kLeafPoints[i + 1];
            if ((q1.y > y) == (q0.y > y)) continue;
            bool listed = false;
            for (std::size_t e = kLeafBands.first[static_cast<std::size_t>(band)];
                 e < kLeafBands.first[static_cast<std::size_t>(band) + 1]; ++e) {
                const LeafCrossChord& c = kLeafBands.chords[e];
                listed = listed || (c.x0 == q0.x && c.y0 == q0.y && c.x1 == q1.x && c.y1 == q1.y);
            }
            EXPECT_TRUE(listed) << "chord " << i << " at y " << y;
        }
    }
}

void ExpectPlainLeaf(const PatternSettings& ps, float u, float v, int& mismatches) {
    ExpectPlain(reference::EvaluateMapleLeaf, ps, u, v, mismatches);
}

TEST(MapleLeaf, MatchesThePlainMethodBitForBit) {
    const int n = 131;  // prime: the grid does not line up with the lattice
    for (const PatternSettings& ps :
         {Settings(kMapleLeaf, 1, 1), Settings(kMapleLeaf, 1, 1, 0.01f, 0.005f),
          Settings(kMapleLeaf, 3, 2, 0.1f, 0.05f), Settings(kMapleLeaf, 2, 2, 0.45f, 0.45f),
          Settings(kMapleLeaf, 5, 7, 0.002f, 0.f)}) {
        int mismatches = 0;
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x)
                ExpectPlainLeaf(ps, (x + 0.31f) / n, (y + 0.77f) / n, mismatches);
        }
        EXPECT_EQ(mismatches, 0) << ps;
    }
}

// Every decision boundary along a set of rows (leaf seams, overlaps, slivers, grout edges) is
// located by bisection down to neighbouring floats, and both methods must agree there: this is
// where a pruning bound that is a hair too tight, or a tie broken the other way, would show.
TEST(MapleLeaf, MatchesThePlainMethodAtEveryBoundary) {
    auto key = [](const BrickCell& c) {
        return std::int64_t{c.brickU} * 1000003 + std::int64_t{c.brickV} * 7 + (c.isGrout ? 1 : 0);
    };
    int boundaries = 0, mismatches = 0;
    for (const PatternSettings& ps :
         {Settings(kMapleLeaf, 1, 1), Settings(kMapleLeaf, 1, 1, 0.004f, 0.002f),
          Settings(kMapleLeaf, 1, 1, 0.03f, 0.03f)}) {
        for (int row = 0; row < 64; ++row) {
            const float v = (static_cast<float>(row) + 0.43f) / 64.f;
            float u0 = 0.f;
            BrickCell c0 = Eval(ps, u0, v);
            for (int x = 1; x <= 400; ++x) {
                const float u1 = static_cast<float>(x) / 400.f;
                const BrickCell c1 = Eval(ps, u1, v);
                if (key(c1) != key(c0)) {
                    float lo = u0, hi = u1;
                    while (std::nextafter(lo, hi) < hi) {
                        const float mid = lo + (hi - lo) * 0.5f;
                        if (mid <= lo || mid >= hi) break;
                        (key(Eval(ps, mid, v)) == key(c0) ? lo : hi) = mid;
                    }
                    ++boundaries;
                    float u = lo;
                    for (int k = 0; k < 2; ++k) u = std::nextafter(u, 0.f);
                    for (int k = 0; k < 6; ++k, u = std::nextafter(u, 1.f))
                        ExpectPlainLeaf(ps, u, v, mismatches);
                }
                u0 = u1;
                c0 = c1;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(boundaries, 600);
}

// With counts of 1 the offset in the lattice cell is u, v itself: the edges of the grid of
// settled cells, the tile's edges and huge counts (offsets quantised) against the plain method.
TEST(MapleLeaf, MatchesThePlainMethodOnSettledCellEdgesAndHugeCounts) {
    const std::vector<float> lines = GridLines(kLeafSettledSide);
    int mismatches = 0;
    for (const PatternSettings& ps :
         {Settings(kMapleLeaf, 1, 1, 0.05f, 0.05f), Settings(kMapleLeaf, 1, 1, 0.45f, 0.3f)}) {
        for (std::size_t y = 0; y < lines.size(); y += 2) {
            for (float u : lines) ExpectPlainLeaf(ps, u, lines[y], mismatches);
        }
    }
    for (const auto& [nx, ny] : {std::pair{65536, 65536}, std::pair{4097, 3}}) {
        for (auto [u, v] : RandomPoints(2000))
            ExpectPlainLeaf(Settings(kMapleLeaf, nx, ny, 0.05f, 0.05f), u, v, mismatches);
    }
    EXPECT_EQ(mismatches, 0);
}

// The leaf grid's lists at points on its cell edges (and a float either side), where a point's
// cell index may round to the neighbour: the parity and the nearest distance, bounded or not,
// against every chord of the outline.
TEST(MapleLeaf, GridCellsAnswerForPointsOnTheirEdges) {
    const LeafGrid& grid = MapleLeafGrid();
    ASSERT_TRUE(grid.complete);
    int mismatches = 0;
    auto check = [&](float X, float Y) {
        bool inside = false;
        float nearest = std::numeric_limits<float>::infinity();
        for (std::size_t i = 0; i < kLeafChordCount; ++i) {
            const LeafPoint q0 = kLeafPoints[i], q = kLeafPoints[i + 1];
            if ((q.y > Y) != (q0.y > Y) && (q.x - q0.x) * (Y - q0.y) / (q.y - q0.y) + q0.x > X)
                inside = !inside;
            nearest = std::min(nearest, LeafChordDistance2(kLeafChords[i], X, Y));
        }
        const int at = LeafGridCellIndex(X, Y);
        ASSERT_GE(at, 0);
        const LeafGridCell& cell = grid.cells[static_cast<std::size_t>(at)];
        const float bound = 61.f * 61.f;
        const float bounded = LeafGridNearest2(grid, cell, X, Y, bound);
        const bool ok =
            LeafGridInside(grid, cell, X, Y) == inside &&
            LeafGridNearest2(grid, cell, X, Y, std::numeric_limits<float>::infinity()) == nearest &&
            (nearest <= bound ? bounded == nearest : bounded > bound);
        if (!ok && ++mismatches <= 5) ADD_FAILURE() << "X " << X << " Y " << Y;
    };
    for (int k = 0; k <= kLeafGridSide; ++k) {
        const float x = kLeafGridX0 + static_cast<float>(k) * kLeafGridStep;
        const float y = kLeafGridY0 + static_cast<float>(k) * kLeafGridStep;
        for (float along = 0.f; along <= kLeafGridSide * kLeafGridStep; along += 11.3f) {
            for (float c : {std::nextafter(x, -1e9f), x, std::nextafter(x, 1e9f)}) {
                if (c >= kLeafGridX0 && c <= kLeafGridX1) check(c, kLeafGridY0 + along);
            }
            for (float c : {std::nextafter(y, -1e9f), y, std::nextafter(y, 1e9f)}) {
                if (c >= kLeafGridY0 && c <= kLeafGridY1) check(kLeafGridX0 + along, c);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace QuarelNS
