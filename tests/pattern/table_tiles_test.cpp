// Table-driven tiles: Paving Tile 1 and 2, Parquet Tile 1, 2 and 3 (ids 25 to 29).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "pattern/table_tile_data.h"
#include "pattern/table_tile_grid.h"
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

TEST(PavingTile2, SmallSquaresCoverTheirShareOfTheArea) {
    // One small square of 571^2 per lattice cell of 10992797: about 3 % of the plane.
    const PatternSettings ps = Settings(kPavingTile2Id, 12, 12);
    int small = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 200; ++x) {
            const BrickCell c = Eval(ps, (x + 0.5f) / 200.f, (y + 0.5f) / 200.f);
            small += c.kind;
            EXPECT_FALSE(c.isGrout);
        }
    }
    EXPECT_NEAR(small / 40000.0, 571.0 * 571.0 / 10992797.0, 0.006);
}

// Points on and around the pieces' corners, where table order, strict comparisons and rounding
// decide, for a tile laid once over the unit square.
std::vector<std::pair<float, float>> CornerPoints(int id) {
    std::vector<std::pair<float, float>> corners;
    auto design = [&corners](float x, float y, float S) {
        corners.push_back({x / S, 1.f - y / S});
    };
    if (id == kPavingTile1Id || id == kParquetTile1Id) {
        const RectTileTable& t = id == kPavingTile1Id ? kPavingTile1 : kParquetTile1;
        for (const RectTile& r : t.rows) {
            for (float x : {r.x, r.x + r.width}) {
                for (float y : {r.y, r.y + r.height}) design(x, y, t.size);
            }
        }
    } else if (id == kPavingTile2Id) {
        // Lattice corners (i, j) and the small square's far corner, six lattice cells per tile.
        for (int j = 0; j <= 6; ++j) {
            for (int i = 0; i <= 6; ++i) {
                corners.push_back({i / 6.f, 1.f - j / 6.f});
                corners.push_back({(i + 571.f * 3266.f / 10992797.f) / 6.f,
                                   1.f - (j - 571.f * 571.f / 10992797.f) / 6.f});
            }
        }
    } else {
        const PolygonTileTable& t = id == kParquetTile2Id ? kParquetTile2 : kParquetTile3;
        for (const PolygonTile& p : t.rows) {
            for (int k = 0; k < p.count; ++k) {
                const DesignPoint a = p.vertices[k], b = p.vertices[(k + 1) % p.count];
                design(a.x, a.y, t.size);
                design((a.x + b.x) / 2.f, (a.y + b.y) / 2.f, t.size);
            }
        }
    }
    // Up to two floats either way (the lattice's corners are computed, so steps of 6e-8 there).
    auto step = [id](float x, int d) {
        if (id == kPavingTile2Id) return x + d * 6e-8f;
        for (int k = 0; k < std::abs(d); ++k) x = std::nextafter(x, d < 0 ? -1.f : 2.f);
        return x;
    };
    std::vector<std::pair<float, float>> around;
    for (auto [u, v] : corners) {
        for (int du = -2; du <= 2; ++du) {
            for (int dv = -2; dv <= 2; ++dv) around.push_back({step(u, du), step(v, dv)});
        }
    }
    return around;
}

// The plain methods settle every piece, joint and lattice square the tiles define, so the engine is
// held to them bit for bit rather than to points worked by hand.
TEST(TableTiles, MatchThePlainMethod) {
    const std::pair<int, int> counts[] = {{1, 1}, {3, 2}, {7, 13}, {256, 256}};
    const std::pair<float, float> gaps[] = {
        {0.f, 0.f}, {0.03f, 0.05f}, {0.2f, 0.1f}, {0.49f, 0.7f}, {5.f, -1.f}};
    // Beyond a few thousand lattice cells Paving Tile 2 falls back to the plain scan; at 65536
    // design coordinates lose precision, and pieces may leave gaps: then the nearest one counts.
    const std::pair<int, int> extremeCounts[] = {
        {4096, 4096}, {4097, 3}, {5000, 65536}, {65536, 65536}};
    std::uint32_t state = 12345u;
    auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) * 5.9604645e-8f;
    };
    for (int id = kPavingTile1Id; id <= kParquetTile3Id; ++id) {
        int mismatches = 0;
        auto check = [&mismatches](const PatternSettings& ps, float u, float v) {
            const BrickCell got = Eval(ps, u, v);
            const BrickCell want = reference::TableTileCell(ps, u, v);
            if (!testing::SameBits(got, want) && ++mismatches <= 5) {
                ADD_FAILURE() << ToString(ps) << " u " << u << " v " << v << "\n got " << got
                              << "\nwant " << want;
            }
        };
        for (const auto& [nx, ny] : counts) {
            for (const auto& [gu, gv] : gaps) {
                const PatternSettings ps = Settings(id, nx, ny, gu, gv);
                // An odd grid that meets no boundary on purpose, and an aligned one that does.
                for (int y = 0; y < 101; ++y) {
                    for (int x = 0; x < 101; ++x)
                        check(ps, (x + 0.31f) / 101.f, (y + 0.77f) / 101.f);
                }
                for (int y = 0; y < 64; ++y) {
                    for (int x = 0; x < 64; ++x) check(ps, x / 64.f, y / 64.f);
                }
                if (nx == 1 && ny == 1) {
                    for (auto [u, v] : CornerPoints(id)) check(ps, u, v);
                }
            }
        }
        for (const auto& [nx, ny] : extremeCounts) {
            const PatternSettings ps = Settings(id, nx, ny, 0.05f, 0.05f);
            for (int k = 0; k < 4000; ++k) {
                const float u = next(), v = next();
                check(ps, u, v);
            }
        }
        EXPECT_EQ(mismatches, 0) << "id " << id;
    }
}

// The polygon tiles' grid over the design square: with counts of 1 its cell edges lie at
// u, v = k / kTileGridSide. There a point's cell index may round to the neighbour, so both floats
// beside each edge are compared with the plain method too, with and without joints, and the
// grids must have fitted their storage.
TEST(TableTiles, PolygonGridCellEdgesMatchThePlainMethod) {
    EXPECT_TRUE(ParquetTile2Grid().complete);
    EXPECT_TRUE(ParquetTile3Grid().complete);
    std::vector<float> lines;
    for (int k = 0; k <= kTileGridSide; ++k) {
        const float c = static_cast<float>(k) / kTileGridSide;
        for (float x : {std::nextafter(c, -1.f), c, std::nextafter(c, 2.f)}) {
            if (x >= 0.f && x < 1.f) lines.push_back(x);
        }
    }
    for (int id : {kParquetTile2Id, kParquetTile3Id}) {
        int mismatches = 0;
        for (const auto& [gu, gv] :
             {std::pair{0.f, 0.f}, std::pair{0.05f, 0.05f}, std::pair{0.3f, 0.2f}}) {
            const PatternSettings ps = Settings(id, 1, 1, gu, gv);
            for (float v : lines) {
                for (float u : lines) {
                    const BrickCell got = Eval(ps, u, v);
                    const BrickCell want = reference::TableTileCell(ps, u, v);
                    if (!testing::SameBits(got, want) && ++mismatches <= 5)
                        ADD_FAILURE() << ps << " u " << u << " v " << v << "\n got " << got
                                      << "\nwant " << want;
                }
            }
        }
        EXPECT_EQ(mismatches, 0) << "id " << id;
    }
}

}  // namespace
}  // namespace QuarelNS
