// Custom patterns 1 to 7.
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until this family's generators are written.
void CustomPattern(const PatternSettings& ps, float u, float v, BrickCell& cell, int) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
