// Herringbone, T-Shape, Modular Ashlar and Basket Weave.
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until this family's generators are written.
void Herringbone(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void TShape(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void ModularAshlar(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void BasketWeave(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
