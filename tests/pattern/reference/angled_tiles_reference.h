// Plain implementation of Hexagons, for comparison with the engine: the nine candidate centres
// each measured with their own divisions, in search order. The engine shares the divisions that
// candidates have in common and must return bit-identical records.
#pragma once

#include "pattern/pattern_types.h"

namespace QuarelNS::reference {

// Same contract as the engine's generator: sanitised settings, u and v in [0, 1).
void Hexagons(const PatternSettings& ps, float u, float v, BrickCell& cell);

BrickCell EvaluateHexagons(const PatternSettings& settings, float u, float v);

}  // namespace QuarelNS::reference
