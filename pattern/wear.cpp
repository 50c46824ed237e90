#include "pattern/wear.h"

#include <algorithm>
#include <cmath>

#include "pattern/evaluate.h"
#include "pattern/pattern_hash.h"
#include "pattern/seamless_identity.h"

namespace QuarelNS {

namespace {

constexpr std::uint32_t kMissingSalt = 0x5F3759DFu;
constexpr std::uint32_t kNoiseSalt = 0x2545F491u;

// Bound of one noise component's partial derivative in lattice units: the smoothstep's largest
// slope (1.5) times the largest difference of two corner values (2). The Jacobian's four entries
// are each at most that, so its spectral norm is at most sqrt(4 * 3^2) = 6 (Frobenius bound).
constexpr float kNoiseSlopeBound = 6.f;

// Noise cells across the unit tile: the finer brick count over the scale, at least 1.
int LatticeCount(const PatternSettings& s, float scale) {
    const int counts =
        std::max(std::clamp(s.nx, 1, kMaxPatternCount), std::clamp(s.ny, 1, kMaxPatternCount));
    if (!(scale >= 0.01f)) scale = scale <= 100.f ? 0.01f : 1.f;  // NaN: the default
    scale = std::min(scale, 100.f);
    const float n = std::round(static_cast<float>(counts) / scale);
    return static_cast<int>(std::clamp(n, 1.f, static_cast<float>(kMaxPatternCount)));
}

// A lattice point's two noise values in [-1, 1], from one hash of the seed's key and the
// point's indices.
struct Corner {
    float a, b;
};
inline Corner CornerAt(std::uint32_t seedKey, int i, int j) {
    const std::uint32_t h = HashFinalize(seedKey ^ (static_cast<std::uint32_t>(i) * 0x9E3779B1u) ^
                                         (static_cast<std::uint32_t>(j) * 0x85EBCA77u));
    constexpr float kScale = 2.f / 65535.f;
    return {static_cast<float>(h & 0xFFFFu) * kScale - 1.f,
            static_cast<float>(h >> 16) * kScale - 1.f};
}

// The lattice cell of a coordinate already in [0, 1): index, next index (wrapping) and the
// smoothstep weight.
struct Axis {
    int i0, i1;
    float s;
};
inline Axis AxisAt(float t, int n) {
    const float x = t * static_cast<float>(n);
    const int i = std::min(static_cast<int>(x), n - 1);
    const float f = std::clamp(x - static_cast<float>(i), 0.f, 1.f);
    return {i, i + 1 == n ? 0 : i + 1, f * f * (3.f - 2.f * f)};
}

inline float Mix(float a, float b, float t) {
    return a + (b - a) * t;
}

// The warp at a point already reduced to the unit tile, for edgeNoise > 0.
JointWarp WarpInTile(const PatternSettings& settings, const WearSettings& wear, float u, float v) {
    const float amount = std::min(wear.edgeNoise, 1.f);
    const int n = LatticeCount(settings, wear.edgeNoiseScale);
    const Axis x = AxisAt(u, n);
    const Axis y = AxisAt(v, n);
    const std::uint32_t key = HashFinalize((settings.seed + kNoiseSalt) * 0x9E3779B1u);
    const Corner c00 = CornerAt(key, x.i0, y.i0), c10 = CornerAt(key, x.i1, y.i0);
    const Corner c01 = CornerAt(key, x.i0, y.i1), c11 = CornerAt(key, x.i1, y.i1);
    // Amplitude in tile units: slope bound * amplitude * n = kEdgeNoiseMaxSlope * amount.
    const float amp = amount * kEdgeNoiseMaxSlope / (kNoiseSlopeBound * static_cast<float>(n));
    JointWarp w;
    w.du = amp * Mix(Mix(c00.a, c10.a, x.s), Mix(c01.a, c11.a, x.s), y.s);
    w.dv = amp * Mix(Mix(c00.b, c10.b, x.s), Mix(c01.b, c11.b, x.s), y.s);
    return w;
}

}  // namespace

JointWarp EdgeNoiseWarp(const PatternSettings& settings, const WearSettings& wear, float u,
                        float v) {
    if (!(wear.edgeNoise > 0.f)) return {};
    return WarpInTile(settings, wear, ReduceToUnitInline(u), ReduceToUnitInline(v));
}

bool BrickMissing(const PatternSettings& settings, const WearSettings& wear,
                  const BrickCell& cell) {
    if (!(wear.missing > 0.f)) return false;
    const std::uint32_t id = HashFinalize((static_cast<std::uint32_t>(cell.brickU) * 0x9E3779B1u) ^
                                          (static_cast<std::uint32_t>(cell.brickV) * 0x85EBCA77u)) ^
                             (static_cast<std::uint32_t>(cell.kind) * 0xC2B2AE3Du +
                              static_cast<std::uint32_t>(wear.element) * 0x27D4EB2Fu);
    const std::uint32_t h =
        HashFinalize(HashFinalize(id ^ ((settings.seed + kMissingSalt) * 0x9E3779B1u)));
    return HashUnit(h) < wear.missing;
}

void EvaluateWornPattern(const PatternSettings& settings, const WearSettings& wear, float u,
                         float v, BrickCell& cell) {
    if (wear.edgeNoise > 0.f) {
        // The displacement is periodic in the tile, so it is taken at the reduced point; the
        // displaced point may leave the tile, which the engine reduces again.
        u = ReduceToUnitInline(u);
        v = ReduceToUnitInline(v);
        const JointWarp d = WarpInTile(settings, wear, u, v);
        u += d.du;
        v += d.dv;
    }
    EvaluatePattern(settings, u, v, cell);
    if (cell.isGrout) return;
    if (wear.seamless) ApplySeamlessIdentity(settings, cell);
    if (BrickMissing(settings, wear, cell)) cell.isGrout = true;
}

}  // namespace QuarelNS
