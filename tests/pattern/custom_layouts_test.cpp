// Custom patterns "Pattern 1" .. "Pattern 7" (ids 13..19).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "pattern/generators.h"
#include "reference/custom_layouts_reference.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kFirstCustom = 13;
constexpr int kLastCustom = 19;
int Id(int number) {
    return kFirstCustom + number - 1;
}

// Index block each cell owns, (Mu, Mv), per pattern number.
struct Multipliers {
    int mu, mv;
};
Multipliers IndexBlock(int number) {
    switch (number) {
        case 1:
        case 3:
            return {3, 3};
        case 2:
            return {4, 3};
        case 4:
            return {5, 7};
        default:
            return {2, 2};
    }
}

void ExpectDefaultFrame(const BrickCell& c) {
    EXPECT_EQ(c.turned, 0);
    EXPECT_EQ(c.upright, 1);
    EXPECT_EQ(c.projSizeU, 0.f);
    EXPECT_EQ(c.projSizeV, 0.f);
}

void ExpectCellGrout(const BrickCell& c, int brickU, int brickV, float W, float H) {
    EXPECT_TRUE(c.isGrout);
    EXPECT_EQ(c.brickU, brickU);
    EXPECT_EQ(c.brickV, brickV);
    EXPECT_EQ(c.localU, 0.f);
    EXPECT_EQ(c.localV, 0.f);
    EXPECT_EQ(c.sizeU, W);
    EXPECT_EQ(c.sizeV, H);
}

TEST(CustomRectangleLayouts, Pattern1CentreOfEveryCellIsTheInlay) {
    // nx = ny = 1: s = t = 0.5 exactly; piece 2 is 0.48 x 0.44, so the frame is turned.
    const BrickCell c = Eval(Settings(Id(1), 1, 1), 0.5f, 0.5f);
    EXPECT_FALSE(c.isGrout);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.brickV, 1);
    const float a = (0.5f - 0.26f) / (0.74f - 0.26f);
    const float b = (0.5f - 0.28f) / (0.72f - 0.28f);
    EXPECT_EQ(c.localU, b);
    EXPECT_EQ(c.localV, a);
    EXPECT_NEAR(c.localU, 0.5f, 1e-6f);
    EXPECT_NEAR(c.localV, 0.5f, 1e-6f);
    EXPECT_EQ(c.sizeU, 0.72f - 0.28f);
    EXPECT_EQ(c.sizeV, 0.74f - 0.26f);
    EXPECT_EQ(c.turned, 1);
    EXPECT_EQ(c.upright, 0);
    EXPECT_EQ(c.projSizeU, c.sizeU);
    EXPECT_EQ(c.projSizeV, c.sizeV);

    for (int ci = 0; ci < 3; ++ci) {
        for (int cj = 0; cj < 2; ++cj) {
            const BrickCell d = Eval(Settings(Id(1), 3, 2), (ci + 0.5f) / 3.f, (cj + 0.5f) / 2.f);
            EXPECT_EQ(d.kind, 1);
            EXPECT_EQ(d.brickU, 3 * ci + 1);
            EXPECT_EQ(d.brickV, 3 * cj + 1);
            EXPECT_NEAR(d.localU, 0.5f, 1e-5f);
            EXPECT_NEAR(d.localV, 0.5f, 1e-5f);
        }
    }
}

TEST(CustomRectangleLayouts, Pattern1JointsAroundTheInlay) {
    const PatternSettings ps = Settings(Id(1), 1, 1, 0.1f, 0.1f);
    // 0.27 lies within 0.05 of the edge at 0.26: grout, with the cell's fields and frame.
    const BrickCell g = Eval(ps, 0.27f, 0.5f);
    ExpectCellGrout(g, 0, 0, 1.f, 1.f);
    EXPECT_EQ(g.kind, 0);
    EXPECT_EQ(g.turned, 0);
    EXPECT_EQ(g.upright, 1);
    EXPECT_EQ(g.projSizeU, 1.f);
    EXPECT_EQ(g.projSizeV, 1.f);
    // Just past the joint: the inlay, its face narrowed by one joint width.
    const BrickCell c = Eval(ps, 0.32f, 0.5f);
    EXPECT_FALSE(c.isGrout);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.localV, (0.32f - (0.26f + 0.05f)) / ((0.74f - 0.26f) - 0.1f));
    // The band below: 0.28 tall, so with a joint above and below it ends at 0.23.
    EXPECT_FALSE(Eval(ps, 0.5f, 0.22f).isGrout);
    EXPECT_TRUE(Eval(ps, 0.5f, 0.24f).isGrout);
    EXPECT_TRUE(Eval(ps, 0.5f, 0.04f).isGrout);
    EXPECT_EQ(Eval(ps, 0.5f, 0.22f).brickV, 0);
}

TEST(CustomRectangleLayouts, Pattern2PiecesAndTheirSwapWithoutFlags) {
    const PatternSettings ps = Settings(Id(2), 1, 1);
    struct Known {
        float u, v;
        int brickU, brickV, kind;
    };
    for (const Known& k :
         {Known{0.3f, 0.5f, 1, 1, 1}, Known{0.6f, 0.5f, 2, 1, 1}, Known{0.1f, 0.5f, 0, 1, 0},
          Known{0.9f, 0.5f, 3, 1, 0}, Known{0.25f, 0.1f, 0, 0, 0}, Known{0.75f, 0.1f, 3, 0, 0},
          Known{0.25f, 0.9f, 0, 2, 0}, Known{0.9f, 0.9f, 3, 2, 0}}) {
        const BrickCell c = Eval(ps, k.u, k.v);
        EXPECT_FALSE(c.isGrout);
        EXPECT_EQ(c.brickU, k.brickU) << k.u << ", " << k.v;
        EXPECT_EQ(c.brickV, k.brickV) << k.u << ", " << k.v;
        EXPECT_EQ(c.kind, k.kind) << k.u << ", " << k.v;
        ExpectDefaultFrame(c);
    }
    // Piece 1 is 0.5 wide and 0.28 tall: coordinates and extents exchanged, flags untouched.
    const BrickCell c = Eval(ps, 0.75f, 0.1f);
    EXPECT_EQ(c.localU, 0.1f / 0.28f);
    EXPECT_EQ(c.localV, (0.75f - 0.5f) / (1.f - 0.5f));
    EXPECT_EQ(c.sizeU, 0.28f);
    EXPECT_EQ(c.sizeV, 0.5f);
    // Piece 3 is 0.24 x 0.44: not exchanged.
    const BrickCell d = Eval(ps, 0.3f, 0.5f);
    EXPECT_EQ(d.localU, (0.3f - 0.26f) / (0.5f - 0.26f));
    EXPECT_EQ(d.sizeU, 0.5f - 0.26f);
    // Grout keeps the default frame as well (only Pattern 1 writes it there).
    const BrickCell g = Eval(Settings(Id(2), 2, 1, 0.1f, 0.1f), 0.75f, 0.5f);
    ExpectCellGrout(g, 4, 0, 0.5f, 1.f);
    ExpectDefaultFrame(g);
}

TEST(CustomRectangleLayouts, Pattern4BandsUseTheDecimalLimits) {
    const PatternSettings ps = Settings(Id(4), 1, 1);
    struct Known {
        float u, v;
        int brickU, brickV, kind;
    };
    for (const Known& k :
         {Known{0.5f, 0.2f, 2, 0, 1}, Known{0.06f, 0.7f, 0, 4, 1}, Known{0.7f, 0.55f, 3, 3, 0},
          Known{0.25f, 0.5f, 1, 2, 0}, Known{0.95f, 0.95f, 4, 6, 0}, Known{0.95f, 0.85f, 4, 5, 1},
          // 0.3332 is above 0.333 but below a third; 0.7918 below 0.792 but
          // above 19/24; 0.6668 above 0.6667 but below 0.667.
          Known{0.06f, 0.3332f, 0, 2, 1}, Known{0.06f, 0.7918f, 0, 4, 1},
          Known{0.25f, 0.6668f, 1, 2, 0}, Known{0.7f, 0.3331f, 3, 2, 0}}) {
        const BrickCell c = Eval(ps, k.u, k.v);
        EXPECT_FALSE(c.isGrout);
        EXPECT_EQ(c.brickU, k.brickU) << k.u << ", " << k.v;
        EXPECT_EQ(c.brickV, k.brickV) << k.u << ", " << k.v;
        EXPECT_EQ(c.kind, k.kind) << k.u << ", " << k.v;
    }
    // Cell (1, 2) of a 2 x 3 grid owns indices 5..9 by 14..20.
    const BrickCell c = Eval(Settings(Id(4), 2, 3), 0.5f + 0.5f * 0.5f, (2.f + 0.2f) / 3.f);
    EXPECT_EQ(c.brickU, 5 + 2);
    EXPECT_EQ(c.brickV, 14 + 0);
}

TEST(CustomRectangleLayouts, Pattern4SwapsByThePiecesShapeNotTheFace) {
    // Cells 1 wide, 0.25 tall. Column 2, band 0 is 0.25 x 0.375 of the cell: not exchanged,
    // although its face (0.25 x 0.09375) is wider than tall.
    const PatternSettings ps = Settings(Id(4), 1, 4);
    const BrickCell c = Eval(ps, 0.5f, 0.05f);
    EXPECT_EQ(c.sizeU, 0.625f - 0.375f);
    EXPECT_EQ(c.sizeV, 0.375f * 0.25f);
    EXPECT_GT(c.sizeU, c.sizeV);
    EXPECT_EQ(c.localU, (0.5f - 0.375f) / 0.25f);
    ExpectDefaultFrame(c);
    // Column 1, band 0 is 0.25 x 0.125: exchanged, still without the flags.
    const BrickCell d = Eval(ps, 0.3f, 0.01f);
    EXPECT_EQ(d.brickU, 1);
    EXPECT_EQ(d.brickV, 0);
    EXPECT_EQ(d.sizeU, 0.125f * 0.25f);
    EXPECT_EQ(d.sizeV, 0.375f - 0.125f);
    EXPECT_EQ(d.localV, (0.3f - 0.125f) / (0.375f - 0.125f));
    ExpectDefaultFrame(d);
}

// The engine locates Pattern 4's piece by column and band and scans the smaller tables; a plain
// scan over an independently written table must give the same records bit for bit.
TEST(CustomRectangleLayouts, MatchThePlainScanOnDenseGrids) {
    const PatternSettings settings[] = {Settings(0, 1, 1),
                                        Settings(0, 1, 1, 0.05f, 0.05f),
                                        Settings(0, 3, 2, 0.1f, 0.02f),
                                        Settings(0, 2, 7, 0.3f, 0.6f),
                                        Settings(0, 5, 1, 0.98f, 0.f),
                                        Settings(0, 256, 256, 0.08f, 0.08f),
                                        Settings(0, 1, 1, 5.f, 0.5f)};
    constexpr int n = 157;
    for (int number : {1, 2, 4}) {
        for (PatternSettings ps : settings) {
            ps.pattern = Id(number);
            int mismatches = 0;
            for (int y = 0; y <= n && mismatches < 3; ++y) {
                for (int x = 0; x <= n && mismatches < 3; ++x) {
                    // Includes the exact piece limits of the layouts at x / n for some n.
                    const float u = std::min(static_cast<float>(x) / n, 0.99999994f);
                    const float v = std::min(static_cast<float>(y) / n, 0.99999994f);
                    BrickCell expected;
                    reference::CustomRectangleLayout(ps, u, v, expected, number);
                    const BrickCell got = Eval(ps, u, v);
                    if (got != expected) {
                        ++mismatches;
                        ADD_FAILURE() << ToString(ps) << " at " << u << ", " << v << ": "
                                      << ToString(got) << " != " << ToString(expected);
                    }
                }
            }
        }
    }
    // Points exactly on a column limit and on a band limit are in no piece.
    for (float u : {0.125f, 0.375f, 0.625f, 0.875f}) {
        EXPECT_TRUE(Eval(Settings(Id(4), 1, 1), u, 0.4f).isGrout) << u;
    }
    for (float v : {0.125f, 0.333f, 0.5f, 0.625f, 0.792f, 0.875f}) {
        EXPECT_TRUE(Eval(Settings(Id(4), 1, 1), 0.06f, v).isGrout) << v;
    }
}

TEST(CustomStrips, StripsAlternateDirectionLikeACheckerboard) {
    // Cell (0, 0) lies its strips along u (second set); the middle one is brickV 1.
    const BrickCell h = Eval(Settings(Id(3), 1, 1), 0.5f, 0.5f);
    EXPECT_FALSE(h.isGrout);
    EXPECT_EQ(h.kind, 1);
    EXPECT_EQ(h.brickU, 0);
    EXPECT_EQ(h.brickV, 1);
    EXPECT_EQ(h.turned, 1);  // a 1 x 1/3 face runs along u
    EXPECT_EQ(h.upright, 0);
    EXPECT_EQ(h.sizeU, 0.6666667f - 0.33333334f);
    EXPECT_EQ(h.sizeV, 1.f);
    EXPECT_EQ(h.localU, (0.5f - 0.33333334f) / (0.6666667f - 0.33333334f));
    EXPECT_EQ(h.localV, 0.5f);
    // The limit of a strip belongs to the strip above.
    EXPECT_EQ(Eval(Settings(Id(3), 1, 1), 0.5f, 0.33333334f).brickV, 1);
    EXPECT_EQ(Eval(Settings(Id(3), 1, 1), 0.5f, 0.3333333f).brickV, 0);

    // Cell (1, 0) of a 2 x 1 grid stands its strips along v: first set, brickU 3 + strip.
    const BrickCell s = Eval(Settings(Id(3), 2, 1), 0.75f, 0.5f);
    EXPECT_EQ(s.kind, 0);
    EXPECT_EQ(s.brickU, 4);
    EXPECT_EQ(s.brickV, 0);
    EXPECT_EQ(s.turned, 0);
    EXPECT_EQ(s.sizeU, (0.6666667f - 0.33333334f) * 0.5f);
}

TEST(CustomStrips, JointsBetweenStripsKeepTheStripsSet) {
    const PatternSettings ps = Settings(Id(3), 1, 1, 0.1f, 0.1f);
    // Within 0.05 of the line at a third: grout, yet of the lying strips' set and the upper
    // strip's index; the frame keeps the caller's defaults.
    const BrickCell g = Eval(ps, 0.5f, 0.36f);
    ExpectCellGrout(g, 0, 1, 1.f, 1.f);
    EXPECT_EQ(g.kind, 1);
    ExpectDefaultFrame(g);
    EXPECT_FALSE(Eval(ps, 0.5f, 0.39f).isGrout);
    EXPECT_TRUE(Eval(ps, 0.04f, 0.5f).isGrout);
    // Lying strips have no joint across them at the thirds of u.
    EXPECT_FALSE(Eval(ps, 0.34f, 0.5f).isGrout);
}

TEST(CustomGridPoints, DiscsOnTheGridPointsAndABodyBetween) {
    const PatternSettings ps = Settings(Id(5), 1, 1);
    // d = 0.141 < 0.205: the disc of grid point (0, 0).
    const BrickCell c = Eval(ps, 0.1f, 0.1f);
    EXPECT_FALSE(c.isGrout);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.brickU, 0);
    EXPECT_EQ(c.brickV, 0);
    const float D = 2.f * (0.205f * 1.f);
    EXPECT_EQ(c.sizeU, D);
    EXPECT_EQ(c.sizeV, D);
    EXPECT_EQ(c.localU, 0.1f / D + 0.5f);
    ExpectDefaultFrame(c);
    // The body: the rest of the cell, face of the whole cell without joints.
    const BrickCell b = Eval(ps, 0.5f, 0.25f);
    EXPECT_FALSE(b.isGrout);
    EXPECT_EQ(b.kind, 0);
    EXPECT_EQ(b.brickU, 1);
    EXPECT_EQ(b.brickV, 1);
    EXPECT_EQ(b.localU, 0.5f);
    EXPECT_EQ(b.localV, 0.25f);
    EXPECT_EQ(b.sizeU, 1.f);
    ExpectDefaultFrame(b);
    // (0.16, 0.16) is off the disc (d = 0.226) but on the square of Pattern 6 (half-side 0.185).
    EXPECT_EQ(Eval(ps, 0.16f, 0.16f).kind, 0);
    EXPECT_EQ(Eval(Settings(Id(6), 1, 1), 0.16f, 0.16f).kind, 1);
}

TEST(CustomGridPoints, RingAndBodyJoints) {
    // m = 1, half-joints 0.05: the ring spans 0.155..0.255 from the grid point.
    const PatternSettings ps = Settings(Id(5), 1, 1, 0.1f, 0.1f);
    const BrickCell disc = Eval(ps, 0.1f, 0.f);
    EXPECT_FALSE(disc.isGrout);
    EXPECT_EQ(disc.kind, 1);
    const float D = 2.f * (0.205f - 0.1f * 0.5f);
    EXPECT_EQ(disc.sizeU, D);
    ExpectCellGrout(Eval(ps, 0.2f, 0.f), 0, 0, 1.f, 1.f);
    ExpectCellGrout(Eval(ps, 0.f, 0.8f), 0, 0, 1.f, 1.f);  // grid point (0, 1) is (0, 0) again
    ExpectCellGrout(Eval(ps, 0.5f, 0.03f), 1, 1, 1.f, 1.f);
    const BrickCell body = Eval(ps, 0.5f, 0.5f);
    EXPECT_FALSE(body.isGrout);
    EXPECT_EQ(body.localU, (0.5f - 0.05f) / (1.f - 2.f * 0.05f));
    EXPECT_EQ(body.sizeU, 1.f - 2.f * 0.05f);
    // A joint wider than the disc leaves only the ring: the grid point itself is grout.
    const BrickCell wide = Eval(Settings(Id(5), 1, 1, 0.5f, 0.5f), 0.f, 0.f);
    EXPECT_TRUE(wide.isGrout);
    EXPECT_EQ(wide.kind, 0);

    // Squares: half-side 0.185, inner half-side 0.135, outer 0.235.
    const PatternSettings sq = Settings(Id(6), 1, 1, 0.1f, 0.1f);
    const BrickCell inner = Eval(sq, 0.1f, 0.1f);
    EXPECT_EQ(inner.kind, 1);
    EXPECT_EQ(inner.sizeU, 2.f * (0.185f - 0.05f));
    EXPECT_EQ(inner.localV, 0.1f / (2.f * (0.185f - 0.05f)) + 0.5f);
    ExpectCellGrout(Eval(sq, 0.15f, 0.1f), 0, 0, 1.f, 1.f);
    ExpectCellGrout(Eval(sq, 0.9f, 0.77f), 0, 0, 1.f, 1.f);  // grid point (1, 1) is the corner
    EXPECT_EQ(Eval(sq, 0.24f, 0.5f).brickU, 1);
    EXPECT_EQ(Eval(Settings(Id(6), 1, 1, 0.4f, 0.4f), 0.01f, 0.01f).isGrout, true);
}

// Each disc or square belongs to its grid point: the four cells around it, across the edges of
// the unit tile too, give it one identity.
TEST(CustomGridPoints, PiecesKeepOneIdentityAcrossCellAndTileEdges) {
    constexpr float d = 0.004f;
    for (int number : {5, 6}) {
        for (int nx : {1, 3}) {
            const int ny = 2;
            const PatternSettings ps = Settings(Id(number), nx, ny, 0.05f, 0.05f);
            for (int i = 0; i <= nx; ++i) {
                for (int j = 0; j <= ny; ++j) {
                    const float u = static_cast<float>(i) / nx;
                    const float v = static_cast<float>(j) / ny;
                    for (float su : {-d, d}) {
                        for (float sv : {-d, d}) {
                            const BrickCell c = Eval(ps, u + su, v + sv);
                            EXPECT_FALSE(c.isGrout);
                            EXPECT_EQ(c.kind, 1);
                            EXPECT_EQ(c.brickU, 2 * (i % nx)) << number << " " << i << " " << j;
                            EXPECT_EQ(c.brickV, 2 * (j % ny)) << number << " " << i << " " << j;
                        }
                    }
                }
            }
        }
    }
}

TEST(CustomOctagons, CornerTrianglesAndTheOctagon) {
    const PatternSettings ps = Settings(Id(7), 1, 1);
    const BrickCell c = Eval(ps, 0.1f, 0.1f);
    EXPECT_FALSE(c.isGrout);
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.brickU, 0);
    EXPECT_EQ(c.brickV, 0);
    EXPECT_EQ(c.localU, 0.1f / 0.293f);
    EXPECT_EQ(c.sizeU, 0.293f);
    ExpectDefaultFrame(c);
    // Corners with s side 1 or t side 1 take the odd index; distances from the corner.
    const BrickCell r = Eval(ps, 0.9f, 0.1f);
    EXPECT_EQ(r.brickU, 1);
    EXPECT_EQ(r.brickV, 0);
    EXPECT_EQ(r.localU, (1.f - 0.9f) / 0.293f);
    EXPECT_EQ(r.localV, 0.1f / 0.293f);
    const BrickCell t = Eval(ps, 0.1f, 0.95f);
    EXPECT_EQ(t.brickU, 0);
    EXPECT_EQ(t.brickV, 1);
    EXPECT_EQ(Eval(ps, 0.95f, 0.95f).brickU, 1);

    const BrickCell o = Eval(ps, 0.5f, 0.5f);
    EXPECT_FALSE(o.isGrout);
    EXPECT_EQ(o.kind, 0);
    EXPECT_EQ(o.brickU, 0);
    EXPECT_EQ(o.localU, 0.5f);
    EXPECT_EQ(o.sizeU, 1.f);
    ExpectDefaultFrame(o);
    const BrickCell o3 = Eval(Settings(Id(7), 3, 3), 0.5f, 0.5f);
    EXPECT_EQ(o3.brickU, 1);
    EXPECT_EQ(o3.brickV, 1);
    EXPECT_EQ(o3.kind, 0);
}

TEST(CustomOctagons, JointsAroundTheOctagon) {
    // Half-joints 0.05 of the cell: triangles reach s + t <= 0.243, the octagon starts at 0.343.
    const PatternSettings ps = Settings(Id(7), 1, 1, 0.1f, 0.1f);
    EXPECT_EQ(Eval(ps, 0.12f, 0.12f).kind, 1);
    ExpectCellGrout(Eval(ps, 0.15f, 0.15f), 0, 0, 1.f, 1.f);
    EXPECT_FALSE(Eval(ps, 0.18f, 0.18f).isGrout);
    ExpectCellGrout(Eval(ps, 0.5f, 0.02f), 0, 0, 1.f, 1.f);
    const BrickCell o = Eval(ps, 0.5f, 0.5f);
    EXPECT_EQ(o.localU, (0.5f - 0.05f) / (1.f - 2.f * 0.05f));
    EXPECT_EQ(o.sizeU, 1.f - 2.f * 0.05f);
    EXPECT_EQ(Eval(ps, 0.93f, 0.5f).isGrout, false);
    // Past the diagonal side s - t <= 1 - A = 0.657.
    EXPECT_EQ(Eval(ps, 0.9f, 0.2f).isGrout, true);
    EXPECT_EQ(Eval(ps, 0.85f, 0.2f).isGrout, false);
}

// A coordinate that rounds up to 1 stays in the last cell of the grid.
TEST(CustomLayouts, CoordinateOfOneLandsInTheLastCell) {
    for (int number = 1; number <= 7; ++number) {
        BrickCell c;
        CustomPattern(Settings(Id(number), 4, 4), 1.f, 1.f, c, number);
        if (number == 5 || number == 6) {
            // The tile's corner is grid point 0.
            EXPECT_EQ(c.brickU, 0);
            EXPECT_EQ(c.kind, 1);
        } else {
            const Multipliers m = IndexBlock(number);
            EXPECT_EQ(c.brickU / m.mu, 3) << number;
            EXPECT_EQ(c.brickV / m.mv, 3) << number;
        }
    }
}

// Every point resolves to a defined record: indices inside the cells' blocks, faces inside
// their bricks, and the frame fields as each layout writes them.
TEST(CustomLayouts, GridProperties) {
    const PatternSettings settings[] = {Settings(0, 1, 1),
                                        Settings(0, 3, 2, 0.05f, 0.08f),
                                        Settings(0, 4, 7, 0.2f, 0.02f),
                                        Settings(0, 2, 5, 0.5f, 0.5f),
                                        Settings(0, 1, 3, 0.98f, 5.f),
                                        Settings(0, 1, 1, -1.f, 1e6f),
                                        Settings(0, 65536, 3, 0.1f, 0.1f)};
    constexpr int n = 101;
    for (int number = 1; number <= 7; ++number) {
        const Multipliers m = IndexBlock(number);
        for (PatternSettings ps : settings) {
            ps.pattern = Id(number);
            const float W = 1.f / static_cast<float>(ps.nx);
            const float H = 1.f / static_cast<float>(ps.ny);
            int failures = 0;
            for (int y = 0; y < n && failures == 0; ++y) {
                for (int x = 0; x < n && failures == 0; ++x) {
                    const float u = (x + 0.37f) / n;
                    const float v = (y + 0.61f) / n;
                    const BrickCell c = Eval(ps, u, v);
                    const ::testing::AssertionResult ok = [&]() -> ::testing::AssertionResult {
                        if (c.kind != 0 && c.kind != 1) return ::testing::AssertionFailure();
                        if (c.brickU < 0 || c.brickU >= m.mu * ps.nx || c.brickV < 0 ||
                            c.brickV >= m.mv * ps.ny)
                            return ::testing::AssertionFailure() << "index";
                        if (!(c.localU >= 0.f && c.localU <= 1.f && c.localV >= 0.f &&
                              c.localV <= 1.f))
                            return ::testing::AssertionFailure() << "local";
                        if (!(c.sizeU > 0.f && c.sizeV > 0.f && std::isfinite(c.sizeU) &&
                              std::isfinite(c.sizeV)))
                            return ::testing::AssertionFailure() << "size";
                        const bool writesFrame = number == 1 || (number == 3 && !c.isGrout);
                        if (!writesFrame) {
                            if (c.turned != 0 || c.upright != 1 || c.projSizeU != 0.f ||
                                c.projSizeV != 0.f)
                                return ::testing::AssertionFailure() << "frame written";
                        } else if (c.isGrout) {
                            if (c.turned != 0 || c.projSizeU != W || c.projSizeV != H)
                                return ::testing::AssertionFailure() << "grout frame";
                        } else if (c.sizeU > c.sizeV || c.upright != 1 - c.turned ||
                                   c.projSizeU != c.sizeU || c.projSizeV != c.sizeV) {
                            return ::testing::AssertionFailure() << "local frame";
                        }
                        if ((number == 2) && !c.isGrout && c.sizeU > c.sizeV)
                            return ::testing::AssertionFailure() << "not exchanged";
                        if (c.isGrout && c.kind != 0 && number != 3)
                            return ::testing::AssertionFailure() << "grout kind";
                        return ::testing::AssertionSuccess();
                    }();
                    if (!ok) {
                        ++failures;
                        ADD_FAILURE() << ok.message() << ": " << ToString(ps) << " at " << u << ", "
                                      << v << ": " << ToString(c);
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
                for (int x = 0; x < n; ++x) {
                    grout += Eval(ps, (x + 0.5f) / n, (y + 0.5f) / n).isGrout ? 1 : 0;
                }
            }
            EXPECT_EQ(grout, 0) << "Pattern " << number << ", " << cells << " cells";
        }
    }
}

TEST(CustomLayouts, GoldenCellMaps) {
    struct Golden {
        int number;
        std::uint64_t square, wide;
    };
    const Golden golden[] = {
        {1, 0xABADB17ED097DFFBull, 0xC6164F4A1634E553ull},
        {2, 0xA54A4F240529C9D3ull, 0x186CC8C45A0C5487ull},
        {3, 0x4E10EE582DCA8BFBull, 0x7650A5DBE69142B7ull},
        {4, 0xB26DAA887A815F53ull, 0xFE6F7600B3C166D7ull},
        {5, 0x61D1F78A4ADD7333ull, 0xD0DF49CE553FFF63ull},
        {6, 0xD59C324B11921023ull, 0xE4B34C7CDBC4D3CFull},
        {7, 0xEDD9C2501EAE302Bull, 0xDDC4C437017BF457ull},
    };
    for (const Golden& g : golden) {
        EXPECT_EQ(testing::CellMapHash(Settings(Id(g.number), 2, 2, 0.05f, 0.05f), 64), g.square)
            << "Pattern " << g.number;
        EXPECT_EQ(testing::CellMapHash(Settings(Id(g.number), 3, 1, 0.12f, 0.03f), 64), g.wide)
            << "Pattern " << g.number;
    }
}

}  // namespace
}  // namespace QuarelNS
