// The hash finaliser shared by the row shift, the per-brick random values and the swatches.
// All arithmetic is 32-bit unsigned and wraps.
#pragma once

#include <cstdint>

namespace QuarelNS {

constexpr std::uint32_t HashFinalize(std::uint32_t x) {
    x ^= x >> 13;
    x *= 0x4BF19F61u;  // 1274126177
    x ^= x >> 16;
    return x;
}

// A finalised hash as a unit value in [0, 1): its low 24 bits times 2^-24.
constexpr float HashUnit(std::uint32_t finalized) {
    return static_cast<float>(finalized & 0xFFFFFFu) * 5.9604645e-8f;
}

// Unit value of the random shift of row `row`.
constexpr float RowShiftHash(std::uint32_t seed, std::int32_t row) {
    const std::uint32_t x = (seed * 0x9E3779B1u) ^ (static_cast<std::uint32_t>(row) * 0x27D4EB2Fu);
    return HashUnit(HashFinalize(x));
}

}  // namespace QuarelNS
