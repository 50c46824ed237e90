// Diagonal, Triangles, Chevron, Hexagons, Wave Checker, Wave Striped and Triangles 2.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <utility>

#include "reference/angled_tiles_reference.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kDiagonal = 7;
constexpr int kTriangles = 10;
constexpr int kChevron = 11;
constexpr int kHexagons = 12;
constexpr int kWaveChecker = 21;
constexpr int kWaveStriped = 22;
constexpr int kTriangles2 = 23;

TEST(AngledTiles, KnownBricks) {
    const testing::KnownPiece known[] = {
        // Even cell: diagonal (0, 1)-(1, 0); odd cell (1, 0) of two: diagonal (0, 0)-(1, 1).
        {Settings(kDiagonal, 1, 1), 0.2f, 0.6f, {0, 0, 0, false}},
        {Settings(kDiagonal, 2, 1), 0.9f, 0.3f, {3, 0, 0, false}},
        // Row 1 of two is offset by half a cell: u = 0.25 lies in triangle k = -1.
        {Settings(kTriangles, 1, 2), 0.25f, 0.6f, {-2, 1, 0, false}},
        {Settings(kTriangles, 1, 1), 0.8f, 0.7f, {1, 0, 0, false}},
        // At the centre line the strips are a full row (two strips) higher; a strip keeps its
        // index into the next row.
        {Settings(kChevron, 1, 1), 0.5f, 0.1f, {1, 2, 0, false}},
        {Settings(kChevron, 1, 2), 0.1f, 0.499f, {0, 2, 0, false}},
        {Settings(kChevron, 1, 2), 0.1f, 0.501f, {0, 2, 0, false}},
        // Centre of odd column 1, row 2; on the edge between (0, 0) and (0, 1) both metrics
        // are exactly 1 and the first candidate searched wins.
        {Settings(kHexagons, 4, 4), 0.25f + 0.25f / 1.5f, 0.75f, {1, 2, 0, false}},
        {Settings(kHexagons, 4, 4), 0.25f / 1.5f, 0.25f, {0, 0, 0, false}},
        // At s = 0.5 the rows are displaced by 0.8447 H; the checker alternates by column and
        // row, the stripes by row only.
        {Settings(kWaveChecker, 1, 4), 0.5f, 0.05f, {0, 1, 1, false}},
        {Settings(kWaveChecker, 2, 4), 0.75f, 0.05f, {1, 1, 0, false}},
        {Settings(kWaveStriped, 2, 4), 0.75f, 0.05f, {1, 1, 1, false}},
        // Exactly on the side of upward triangle 0 belongs to it; just beyond is downward 0.
        {Settings(kTriangles2, 1, 1), 0.25f, 0.5f, {0, 0, 0, false}},
        {Settings(kTriangles2, 1, 1), 0.26f, 0.5f, {1, 0, 1, false}},
    };
    for (const testing::KnownPiece& k : known)
        EXPECT_EQ(testing::PieceAt(k.ps, k.u, k.v), k.want) << k.ps << " at " << k.u << ", " << k.v;
}

// Faces that follow from each tile's own geometry rather than a cell's: the golden maps hold the
// rest.
TEST(AngledTiles, LocalCoordinatesAndSizes) {
    // The odd diagonal cell (1, 0) of two, its second half.
    const BrickCell diag = Eval(Settings(kDiagonal, 2, 1), 0.9f, 0.3f);
    EXPECT_EQ(diag.localV, (0.9f - 0.5f) / 0.5f);
    EXPECT_EQ(diag.sizeV, 0.5f);
    EXPECT_EQ(Eval(Settings(kChevron, 1, 1), 0.5f, 0.1f).sizeV, std::sqrt(0.25f + 1.f));
    const BrickCell hexGaps = Eval(Settings(kHexagons, 4, 4, 0.2f, 0.2f), 0.2f, 0.2f);
    EXPECT_NEAR(hexGaps.sizeU, (1.f - 0.18f) * 0.25f / 0.75f, 1e-6f);
    EXPECT_NEAR(hexGaps.sizeV, (1.f - 0.24f) * 0.25f, 1e-6f);
    // Wave: the face spans the row's swing L = A + H; a column wider than that turns the frame.
    const float L = 0.8447f * 0.25f + 0.25f;
    const BrickCell wave = Eval(Settings(kWaveStriped, 1, 4), 0.5f, 0.05f);
    EXPECT_EQ(wave.localU, (0.05f - (0.25f - 0.8447f * 0.25f)) / L);
    EXPECT_EQ(wave.turned, 1);
    EXPECT_EQ(wave.sizeU, L);
    EXPECT_EQ(Eval(Settings(kWaveChecker, 4, 1), 0.3f, 0.5f).turned, 0);
}

TEST(AngledTiles, Joints) {
    const PatternSettings diag = Settings(kDiagonal, 1, 1, 0.2f, 0.2f);
    const PatternSettings triRows = Settings(kTriangles, 1, 1, 0.f, 0.2f);
    const PatternSettings triSides = Settings(kTriangles, 1, 1, 0.2f, 0.f);
    const PatternSettings strips = Settings(kChevron, 1, 1, 0.f, 0.2f);
    const PatternSettings centre = Settings(kChevron, 1, 1, 0.2f, 0.f);
    const PatternSettings hex = Settings(kHexagons, 4, 4, 0.2f, 0.2f);
    const PatternSettings wave = Settings(kWaveStriped, 1, 4, 0.2f, 0.2f);
    const PatternSettings tri2 = Settings(kTriangles2, 1, 1, 0.2f, 0.2f);
    const float hx = 0.25f / 1.5f;  // hexagon (0, 0): centre (hx, 0.125), half-extents hx, 0.125
    const float waveRow = 0.5f - 0.8447f * 0.25f;  // row boundary 1 | 2 at s = 0.5
    const testing::GroutProbe probes[] = {
        // Diagonal: cell edges 0.1, diagonal half-width 0.07 across |d| / sqrt 2.
        {diag, 0.5f, 0.45f, true},
        {diag, 0.5f, 0.3f, false},
        // Triangles: only the row's lower edge is a joint; each side belongs to its triangle.
        {triRows, 0.9f, 0.95f, false},
        {triRows, 0.5f, 0.48f, true},
        {triSides, 0.05f, 0.5f, true},
        // Chevron: strip joints of gv / 2 across the strip; centre and side joints of 0.02.
        {strips, 0.f, 0.02f, true},
        {centre, 0.51f, 0.3f, true},
        {centre, 0.53f, 0.3f, false},
        // Hexagons: 0.12 of the half-height at top and bottom, 0.09 at the side corners.
        {hex, hx, 0.125f + 0.89f * 0.125f, true},
        {hex, hx, 0.125f + 0.86f * 0.125f, false},
        {hex, hx + 0.92f * hx, 0.125f, true},
        {hex, hx + 0.89f * hx, 0.125f, false},
        // Wave: fractions of the column width and of the bent row's height.
        {wave, 0.02f, 0.6f, true},
        {wave, 0.5f, waveRow + 0.02f, true},
        {wave, 0.5f, waveRow + 0.03f, false},
        // Triangles 2: (gu + gv) / 4 from the base and across either side.
        {tri2, 0.02f, 0.3f, false},
        {tri2, 0.02f, 0.05f, true},
    };
    for (const testing::GroutProbe& p : probes)
        EXPECT_EQ(Eval(p.ps, p.u, p.v).isGrout, p.grout) << p.ps << " " << p.u << "," << p.v;
    // Widths beyond 0.45 are held there.
    EXPECT_EQ(Eval(Settings(kDiagonal, 1, 1, 0.45f, 0.45f), 0.5f, 0.2f),
              Eval(Settings(kDiagonal, 1, 1, 3.f, 9.f), 0.5f, 0.2f));
}

// Points inside each hexagon, placed by its own coordinates, resolve to it (or, where the wrap
// brings a candidate a whole tile away onto the same place, to that candidate).
TEST(Hexagons, InteriorPointsResolveToTheirHexagon) {
    for (int nx : {2, 4, 6}) {
        for (int ny : {3, 4}) {
            const PatternSettings ps = Settings(kHexagons, nx, ny);
            const float W = 1.f / static_cast<float>(nx);
            const float H = 1.f / static_cast<float>(ny);
            for (int col = 0; col < nx; ++col) {
                for (int row = 0; row < ny; ++row) {
                    const float cx = static_cast<float>(col) * W + W / 1.5f;
                    const float cy =
                        static_cast<float>(row) * H + H / 2.f + (col & 1 ? H / 2.f : 0.f);
                    for (float q = -0.85f; q < 0.9f; q += 0.17f) {
                        for (float p = -0.85f; p < 0.9f; p += 0.17f) {
                            const float u = cx + p * (W / 1.5f);
                            const float v = cy + q * (H / 2.f);
                            if (std::fabs(p) + 0.5f * std::fabs(q) > 0.9f || u >= 1.f || v >= 1.f)
                                continue;
                            const BrickCell c = Eval(ps, u, v);
                            ASSERT_EQ((c.brickU - col) % nx, 0) << nx << " " << ny << " " << u;
                            ASSERT_EQ((c.brickV - row) % ny, 0) << nx << " " << ny << " " << v;
                            EXPECT_NEAR(c.localV, q * 0.5f + 0.5f, 1e-4f);
                            EXPECT_NEAR(c.localU, p / (1.f - 0.5f * std::fabs(q)) * 0.5f + 0.5f,
                                        1e-4f);
                        }
                    }
                }
            }
        }
    }
    // nx = 1: columns -1 and 1 lie more than half a unit away and the wrap brings both onto the
    // same place. At (0.9, 0.1) that odd column, row -1, is nearest (p = 0.35, q = 0.4);
    // without the wrap column 0, row 0 would win (metric 0.65 against 0.55).
    const BrickCell wrapped = Eval(Settings(kHexagons, 1, 2), 0.9f, 0.1f);
    EXPECT_EQ(std::abs(wrapped.brickU), 1);
    EXPECT_EQ(wrapped.brickV, -1);
    EXPECT_NEAR(wrapped.localU, 0.35f / 0.8f * 0.5f + 0.5f, 1e-5f);
    EXPECT_NEAR(wrapped.localV, 0.7f, 1e-5f);
}

// The engine shares the divisions its candidates have in common; the plain method does each.
// Counts of 1 and 2 (where the wrap brings candidates a tile away onto the same place and ties
// are common), the counts of the tests and huge ones; pixel centres, pixel corners (which lie on
// the column and row lines) and the tile's edges.
TEST(Hexagons, MatchesThePlainMethodBitForBit) {
    int mismatches = 0;
    auto check = [&mismatches](const PatternSettings& ps, float u, float v) {
        const BrickCell fast = Eval(ps, u, v);
        const BrickCell plain = reference::EvaluateHexagons(ps, u, v);
        if (!testing::SameBits(fast, plain) && ++mismatches <= 5)
            ADD_FAILURE() << ps << " u " << u << " v " << v << "\n  fast  " << fast << "\n  plain "
                          << plain;
    };
    for (const auto& [nx, ny] :
         {std::pair{1, 1}, std::pair{1, 2}, std::pair{2, 3}, std::pair{4, 8}, std::pair{7, 13},
          std::pair{256, 256}, std::pair{65536, 65536}, std::pair{4097, 3}}) {
        for (const auto& [gu, gv] :
             {std::pair{0.f, 0.f}, std::pair{0.05f, 0.05f}, std::pair{0.45f, 0.2f}}) {
            const PatternSettings ps = Settings(kHexagons, nx, ny, gu, gv);
            for (int y = 0; y <= 96; ++y) {
                for (int x = 0; x <= 96; ++x) {
                    check(ps, (x + 0.5f) / 97.f, (y + 0.5f) / 97.f);
                    check(ps, x / 96.f, y / 96.f);
                }
            }
            for (float e : {0.f, std::nextafter(1.f, 0.f), -1e-9f}) {
                for (int k = 0; k <= 64; ++k) {
                    check(ps, e, k / 64.f);
                    check(ps, k / 64.f, e);
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace QuarelNS
