// Diagonal, triangle, chevron, hexagon and wave patterns.
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until this family's generators are written.
void Diagonal(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void Triangles(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void Chevron(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void Hexagons(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void Wave(const PatternSettings& ps, float u, float v, BrickCell& cell, bool) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void Triangles2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
