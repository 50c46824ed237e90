#include "shading/brick_wear.h"

#include <algorithm>
#include <cmath>

#include "shading/brick_hash.h"

namespace QuarelNS {

namespace {

// Salts of the relief wear, apart from the colour variations'.
constexpr std::uint32_t kSinkSalt = 2203;
constexpr std::uint32_t kTiltSalt = 2311;
constexpr std::uint32_t kTiltDirectionSalt = 2417;

// A setting held to [0, 1]; NaN gives 0.
inline float Share(float x) {
    return x > 0.f ? std::min(x, 1.f) : 0.f;
}

}  // namespace

BrickTop DrawBrickTop(const EvalSnapshot& s, std::uint32_t key) {
    BrickTop top;
    top.keep = 1.f - Share(s.height_variance) * Unit(BrickRandom(s.seed, key, kSinkSalt));
    top.tilt = Share(s.tilt_variance) * Unit(BrickRandom(s.seed, key, kTiltSalt));
    if (top.tilt > 0.f) {
        // A unit direction without trigonometry: the half-angle form of t in [-1, 1) covers a
        // half circle, the hash's top bit the other half.
        const std::uint32_t h = BrickRandom(s.seed, key, kTiltDirectionSalt);
        const float t = 2.f * Unit(h) - 1.f;
        const float inv = 1.f / (1.f + t * t);
        const float sign = (h & 0x80000000u) != 0u ? -1.f : 1.f;
        top.dirU = sign * (1.f - t * t) * inv;
        top.dirV = sign * 2.f * t * inv;
    }
    return top;
}

float BrickTop::ShareAt(const BrickCell& cell) const {
    if (!(tilt > 0.f)) return keep;
    // d = 1/2 - (a dirU + b dirV) / extent, with a, b the point's offsets from the face's centre
    // in tile units along its axes and `extent` the face's extent along the direction.
    const float su = std::max(cell.sizeU, 0.f), sv = std::max(cell.sizeV, 0.f);
    const float extent = std::fabs(dirU) * su + std::fabs(dirV) * sv;
    float d = 0.5f;
    if (extent > 0.f)
        d -= ((cell.localU - 0.5f) * su * dirU + (cell.localV - 0.5f) * sv * dirV) / extent;
    return keep * (1.f - tilt * std::clamp(d, 0.f, 1.f));
}

}  // namespace QuarelNS
