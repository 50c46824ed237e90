// libFuzzer's hooks for a structure-aware mutator, and its own byte-level mutation for the
// share of inputs that the mutator leaves to it.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max);

inline std::size_t LibFuzzerBytes(std::uint8_t* data, std::size_t size, std::size_t max) {
    return LLVMFuzzerMutate(data, size, max);
}

// Defines the hooks: `mutate(data, size, maxSize, seed)` and `crossOver(a, aSize, b, bSize,
// out, maxSize, seed)` each return the new input's size.
#define QUAREL_CUSTOM_MUTATOR(mutate, crossOver)                                            \
    extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,    \
                                                   std::size_t maxSize, unsigned seed) {    \
        return mutate(data, size, maxSize, seed);                                           \
    }                                                                                       \
    extern "C" std::size_t LLVMFuzzerCustomCrossOver(                                       \
        const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b, std::size_t bSize, \
        std::uint8_t* out, std::size_t maxSize, unsigned seed) {                            \
        return crossOver(a, aSize, b, bSize, out, maxSize, seed);                           \
    }
