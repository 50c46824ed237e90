// The pattern engine's entry point.
//
// EvaluatePattern(settings, u, v, cell) answers, for a point of the pattern plane, which brick it
// lies on, where on that brick, and whether it is in the grout. One UV unit is one pattern tile:
// u and v are reduced to their fractional parts first, so u and u + k give identical records.
// The caller presets `cell` to the BrickCell defaults; the engine writes only what the pattern
// owns. Pure, reentrant and allocation-free: call it from any number of threads on distinct
// records.
//
// Any input gives a defined record: non-finite or huge coordinates are taken as 0, counts are
// held to 1..kMaxPatternCount, non-finite grout widths and shifts are neutralised, a corner
// radius is held to 0.5 (NaN or negative: none).
#pragma once

#include <cmath>

#include "pattern/pattern_types.h"

namespace QuarelNS {

// Far above the parameter block's 256; keeps every index product inside int32.
constexpr int kMaxPatternCount = 65536;

void EvaluatePattern(const PatternSettings& settings, float u, float v, BrickCell& cell);

// The settings exactly as the generators see them (counts held to 1..kMaxPatternCount,
// NaN widths and shifts as 0, infinite ones held to a finite bound; the corner radius, which no
// generator reads, as 0).
PatternSettings SanitizePatternSettings(const PatternSettings& settings);

// Fractional part in [0, 1). NaN and infinities give 0. A tiny negative x (such as -1e-9) whose
// fraction rounds to 1 gives the largest float below 1, so the point stays in the last cell, on
// its own side of the tile's seam.
float ReduceToUnit(float x);

inline float ReduceToUnitInline(float x) {
    const float r = x - std::floor(x);
    if (r >= 0.f && r < 1.f) return r;
    // Only x in (-1, 0) can round up to exactly 1; NaN and infinities fail both tests.
    return r == 1.f ? 0x1.fffffep-1f : 0.f;
}

}  // namespace QuarelNS
