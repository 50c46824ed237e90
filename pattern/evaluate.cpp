#include "pattern/evaluate.h"

#include <algorithm>
#include <cmath>

#include "pattern/generators.h"

namespace QuarelNS {

namespace {

// Keeps a width or shift finite without touching ordinary values.
inline float FiniteOr0(float x, float bound) {
    if (x != x) return 0.f;
    return std::min(std::max(x, -bound), bound);
}

}  // namespace

float ReduceToUnit(float x) {
    return ReduceToUnitInline(x);
}

PatternSettings SanitizePatternSettings(const PatternSettings& settings) {
    // Field by field: copying the record whole and then patching fields makes the generators'
    // loads wait on overlapping stores, which doubled the cost of a simple pattern.
    PatternSettings ps;
    ps.pattern = settings.pattern;
    ps.nx = std::clamp(settings.nx, 1, kMaxPatternCount);
    ps.ny = std::clamp(settings.ny, 1, kMaxPatternCount);
    ps.gap_u = FiniteOr0(settings.gap_u, 1e6f);
    ps.gap_v = FiniteOr0(settings.gap_v, 1e6f);
    ps.random_shift = FiniteOr0(settings.random_shift, 1e3f);
    ps.seed = settings.seed;
    return ps;
}

void EvaluatePattern(const PatternSettings& settings, float u, float v, BrickCell& cell) {
    const PatternSettings ps = SanitizePatternSettings(settings);
    u = ReduceToUnitInline(u);
    v = ReduceToUnitInline(v);
    cell.kind = 0;
    // Compared as unsigned: negative ids fall into the default as well.
    switch (static_cast<std::uint32_t>(ps.pattern) < 30u ? ps.pattern : 0) {
        case 0:
            RunningBond(ps, u, v, cell, 0.5f);
            break;
        case 1:
            RunningBond(ps, u, v, cell, 0.33333334f);
            break;
        case 2:
            CommonFlemish(ps, u, v, cell);
            break;
        case 3:
            RunningBond(ps, u, v, cell, 0.5f);
            break;
        case 4:
            RunningBond(ps, u, v, cell, 0.f);
            break;
        case 5:
            Herringbone(ps, u, v, cell);
            break;
        case 6:
            TShape(ps, u, v, cell);
            break;
        case 7:
            Diagonal(ps, u, v, cell);
            break;
        case 8:
            ModularAshlar(ps, u, v, cell);
            break;
        case 9:
            BasketWeave(ps, u, v, cell);
            break;
        case 10:
            Triangles(ps, u, v, cell);
            break;
        case 11:
            Chevron(ps, u, v, cell);
            break;
        case 12:
            Hexagons(ps, u, v, cell);
            break;
        case 13:
            CustomPattern(ps, u, v, cell, 1);
            break;
        case 14:
            CustomPattern(ps, u, v, cell, 2);
            break;
        case 15:
            CustomPattern(ps, u, v, cell, 3);
            break;
        case 16:
            CustomPattern(ps, u, v, cell, 4);
            break;
        case 17:
            CustomPattern(ps, u, v, cell, 5);
            break;
        case 18:
            CustomPattern(ps, u, v, cell, 6);
            break;
        case 19:
            CustomPattern(ps, u, v, cell, 7);
            break;
        case 20:
            IPaver(ps, u, v, cell);
            break;
        case 21:
            Wave(ps, u, v, cell, true);
            break;
        case 22:
            Wave(ps, u, v, cell, false);
            break;
        case 23:
            Triangles2(ps, u, v, cell);
            break;
        case 24:
            MapleLeaf(ps, u, v, cell);
            break;
        case 25:
            PavingTile1(ps, u, v, cell);
            break;
        case 26:
            PavingTile2(ps, u, v, cell);
            break;
        case 27:
            ParquetTile1(ps, u, v, cell);
            break;
        case 28:
            ParquetTile2(ps, u, v, cell);
            break;
        case 29:
            ParquetTile3(ps, u, v, cell);
            break;
        default:
            RunningBond(ps, u, v, cell, 0.5f);
            break;
    }
}

}  // namespace QuarelNS
