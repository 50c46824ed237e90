// Cost per call of the outline patterns against "1/2 Running" and against the plain Maple Leaf
// that flattens its outline per call. One row per variant; all rows sweep the same fixed set
// of points, so their ratios come from one run.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "pattern/evaluate.h"
#include "pattern/pattern_types.h"
#include "reference/outline_tiles_reference.h"

namespace {

using QuarelNS::BrickCell;
using QuarelNS::PatternSettings;

constexpr std::size_t kPointCount = 4096;

struct Points {
    std::array<float, kPointCount> u;
    std::array<float, kPointCount> v;
};

const Points& SamplePoints() {
    static const Points points = [] {
        Points p{};
        std::uint32_t state = 12345u;  // fixed seed: every run sweeps the same points
        auto next = [&state] {
            state = state * 1664525u + 1013904223u;
            return static_cast<float>(state >> 8) * (1.f / 16777216.f);
        };
        for (std::size_t i = 0; i < kPointCount; ++i) {
            p.u[i] = next();
            p.v[i] = next();
        }
        return p;
    }();
    return points;
}

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
void Sweep(benchmark::State& state, Eval eval) {
    const Points& p = SamplePoints();
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell = eval(p.u[i], p.v[i]);
        benchmark::DoNotOptimize(cell);
        benchmark::ClobberMemory();
        i = (i + 1) & (kPointCount - 1);
    }
}

void Engine(benchmark::State& state, int pattern, float gap) {
    const PatternSettings ps = Settings(pattern, gap);
    Sweep(state, [&ps](float u, float v) {
        BrickCell cell;
        QuarelNS::EvaluatePattern(ps, u, v, cell);
        return cell;
    });
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
BENCHMARK_CAPTURE(PlainMapleLeaf, MapleLeaf_plain, 0.05f);
BENCHMARK_CAPTURE(PlainMapleLeaf, MapleLeaf_plain_nogrout, 0.f);

}  // namespace
