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

namespace {

#if defined(_MSC_VER)
#define QUAREL_OUT_OF_LINE __declspec(noinline)
#else
#define QUAREL_OUT_OF_LINE __attribute__((noinline))
#endif

inline PatternSettings Sanitized(const PatternSettings& settings) {
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
    // The corner radius is left at 0: no generator reads it, and copying it costs every query.
    return ps;
}

inline void EvaluatePlain(const PatternSettings& settings, float u, float v, BrickCell& cell) {
    const PatternSettings ps = Sanitized(settings);
    u = ReduceToUnitInline(u);
    v = ReduceToUnitInline(v);
    cell.kind = 0;
    PatternInfoFor(ps.pattern).generate(ps, u, v, cell);
}

// The query with rounded corners, out of line so that the plain query pays only for the test.
QUAREL_OUT_OF_LINE void EvaluateRounded(const PatternSettings& settings, float u, float v,
                                        BrickCell& cell) {
    EvaluatePlain(settings, u, v, cell);
    if (PatternInfoFor(settings.pattern).rectangularFaces)
        RoundFrameCorners(std::min(settings.cornerRadius, 0.5f), settings.wantJointDist, cell);
}

}  // namespace

PatternSettings SanitizePatternSettings(const PatternSettings& settings) {
    return Sanitized(settings);
}

void EvaluatePattern(const PatternSettings& settings, float u, float v, BrickCell& cell) {
    // Written so that NaN counts as no rounding.
    if (settings.cornerRadius > 0.f) return EvaluateRounded(settings, u, v, cell);
    EvaluatePlain(settings, u, v, cell);
}

}  // namespace QuarelNS
