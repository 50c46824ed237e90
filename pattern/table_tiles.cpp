// Table-driven tiles: the pattern ids over their tables. Paving Tile 2 has a lattice of its own.
#include "pattern/generators.h"
#include "pattern/table_tile_data.h"
#include "pattern/table_tile_search.h"

namespace QuarelNS {

namespace {

constexpr auto kPavingTile1Search = BuildRectTileSearch<kPavingTile1>();
constexpr auto kParquetTile1Search = BuildRectTileSearch<kParquetTile1>();
constexpr auto kParquetTile2Search = BuildPolygonTileSearch<kParquetTile2>();
constexpr auto kParquetTile3Search = BuildPolygonTileSearch<kParquetTile3>();

}  // namespace

void PavingTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RectTableTile(ps, u, v, cell, kPavingTile1Search.View());
}

void ParquetTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RectTableTile(ps, u, v, cell, kParquetTile1Search.View());
}

void ParquetTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    PolygonTableTile(ps, u, v, cell, kParquetTile2Search.View());
}

void ParquetTile3(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    PolygonTableTile(ps, u, v, cell, kParquetTile3Search.View());
}

}  // namespace QuarelNS
