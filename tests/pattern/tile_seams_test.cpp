// The bake's warning: why one UV tile of a map does not repeat.
#include <gtest/gtest.h>

#include "pattern/tile_seams.h"
#include "support.h"

namespace QuarelNS {
namespace {

using testing::Settings;

constexpr float kDegree = 0.017453292f;

MasterRepeat Master(float tu, float tv, float degrees = 0.f) {
    return {tu, tv, degrees * kDegree};
}

TEST(TileSeams, AlternatingRowsAndColumnsNeedAnEvenCount) {
    EXPECT_EQ(DescribeTileSeams(Settings(0, 4, 7), Master(1, 1)),
              std::vector<std::string>{
                  "1/2 Running repeats every 2 rows: ny 7 gives a seam; use an even ny"});
    EXPECT_EQ(DescribeTileSeams(Settings(12, 7, 4), Master(1, 1)),
              std::vector<std::string>{
                  "Hexagons repeats every 2 columns: nx 7 gives a seam; use an even nx"});
    // Both axes of a checkerboard.
    EXPECT_EQ(DescribeTileSeams(Settings(9, 3, 5), Master(1, 1)).size(), 2u);
    // Even counts, stack bonds and patterns that round their grid up repeat.
    EXPECT_TRUE(DescribeTileSeams(Settings(0, 4, 8), Master(1, 1)).empty());
    EXPECT_TRUE(DescribeTileSeams(Settings(4, 3, 7), Master(1, 1)).empty());
    EXPECT_TRUE(DescribeTileSeams(Settings(5, 7, 5), Master(1, 1)).empty());
}

TEST(TileSeams, MasterTransformCountsPatternTilesPerUvTile) {
    // Two pattern tiles of seven rows are fourteen rows: they repeat.
    EXPECT_TRUE(DescribeTileSeams(Settings(0, 4, 7), Master(1, 2)).empty());
    EXPECT_EQ(DescribeTileSeams(Settings(0, 4, 7), Master(1, -3)),
              std::vector<std::string>{"1/2 Running repeats every 2 rows: ny 7 with "
                                       "master_v_tiling 3 gives a seam; use an even ny"});
    // A quarter turn lays the rows along u: the u tiling counts them.
    EXPECT_TRUE(DescribeTileSeams(Settings(0, 4, 7), Master(2, 1, 90)).empty());
    EXPECT_EQ(DescribeTileSeams(Settings(0, 4, 7), Master(1, 2, 270)).size(), 1u);
    EXPECT_TRUE(DescribeTileSeams(Settings(0, 4, 8), Master(1, 1, -180)).empty());
    // Part of a tile, or a slant: no count helps.
    EXPECT_EQ(DescribeTileSeams(Settings(4, 4, 8), Master(1.5f, 1)),
              std::vector<std::string>{"master_u_tiling 1.5 is not a whole number: the tile ends "
                                       "inside a pattern tile; use a whole number"});
    const auto slant = DescribeTileSeams(Settings(0, 4, 7), Master(1, 1, 30));
    ASSERT_EQ(slant.size(), 1u);
    EXPECT_EQ(slant[0].rfind("master_angle 30 degrees is not a multiple of 90", 0), 0u);
    // A zero tiling holds the pattern still along that axis.
    EXPECT_TRUE(DescribeTileSeams(Settings(0, 4, 7), Master(1, 0)).empty());
}

}  // namespace
}  // namespace QuarelNS
