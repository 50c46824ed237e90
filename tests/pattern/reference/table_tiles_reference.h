// Plain methods of the table-driven tiles: every rectangle, every edge and every lattice square
// examined in order, vertices snapped where they are used, no precomputation. The engine's
// generators must give bit-identical records.
#pragma once

#include "pattern/pattern_types.h"
#include "pattern/table_tile_data.h"

namespace QuarelNS::reference {

// Generators over reduced coordinates and sanitised settings, as the engine's dispatch calls them.
void RectTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                   const RectTileTable& table);
void PolygonTableTile(const PatternSettings& ps, float u, float v, BrickCell& cell,
                      const PolygonTileTable& table);
void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell);

// The whole query for ids 25 to 29, as EvaluatePattern answers it: settings sanitised,
// coordinates reduced, cell preset to the defaults. Other ids give the default cell.
BrickCell TableTileCell(const PatternSettings& settings, float u, float v);

}  // namespace QuarelNS::reference
