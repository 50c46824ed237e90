#include "shading/bevel_profile.h"

#include <algorithm>
#include <cmath>

namespace QuarelNS {

namespace {

// [0, 1]; NaN gives 0.
inline float Unit(float t) {
    return t > 0.f ? std::min(t, 1.f) : 0.f;
}

}  // namespace

BevelProfile BevelProfileFromId(std::int32_t id) {
    return id == 1 ? BevelProfile::Round : (id == 2 ? BevelProfile::Smooth : BevelProfile::Linear);
}

float BevelRamp(BevelProfile profile, float t) {
    t = Unit(t);
    switch (profile) {
        case BevelProfile::Round: {
            const float r = 1.f - t;
            return std::sqrt(std::max(1.f - r * r, 0.f));
        }
        case BevelProfile::Smooth:
            return t * t * (3.f - 2.f * t);
        default:
            return t;
    }
}

float BevelRampSlope(BevelProfile profile, float t) {
    t = Unit(t);
    switch (profile) {
        case BevelProfile::Round: {
            const float r = 1.f - t;
            const float root = std::sqrt(std::max(1.f - r * r, 0.f));
            return root > r * 1e-4f ? r / root : 1e4f;
        }
        case BevelProfile::Smooth:
            return 6.f * t * (1.f - t);
        default:
            return 1.f;
    }
}

float BevelBandWidth(const BrickCell& cell, float widthFraction) {
    const float side = std::min(cell.sizeU, cell.sizeV);
    if (!(widthFraction > 0.f && side > 0.f)) return 0.f;
    return widthFraction * side;
}

float BevelBlend(const BrickCell& cell, float widthFraction, BevelProfile profile) {
    if (cell.isGrout) return 0.f;
    const float band = BevelBandWidth(cell, widthFraction);
    if (!(band > 0.f) || !(cell.jointDist < band)) return 1.f;
    return BevelRamp(profile, cell.jointDist / band);
}

float BevelledHeight(const BrickCell& cell, float widthFraction, BevelProfile profile, float hBrick,
                     float hJoint) {
    if (cell.isGrout) return hJoint;
    const float blend = BevelBlend(cell, widthFraction, profile);
    // Beyond the band the brick's own height, untouched by the blend's arithmetic.
    if (blend >= 1.f) return hBrick;
    return hJoint + (hBrick - hJoint) * blend;
}

}  // namespace QuarelNS
