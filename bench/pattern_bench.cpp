// Nanoseconds per EvaluatePattern call, one row per pattern and point set, each set the same for
// every pattern. Settings are the main block's defaults. Three sets: the original spread over
// 8 x 8 tiles (BM_EvaluatePattern), a second independent draw over 8 x 8 tiles
// (BM_EvaluatePatternOtherTiles) and points of the unit tile (BM_EvaluatePatternUnitTile), so
// each pattern's ratio to "1/2 Running" can be read off three sets in one run. A fourth family,
// BM_EvaluatePatternJointDist, repeats the first set with the joint distance asked for.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "bench_points.h"
#include "pattern/catalogue.h"
#include "pattern/evaluate.h"

namespace {

using namespace QuarelNS;

void Sweep(benchmark::State& state,
           const std::array<QuarelBench::Point, QuarelBench::kPointCount>& points,
           bool wantJointDist = false) {
    PatternSettings ps;  // block defaults: 4 x 8, grout 0.05
    ps.pattern = static_cast<std::int32_t>(state.range(0));
    ps.wantJointDist = wantJointDist;
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell;
        const QuarelBench::Point& p = points[i++ & (QuarelBench::kPointCount - 1)];
        EvaluatePattern(ps, p.u, p.v, cell);
        benchmark::DoNotOptimize(cell);
    }
    state.SetLabel(std::string(PatternInfoFor(ps.pattern).name));
}

void BM_EvaluatePattern(benchmark::State& state) {
    Sweep(state, QuarelBench::BenchPoints(true));
}

void BM_EvaluatePatternOtherTiles(benchmark::State& state) {
    Sweep(state, QuarelBench::OtherTilePoints());
}

void BM_EvaluatePatternUnitTile(benchmark::State& state) {
    Sweep(state, QuarelBench::BenchPoints(false));
}

// The first set with the joint distance measured: its cost over BM_EvaluatePattern.
void BM_EvaluatePatternJointDist(benchmark::State& state) {
    Sweep(state, QuarelBench::BenchPoints(true), true);
}

void AllPatterns(benchmark::internal::Benchmark* b) {
    for (int id = 0; id < kPatternCount; ++id) b->Arg(id);
}

BENCHMARK(BM_EvaluatePattern)->Apply(AllPatterns);
BENCHMARK(BM_EvaluatePatternOtherTiles)->Apply(AllPatterns);
BENCHMARK(BM_EvaluatePatternUnitTile)->Apply(AllPatterns);
BENCHMARK(BM_EvaluatePatternJointDist)->Apply(AllPatterns);

}  // namespace
