// Plain rectangle-layout custom patterns ("Pattern 1", "Pattern 2", "Pattern 4"): their own copy
// of the piece tables, written the way the layouts are drawn (Pattern 4 as columns of bands), and
// a scan over every piece in table order. Tests compare the engine's located search with it.
#pragma once

#include "pattern/pattern_types.h"

namespace QuarelNS::reference {

// number is 1, 2 or 4; u and v in [0, 1); cell preset to the caller's defaults.
void CustomRectangleLayout(const PatternSettings& ps, float u, float v, BrickCell& cell,
                           int number);

}  // namespace QuarelNS::reference
