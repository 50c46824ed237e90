// Nanoseconds per colour evaluation of the main map (EvalMapColor) for "1/2 Running" at the
// block defaults: without nested maps, next to the pattern query alone over the same points,
// with a nested checker map on the bricks, in "Accurate" mode, with seamless bricks on and with
// every wear control on (each without maps and with the checker). The UV generator is set up as a
// new map sets it up (real-world scale, 1000 units); the context's coordinates are chosen so that
// the generator's output spreads over several tiles.
#include <benchmark/benchmark.h>

#include <host/builtin_classes.h>
#include <host/scripted_shade_context.h>
#include <stdmat.h>

#include <array>

#include "bench_points.h"
#include "pattern/evaluate.h"
#include "shading/brick_eval.h"
#include "shading/eval_log.h"

namespace {

using namespace QuarelNS;
using QuarelBench::kPointCount;

struct Scene {
    SingleRefMaker genRef, checkerRef;
    StdUVGen* gen;
    CheckerMap* checker;
    EvalSnapshot snap;  // the block defaults
    std::array<Point3, kPointCount> surfaceUVW;
    std::array<Point3, kPointCount> relBox;

    Scene() {
        gen = static_cast<StdUVGen*>(GetNewDefaultUVGen());
        genRef.SetRef(gen);
        gen->SetUseRealWorldScale(TRUE);
        gen->SetUScl(1000.f, 0);
        gen->SetVScl(1000.f, 0);
        checker = new CheckerMap;
        checkerRef.SetRef(checker);
        const auto& points = QuarelBench::BenchPoints(true);
        for (std::size_t i = 0; i < kPointCount; ++i) {
            // Surface units of 1/1000 tile: the generator gives back about the bench point.
            surfaceUVW[i] = Point3(points[i].u * 1000.f, points[i].v * 1000.f, 0.f);
            relBox[i] = Point3(points[i].u / 8.f + 0.5f, 0.5f, points[i].v / 8.f + 0.5f);
        }
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void BM_EvaluatePatternAlone(benchmark::State& state) {
    const EvalSnapshot snap;
    PatternSettings ps;
    ps.pattern = snap.pattern;
    ps.nx = snap.nx;
    ps.ny = snap.ny;
    ps.gap_u = snap.gap_u;
    ps.gap_v = snap.gap_v;
    ps.seed = static_cast<std::uint32_t>(snap.seed);
    const auto& points = QuarelBench::BenchPoints(true);
    std::size_t i = 0;
    for (auto _ : state) {
        BrickCell cell;
        const QuarelBench::Point& p = points[i++ & (kPointCount - 1)];
        EvaluatePattern(ps, p.u, p.v, cell);
        benchmark::DoNotOptimize(cell);
    }
}

// The per-point core alone, at the points the generator would give.
void BM_EvalBrickPointNoMaps(benchmark::State& state) {
    const EvalSnapshot snap;
    // Stamped as a rebuild stamps the map's snapshot.
    const BrickEvalSource src{&snap, nullptr, nullptr, nullptr, nullptr, NewLogStamp()};
    ScriptedShadeContext sc;
    const auto& points = QuarelBench::BenchPoints(true);
    const Point3 duvw(0.001f, 0.001f, 0.f);
    std::size_t i = 0;
    for (auto _ : state) {
        const QuarelBench::Point& p = points[i++ & (kPointCount - 1)];
        AColor c = EvalBrickPoint(src, sc, Point3(p.u, p.v, 0.f), duvw, BoxFace{}, nullptr);
        benchmark::DoNotOptimize(c);
    }
}

// Every wear control on: missing bricks, wandering joints, sunk and tilted bricks.
void Wear(EvalSnapshot& snap) {
    snap.missing_bricks = 10.f;
    snap.height_variance = 0.3f;
    snap.tilt_variance = 0.3f;
    snap.edge_noise = 1.f;
}

void RunEvalMapColor(benchmark::State& state, Texmap* brickMap, bool accurate,
                     bool withGenerator = true, bool seamless = false, bool worn = false) {
    Scene& scene = TheScene();
    EvalSnapshot snap = scene.snap;
    snap.projection_mode = accurate ? 1 : 0;
    snap.seamless_bricks = seamless ? 1 : 0;
    if (worn) Wear(snap);
    const BrickEvalSource src{&snap, brickMap, nullptr, nullptr, &scene, NewLogStamp()};
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(), Point3(0.001f, 0.001f, 0.f));
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(2.f, 1.f, 1.f));
    sc.gNormal = Point3(0.f, 1.f, 0.f);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ & (kPointCount - 1);
        sc.uvw[1] = withGenerator ? scene.surfaceUVW[k] : scene.surfaceUVW[k] * 0.001f;
        sc.pObjRelBox = scene.relBox[k];
        AColor c = EvalMapColor(src, withGenerator ? scene.gen : nullptr, 0, sc);
        benchmark::DoNotOptimize(c);
    }
}

void BM_EvalMapColorNoMaps(benchmark::State& state) {
    RunEvalMapColor(state, nullptr, false);
}
// Coordinates straight from the context's channel 1: the host's UV generator left out.
void BM_EvalMapColorNoMapsNoGenerator(benchmark::State& state) {
    RunEvalMapColor(state, nullptr, false, false);
}
void BM_EvalMapColorChecker(benchmark::State& state) {
    RunEvalMapColor(state, TheScene().checker, false);
}
void BM_EvalMapColorAccurate(benchmark::State& state) {
    RunEvalMapColor(state, nullptr, true);
}
// Seamless bricks on: the cut bricks' parts take one identity.
void BM_EvalMapColorNoMapsSeamless(benchmark::State& state) {
    RunEvalMapColor(state, nullptr, false, true, true);
}
void BM_EvalMapColorCheckerSeamless(benchmark::State& state) {
    RunEvalMapColor(state, TheScene().checker, false, true, true);
}

// Every wear control on, next to BM_EvalMapColorNoMaps and BM_EvalMapColorChecker.
void BM_EvalMapColorNoMapsWorn(benchmark::State& state) {
    RunEvalMapColor(state, nullptr, false, true, false, true);
}
void BM_EvalMapColorCheckerWorn(benchmark::State& state) {
    RunEvalMapColor(state, TheScene().checker, false, true, false, true);
}

BENCHMARK(BM_EvaluatePatternAlone);
BENCHMARK(BM_EvalBrickPointNoMaps);
BENCHMARK(BM_EvalMapColorNoMapsNoGenerator);
BENCHMARK(BM_EvalMapColorNoMaps);
BENCHMARK(BM_EvalMapColorChecker);
BENCHMARK(BM_EvalMapColorAccurate);
BENCHMARK(BM_EvalMapColorNoMapsSeamless);
BENCHMARK(BM_EvalMapColorCheckerSeamless);
BENCHMARK(BM_EvalMapColorNoMapsWorn);
BENCHMARK(BM_EvalMapColorCheckerWorn);

}  // namespace
