// Table-driven tiles: the pattern ids over their tables. Paving Tile 2 has a lattice of its own.
#include "pattern/generators.h"
#include "pattern/table_tile_data.h"
#include "pattern/table_tile_grid.h"
#include "pattern/table_tile_search.h"

namespace QuarelNS {

namespace {

constexpr auto kPavingTile1Search = BuildRectTileSearch<kPavingTile1>();
constexpr auto kParquetTile1Search = BuildRectTileSearch<kParquetTile1>();
constexpr auto kParquetTile2Search = BuildPolygonTileSearch<kParquetTile2>();
constexpr auto kParquetTile3Search = BuildPolygonTileSearch<kParquetTile3>();

// Each tile's grid, built on first use; the guarded initialisation makes every other thread
// wait for the build and see it complete.
template <const auto& Search>
const PolygonTileGrid& GridOf() {
    static PolygonTileGrid grid;
    static const PolygonTileGrid* const built = [] {
        BuildPolygonTileGrid(Search.View(), grid);
        return &grid;
    }();
    return *built;
}

}  // namespace

const PolygonTileGrid& ParquetTile2Grid() {
    return GridOf<kParquetTile2Search>();
}

const PolygonTileGrid& ParquetTile3Grid() {
    return GridOf<kParquetTile3Search>();
}

void PavingTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RectTableTile(ps, u, v, cell, kPavingTile1Search.View());
}

void ParquetTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RectTableTile(ps, u, v, cell, kParquetTile1Search.View());
}

void ParquetTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    PolygonTableTile(ps, u, v, cell, kParquetTile2Search.View(), &ParquetTile2Grid());
}

void ParquetTile3(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    PolygonTableTile(ps, u, v, cell, kParquetTile3Search.View(), &ParquetTile3Grid());
}

}  // namespace QuarelNS
