// Generators of the pattern engine, internal to it. Each takes the sanitised settings and a
// point already reduced to [0, 1) and writes the fields its pattern owns into the caller's cell.
#pragma once

#include "pattern/pattern_types.h"

namespace QuarelNS {

// Running bonds and Common Flemish.
void RunningBond(const PatternSettings& ps, float u, float v, BrickCell& cell, float rowOffset);
void CommonFlemish(const PatternSettings& ps, float u, float v, BrickCell& cell);

// Herringbone, T-Shape, Modular Ashlar, Basket Weave.
void Herringbone(const PatternSettings& ps, float u, float v, BrickCell& cell);
void TShape(const PatternSettings& ps, float u, float v, BrickCell& cell);
void ModularAshlar(const PatternSettings& ps, float u, float v, BrickCell& cell);
void BasketWeave(const PatternSettings& ps, float u, float v, BrickCell& cell);

// Diagonal, triangle, chevron, hexagon and wave patterns.
void Diagonal(const PatternSettings& ps, float u, float v, BrickCell& cell);
void Triangles(const PatternSettings& ps, float u, float v, BrickCell& cell);
void Chevron(const PatternSettings& ps, float u, float v, BrickCell& cell);
void Hexagons(const PatternSettings& ps, float u, float v, BrickCell& cell);
void Wave(const PatternSettings& ps, float u, float v, BrickCell& cell, bool checker);
void Triangles2(const PatternSettings& ps, float u, float v, BrickCell& cell);

// Custom patterns 1 to 7 (number 1..7).
void CustomPattern(const PatternSettings& ps, float u, float v, BrickCell& cell, int number);

// Table-driven tiles.
void PavingTile1(const PatternSettings& ps, float u, float v, BrickCell& cell);
void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell);
void ParquetTile1(const PatternSettings& ps, float u, float v, BrickCell& cell);
void ParquetTile2(const PatternSettings& ps, float u, float v, BrickCell& cell);
void ParquetTile3(const PatternSettings& ps, float u, float v, BrickCell& cell);

// Outline patterns.
void IPaver(const PatternSettings& ps, float u, float v, BrickCell& cell);
void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell);

}  // namespace QuarelNS
