// The fixed pseudo-random points every pattern benchmark sweeps, so that rows of different
// programs and variants see the same mix of bricks and joints and their ratios compare.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace QuarelBench {

constexpr std::size_t kPointCount = 4096;  // a power of two: index with & (kPointCount - 1)

struct Point {
    float u, v;
};

// kPointCount points from a linear congruential sequence started at `seed`, in [0, 1)^2 or,
// with tiles > 1, spread over [-tiles/2, tiles/2)^2: several tiles, negative ones included, as a
// renderer's coordinates are.
inline std::array<Point, kPointCount> MakeBenchPoints(std::uint32_t seed, int tiles) {
    std::array<Point, kPointCount> p{};
    std::uint32_t s = seed;
    auto next = [&s] {
        s = s * 1664525u + 1013904223u;
        return static_cast<float>(s >> 8) * (1.f / 16777216.f);
    };
    const float span = static_cast<float>(tiles);
    const float low = tiles > 1 ? -0.5f * span : 0.f;
    for (Point& pt : p) {
        const float u = next();
        const float v = next();
        pt = {u * span + low, v * span + low};
    }
    return p;
}

// Points in [0, 1)^2, or spread over [-4, 4)^2 (8 x 8 tiles) when `tiles`.
inline const std::array<Point, kPointCount>& BenchPoints(bool tiles = false) {
    static const std::array<Point, kPointCount> unit = MakeBenchPoints(0x12345678u, 1);
    static const std::array<Point, kPointCount> spread = MakeBenchPoints(0x12345678u, 8);
    return tiles ? spread : unit;
}

// A second, independent draw over 8 x 8 tiles, so that a ratio measured on BenchPoints(true)
// can be checked not to hang on one lucky point set.
inline const std::array<Point, kPointCount>& OtherTilePoints() {
    static const std::array<Point, kPointCount> points = MakeBenchPoints(0x9E3779B9u, 8);
    return points;
}

}  // namespace QuarelBench
