// Table-driven tiles.
#include "pattern/generators.h"

namespace QuarelNS {

// Laid as the running bond until this family's generators are written.
void PavingTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void PavingTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void ParquetTile1(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void ParquetTile2(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}
void ParquetTile3(const PatternSettings& ps, float u, float v, BrickCell& cell) {
    RunningBond(ps, u, v, cell, 0.5f);
}

}  // namespace QuarelNS
