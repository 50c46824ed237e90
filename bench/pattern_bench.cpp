// Nanoseconds per EvaluatePattern call, one row per pattern, over a fixed set of pseudo-random
// points (the same points for every pattern). Settings are the main block's defaults.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench_points.h"
#include "pattern/catalogue.h"
#include "pattern/evaluate.h"

namespace {

using namespace QuarelNS;

void BM_EvaluatePattern(benchmark::State& state) {
    PatternSettings ps;  // block defaults: 4 x 8, grout 0.05
    ps.pattern = static_cast<std::int32_t>(state.range(0));
    const auto& points = QuarelBench::BenchPoints(true);
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell;
        const QuarelBench::Point& p = points[i++ & (QuarelBench::kPointCount - 1)];
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
