// Custom patterns "Pattern 1" .. "Pattern 7" (ids 13..19).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "pattern/custom_layout_tables.h"
#include "pattern/generators.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Piece;
using testing::PieceAt;
using testing::Record;
using testing::Settings;

int Id(int number) {
    return 12 + number;
}

// The index block (Mu, Mv) each cell owns.
struct Block {
    int mu, mv;
};
Block IndexBlock(int number) {
    return number == 2   ? Block{4, 3}
           : number == 4 ? Block{5, 7}
           : number <= 3 ? Block{3, 3}
                         : Block{2, 2};
}

bool DefaultFrame(const BrickCell& c) {
    return c.turned == 0 && c.upright == 1 && c.projSizeU == 0.f && c.projSizeV == 0.f;
}

PatternSettings Layout(int number, int nx, int ny, float gap = 0.f) {
    return Settings(Id(number), nx, ny, gap, gap);
}

// Pieces worked out from each layout's drawing, and points whose only question is grout.
TEST(CustomLayouts, KnownPieces) {
    const testing::KnownPiece known[] = {
        // Pattern 1: the inlay of every cell; 0.27 is within 0.05 of its edge at 0.26; the band
        // below is 0.28 tall and with its joints ends at 0.23.
        {Layout(1, 1, 1), 0.5f, 0.5f, {1, 1, 1, false}},
        {Layout(1, 3, 2), 2.5f / 3.f, 0.75f, {7, 4, 1, false}},
        {Layout(1, 1, 1, 0.1f), 0.27f, 0.5f, {0, 0, 0, true}},
        {Layout(1, 1, 1, 0.1f), 0.5f, 0.22f, {0, 0, 0, false}},
        // Pattern 2.
        {Layout(2, 1, 1), 0.3f, 0.5f, {1, 1, 1, false}},
        {Layout(2, 1, 1), 0.9f, 0.9f, {3, 2, 0, false}},
        // Pattern 3: cell (0, 0) lies its strips along u, of the second set; cell (1, 0) of two
        // stands them, of the first. Grout near a third keeps the set and the upper strip's index.
        {Layout(3, 1, 1), 0.5f, 0.5f, {0, 1, 1, false}},
        {Layout(3, 2, 1), 0.75f, 0.5f, {4, 0, 0, false}},
        {Layout(3, 1, 1, 0.1f), 0.5f, 0.36f, {0, 1, 1, true}},
        // Pattern 4: the limits are 0.333, 0.667 and 0.792, not thirds and 19/24.
        {Layout(4, 1, 1), 0.06f, 0.3332f, {0, 2, 1, false}},
        {Layout(4, 1, 1), 0.7f, 0.3331f, {3, 2, 0, false}},
        {Layout(4, 1, 1), 0.25f, 0.6668f, {1, 2, 0, false}},
        {Layout(4, 1, 1), 0.06f, 0.7918f, {0, 4, 1, false}},
        // Pattern 5: d = 0.141 < 0.205 is the disc of grid point (0, 0). With half-joints 0.05
        // the ring spans 0.155..0.255; a joint wider than the disc leaves only the ring.
        {Layout(5, 1, 1), 0.1f, 0.1f, {0, 0, 1, false}},
        {Layout(5, 1, 1, 0.1f), 0.2f, 0.f, {0, 0, 0, true}},
        {Layout(5, 1, 1, 0.1f), 0.5f, 0.03f, {1, 1, 0, true}},
        {Layout(5, 1, 1, 0.5f), 0.f, 0.f, {0, 0, 0, true}},
        // Pattern 6: the square's joint spans 0.135..0.235.
        {Layout(6, 1, 1, 0.1f), 0.15f, 0.1f, {0, 0, 0, true}},
        {Layout(6, 1, 1, 0.1f), 0.24f, 0.5f, {1, 1, 0, false}},
        // Pattern 7: corners on side 1 take the odd index.
        {Layout(7, 1, 1), 0.1f, 0.1f, {0, 0, 1, false}},
        {Layout(7, 3, 3), 0.5f, 0.5f, {1, 1, 0, false}},
    };
    for (const testing::KnownPiece& k : known)
        EXPECT_EQ(PieceAt(k.ps, k.u, k.v), k.want) << k.ps << " at " << k.u << ", " << k.v;
    const testing::GroutProbe probes[] = {
        {Layout(1, 1, 1, 0.1f), 0.5f, 0.24f, true},
        // Pattern 3's lying strips have no joint across them.
        {Layout(3, 1, 1, 0.1f), 0.5f, 0.39f, false},
        {Layout(3, 1, 1, 0.1f), 0.34f, 0.5f, false},
        // A point on one of Pattern 4's column or band limits is in no piece.
        {Layout(4, 1, 1), 0.375f, 0.4f, true},
        {Layout(4, 1, 1), 0.06f, 0.792f, true},
        {Layout(6, 1, 1, 0.4f), 0.01f, 0.01f, true},
        // Pattern 7, half-joints 0.05: triangles reach s + t <= 0.243, the octagon starts at
        // 0.343 and its diagonal sides keep |s - t| <= 0.657.
        {Layout(7, 1, 1, 0.1f), 0.15f, 0.15f, true},
        {Layout(7, 1, 1, 0.1f), 0.18f, 0.18f, false},
        {Layout(7, 1, 1, 0.1f), 0.85f, 0.2f, false},
    };
    for (const testing::GroutProbe& p : probes)
        EXPECT_EQ(Eval(p.ps, p.u, p.v).isGrout, p.grout) << p.ps << " at " << p.u << ", " << p.v;
    // d = 0.226: off the disc, but on the square of half-side 0.185.
    EXPECT_EQ(PieceAt(Layout(5, 1, 1), 0.16f, 0.16f).kind, 0);
    EXPECT_EQ(PieceAt(Layout(6, 1, 1), 0.16f, 0.16f).kind, 1);
    EXPECT_EQ(PieceAt(Layout(7, 1, 1, 0.1f), 0.12f, 0.12f).kind, 1);
}

// Faces: which layouts frame or exchange their pieces. Where each writes the frame fields the grid
// test checks at every point; the golden maps hold the extents.
TEST(CustomLayouts, FacesAndFrames) {
    // Pattern 1 frames the 0.48 x 0.44 inlay along its longer side; its grout writes the frame
    // too, with the whole cell as the face.
    const BrickCell inlay = Eval(Layout(1, 1, 1), 0.5f, 0.5f);
    EXPECT_EQ(inlay.localU, (0.5f - 0.28f) / (0.72f - 0.28f));
    EXPECT_EQ(inlay.sizeU, 0.72f - 0.28f);
    EXPECT_EQ(inlay.projSizeV, 0.74f - 0.26f);
    EXPECT_EQ(inlay.turned, 1);
    BrickCell grout = Record(0, 0, 0.f, 0.f, 1.f, 1.f, true, 0);
    grout.projSizeU = grout.projSizeV = 1.f;
    EXPECT_EQ(Eval(Layout(1, 1, 1, 0.1f), 0.27f, 0.5f), grout);
    // Pattern 2 exchanges piece 1 (0.5 x 0.28) but not piece 3 (0.24 x 0.44), and leaves the
    // frame alone; s = 0.5 of cell 1 of two is the joint between the inlays.
    EXPECT_EQ(Eval(Layout(2, 1, 1), 0.75f, 0.1f),
              Record(3, 0, 0.1f / 0.28f, (0.75f - 0.5f) / (1.f - 0.5f), 0.28f, 0.5f, false, 0));
    EXPECT_EQ(Eval(Layout(2, 1, 1), 0.3f, 0.5f).sizeU, 0.5f - 0.26f);
    EXPECT_EQ(Eval(Layout(2, 2, 1, 0.1f), 0.75f, 0.5f), Record(4, 0, 0.f, 0.f, 0.5f, 1.f, true, 0));
    // Pattern 3 turns its lying strips; the strip limit belongs to the strip above.
    EXPECT_EQ(Eval(Layout(3, 1, 1), 0.5f, 0.5f).turned, 1);
    EXPECT_EQ(Eval(Layout(3, 1, 1), 0.5f, 0.33333334f).brickV, 1);
    EXPECT_EQ(Eval(Layout(3, 1, 1), 0.5f, 0.3333333f).brickV, 0);
    // Pattern 4 on cells 1 x 0.25: the exchange follows the piece's fractions, not its face.
    // Column 2, band 0 (0.25 x 0.375) stays, although its face is wider than tall; column 1 turns.
    const BrickCell stays = Eval(Layout(4, 1, 4), 0.5f, 0.05f);
    EXPECT_EQ(stays.sizeU, 0.625f - 0.375f);
    EXPECT_EQ(stays.sizeV, 0.375f * 0.25f);
    EXPECT_EQ(Eval(Layout(4, 1, 4), 0.3f, 0.01f).sizeU, 0.125f * 0.25f);
    // Pattern 5's disc, narrowed by its joint, and the body around it.
    EXPECT_EQ(Eval(Layout(5, 1, 1), 0.1f, 0.1f).localU, 0.1f / (2.f * 0.205f) + 0.5f);
    EXPECT_EQ(Eval(Layout(5, 1, 1, 0.1f), 0.1f, 0.f).sizeU, 2.f * (0.205f - 0.1f * 0.5f));
    EXPECT_EQ(Eval(Layout(5, 1, 1, 0.1f), 0.5f, 0.5f).localU, (0.5f - 0.05f) / (1.f - 0.1f));
    // Pattern 7's corners measure from their own sides.
    EXPECT_EQ(Eval(Layout(7, 1, 1), 0.9f, 0.1f).localU, (1.f - 0.9f) / 0.293f);
}

// The piece a plain scan of Pattern 4's table in table order finds, as the layout is defined.
Piece ScanPattern4(const PatternSettings& ps, float u, float v) {
    const int ci = std::clamp(static_cast<int>(std::floor(ps.nx * u)), 0, ps.nx - 1);
    const int cj = std::clamp(static_cast<int>(std::floor(ps.ny * v)), 0, ps.ny - 1);
    const float W = 1.f / static_cast<float>(ps.nx);
    const float H = 1.f / static_cast<float>(ps.ny);
    const float s = std::clamp((u - static_cast<float>(ci) * W) / W, 0.f, 1.f);
    const float t = std::clamp((v - static_cast<float>(cj) * H) / H, 0.f, 1.f);
    const float gu = std::clamp(std::min(W, H) * ps.gap_u / W, 0.f, 0.98f);
    const float gv = std::clamp(std::min(W, H) * ps.gap_v / H, 0.f, 0.98f);
    for (const RectPiece& p : kPattern4Pieces) {
        if (p.x0 + gu / 2 < s && s < p.x1 - gu / 2 && p.y0 + gv / 2 < t && t < p.y1 - gv / 2)
            return {5 * ci + p.di, 7 * cj + p.dj, p.kind, false};
    }
    return {5 * ci, 7 * cj, 0, true};
}

// The engine locates Pattern 4's piece by column and band instead of scanning.
TEST(CustomRectangleLayouts, Pattern4SearchMatchesThePlainScan) {
    constexpr int n = 157;  // x / n hits the exact limits 0, 0.5 and 1 among others
    for (PatternSettings ps :
         {Settings(Id(4), 1, 1), Settings(Id(4), 1, 1, 0.05f, 0.05f),
          Settings(Id(4), 3, 2, 0.1f, 0.02f), Settings(Id(4), 2, 7, 0.3f, 0.6f),
          Settings(Id(4), 5, 1, 0.98f, 0.f), Settings(Id(4), 256, 256, 0.08f, 0.08f)}) {
        int mismatches = 0;
        for (int y = 0; y <= n && mismatches < 3; ++y) {
            for (int x = 0; x <= n && mismatches < 3; ++x) {
                const float u = std::min(static_cast<float>(x) / n, 0.99999994f);
                const float v = std::min(static_cast<float>(y) / n, 0.99999994f);
                if (PieceAt(ps, u, v) != ScanPattern4(ps, u, v)) {
                    ++mismatches;
                    ADD_FAILURE() << ToString(ps) << " at " << u << ", " << v << ": "
                                  << PieceAt(ps, u, v) << " != " << ScanPattern4(ps, u, v);
                }
            }
        }
    }
}

// A disc or square belongs to its grid point: the four cells around it, across the edges of the
// unit tile too, give it one identity.
TEST(CustomGridPoints, PiecesKeepOneIdentityAcrossCellAndTileEdges) {
    for (int number : {5, 6}) {
        for (int nx : {1, 3}) {
            const PatternSettings ps = Settings(Id(number), nx, 2, 0.05f, 0.05f);
            for (int i = 0; i <= nx; ++i) {
                for (int j = 0; j <= 2; ++j) {
                    for (float du : {-0.004f, 0.004f}) {
                        for (float dv : {-0.004f, 0.004f}) {
                            EXPECT_EQ(PieceAt(ps, static_cast<float>(i) / nx + du,
                                              static_cast<float>(j) / 2 + dv),
                                      (Piece{2 * (i % nx), 2 * (j % 2), 1, false}))
                                << "Pattern " << number << ", grid point " << i << ", " << j;
                        }
                    }
                }
            }
        }
    }
}

// Points exactly on a limit, one cell over the unit square (s = u, t = v), each beside its
// neighbour a float or two away: pieces and strips exclude their limits, rings, squares' joints and
// the corner triangles and octagon include theirs. All sums below are exact in float.
TEST(CustomLayouts, PointsExactlyOnALimit) {
    auto below = [](float x) { return std::nextafter(x, 0.f); };
    auto above = [](float x) { return std::nextafter(x, 1.f); };

    // Pattern 1 without joints: the limit between the side piece and the inlay is in neither.
    const PatternSettings p1 = Settings(Id(1), 1, 1);
    EXPECT_EQ(PieceAt(p1, 0.26f, 0.5f), (Piece{0, 0, 0, true}));
    EXPECT_EQ(PieceAt(p1, below(0.26f), 0.5f), (Piece{0, 1, 0, false}));
    EXPECT_EQ(PieceAt(p1, above(0.26f), 0.5f), (Piece{1, 1, 1, false}));

    // Pattern 3, lying strips: a point at half a joint from the cell edge or from a third is
    // brick.
    const PatternSettings edge = Settings(Id(3), 1, 1, 0.5f, 0.f);
    EXPECT_EQ(PieceAt(edge, 0.25f, 0.5f), (Piece{0, 1, 1, false}));
    EXPECT_TRUE(Eval(edge, below(0.25f), 0.5f).isGrout);
    const PatternSettings third = Settings(Id(3), 1, 1, 0.f, 0.125f);
    const float t3 = 0.33333334f + 0.0625f;
    EXPECT_EQ(PieceAt(third, 0.5f, t3), (Piece{0, 1, 1, false}));
    EXPECT_TRUE(Eval(third, 0.5f, below(t3)).isGrout);

    // Half-joints 0.0625. Pattern 5: |d - R| = hm is ring; just inside it, the disc.
    const PatternSettings discs = Settings(Id(5), 1, 1, 0.125f, 0.125f);
    const float d5 = 0.205f - 0.0625f;
    EXPECT_EQ(PieceAt(discs, d5, 0.f), (Piece{0, 0, 0, true}));
    EXPECT_EQ(PieceAt(discs, below(d5), 0.f), (Piece{0, 0, 1, false}));
    // Pattern 6: a = S + hm is the square's joint; beyond it, the body (grout at t = 0).
    const PatternSettings squares = Settings(Id(6), 1, 1, 0.125f, 0.125f);
    const float a6 = 0.185f + 0.0625f;
    EXPECT_EQ(PieceAt(squares, a6, 0.f), (Piece{0, 0, 0, true}));
    EXPECT_EQ(PieceAt(squares, above(a6), 0.f), (Piece{1, 1, 0, true}));

    // Pattern 7: s + t = B is the corner triangle, s + t = A the octagon.
    const PatternSettings octagons = Settings(Id(7), 1, 1);
    EXPECT_EQ(PieceAt(octagons, 0.293f, 0.f), (Piece{0, 0, 1, false}));
    EXPECT_EQ(PieceAt(octagons, above(0.293f), 0.f), (Piece{0, 0, 0, false}));
    const PatternSettings jointed = Settings(Id(7), 1, 1, 0.125f, 0.125f);
    const float h7 = (0.293f + 0.0625f) / 2.f;
    EXPECT_EQ(PieceAt(jointed, h7, h7), (Piece{0, 0, 0, false}));
    EXPECT_EQ(PieceAt(jointed, below(below(h7)), h7), (Piece{0, 0, 0, true}));
}

// A coordinate that rounds up to 1 stays in the last cell of the grid.
TEST(CustomLayouts, CoordinateOfOneLandsInTheLastCell) {
    for (int number = 1; number <= 7; ++number) {
        BrickCell c;
        CustomPattern(Settings(Id(number), 4, 4), 1.f, 1.f, c, number);
        if (number == 5 || number == 6) {
            EXPECT_EQ(c.brickU, 0);  // the disc on the tile's corner
        } else {
            EXPECT_EQ(c.brickU / IndexBlock(number).mu, 3) << number;
            EXPECT_EQ(c.brickV / IndexBlock(number).mv, 3) << number;
        }
    }
}

// Every point resolves to a defined record: indices inside the grid's blocks, faces inside their
// bricks, and the frame fields as each layout writes them.
::testing::AssertionResult Plausible(int number, const PatternSettings& ps, const BrickCell& c) {
    const Block m = IndexBlock(number);
    if (c.kind != 0 && c.kind != 1) return ::testing::AssertionFailure() << "kind";
    if (c.isGrout && c.kind != 0 && number != 3) return ::testing::AssertionFailure() << "kind";
    if (c.brickU < 0 || c.brickU >= m.mu * ps.nx || c.brickV < 0 || c.brickV >= m.mv * ps.ny)
        return ::testing::AssertionFailure() << "index";
    if (!(c.localU >= 0.f && c.localU <= 1.f && c.localV >= 0.f && c.localV <= 1.f))
        return ::testing::AssertionFailure() << "local";
    if (!(c.sizeU > 0.f && c.sizeV > 0.f && std::isfinite(c.sizeU) && std::isfinite(c.sizeV)))
        return ::testing::AssertionFailure() << "size";
    if (number == 1 && c.isGrout) {
        if (c.turned != 0 || c.projSizeU != c.sizeU || c.projSizeV != c.sizeV)
            return ::testing::AssertionFailure() << "grout frame";
    } else if ((number == 1 || number == 3) && !c.isGrout) {
        if (c.sizeU > c.sizeV || c.upright != 1 - c.turned || c.projSizeU != c.sizeU ||
            c.projSizeV != c.sizeV)
            return ::testing::AssertionFailure() << "local frame";
    } else if (!DefaultFrame(c)) {
        return ::testing::AssertionFailure() << "frame written";
    } else if (number == 2 && !c.isGrout && c.sizeU > c.sizeV) {
        return ::testing::AssertionFailure() << "not exchanged";
    }
    return ::testing::AssertionSuccess();
}

TEST(CustomLayouts, GridProperties) {
    constexpr int n = 101;
    for (int number = 1; number <= 7; ++number) {
        for (PatternSettings ps :
             {Settings(0, 1, 1), Settings(0, 3, 2, 0.05f, 0.08f), Settings(0, 4, 7, 0.2f, 0.02f),
              Settings(0, 2, 5, 0.5f, 0.5f), Settings(0, 1, 3, 0.98f, 5.f),
              Settings(0, 1, 1, -1.f, 1e6f), Settings(0, 65536, 3, 0.1f, 0.1f)}) {
            ps.pattern = Id(number);
            int failures = 0;
            for (int y = 0; y < n && failures == 0; ++y) {
                for (int x = 0; x < n && failures == 0; ++x) {
                    const float u = (x + 0.37f) / n;
                    const float v = (y + 0.61f) / n;
                    const BrickCell c = Eval(ps, u, v);
                    const ::testing::AssertionResult ok = Plausible(number, ps, c);
                    if (!ok) {
                        ++failures;
                        ADD_FAILURE() << ok.message() << ": " << ToString(ps) << " at " << u << ", "
                                      << v << ": " << c;
                    }
                }
            }
        }
    }
}

// Without joints every piece meets its neighbours: no pixel centre falls in grout.
TEST(CustomLayouts, ZeroGroutLeavesNoJoint) {
    constexpr int n = 64;
    for (int number = 1; number <= 7; ++number) {
        for (int cells : {1, 2}) {
            const PatternSettings ps = Settings(Id(number), cells, cells + 1);
            int grout = 0;
            for (int y = 0; y < n; ++y) {
                for (int x = 0; x < n; ++x)
                    grout += Eval(ps, (x + 0.5f) / n, (y + 0.5f) / n).isGrout;
            }
            EXPECT_EQ(grout, 0) << "Pattern " << number << ", " << cells << " cells";
        }
    }
}

}  // namespace
}  // namespace QuarelNS
