// Cost per query of the table-driven tiles (ids 25 to 29) against "1/2 Running" (id 0), and of
// their plain reference methods, over a fixed set of points of the unit tile; OptimisedTiles
// sweeps points spread over 8 x 8 tiles instead.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "bench_points.h"
#include "pattern/catalogue.h"
#include "pattern/evaluate.h"
#include "reference/table_tiles_reference.h"

namespace {

using QuarelNS::BrickCell;
using QuarelNS::PatternSettings;

PatternSettings BenchSettings(int id) {
    PatternSettings ps;
    ps.pattern = id;
    ps.nx = 2;
    ps.ny = 2;
    ps.gap_u = 0.05f;
    ps.gap_v = 0.05f;
    return ps;
}

void Sweep(benchmark::State& state, bool tiles) {
    const int id = static_cast<int>(state.range(0));
    const PatternSettings ps = BenchSettings(id);
    const auto& points = QuarelBench::BenchPoints(tiles);
    std::size_t k = 0;
    for (auto _ : state) {
        const QuarelBench::Point p = points[k++ & (points.size() - 1)];
        BrickCell c;
        QuarelNS::EvaluatePattern(ps, p.u, p.v, c);
        benchmark::DoNotOptimize(c);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(QuarelNS::PatternInfoFor(id).name));
}

void Optimised(benchmark::State& state) {
    Sweep(state, false);
}

void OptimisedTiles(benchmark::State& state) {
    Sweep(state, true);
}

void Reference(benchmark::State& state) {
    const int id = static_cast<int>(state.range(0));
    const PatternSettings ps = BenchSettings(id);
    const auto& points = QuarelBench::BenchPoints();
    std::size_t k = 0;
    for (auto _ : state) {
        const QuarelBench::Point p = points[k++ & (points.size() - 1)];
        BrickCell c = QuarelNS::reference::TableTileCell(ps, p.u, p.v);
        benchmark::DoNotOptimize(c);
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::string(QuarelNS::PatternInfoFor(id).name) + " (plain)");
}

}  // namespace

BENCHMARK(Optimised)->Arg(0)->DenseRange(25, 29);
BENCHMARK(OptimisedTiles)->Arg(0)->DenseRange(25, 29);
BENCHMARK(Reference)->DenseRange(25, 29);
