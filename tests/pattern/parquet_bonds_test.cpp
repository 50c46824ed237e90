// Herringbone, T-Shape, Modular Ashlar and Basket Weave.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "support.h"

namespace QuarelNS {
namespace {

using testing::Eval;
using testing::Settings;

constexpr int kHerringbone = 5;
constexpr int kTShape = 6;
constexpr int kModularAshlar = 8;
constexpr int kBasketWeave = 9;

using GridCell = std::pair<int, int>;

// Grid cells sampled at their centres, grouped by the brick that covers them.
std::map<GridCell, std::vector<GridCell>> BricksOnGrid(const PatternSettings& ps, int cols,
                                                       int rows) {
    std::map<GridCell, std::vector<GridCell>> bricks;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) {
            const BrickCell c = Eval(ps, (static_cast<float>(x) + 0.5f) / static_cast<float>(cols),
                                     (static_cast<float>(y) + 0.5f) / static_cast<float>(rows));
            bricks[{c.brickU, c.brickV}].push_back({x, y});
        }
    }
    return bricks;
}

// True when `cells` are exactly `len` consecutive cells along one axis, counted around the tile.
bool IsRun(const std::vector<GridCell>& cells, int len, bool alongU, int cols, int rows) {
    if (static_cast<int>(cells.size()) != len) return false;
    for (const GridCell& s : cells) {
        int found = 0;
        for (int k = 0; k < len; ++k) {
            const GridCell want = alongU ? GridCell{(s.first + k) % cols, s.second}
                                         : GridCell{s.first, (s.second + k) % rows};
            found += std::count(cells.begin(), cells.end(), want) > 0 ? 1 : 0;
        }
        if (found == len) return true;
    }
    return false;
}

TEST(ParquetBonds, KnownBricks) {
    const testing::KnownPiece known[] = {
        // 12 grid units each way: cell (4, 0) starts a lying brick. nx = 5 rounds up to the
        // same 12 units.
        {Settings(kHerringbone, 4, 4), 5.5f / 12.f, 0.5f / 12.f, {8, 0, 0, false}},
        {Settings(kHerringbone, 5, 4), 5.5f / 12.f, 0.5f / 12.f, {8, 0, 0, false}},
        {Settings(kModularAshlar, 2, 2), 0.9f, 0.3f, {4, 0, 0, false}},
        {Settings(kModularAshlar, 4, 2), 0.9f, 0.3f, {16 + 4, 0, 0, false}},
        // One even cell holds two lying bricks; with nx = 2 cell (1, 0) holds two standing ones.
        {Settings(kBasketWeave, 1, 1), 0.5f, 0.25f, {0, 0, 0, false}},
        {Settings(kBasketWeave, 2, 1), 0.9f, 0.3f, {3, 0, 0, false}},
    };
    for (const testing::KnownPiece& k : known)
        EXPECT_EQ(testing::PieceAt(k.ps, k.u, k.v), k.want) << k.ps << " at " << k.u << ", " << k.v;
}

// A standing T-Shape brick is numbered by its row pair, a lying piece by its half-row: stored
// scenes take their per-brick colours from these numbers, so they stay even where a standing
// brick and a lying piece meet with the same pair.
TEST(ParquetBonds, TShapeStandingBricksCountPairsLyingPiecesHalfRows) {
    for (int ny : {1, 2, 3, 8}) {
        const PatternSettings ps = Settings(kTShape, 1, ny);
        const float pair = 1.f / static_cast<float>(ny);
        for (int r = 0; r < ny; ++r) {
            const float v = (static_cast<float>(r) + 0.3f) * pair;
            const float standingU = (r & 1) ? 0.1f : 0.8f;  // column 0 in odd pairs, 2 in even
            const BrickCell standing = Eval(ps, standingU, v);
            EXPECT_EQ(standing.brickU, (r & 1) ? 0 : 2) << ps << " pair " << r;
            EXPECT_EQ(standing.brickV, r) << ps << " pair " << r;
            const BrickCell lower = Eval(ps, 0.5f, v);
            const BrickCell upper = Eval(ps, 0.5f, (static_cast<float>(r) + 0.7f) * pair);
            EXPECT_EQ(lower.brickV, 2 * r) << ps << " pair " << r;
            EXPECT_EQ(upper.brickV, 2 * r + 1) << ps << " pair " << r;
        }
    }
    // nx = 1, ny = 2: the standing brick of pair 1 (column 0) and the upper lying piece of pair 0
    // (columns 0 and 1) below it are both (0, 1).
    const PatternSettings two = Settings(kTShape, 1, 2);
    const BrickCell standing = Eval(two, 0.1f, 0.6f);
    const BrickCell lying = Eval(two, 0.1f, 0.4f);
    EXPECT_EQ(standing.sizeV, 0.5f);
    EXPECT_EQ(lying.sizeU, 0.25f);
    EXPECT_EQ(standing.brickU, lying.brickU);
    EXPECT_EQ(standing.brickV, lying.brickV);
}

// Faces where each bond's own geometry sets them: the golden maps hold the rest.
TEST(ParquetBonds, LocalFrames) {
    // Herringbone lying brick: the shared frame step turns it; localV runs along it.
    const BrickCell lying = Eval(Settings(kHerringbone, 4, 4), 5.5f / 12.f, 0.5f / 12.f);
    EXPECT_EQ(lying.localV, (12.f * (5.5f / 12.f) - 4.f) / 3.f);
    EXPECT_EQ(lying.turned, 1);
    EXPECT_EQ(lying.projSizeV, 3.f / 12.f);
    // T-Shape lying piece: exchanged on its cell without writing the frame, and not clamped: in
    // a joint its coordinates leave [0, 1].
    const BrickCell piece = Eval(Settings(kTShape, 1, 1), 0.2f, 0.7f);
    EXPECT_EQ(piece.localV, 0.2f / (2.f / 3.f));
    EXPECT_EQ(piece.sizeV, 2.f / 3.f);
    EXPECT_LT(Eval(Settings(kTShape, 1, 1, 0.2f, 0.2f), 0.67f, 0.5f).localU, 0.f);
    // Modular Ashlar stone 0, two quarters wide, exchanged.
    EXPECT_EQ(Eval(Settings(kModularAshlar, 2, 2), 0.3f, 0.1f).localV, 0.3f / (2.f / 4.f));
    // Basket Weave: the left standing brick of cell (1, 0) (s = 0.2 there).
    EXPECT_EQ(Eval(Settings(kBasketWeave, 2, 1), 0.6f, 0.3f).localU, 2.f * ((0.6f - 0.5f) / 0.5f));
}

// Sampled on the pattern's own grid, every brick covers exactly its shape, bricks that cross the
// tile edge keep one identity, and no two bricks share one.
TEST(ParquetBonds, BricksCoverTheirShapes) {
    for (int n : {1, 4, 5}) {
        for (int m : {2, 7}) {
            const int cols = 6 * ((n + 2) / 3);
            const int rows = 6 * ((m + 2) / 3);
            for (const auto& [id, cells] : BricksOnGrid(Settings(kHerringbone, n, m), cols, rows))
                EXPECT_TRUE(IsRun(cells, 3, (id.first & 1) == 0, cols, rows))
                    << "herringbone " << id.first << "," << id.second;
        }
    }
    // T-Shape on columns and half-rows: a standing brick is one column by a whole pair, a lying
    // piece two columns by a half-row. Standing and lying bricks number their rows differently
    // and may share an index pair, so each kind is grouped on its own: standing bricks stand in
    // column 2 of each group of three in even pairs and in column 0 in odd pairs.
    for (int m : {1, 2, 6}) {
        const PatternSettings ps = Settings(kTShape, 3, m);
        std::map<GridCell, std::vector<GridCell>> bricks[2];  // lying, standing
        for (int y = 0; y < 2 * m; ++y) {
            for (int x = 0; x < 9; ++x) {
                const BrickCell c = Eval(ps, (static_cast<float>(x) + 0.5f) / 9.f,
                                         (static_cast<float>(y) + 0.5f) / (2.f * m));
                const bool standing = x % 3 == ((y / 2) % 2 == 1 ? 0 : 2);
                bricks[standing ? 1 : 0][{c.brickU, c.brickV}].push_back({x, y});
            }
        }
        for (int standing = 0; standing < 2; ++standing) {
            for (const auto& [id, cells] : bricks[standing]) {
                ASSERT_EQ(cells.size(), 2u) << "t-shape " << id.first << "," << id.second;
                EXPECT_EQ(cells[0].second / (standing ? 2 : 1), id.second);
                EXPECT_TRUE(IsRun(cells, 2, standing == 0, 9, 2 * m));
            }
        }
    }
    for (const auto& [id, cells] : BricksOnGrid(Settings(kBasketWeave, 4, 3), 8, 6)) {
        const bool standing = (((id.first >> 1) + id.second) & 1) != 0;
        EXPECT_TRUE(IsRun(cells, 2, !standing, 8, 6)) << "basket " << id.first << "," << id.second;
    }
    // The nine Ashlar stones tile the repeat cell in rectangles whose extents their faces report.
    const PatternSettings ashlar = Settings(kModularAshlar, 2, 2);
    const auto stones = BricksOnGrid(ashlar, 4, 4);
    ASSERT_EQ(stones.size(), 9u);
    for (const auto& [id, cells] : stones) {
        const auto [x0, x1] = std::minmax_element(cells.begin(), cells.end());
        int y0 = 4, y1 = -1;
        for (const GridCell& g : cells) y0 = std::min(y0, g.second), y1 = std::max(y1, g.second);
        const int w = x1->first - x0->first + 1;
        const int h = y1 - y0 + 1;
        EXPECT_EQ(static_cast<int>(cells.size()), w * h) << "stone " << id.first;
        const BrickCell c = Eval(ashlar, (static_cast<float>(cells[0].first) + 0.5f) / 4.f,
                                 (static_cast<float>(cells[0].second) + 0.5f) / 4.f);
        EXPECT_EQ(c.sizeU * c.sizeV, 0.0625f * static_cast<float>(w * h)) << "stone " << id.first;
    }
}

TEST(ParquetBonds, Joints) {
    // Herringbone lying brick, cell 0.25 x 1/12: joints are 0.1 of the shorter side all round.
    // Ashlar joint lines of half-width 0.2 * 0.5 * 0.25 = 0.025 run between stones only.
    const PatternSettings hb = Settings(kHerringbone, 4, 4, 0.1f, 0.1f);
    const PatternSettings ashlar = Settings(kModularAshlar, 2, 2, 0.2f, 0.2f);
    const float unit = 1.f / 12.f;
    const testing::GroutProbe probes[] = {
        {hb, 4.04f * unit, 0.5f * unit, true},
        {hb, 4.06f * unit, 0.5f * unit, false},
        {hb, 5.5f * unit, 0.96f * unit, true},
        {hb, 5.5f * unit, 0.94f * unit, false},
        {ashlar, 0.27f, 0.6f, true},  // x = 1/4, stones 2 | 5
        {ashlar, 0.28f, 0.6f, false},
        {ashlar, 0.73f, 0.4f, true},     // x = 3/4, stones 3 | 4
        {ashlar, 0.75f, 0.6f, false},    // inside stone 6
        {ashlar, 0.5f, 0.375f, false},   // inside stone 3
        {ashlar, 0.6f, 0.73f, true},     // y = 3/4, stones 6 | 8
        {ashlar, 0.375f, 0.75f, false},  // inside stone 5
    };
    for (const testing::GroutProbe& p : probes)
        EXPECT_EQ(Eval(p.ps, p.u, p.v).isGrout, p.grout) << p.ps << " " << p.u << "," << p.v;
}

}  // namespace
}  // namespace QuarelNS
