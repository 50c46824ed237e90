// Maple Leaf (id 24).
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until the leaf outline is in place.
void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
