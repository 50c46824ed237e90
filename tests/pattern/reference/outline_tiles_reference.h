// Plain implementations of the outline patterns, for comparison with the engine.
//
// MapleLeaf flattens the leaf outline for every candidate leaf of every call and tests all of its
// chords, with no table and no pruning: slow, and obviously the method as stated. The engine's
// Maple Leaf must return bit-identical records.
//
// IPaver decides the stone by the shape tests and measures every outline distance at every
// point; the engine skips both where its grid over the repeat cell knows the answer.
#pragma once

#include "pattern/pattern_types.h"

namespace QuarelNS::reference {

// Same contract as the engine's generator: sanitised settings, u and v in [0, 1).
void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell);

// The whole query as EvaluatePattern makes it for id 24, with the plain generator.
BrickCell EvaluateMapleLeaf(const PatternSettings& settings, float u, float v);

void IPaver(const PatternSettings& ps, float u, float v, BrickCell& cell);

BrickCell EvaluateIPaver(const PatternSettings& settings, float u, float v);

}  // namespace QuarelNS::reference
