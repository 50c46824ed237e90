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

// Points in [0, 1)^2, or spread over [-4, 4)^2 when `tiles` (several tiles, negative ones
// included, as a renderer's coordinates are).
inline const std::array<Point, kPointCount>& BenchPoints(bool tiles = false) {
    auto make = [](bool spread) {
        std::array<Point, kPointCount> p{};
        std::uint32_t s = 0x12345678u;
        auto next = [&s] {
            s = s * 1664525u + 1013904223u;
            return static_cast<float>(s >> 8) * (1.f / 16777216.f);
        };
        for (Point& pt : p) {
            pt = {next(), next()};
            if (spread) pt = {pt.u * 8.f - 4.f, pt.v * 8.f - 4.f};
        }
        return p;
    };
    static const std::array<Point, kPointCount> unit = make(false);
    static const std::array<Point, kPointCount> spread = make(true);
    return tiles ? spread : unit;
}

}  // namespace QuarelBench
