// Outline patterns: I-Paver and Maple Leaf.
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until this family's generators are written.
void IPaver(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void MapleLeaf(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
