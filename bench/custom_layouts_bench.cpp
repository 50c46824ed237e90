// Nanoseconds per EvaluatePattern call for "Pattern 1" .. "Pattern 7", over a fixed spread of
// points.
#include <benchmark/benchmark.h>

#include <vector>

#include "pattern/evaluate.h"
#include "pattern/pattern_types.h"

namespace {

using QuarelNS::BrickCell;
using QuarelNS::PatternSettings;

// A scattered but repeatable set of points, so that branches are not all predicted.
std::vector<float> Points() {
    std::vector<float> p(2048);
    std::uint32_t x = 12345u;
    for (float& f : p) {
        x = x * 1664525u + 1013904223u;
        f = static_cast<float>(x >> 8) * 5.9604645e-8f;
    }
    return p;
}

PatternSettings CustomSettings(int id) {
    PatternSettings ps;
    ps.pattern = id;
    ps.nx = 3;
    ps.ny = 2;
    ps.gap_u = 0.05f;
    ps.gap_v = 0.05f;
    return ps;
}

void BM_CustomPattern(benchmark::State& state) {
    const PatternSettings ps = CustomSettings(static_cast<int>(state.range(0)));
    const std::vector<float> p = Points();
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell c;
        QuarelNS::EvaluatePattern(ps, p[i], p[i + 1], c);
        benchmark::DoNotOptimize(c);
        i = (i + 2) & (p.size() - 1);
    }
}
BENCHMARK(BM_CustomPattern)->DenseRange(13, 19)->ArgName("id");

}  // namespace
