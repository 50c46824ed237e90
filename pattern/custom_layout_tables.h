// Rectangle layouts of the custom patterns "Pattern 1", "Pattern 2" and "Pattern 4": the pieces
// every repeat cell is divided into, as fractions of the cell. The decimal values are the
// designer's numbers as floats (0.333 is not a third). Table order is the search order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace QuarelNS {

struct RectPiece {
    float x0, x1;         // extent along u, as fractions of the cell
    float y0, y1;         // extent along v
    std::int32_t di, dj;  // index offsets within the cell's block of indices
    std::int32_t kind;    // brick set
};

// Five pieces: a band below and above, three between them with the centre one of the second set.
inline constexpr RectPiece kPattern1Pieces[] = {
    {0.f, 1.f, 0.f, 0.28f, 0, 0, 0},       {0.f, 0.26f, 0.28f, 0.72f, 0, 1, 0},
    {0.26f, 0.74f, 0.28f, 0.72f, 1, 1, 1}, {0.74f, 1.f, 0.28f, 0.72f, 2, 1, 0},
    {0.f, 1.f, 0.72f, 1.f, 0, 2, 0},
};

// Eight pieces: Pattern 1 with the bands and the centre piece split in halves.
inline constexpr RectPiece kPattern2Pieces[] = {
    {0.f, 0.5f, 0.f, 0.28f, 0, 0, 0},     {0.5f, 1.f, 0.f, 0.28f, 3, 0, 0},
    {0.f, 0.26f, 0.28f, 0.72f, 0, 1, 0},  {0.26f, 0.5f, 0.28f, 0.72f, 1, 1, 1},
    {0.5f, 0.74f, 0.28f, 0.72f, 2, 1, 1}, {0.74f, 1.f, 0.28f, 0.72f, 3, 1, 0},
    {0.f, 0.5f, 0.72f, 1.f, 0, 2, 0},     {0.5f, 1.f, 0.72f, 1.f, 3, 2, 0},
};

// Twenty-nine pieces in five columns; each column is stacked bottom to top, dj counting upwards.
inline constexpr RectPiece kPattern4Pieces[] = {
    // Column 0.
    {0.f, 0.125f, 0.f, 0.125f, 0, 0, 0},
    {0.f, 0.125f, 0.125f, 0.333f, 0, 1, 1},
    {0.f, 0.125f, 0.333f, 0.5f, 0, 2, 1},
    {0.f, 0.125f, 0.5f, 0.625f, 0, 3, 0},
    {0.f, 0.125f, 0.625f, 0.792f, 0, 4, 1},
    {0.f, 0.125f, 0.792f, 0.875f, 0, 5, 1},
    {0.f, 0.125f, 0.875f, 1.f, 0, 6, 0},
    // Column 1.
    {0.125f, 0.375f, 0.f, 0.125f, 1, 0, 0},
    {0.125f, 0.375f, 0.125f, 0.333f, 1, 1, 1},
    {0.125f, 0.375f, 0.333f, 0.667f, 1, 2, 0},
    {0.125f, 0.375f, 0.667f, 0.875f, 1, 3, 1},
    {0.125f, 0.375f, 0.875f, 1.f, 1, 4, 0},
    // Column 2.
    {0.375f, 0.625f, 0.f, 0.375f, 2, 0, 1},
    {0.375f, 0.625f, 0.375f, 0.625f, 2, 1, 0},
    {0.375f, 0.625f, 0.625f, 0.875f, 2, 2, 1},
    {0.375f, 0.625f, 0.875f, 1.f, 2, 3, 0},
    // Column 3.
    {0.625f, 0.875f, 0.f, 0.125f, 3, 0, 0},
    {0.625f, 0.875f, 0.125f, 0.333f, 3, 1, 1},
    {0.625f, 0.875f, 0.333f, 0.5f, 3, 2, 0},
    {0.625f, 0.875f, 0.5f, 0.667f, 3, 3, 0},
    {0.625f, 0.875f, 0.667f, 0.875f, 3, 4, 1},
    {0.625f, 0.875f, 0.875f, 1.f, 3, 5, 0},
    // Column 4.
    {0.875f, 1.f, 0.f, 0.125f, 4, 0, 0},
    {0.875f, 1.f, 0.125f, 0.333f, 4, 1, 1},
    {0.875f, 1.f, 0.333f, 0.5f, 4, 2, 1},
    {0.875f, 1.f, 0.5f, 0.625f, 4, 3, 0},
    {0.875f, 1.f, 0.625f, 0.792f, 4, 4, 1},
    {0.875f, 1.f, 0.792f, 0.875f, 4, 5, 1},
    {0.875f, 1.f, 0.875f, 1.f, 4, 6, 0},
};

// First piece of each column of Pattern 4 in its table, plus the end: a point is located by its
// column and band instead of scanning all 29 pieces.
inline constexpr std::int32_t kPattern4ColumnCount = 5;
inline constexpr std::int32_t kPattern4ColumnStart[kPattern4ColumnCount + 1] = {0,  7,  12,
                                                                                16, 22, 29};
inline constexpr float kPattern4ColumnEdge[kPattern4ColumnCount + 1] = {0.f,    0.125f, 0.375f,
                                                                        0.625f, 0.875f, 1.f};

namespace detail {

// True when each column of the table is one x range, stacked from 0 to 1 without gaps, with dj
// counting upwards and di naming the column: what the column search relies on.
constexpr bool ColumnsAreStacked(const RectPiece* pieces, std::size_t count,
                                 const std::int32_t* start, const float* edge,
                                 std::int32_t columns) {
    if (start[0] != 0 || static_cast<std::size_t>(start[columns]) != count) return false;
    for (std::int32_t c = 0; c < columns; ++c) {
        float y = 0.f;
        for (std::int32_t k = start[c]; k < start[c + 1]; ++k) {
            const RectPiece& p = pieces[k];
            if (p.x0 != edge[c] || p.x1 != edge[c + 1] || p.y0 != y || p.di != c ||
                p.dj != k - start[c] || !(p.y1 > p.y0))
                return false;
            y = p.y1;
        }
        if (y != 1.f) return false;
    }
    return true;
}

}  // namespace detail

static_assert(std::size(kPattern1Pieces) == 5 && std::size(kPattern2Pieces) == 8 &&
              std::size(kPattern4Pieces) == 29);
static_assert(detail::ColumnsAreStacked(kPattern4Pieces, std::size(kPattern4Pieces),
                                        kPattern4ColumnStart, kPattern4ColumnEdge,
                                        kPattern4ColumnCount),
              "Pattern 4 must be stacked columns for its column search");

}  // namespace QuarelNS
