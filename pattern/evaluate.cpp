#include "pattern/evaluate.h"

#include <algorithm>
#include <cmath>

#include "pattern/catalogue.h"
#include "pattern/corner_rounding.h"

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
    ps.wantJointDist = settings.wantJointDist;
    // Written so that NaN gives 0.
    ps.cornerRadius = settings.cornerRadius > 0.f ? std::min(settings.cornerRadius, 0.5f) : 0.f;
    return ps;
}

void EvaluatePattern(const PatternSettings& settings, float u, float v, BrickCell& cell) {
    const PatternSettings ps = SanitizePatternSettings(settings);
    u = ReduceToUnitInline(u);
    v = ReduceToUnitInline(v);
    cell.kind = 0;
    const PatternInfo& info = PatternInfoFor(ps.pattern);
    info.generate(ps, u, v, cell);
    if (ps.cornerRadius > 0.f && info.rectangularFaces)
        RoundFrameCorners(ps.cornerRadius, ps.wantJointDist, cell);
}

}  // namespace QuarelNS
