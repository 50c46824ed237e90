// Cost per call of the outline patterns against "1/2 Running" and against the plain Maple Leaf
// that flattens its outline per call. One row per variant; all rows sweep the same fixed set
// of points of the unit tile, so their ratios come from one run. The *_tiles rows sweep points
// spread over 8 x 8 tiles instead, as a renderer's coordinates are.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "bench_points.h"
#include "pattern/evaluate.h"
#include "pattern/pattern_types.h"
#include "reference/outline_tiles_reference.h"

namespace {

using QuarelNS::BrickCell;
using QuarelNS::PatternSettings;

PatternSettings Settings(int pattern, float gap) {
    PatternSettings ps;
    ps.pattern = pattern;
    ps.nx = 4;
    ps.ny = 4;
    ps.gap_u = gap;
    ps.gap_v = gap;
    return ps;
}

template <typename Eval>
void Sweep(benchmark::State& state, Eval eval, bool tiles = false) {
    const auto& points = QuarelBench::BenchPoints(tiles);
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell = eval(points[i].u, points[i].v);
        benchmark::DoNotOptimize(cell);
        benchmark::ClobberMemory();
        i = (i + 1) & (QuarelBench::kPointCount - 1);
    }
}

void Engine(benchmark::State& state, int pattern, float gap, bool tiles = false) {
    const PatternSettings ps = Settings(pattern, gap);
    Sweep(
        state,
        [&ps](float u, float v) {
            BrickCell cell;
            QuarelNS::EvaluatePattern(ps, u, v, cell);
            return cell;
        },
        tiles);
}

void PlainMapleLeaf(benchmark::State& state, float gap) {
    const PatternSettings ps = Settings(24, gap);
    Sweep(state,
          [&ps](float u, float v) { return QuarelNS::reference::EvaluateMapleLeaf(ps, u, v); });
}

BENCHMARK_CAPTURE(Engine, HalfRunning_id0, 0, 0.05f);
BENCHMARK_CAPTURE(Engine, IPaver_id20, 20, 0.05f);
BENCHMARK_CAPTURE(Engine, IPaver_id20_nogrout, 20, 0.f);
BENCHMARK_CAPTURE(Engine, MapleLeaf_id24, 24, 0.05f);
BENCHMARK_CAPTURE(Engine, MapleLeaf_id24_nogrout, 24, 0.f);
BENCHMARK_CAPTURE(Engine, HalfRunning_id0_tiles, 0, 0.05f, true);
BENCHMARK_CAPTURE(Engine, IPaver_id20_tiles, 20, 0.05f, true);
BENCHMARK_CAPTURE(Engine, MapleLeaf_id24_tiles, 24, 0.05f, true);
BENCHMARK_CAPTURE(PlainMapleLeaf, MapleLeaf_plain, 0.05f);
BENCHMARK_CAPTURE(PlainMapleLeaf, MapleLeaf_plain_nogrout, 0.f);

}  // namespace
