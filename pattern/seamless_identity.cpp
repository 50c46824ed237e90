#include "pattern/seamless_identity.h"

#include <array>

#include "pattern/catalogue.h"
#include "pattern/grid_index.h"

namespace QuarelNS {

namespace {

// One row per pattern id: index periods along u and v, then which counts must be even for the
// shape to repeat. Periods: a brick's parts differ by period x count in its index (a running
// bond's brick by nx, a pair index 2i + half by 2nx, an I-Paver corner stone 4a by 4nx).
constexpr std::array<SeamRule, kPatternCount> kSeamRules{{
    {1, 0, false, true},   // 0 1/2 Running: offset rows alternate
    {1, 0, false, true},   // 1 1/3 Running
    {2, 0, false, true},   // 2 Common Flemish: 2k + header
    {1, 0, false, true},   // 3 Custom Tiles
    {1, 0, false, false},  // 4 Fine Stack (cut only with a random shift)
    {0, 0, false, false},  // 5 Herringbone: indices already reduced by the generator
    {0, 0, false, true},   // 6 T-Shape: row pairs alternate
    {0, 0, true, true},    // 7 Diagonal: checkerboard of diagonals
    {0, 0, true, true},    // 8 Modular Ashlar: repeat cell of two counts
    {0, 0, true, true},    // 9 Basket Weave: checkerboard
    {2, 0, false, true},   // 10 Triangles: offset rows alternate, 2k + half
    {0, 2, false, false},  // 11 Chevron: strips run on into the next row, k + 2b
    {1, 1, true, false},   // 12 Hexagons: odd columns are shifted half a row
    {0, 0, false, false},  // 13 Pattern 1
    {0, 0, false, false},  // 14 Pattern 2
    {0, 0, true, true},    // 15 Pattern 3: strip direction alternates by cell
    {0, 0, false, false},  // 16 Pattern 4
    {0, 0, false, false},  // 17 Pattern 5: the generator already wraps its grid points
    {0, 0, false, false},  // 18 Pattern 6: the same
    {0, 0, false, false},  // 19 Pattern 7
    {4, 4, false, false},  // 20 I-Paver: corner stones shared by four cells, 4a
    {0, 1, true, true},    // 21 Wave Checker: kind (a + b) AND 1
    {0, 1, false, true},   // 22 Wave Striped: kind b AND 1
    {2, 0, false, true},   // 23 Triangles 2: offset rows alternate, 2k + kind
    {1, 1, true, true},    // 24 Maple Leaf: kind alternates like a checkerboard
    {0, 0, false, false},  // 25 Paving Tile 1
    {0, 0, false, false},  // 26 Paving Tile 2: indices already reduced by the generator
    {0, 0, false, false},  // 27 Parquet Tile 1
    {0, 0, false, false},  // 28 Parquet Tile 2
    {0, 0, false, false},  // 29 Parquet Tile 3
}};

inline bool RepeatsWith(bool needsEven, std::int32_t count) {
    return !needsEven || count % 2 == 0;
}

// Only a part that lies outside the tile's index range is renumbered: the other bricks skip the
// division.
inline void Wrap(std::int32_t& index, std::int32_t period) {
    if (static_cast<std::uint32_t>(index) >= static_cast<std::uint32_t>(period))
        index = ModIndex(index, period);
}

}  // namespace

const SeamRule& SeamRuleOf(std::int32_t pattern) {
    // As the dispatcher: compared as unsigned, so negative ids fall to "1/2 Running" too.
    const auto id = static_cast<std::uint32_t>(pattern);
    return kSeamRules[id < static_cast<std::uint32_t>(kPatternCount) ? id : 0u];
}

TileRepeat TileRepeatOf(const PatternSettings& settings) {
    const SeamRule& rule = SeamRuleOf(settings.pattern);
    TileRepeat r;
    r.u = RepeatsWith(rule.evenNx, CountOrOne(settings.nx));
    r.v = RepeatsWith(rule.evenNy, CountOrOne(settings.ny));
    return r;
}

void ApplySeamlessIdentity(const PatternSettings& settings, BrickCell& cell) {
    const SeamRule& rule = SeamRuleOf(settings.pattern);
    if (rule.periodU == 0 && rule.periodV == 0) return;
    const std::int32_t nx = CountOrOne(settings.nx);
    const std::int32_t ny = CountOrOne(settings.ny);
    // Periods stay inside int32: counts are at most kMaxPatternCount, periods at most 4.
    if (rule.periodU != 0 && RepeatsWith(rule.evenNx, nx)) Wrap(cell.brickU, rule.periodU * nx);
    if (rule.periodV != 0 && RepeatsWith(rule.evenNy, ny)) Wrap(cell.brickV, rule.periodV * ny);
}

}  // namespace QuarelNS
