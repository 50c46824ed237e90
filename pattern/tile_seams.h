// Whether one UV tile of a map repeats, seen from its pattern and master transform, and why not
// in words a user can act on. A bake whose tile does not repeat shows a seam when laid side by
// side, whatever the per-brick values do.
#pragma once

#include <string>
#include <vector>

#include "pattern/pattern_types.h"

namespace QuarelNS {

// The master transform as far as the repeat is concerned; the offsets never break it.
struct MasterRepeat {
    float tilingU = 1.f;
    float tilingV = 1.f;
    float angle = 0.f;  // radians
};

// One line per reason the UV tile does not repeat, naming the parameter to change (by its
// preset name); empty when the tile repeats along both axes.
std::vector<std::string> DescribeTileSeams(const PatternSettings& settings,
                                           const MasterRepeat& master);

}  // namespace QuarelNS
