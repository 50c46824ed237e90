// The main map's relief outputs as a host reaches them: the normal and the bump output are the
// map's sub-maps 3 and 4. Their parameters are named with a prefix ("normal.", "bump.")
// because their blocks repeat names of the main map's own relief block.
#pragma once

#include <string_view>

#include "imtl.h"

namespace QuarelPreview {

inline constexpr std::string_view kNormalPrefix = "normal.";
inline constexpr std::string_view kBumpPrefix = "bump.";
inline constexpr int kNormalSubMap = 3;
inline constexpr int kBumpSubMap = 4;

// The relief output a parameter prefix stands for, or null (also for an unknown prefix).
Texmap* ReliefOutputFor(Texmap* map, std::string_view prefix);

// Before any evaluation, on this thread, as a renderer does: every map it shows is updated, the
// relief outputs (which evaluation never updates) included.
void UpdateForRender(Texmap* map);

}  // namespace QuarelPreview
