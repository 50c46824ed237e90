// Nanoseconds per call of the relief evaluations next to the main map's colour in the same run:
// QuarelMap::EvalColor, QuarelMap::EvalNormalPerturb, and the two outputs' EvalColor and
// EvalNormalPerturb, for "1/2 Running" at the block defaults, without texture relief (the
// outputs' relief amounts at 0), then with it and a nested checker map, and with every wear
// control on. Each relief call costs four point evaluations (the bump output's eight), so its
// budget is a few colour calls.
// The maps are made as the host makes them and updated once, as before a render.
#include <benchmark/benchmark.h>

#include <host/builtin_classes.h>
#include <host/scripted_shade_context.h>

#include <array>

#include "base/class_lookup.h"
#include "bench_points.h"
#include "map/quarel_map.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace {

using namespace QuarelNS;
using QuarelBench::kPointCount;

struct Scene {
    SingleRefMaker holder;
    QuarelMap* map = nullptr;
    std::array<Point3, kPointCount> surfaceUVW;

    Scene(bool textureRelief, bool worn) {
        map = dynamic_cast<QuarelMap*>(
            static_cast<Animatable*>(QuarelClassDescOf(QuarelClass::Map).Create(FALSE)));
        holder.SetRef(map);
        if (worn) {
            // Every wear control on, as in the shading benchmark's worn rows.
            IParamBlock2* pb = map->GetParamBlock(0);
            pb->SetValue(MainParam::missing_bricks, 0, 10.f);
            pb->SetValue(MainParam::height_variance, 0, 0.3f);
            pb->SetValue(MainParam::tilt_variance, 0, 0.3f);
            pb->SetValue(MainParam::edge_noise, 0, 1.f);
        }
        if (textureRelief) {
            map->SetSubTexmap(0, new CheckerMap);
            map->NormalOut()->GetParamBlock(0)->SetValue(NormalParam::relief_tex_amount, 0, 1.f);
        } else {
            map->BumpOut()->GetParamBlock(0)->SetValue(BumpProcParam::tex_relief, 0, 0.f);
        }
        map->Validity(0);
        map->NormalOut()->Validity(0);
        map->BumpOut()->Validity(0);
        const auto& points = QuarelBench::BenchPoints(true);
        // Surface units of 1/1000 tile: the new map's generator gives back about the point.
        for (std::size_t i = 0; i < kPointCount; ++i)
            surfaceUVW[i] = Point3(points[i].u * 1000.f, points[i].v * 1000.f, 0.f);
    }
};

Scene& TheScene(bool textureRelief, bool worn) {
    static Scene plain(false, false), textured(true, false), wornPlain(false, true);
    return worn ? wornPlain : (textureRelief ? textured : plain);
}

template <typename Eval>
void Run(benchmark::State& state, bool textureRelief, Eval eval, bool worn = false) {
    Scene& scene = TheScene(textureRelief, worn);
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(), Point3(0.001f, 0.001f, 0.f));
    std::size_t i = 0;
    for (auto _ : state) {
        sc.uvw[1] = scene.surfaceUVW[i++ & (kPointCount - 1)];
        auto r = eval(*scene.map, sc);
        benchmark::DoNotOptimize(r);
    }
}

void BM_MapEvalColor(benchmark::State& state) {
    Run(state, false, [](QuarelMap& m, ShadeContext& sc) { return m.EvalColor(sc); });
}
void BM_MapEvalNormalPerturb(benchmark::State& state) {
    Run(state, false, [](QuarelMap& m, ShadeContext& sc) { return m.EvalNormalPerturb(sc); });
}
void BM_NormalOutEvalColor(benchmark::State& state) {
    Run(state, false, [](QuarelMap& m, ShadeContext& sc) { return m.NormalOut()->EvalColor(sc); });
}
void BM_BumpOutEvalColor(benchmark::State& state) {
    Run(state, false, [](QuarelMap& m, ShadeContext& sc) { return m.BumpOut()->EvalColor(sc); });
}
void BM_BumpOutEvalNormalPerturb(benchmark::State& state) {
    Run(state, false,
        [](QuarelMap& m, ShadeContext& sc) { return m.BumpOut()->EvalNormalPerturb(sc); });
}

// With texture relief: a checker on the bricks, shown in every height.
void BM_MapEvalColorChecker(benchmark::State& state) {
    Run(state, true, [](QuarelMap& m, ShadeContext& sc) { return m.EvalColor(sc); });
}
void BM_MapEvalNormalPerturbTextureRelief(benchmark::State& state) {
    Run(state, true, [](QuarelMap& m, ShadeContext& sc) { return m.EvalNormalPerturb(sc); });
}
void BM_NormalOutEvalColorTextureRelief(benchmark::State& state) {
    Run(state, true, [](QuarelMap& m, ShadeContext& sc) { return m.NormalOut()->EvalColor(sc); });
}
void BM_BumpOutEvalColorTextureRelief(benchmark::State& state) {
    Run(state, true, [](QuarelMap& m, ShadeContext& sc) { return m.BumpOut()->EvalColor(sc); });
}

// Every wear control on, without texture relief: next to the rows above.
void BM_MapEvalColorWorn(benchmark::State& state) {
    Run(
        state, false, [](QuarelMap& m, ShadeContext& sc) { return m.EvalColor(sc); }, true);
}
void BM_NormalOutEvalColorWorn(benchmark::State& state) {
    Run(
        state, false, [](QuarelMap& m, ShadeContext& sc) { return m.NormalOut()->EvalColor(sc); },
        true);
}
void BM_BumpOutEvalColorWorn(benchmark::State& state) {
    Run(
        state, false, [](QuarelMap& m, ShadeContext& sc) { return m.BumpOut()->EvalColor(sc); },
        true);
}

BENCHMARK(BM_MapEvalColor);
BENCHMARK(BM_MapEvalNormalPerturb);
BENCHMARK(BM_NormalOutEvalColor);
BENCHMARK(BM_BumpOutEvalColor);
BENCHMARK(BM_BumpOutEvalNormalPerturb);
BENCHMARK(BM_MapEvalColorChecker);
BENCHMARK(BM_MapEvalNormalPerturbTextureRelief);
BENCHMARK(BM_NormalOutEvalColorTextureRelief);
BENCHMARK(BM_BumpOutEvalColorTextureRelief);
BENCHMARK(BM_MapEvalColorWorn);
BENCHMARK(BM_NormalOutEvalColorWorn);
BENCHMARK(BM_BumpOutEvalColorWorn);

}  // namespace
