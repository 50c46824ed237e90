// A stand-in for libFuzzer's byte mutator in the mutators' tests: flips one byte.
#pragma once

#include <cstddef>
#include <cstdint>

inline std::size_t FlipByte(std::uint8_t* data, std::size_t size, std::size_t) {
    if (size > 0) data[(size * 7) / 13] ^= 0x5A;
    return size;
}
