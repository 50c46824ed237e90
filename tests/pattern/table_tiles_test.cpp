// Table-driven tiles: Paving Tile 1 and 2, Parquet Tile 1, 2 and 3 (ids 25 to 29).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

#include "pattern/table_tile_data.h"
#include "reference/table_tiles_reference.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kPavingTile1Id = 25;
constexpr int kPavingTile2Id = 26;
constexpr int kParquetTile1Id = 27;
constexpr int kParquetTile2Id = 28;
constexpr int kParquetTile3Id = 29;

// A cell with every field given, for whole-record comparisons.
BrickCell Cell(int brickU, int brickV, float localU, float localV, float sizeU, float sizeV,
               bool grout, int kind, int turned) {
    BrickCell c;
    c.brickU = brickU;
    c.brickV = brickV;
    c.localU = localU;
    c.localV = localV;
    c.sizeU = sizeU;
    c.sizeV = sizeV;
    c.isGrout = grout;
    c.kind = kind;
    c.turned = turned;
    c.upright = 1 - turned;
    c.projSizeU = sizeU;
    c.projSizeV = sizeV;
    return c;
}

// (u, v) of a design point of a tile laid once over the unit square (nx = ny = 1).
float DesignU(float x, float S) {
    return x / S;
}
float DesignV(float y, float S) {
    return 1.f - y / S;
}

TEST(PavingTile1, KnownPoints) {
    // The tile's centre (3148, 3148) is the middle of the large square [959, 5337]^2.
    EXPECT_EQ(Eval(Settings(kPavingTile1Id, 1, 1), 0.5f, 0.5f),
              Cell(0, 0, 0.5f, 0.5f, 4378.f / 6296.f, 4378.f / 6296.f, false, 0, 0));

    // px = 6.296 lies left of the plank's x = 6, but the plank is snapped to the tile edge.
    const BrickCell left = Eval(Settings(kPavingTile1Id, 1, 1), 0.001f, 0.5f);
    EXPECT_EQ(left.brickU, 5);
    EXPECT_EQ(left.kind, 1);
    EXPECT_FALSE(left.isGrout);
    EXPECT_NEAR(left.localU, 6.296f / 960.f, 1e-6f);
    EXPECT_EQ(left.localV, 0.5f);
    EXPECT_EQ(left.sizeU, 960.f / 6296.f);
    EXPECT_EQ(left.sizeV, 4378.f / 6296.f);
    EXPECT_EQ(left.turned, 0);

    // The same plank in repeat cell (1, 2) of a 2 x 3 grid: brickU = 16 a + 5.
    const BrickCell repeat = Eval(Settings(kPavingTile1Id, 2, 3), 0.5005f, 0.8333f);
    EXPECT_EQ(repeat.brickU, 21);
    EXPECT_EQ(repeat.brickV, 2);

    // A top plank (design y 0..960, wider than tall) is turned, whatever the cell's aspect.
    const BrickCell top = Eval(Settings(kPavingTile1Id, 1, 4), 0.5f, 0.24f);
    EXPECT_EQ(top.brickU, 7);
    EXPECT_EQ(top.turned, 1);
    EXPECT_EQ(top.sizeU, (960.f / 6296.f) / 4.f);
    EXPECT_EQ(top.sizeV, 4378.f / 6296.f);
}

TEST(RectangleTables, OverlapsGoToTheEarlierRow) {
    // Paving Tile 1: the large square [959, 5337]^2 and the corner square [0, 960]^2 share
    // 959..960; the plank [959, 5337] x [0, 960] shares it with the corner square.
    const float S1 = 6296.f;
    EXPECT_EQ(Eval(Settings(kPavingTile1Id, 1, 1), DesignU(959.5f, S1), DesignV(959.5f, S1)).brickU,
              0);
    EXPECT_EQ(Eval(Settings(kPavingTile1Id, 1, 1), DesignU(959.5f, S1), DesignV(500.f, S1)).brickU,
              1);
    EXPECT_EQ(Eval(Settings(kPavingTile1Id, 1, 1), DesignU(961.f, S1), DesignV(500.f, S1)).brickU,
              7);
    // Parquet Tile 1: field [544, 2496]^2, corner [0, 545]^2, planks beside the corner.
    const float S2 = 2496.f;
    EXPECT_EQ(
        Eval(Settings(kParquetTile1Id, 1, 1), DesignU(544.5f, S2), DesignV(544.5f, S2)).brickU, 0);
    EXPECT_EQ(Eval(Settings(kParquetTile1Id, 1, 1), DesignU(544.5f, S2), DesignV(300.f, S2)).brickU,
              1);
    EXPECT_EQ(Eval(Settings(kParquetTile1Id, 1, 1), DesignU(300.f, S2), DesignV(544.5f, S2)).brickU,
              1);
    EXPECT_EQ(Eval(Settings(kParquetTile1Id, 1, 1), DesignU(300.f, S2), DesignV(546.f, S2)).brickU,
              3);
}

TEST(PolygonTables, KnownPoints) {
    // Parquet Tile 3: the centre lies in the medallion, whose box is 12408..37009 both ways, so
    // the point is the middle of it. Repeat cell a = 1 of three.
    EXPECT_EQ(Eval(Settings(kParquetTile3Id, 3, 1), 0.5f, 0.5f),
              Cell(8, 0, 0.5f, 0.5f, (24601.f / 49417.f) / 3.f, 24601.f / 49417.f, false, 1, 0));

    // Parquet Tile 2: within 76 units of the bottom edge no polygon holds the point; the bottom
    // trapezoid's box [76, 19704] x [16637, 19704] is the nearest; px = 9890.5 is just past
    // its middle. Its frame is turned.
    EXPECT_EQ(Eval(Settings(kParquetTile2Id, 1, 1), 0.5f, 0.001f),
              Cell(2, 0, 0.f, 9814.5f / 19628.f, 3067.f / 19781.f, 19628.f / 19781.f, true, 1, 1));
    // Within the left margin: the left trapezoid, upright.
    EXPECT_EQ(
        Eval(Settings(kParquetTile2Id, 1, 1), 0.002f, 0.5f),
        Cell(3, 0, 0.f, 1.f - 9814.5f / 19628.f, 3067.f / 19781.f, 19628.f / 19781.f, true, 1, 0));
    // In the top-left corner the top and left trapezoids' boxes are equally near: the top one,
    // earlier in the table, wins.
    const float corner = 1.f / 2048.f;
    const BrickCell c = Eval(Settings(kParquetTile2Id, 1, 1), corner, 1.f - corner);
    EXPECT_TRUE(c.isGrout);
    EXPECT_EQ(c.brickU, 1);
    EXPECT_EQ(c.kind, 1);
}

TEST(PolygonTables, MedallionCoversTheField) {
    const float S = 49417.f;
    const BrickCell medallion =
        Eval(Settings(kParquetTile3Id, 1, 1), DesignU(24708.f, S), DesignV(20000.f, S));
    EXPECT_EQ(medallion.brickU, 0);
    EXPECT_EQ(medallion.kind, 1);
    // Within the medallion's box, beside its square and between two tabs: field.
    const BrickCell field =
        Eval(Settings(kParquetTile3Id, 1, 1), DesignU(14000.f, S), DesignV(14000.f, S));
    EXPECT_EQ(field.brickU, 1);
    EXPECT_EQ(field.kind, 0);
    // Inside a tab, beyond the square 16292..33124.
    const BrickCell tab =
        Eval(Settings(kParquetTile3Id, 1, 1), DesignU(24708.f, S), DesignV(36500.f, S));
    EXPECT_EQ(tab.brickU, 0);
}

TEST(PolygonTables, GroutFollowsTheNearestOutlineOfAnyPolygon) {
    const float S = 49417.f;
    // 500 units inside the medallion's straight edge y = 33124 (its box is 24601 wide): grout
    // once the reach (gap_u + gap_v) / 4 * 24601 is at least 500.
    const float u = DesignU(18000.f, S), vIn = DesignV(32624.f, S);
    EXPECT_TRUE(Eval(Settings(kParquetTile3Id, 1, 1, 0.1f, 0.1f), u, vIn).isGrout);     // 1230
    EXPECT_FALSE(Eval(Settings(kParquetTile3Id, 1, 1, 0.01f, 0.01f), u, vIn).isGrout);  // 123
    // 500 units outside it, in the field (box 33712 wide): the medallion's outline still counts.
    const float vOut = DesignV(33624.f, S);
    const BrickCell near = Eval(Settings(kParquetTile3Id, 1, 1, 0.05f, 0.05f), u, vOut);  // 843
    EXPECT_EQ(near.brickU, 1);
    EXPECT_TRUE(near.isGrout);
    EXPECT_FALSE(Eval(Settings(kParquetTile3Id, 1, 1, 0.02f, 0.02f), u, vOut).isGrout);  // 337
    // Widths are held to 0.49 each: a reach of 0.245 * 24601 = 6027 at most.
    EXPECT_FALSE(
        Eval(Settings(kParquetTile3Id, 1, 1, 50.f, 50.f), DesignU(24708.f, S), DesignV(24708.f, S))
            .isGrout);
    // With zero widths only the uncovered margin is grout.
    EXPECT_FALSE(Eval(Settings(kParquetTile3Id, 1, 1), u, vIn).isGrout);
    EXPECT_TRUE(Eval(Settings(kParquetTile3Id, 1, 1), DesignU(100.f, S), 0.5f).isGrout);
}

TEST(PavingTile2, KnownPoints) {
    // The centre (4494, 2210) of the big square at lattice cell (0, 0) has lattice coordinates
    // (1633 * 3837, 1633 * 2695) / 10992797; six lattice cells per unit tile. The square's side
    // in UV is 3266 / (6 sqrt(10992797)) both ways.
    const float x1 = 1633.0 * 3837.0 / 10992797.0, x2 = 1633.0 * 2695.0 / 10992797.0;
    const BrickCell big = Eval(Settings(kPavingTile2Id, 1, 1), x1 / 6.f, 1.f - x2 / 6.f);
    EXPECT_EQ(big.brickU, 0);
    EXPECT_EQ(big.brickV, 0);
    EXPECT_EQ(big.kind, 0);
    EXPECT_FALSE(big.isGrout);
    EXPECT_NEAR(big.localU, 0.5f, 1e-4f);
    EXPECT_NEAR(big.localV, 0.5f, 1e-4f);
    EXPECT_NEAR(big.sizeU, 3266.0 / (6.0 * std::sqrt(10992797.0)), 1e-6);
    EXPECT_EQ(big.sizeU, big.sizeV);

    // u = v = 0 is the design point (-565, 20173): the corner shared by the big squares of cells
    // (-1, 6) and (0, 6) and the small square of (0, 6), which is scanned last and wins.
    const BrickCell corner = Eval(Settings(kPavingTile2Id, 1, 1), 0.f, 0.f);
    EXPECT_EQ(corner.kind, 1);
    EXPECT_EQ(corner.brickU, 1);
    EXPECT_EQ(corner.brickV, 0);
    EXPECT_EQ(corner.localU, 0.f);
    EXPECT_EQ(corner.localV, 0.f);
}

TEST(PavingTile2, CountsRoundUpToSixLatticeCells) {
    for (float u = 0.013f; u < 1.f; u += 0.0721f) {
        for (float v = 0.007f; v < 1.f; v += 0.0693f) {
            const BrickCell one = Eval(Settings(kPavingTile2Id, 1, 1, 0.05f, 0.05f), u, v);
            for (int n = 2; n <= 6; ++n) {
                EXPECT_EQ(Eval(Settings(kPavingTile2Id, n, 7 - n, 0.05f, 0.05f), u, v), one);
            }
            // Seven counts along u lay the lattice twice as densely: u meets the square that 2u
            // meets at one count (the lattice coordinates are the same floats), its column taken
            // modulo 12 instead of 6, its extent along u about halved.
            if (u < 0.5f) {
                const BrickCell twice = Eval(Settings(kPavingTile2Id, 7, 1), u, v);
                const BrickCell doubled = Eval(Settings(kPavingTile2Id, 1, 1), 2.f * u, v);
                EXPECT_EQ(twice.brickU / 2 % 6, doubled.brickU / 2);
                EXPECT_EQ(twice.brickV, doubled.brickV);
                EXPECT_EQ(twice.kind, doubled.kind);
                EXPECT_LT(twice.sizeU, 0.6f * doubled.sizeU);
            }
        }
    }
}

TEST(PavingTile2, TileRepeatsSeamlessly) {
    // Points just either side of the tile's edges are nearly always on the same square, so its
    // indices must wrap with the lattice.
    for (const auto& [nx, ny] : {std::pair{1, 1}, std::pair{8, 13}}) {
        int sameU = 0, sameV = 0, total = 0;
        for (int k = 0; k < 200; ++k) {
            const float w = (static_cast<float>(k) + 0.5f) / 200.f;
            const PatternSettings ps = Settings(kPavingTile2Id, nx, ny);
            const BrickCell a = Eval(ps, 1.f - 1e-5f, w), b = Eval(ps, 1e-5f, w);
            const BrickCell c = Eval(ps, w, 1.f - 1e-5f), d = Eval(ps, w, 1e-5f);
            sameU += a.brickU == b.brickU && a.brickV == b.brickV && a.kind == b.kind;
            sameV += c.brickU == d.brickU && c.brickV == d.brickV && c.kind == d.kind;
            ++total;
        }
        EXPECT_GE(sameU, total * 95 / 100) << nx << " x " << ny;
        EXPECT_GE(sameV, total * 95 / 100) << nx << " x " << ny;
    }
}

TEST(PavingTile2, SmallSquaresCoverTheirShareOfTheArea) {
    // One small square of 571^2 per lattice cell of 10992797: about 3 % of the plane.
    int small = 0, total = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const BrickCell c =
                Eval(Settings(kPavingTile2Id, 12, 12), (x + 0.5f) / 200.f, (y + 0.5f) / 200.f);
            small += c.kind;
            ++total;
            EXPECT_FALSE(c.isGrout);
        }
    }
    EXPECT_NEAR(static_cast<double>(small) / total, 571.0 * 571.0 / 10992797.0, 0.006);
}

TEST(TableTiles, CellsAreConsistentOverAGrid) {
    struct Family {
        int id;
        int stride;
        int pieces;
    };
    const Family families[] = {{kPavingTile1Id, 16, 9},
                               {kParquetTile1Id, 8, 4},
                               {kParquetTile2Id, 8, 5},
                               {kParquetTile3Id, 8, 6}};
    for (const Family& f : families) {
        const PatternSettings ps = Settings(f.id, 3, 5, 0.04f, 0.06f);
        std::set<int> seen;
        for (int y = 0; y < 90; ++y) {
            for (int x = 0; x < 90; ++x) {
                const float u = (x + 0.37f) / 90.f, v = (y + 0.61f) / 90.f;
                const BrickCell c = Eval(ps, u, v);
                const int a = static_cast<int>(std::floor(3.f * u));
                EXPECT_GE(c.brickU, f.stride * a);
                EXPECT_LT(c.brickU, f.stride * a + f.pieces);
                EXPECT_EQ(c.brickV, static_cast<int>(std::floor(5.f * v)));
                EXPECT_TRUE(c.kind == 0 || c.kind == 1);
                EXPECT_EQ(c.upright, 1 - c.turned);
                EXPECT_TRUE(c.localU >= 0.f && c.localU <= 1.f && c.localV >= 0.f &&
                            c.localV <= 1.f);
                EXPECT_EQ(c.projSizeU, c.sizeU);
                EXPECT_EQ(c.projSizeV, c.sizeV);
                seen.insert(c.brickU - f.stride * a);
            }
        }
        EXPECT_EQ(static_cast<int>(seen.size()), f.pieces) << "id " << f.id;
    }
    // That the rectangle tables leave no joint without grout widths is the zero-grout lattice's.
}

// Points on and around the pieces' corners, where table order, strict comparisons and rounding
// decide, for a tile laid once over the unit square.
std::vector<std::pair<float, float>> CornerPoints(int id) {
    std::vector<DesignPoint> design;
    float S = 1.f;
    if (id == kPavingTile1Id || id == kParquetTile1Id) {
        const RectTileTable& t = id == kPavingTile1Id ? kPavingTile1 : kParquetTile1;
        S = t.size;
        for (const RectTile& r : t.rows) {
            for (float x : {r.x, r.x + r.width}) {
                for (float y : {r.y, r.y + r.height}) design.push_back({x, y});
            }
        }
    } else if (id == kParquetTile2Id || id == kParquetTile3Id) {
        const PolygonTileTable& t = id == kParquetTile2Id ? kParquetTile2 : kParquetTile3;
        S = t.size;
        for (const PolygonTile& p : t.rows) {
            for (int k = 0; k < p.count; ++k) {
                const DesignPoint a = p.vertices[k], b = p.vertices[(k + 1) % p.count];
                design.push_back(a);
                design.push_back({(a.x + b.x) / 2.f, (a.y + b.y) / 2.f});
            }
        }
    } else {
        // Lattice corners of Paving Tile 2 in lattice coordinates: (i, j) and the small square's
        // far corner, six cells per tile.
        std::vector<std::pair<float, float>> out;
        for (int j = 0; j <= 6; ++j) {
            for (int i = 0; i <= 6; ++i) {
                out.push_back({i / 6.f, 1.f - j / 6.f});
                out.push_back({(i + 571.f * 3266.f / 10992797.f) / 6.f,
                               1.f - (j - 571.f * 571.f / 10992797.f) / 6.f});
            }
        }
        std::vector<std::pair<float, float>> around;
        for (auto [u, v] : out) {
            for (int du = -2; du <= 2; ++du) {
                for (int dv = -2; dv <= 2; ++dv) {
                    around.push_back({u + du * 6e-8f, v + dv * 6e-8f});
                }
            }
        }
        return around;
    }
    std::vector<std::pair<float, float>> out;
    for (const DesignPoint& p : design) {
        const float u = DesignU(p.x, S), v = DesignV(p.y, S);
        for (int du = -2; du <= 2; ++du) {
            for (int dv = -2; dv <= 2; ++dv) {
                float uu = u, vv = v;
                for (int k = 0; k < std::abs(du); ++k) uu = std::nextafter(uu, du < 0 ? -1.f : 2.f);
                for (int k = 0; k < std::abs(dv); ++k) vv = std::nextafter(vv, dv < 0 ? -1.f : 2.f);
                out.push_back({uu, vv});
            }
        }
    }
    return out;
}

TEST(TableTiles, MatchThePlainMethodOnDenseGrids) {
    const std::pair<int, int> counts[] = {{1, 1}, {3, 2}, {7, 13}, {256, 256}};
    const std::pair<float, float> gaps[] = {
        {0.f, 0.f}, {0.03f, 0.05f}, {0.2f, 0.1f}, {0.49f, 0.7f}, {5.f, -1.f}};
    for (int id = kPavingTile1Id; id <= kParquetTile3Id; ++id) {
        const std::vector<std::pair<float, float>> corners = CornerPoints(id);
        int mismatches = 0;
        for (const auto& [nx, ny] : counts) {
            for (const auto& [gu, gv] : gaps) {
                const PatternSettings ps = Settings(id, nx, ny, gu, gv);
                auto check = [&](float u, float v) {
                    const BrickCell got = Eval(ps, u, v);
                    const BrickCell want = reference::TableTileCell(ps, u, v);
                    if (got != want && ++mismatches <= 5) {
                        ADD_FAILURE() << ToString(ps) << " u " << u << " v " << v << "\n got "
                                      << got << "\nwant " << want;
                    }
                };
                // An odd grid that meets no boundary on purpose, and an aligned one that does.
                for (int y = 0; y < 101; ++y) {
                    for (int x = 0; x < 101; ++x) check((x + 0.31f) / 101.f, (y + 0.77f) / 101.f);
                }
                for (int y = 0; y < 64; ++y) {
                    for (int x = 0; x < 64; ++x) check(x / 64.f, y / 64.f);
                }
                if (nx == 1 && ny == 1) {
                    for (auto [u, v] : corners) check(u, v);
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "id " << id;
    }
}

TEST(TableTiles, MatchThePlainMethodAtExtremeCounts) {
    // Beyond a few thousand lattice cells Paving Tile 2 falls back to the plain scan; at 65536
    // design coordinates lose precision, and pieces may leave gaps: then the nearest one counts.
    const std::pair<int, int> counts[] = {{4096, 4096}, {4097, 3}, {5000, 65536}, {65536, 65536}};
    std::uint32_t state = 12345u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) * 5.9604645e-8f;
    };
    for (int id = kPavingTile1Id; id <= kParquetTile3Id; ++id) {
        int mismatches = 0;
        for (const auto& [nx, ny] : counts) {
            const PatternSettings ps = Settings(id, nx, ny, 0.05f, 0.05f);
            for (int k = 0; k < 4000; ++k) {
                const float u = next(), v = next();
                const BrickCell got = Eval(ps, u, v);
                const BrickCell want = reference::TableTileCell(ps, u, v);
                if (got != want && ++mismatches <= 5) {
                    ADD_FAILURE() << ToString(ps) << " u " << u << " v " << v << "\n got " << got
                                  << "\nwant " << want;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "id " << id;
    }
}

}  // namespace
}  // namespace QuarelNS
