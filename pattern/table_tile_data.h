// Constant tables of the table-driven tiles. Each tile is drawn in a design square of its own,
// in design units, with the design y axis running down from the top of the cell (largest v).
// Coordinates within kTileSnap of the square's edge are snapped onto it wherever they are used.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace QuarelNS {

// Design coordinates this close to the edge of the design square are taken as on it.
inline constexpr float kTileSnap = 25.f;

struct DesignPoint {
    float x;
    float y;
};

// A rectangle piece: top-left corner and extents before snapping, and its brick set.
struct RectTile {
    float x;
    float y;
    float width;
    float height;
    std::int32_t kind;
};

// A polygon piece: its outline as a closed vertex list (the last vertex joins the first).
struct PolygonTile {
    const DesignPoint* vertices;
    std::int32_t count;
    std::int32_t kind;
};

// A tile: its pieces in table order (earlier pieces win overlaps), the side of its design
// square, and the stride of brickU per repeat cell along u.
struct RectTileTable {
    std::span<const RectTile> rows;
    float size;
    std::int32_t stride;
};

struct PolygonTileTable {
    std::span<const PolygonTile> rows;
    float size;
    std::int32_t stride;
};

// Paving Tile 1: a large square, four corner squares and four side planks of the second set.
inline constexpr std::array<RectTile, 9> kPavingTile1Rects = {{
    {959.f, 959.f, 4378.f, 4378.f, 0},
    {6.f, 6.f, 954.f, 954.f, 0},
    {5337.f, 5337.f, 954.f, 954.f, 0},
    {5337.f, 6.f, 954.f, 954.f, 0},
    {6.f, 5337.f, 954.f, 954.f, 0},
    {6.f, 959.f, 954.f, 4378.f, 1},
    {5337.f, 959.f, 954.f, 4378.f, 1},
    {959.f, 6.f, 4378.f, 954.f, 1},
    {959.f, 5337.f, 4378.f, 954.f, 1},
}};
inline constexpr RectTileTable kPavingTile1{kPavingTile1Rects, 6296.f, 16};

// Parquet Tile 1: a field square, a corner square and two planks. Neighbours overlap by one
// unit; the table order decides those points.
inline constexpr std::array<RectTile, 4> kParquetTile1Rects = {{
    {544.f, 544.f, 1948.f, 1948.f, 0},
    {4.f, 4.f, 541.f, 541.f, 0},
    {544.f, 4.f, 1948.f, 541.f, 1},
    {4.f, 544.f, 541.f, 1948.f, 1},
}};
inline constexpr RectTileTable kParquetTile1{kParquetTile1Rects, 2496.f, 8};

// Parquet Tile 2: a field square framed by four trapezoids. The outer margin belongs to no
// piece, so a joint runs along the whole tile border.
inline constexpr std::array<DesignPoint, 4> kParquetTile2Field = {{
    {3143.f, 3143.f},
    {16637.f, 3143.f},
    {16637.f, 16637.f},
    {3143.f, 16637.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile2Top = {{
    {76.f, 76.f},
    {19704.f, 76.f},
    {16637.f, 3143.f},
    {3143.f, 3143.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile2Bottom = {{
    {76.f, 19704.f},
    {19704.f, 19704.f},
    {16637.f, 16637.f},
    {3143.f, 16637.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile2Left = {{
    {76.f, 19704.f},
    {76.f, 76.f},
    {3143.f, 3143.f},
    {3143.f, 16637.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile2Right = {{
    {19704.f, 19704.f},
    {19704.f, 76.f},
    {16637.f, 3143.f},
    {16637.f, 16637.f},
}};
inline constexpr std::array<PolygonTile, 5> kParquetTile2Polygons = {{
    {kParquetTile2Field.data(), 4, 0},
    {kParquetTile2Top.data(), 4, 1},
    {kParquetTile2Bottom.data(), 4, 1},
    {kParquetTile2Left.data(), 4, 1},
    {kParquetTile2Right.data(), 4, 1},
}};
inline constexpr PolygonTileTable kParquetTile2{kParquetTile2Polygons, 19781.f, 8};

// Parquet Tile 3: the frame of Parquet Tile 2 at a larger scale, with a medallion (a square with
// a semicircular tab on each side, each tab a polyline of 24 segments) laid over the field. The
// medallion comes first in the table, so it covers the field square.
inline constexpr std::array<DesignPoint, 104> kParquetTile3Medallion = {{
    {16292.f, 33124.f},   {20824.f, 33124.f},   {20859.5f, 33651.2f}, {20962.7f, 34156.9f},
    {21129.2f, 34636.4f}, {21354.3f, 35085.f},  {21633.3f, 35498.2f}, {21961.6f, 35871.2f},
    {22334.6f, 36199.6f}, {22747.7f, 36478.7f}, {23196.2f, 36703.8f}, {23675.5f, 36870.2f},
    {24181.f, 36973.5f},  {24708.f, 37009.f},   {25235.f, 36973.5f},  {25740.5f, 36870.3f},
    {26219.8f, 36703.8f}, {26668.3f, 36478.7f}, {27081.4f, 36199.6f}, {27454.4f, 35871.2f},
    {27782.7f, 35498.2f}, {28061.7f, 35085.f},  {28286.8f, 34636.4f}, {28453.3f, 34156.9f},
    {28556.5f, 33651.2f}, {28592.f, 33124.f},   {33124.f, 33124.f},   {33124.f, 28593.f},
    {33651.2f, 28557.5f}, {34156.9f, 28454.3f}, {34636.4f, 28287.8f}, {35085.f, 28062.7f},
    {35498.2f, 27783.6f}, {35871.2f, 27455.2f}, {36199.6f, 27082.2f}, {36478.7f, 26669.f},
    {36703.8f, 26220.4f}, {36870.2f, 25740.9f}, {36973.5f, 25235.2f}, {37009.f, 24708.f},
    {36973.5f, 24181.f},  {36870.3f, 23675.5f}, {36703.8f, 23196.2f}, {36478.7f, 22747.7f},
    {36199.6f, 22334.6f}, {35871.2f, 21961.6f}, {35498.2f, 21633.3f}, {35085.f, 21354.3f},
    {34636.4f, 21129.2f}, {34156.9f, 20962.7f}, {33651.2f, 20859.5f}, {33124.f, 20824.f},
    {33124.f, 16292.f},   {28592.f, 16292.f},   {28556.5f, 15765.f},  {28453.3f, 15259.5f},
    {28286.8f, 14780.2f}, {28061.7f, 14331.7f}, {27782.7f, 13918.6f}, {27454.4f, 13545.6f},
    {27081.4f, 13217.3f}, {26668.3f, 12938.3f}, {26219.8f, 12713.2f}, {25740.5f, 12546.7f},
    {25235.f, 12443.5f},  {24708.f, 12408.f},   {24181.f, 12443.5f},  {23675.5f, 12546.7f},
    {23196.2f, 12713.2f}, {22747.7f, 12938.3f}, {22334.6f, 13217.3f}, {21961.6f, 13545.6f},
    {21633.3f, 13918.6f}, {21354.3f, 14331.7f}, {21129.2f, 14780.2f}, {20962.7f, 15259.5f},
    {20859.5f, 15765.f},  {20824.f, 16292.f},   {16292.f, 16292.f},   {16292.f, 20824.f},
    {15765.f, 20859.5f},  {15259.5f, 20962.7f}, {14780.2f, 21129.2f}, {14331.7f, 21354.3f},
    {13918.6f, 21633.3f}, {13545.6f, 21961.6f}, {13217.3f, 22334.6f}, {12938.3f, 22747.7f},
    {12713.2f, 23196.2f}, {12546.7f, 23675.5f}, {12443.5f, 24181.f},  {12408.f, 24708.f},
    {12443.5f, 25235.2f}, {12546.7f, 25740.9f}, {12713.2f, 26220.4f}, {12938.3f, 26669.f},
    {13217.3f, 27082.2f}, {13545.6f, 27455.2f}, {13918.6f, 27783.6f}, {14331.7f, 28062.7f},
    {14780.2f, 28287.8f}, {15259.5f, 28454.2f}, {15765.f, 28557.5f},  {16292.f, 28593.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile3Field = {{
    {7852.f, 7852.f},
    {41564.f, 7852.f},
    {41564.f, 41564.f},
    {7852.f, 41564.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile3Top = {{
    {191.f, 191.f},
    {49226.f, 191.f},
    {41564.f, 7852.f},
    {7852.f, 7852.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile3Bottom = {{
    {191.f, 49226.f},
    {49226.f, 49226.f},
    {41564.f, 41564.f},
    {7852.f, 41564.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile3Left = {{
    {191.f, 49226.f},
    {191.f, 191.f},
    {7852.f, 7852.f},
    {7852.f, 41564.f},
}};
inline constexpr std::array<DesignPoint, 4> kParquetTile3Right = {{
    {49226.f, 49226.f},
    {49226.f, 191.f},
    {41564.f, 7852.f},
    {41564.f, 41564.f},
}};
inline constexpr std::array<PolygonTile, 6> kParquetTile3Polygons = {{
    {kParquetTile3Medallion.data(), 104, 1},
    {kParquetTile3Field.data(), 4, 0},
    {kParquetTile3Top.data(), 4, 1},
    {kParquetTile3Bottom.data(), 4, 1},
    {kParquetTile3Left.data(), 4, 1},
    {kParquetTile3Right.data(), 4, 1},
}};
inline constexpr PolygonTileTable kParquetTile3{kParquetTile3Polygons, 49417.f, 8};

// Paving Tile 2: big and small squares in the pinwheel arrangement on a lattice spanned by
// (big, small) and (-small, big), offset so that the tile repeats seamlessly. The lattice cell's
// area is big^2 + small^2.
inline constexpr float kPinwheelBig = 3266.f;
inline constexpr float kPinwheelSmall = 571.f;
inline constexpr float kPinwheelOffsetX = 2861.f;
inline constexpr float kPinwheelOffsetY = 577.f;
inline constexpr float kPinwheelCellArea = 10992797.f;
static_assert(3266 * 3266 + 571 * 571 == 10992797, "pinwheel cell area");

}  // namespace QuarelNS
