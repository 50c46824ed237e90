// I-Paver (id 20): stones with curved outlines, grout by distance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "pattern/outline_ipaver_shape.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kIPaver = 20;

BrickCell Expected(std::int32_t bu, std::int32_t bv, float lu, float lv, float su, float sv,
                   bool grout, std::int32_t kind) {
    BrickCell c;
    c.brickU = bu;
    c.brickV = bv;
    c.localU = lu;
    c.localV = lv;
    c.sizeU = su;
    c.sizeV = sv;
    c.isGrout = grout;
    c.kind = kind;
    return c;
}

// ---- I-Paver ----

TEST(IPaver, KnownPoints) {
    const PatternSettings ps = Settings(kIPaver, 1, 1);
    // Centre of the centre stone.
    EXPECT_EQ(Eval(ps, 0.5f, 0.5f), Expected(2, 2, 0.5f, 0.5f, 1.f, 1.f, false, 1));
    // v = 0 is design y = 1790, the first point of cell row 1: a corner stone's centre.
    EXPECT_EQ(Eval(ps, 0.f, 0.f), Expected(0, 4, 0.5f, 0.5f, 1.f, 1.f, false, 1));
    // Centre of the lower-left connector (X = Y = 447.5).
    EXPECT_EQ(Eval(ps, 0.25f, 0.75f), Expected(1, 1, 0.5f, 0.5f, 1.f, 1.f, false, 0));
    // Lower-left quarter (not mirrored): X = 559.375, qx = 111.875.
    EXPECT_EQ(Eval(ps, 0.3125f, 0.75f), Expected(1, 1, 559.375f / 895.f, 0.5f, 1.f, 1.f, false, 0));
    // Lower-right quarter (mirrored): X = 1454.375, qx = -(1454.375 - 1342.5).
    EXPECT_EQ(Eval(ps, 0.8125f, 0.75f), Expected(3, 1, 335.625f / 895.f, 0.5f, 1.f, 1.f, false, 0));
    // Right tab of the centre stone: X = 1230.625, Y = 895, cx = 335.625.
    EXPECT_EQ(Eval(ps, 0.6875f, 0.5f), Expected(2, 2, 789.125f / 907.f, 0.5f, 1.f, 1.f, false, 1));
    // Counts scale the cell and sizes: nx = 2, ny = 4, the centre stone of cell (1, 2).
    const PatternSettings ps24 = Settings(kIPaver, 2, 4);
    EXPECT_EQ(Eval(ps24, 0.75f, 0.125f),
              Expected(4 * 1 + 2, 4 * 3 + 2, 0.5f, 0.5f, 0.5f, 0.25f, false, 1));
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
                EXPECT_EQ(c.sizeU, 1.f / static_cast<float>(ps.nx));
                EXPECT_EQ(c.sizeV, 1.f / static_cast<float>(ps.ny));
                EXPECT_EQ(c.turned, 0);
                EXPECT_EQ(c.upright, 1);
                EXPECT_EQ(c.projSizeU, 0.f);
                grout += c.isGrout ? 1 : 0;
                EXPECT_TRUE(ps.gap_u > 0.f || !c.isGrout);
                if (c.kind == 1) {
                    // I stones sit on even indices and their local frame covers the stone.
                    EXPECT_EQ(c.brickU % 2, 0);
                    EXPECT_EQ(c.brickV % 2, 0);
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

TEST(IPaver, ShapeDistances) {
    // Inside tests at the limits: a tab's tip is in, just beyond is out.
    EXPECT_TRUE(InsideIShape(0.f, -453.5f));
    EXPECT_FALSE(InsideIShape(0.f, -453.6f));
    EXPECT_TRUE(InsideIShape(310.5f, 310.5f));
    EXPECT_FALSE(InsideIShape(310.6f, 200.f));
    EXPECT_FLOAT_EQ(IOutlineDistance(0.f, 0.f), std::sqrt(116859.25f));
    EXPECT_FLOAT_EQ(IOutlineDistance(0.f, -400.f), 53.5f);  // under the bottom tab: its rim
    EXPECT_FLOAT_EQ(IOutlineDistance(250.f, 250.f), 60.5f);
    EXPECT_FLOAT_EQ(ConnectorOutlineDistance(0.f, 0.f), 137.5f * std::sqrt(2.f));
    EXPECT_FLOAT_EQ(ConnectorRightEdge(-100.f), 447.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(137.5f), 304.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(200.f), 137.5f);
    EXPECT_FLOAT_EQ(ConnectorRightEdge(447.5f), -5.5f);
}

// ---- Golden cell maps ----

TEST(OutlineGolden, CellMapHashes) {
    EXPECT_EQ(testing::CellMapHash(Settings(kIPaver, 2, 2, 0.05f, 0.05f), 64),
              6084134283355117939ull);
    EXPECT_EQ(testing::CellMapHash(Settings(kIPaver, 3, 1, 0.1f, 0.f), 64),
              11721375034980976011ull);
}

}  // namespace
}  // namespace QuarelNS
