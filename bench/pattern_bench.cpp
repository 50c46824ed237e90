// Nanoseconds per EvaluatePattern call, one row per pattern, over a fixed set of pseudo-random
// points (the same points for every pattern). Settings are the main block's defaults.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "pattern/catalogue.h"
#include "pattern/evaluate.h"

namespace {

using namespace QuarelNS;

constexpr std::size_t kPoints = 4096;

struct Point {
    float u, v;
};

const std::array<Point, kPoints>& Points() {
    static const std::array<Point, kPoints> points = [] {
        std::array<Point, kPoints> p{};
        std::uint32_t s = 0x12345678u;
        auto next = [&s] {
            s = s * 1664525u + 1013904223u;
            return static_cast<float>(s >> 8) * (1.f / 16777216.f);
        };
        // Spread over several tiles, negative ones included, as a renderer's UVs are.
        for (Point& pt : p) pt = {next() * 8.f - 4.f, next() * 8.f - 4.f};
        return p;
    }();
    return points;
}

void BM_EvaluatePattern(benchmark::State& state) {
    PatternSettings ps;  // block defaults: 4 x 8, grout 0.05
    ps.pattern = static_cast<std::int32_t>(state.range(0));
    const auto& points = Points();
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell;
        const Point& p = points[i++ & (kPoints - 1)];
        EvaluatePattern(ps, p.u, p.v, cell);
        benchmark::DoNotOptimize(cell);
    }
    state.SetLabel(std::string(PatternInfoFor(ps.pattern).name));
}

void AllPatterns(benchmark::internal::Benchmark* b) {
    for (int id = 0; id < kPatternCount; ++id) b->Arg(id);
}

BENCHMARK(BM_EvaluatePattern)->Apply(AllPatterns);

}  // namespace
