// The per-brick hash: every random value of a brick (nested-map id, colour variance, fragment
// window, second colour, texture rotation, hue shift) comes from the seed, the brick's indices
// and the projection face, each variation with its own salt.
//
// All arithmetic is unsigned 32-bit and wraps; indices, element and seed are taken as unsigned.
// The finaliser is the pattern engine's, so the row shift, the swatches and the shading share
// one mixing function. Pure, constexpr, no state.
#pragma once

#include <cstdint>

#include "pattern/pattern_hash.h"

namespace QuarelNS {

// Salts of the per-brick variations. Stored scenes show colours derived from these: never change.
namespace BrickSalt {
constexpr std::uint32_t kBrickId = 0;
constexpr std::uint32_t kColorVariance = 17;
constexpr std::uint32_t kFragmentU = 101;
constexpr std::uint32_t kFragmentV = 202;
constexpr std::uint32_t kSecondColor = 303;
constexpr std::uint32_t kRotation = 919;  // used with RotationKey, not CellKey
constexpr std::uint32_t kHueShift = 1701;
}  // namespace BrickSalt

constexpr std::uint32_t kHashGolden = 0x9E3779B1u;  // 2654435761

constexpr std::uint32_t FinalizeHash(std::uint32_t x) {
    return HashFinalize(x);
}

constexpr std::uint32_t CellKey(std::int32_t brickU, std::int32_t brickV, std::int32_t element) {
    const auto bu = static_cast<std::uint32_t>(brickU);
    const auto bv = static_cast<std::uint32_t>(brickV);
    const auto e = static_cast<std::uint32_t>(element);
    return (bu * 374761393u - e * 86930369u) ^ (bv * 668265263u + e * 260640407u);
}

// BrickRandom(salt) of the brick whose CellKey is `cellKey`.
constexpr std::uint32_t BrickRandom(std::int32_t seed, std::uint32_t cellKey, std::uint32_t salt) {
    return FinalizeHash(((static_cast<std::uint32_t>(seed) + salt) * kHashGolden) ^ cellKey);
}

constexpr std::uint32_t RotationKey(std::int32_t brickU, std::int32_t brickV,
                                    std::int32_t element) {
    const auto bu = static_cast<std::uint32_t>(brickU);
    const auto bv = static_cast<std::uint32_t>(brickV);
    const auto e = static_cast<std::uint32_t>(element);
    return ((bv + e * 104729u) * 668265263u) ^ ((bu + e * 7919u) * 374761393u);
}

constexpr std::uint32_t RotationHash(std::int32_t seed, std::uint32_t rotationKey) {
    return FinalizeHash(((static_cast<std::uint32_t>(seed) + BrickSalt::kRotation) * kHashGolden) ^
                        rotationKey);
}

// A hash as a value in [0, 1): its low 24 bits times 2^-24.
constexpr float Unit(std::uint32_t h) {
    return HashUnit(h);
}

}  // namespace QuarelNS
