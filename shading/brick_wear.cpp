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

constexpr float kTwoPi = 6.2831853f;

// A setting held to [0, 1]; NaN gives 0.
inline float Share(float x) {
    return x > 0.f ? std::min(x, 1.f) : 0.f;
}

}  // namespace

BrickTop DrawBrickTop(const EvalSnapshot& s, std::uint32_t key, const BrickCell& cell) {
    BrickTop top;
    const float sink = Share(s.height_variance) * Unit(BrickRandom(s.seed, key, kSinkSalt));
    const float keep = 1.f - sink;
    const float tilt = Share(s.tilt_variance) * Unit(BrickRandom(s.seed, key, kTiltSalt));
    if (!(tilt > 0.f)) {
        top.centre = keep;
        return top;
    }
    const float theta = kTwoPi * Unit(BrickRandom(s.seed, key, kTiltDirectionSalt));
    const float c = std::cos(theta), sn = std::sin(theta);
    // share = keep (1 - tilt d), d = 1/2 - (a c + b s) / extent, with a, b the offsets from the
    // centre in tile units along the face's axes and `extent` the face's extent along theta.
    const float su = std::max(cell.sizeU, 0.f), sv = std::max(cell.sizeV, 0.f);
    const float extent = std::fabs(c) * su + std::fabs(sn) * sv;
    top.centre = keep * (1.f - 0.5f * tilt);
    if (!(extent > 0.f)) return top;
    const float k = keep * tilt / extent;  // drop per tile unit along theta
    top.slopeU = k * c * su;
    top.slopeV = k * sn * sv;
    return top;
}

}  // namespace QuarelNS
