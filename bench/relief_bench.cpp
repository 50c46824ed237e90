// Nanoseconds per call of the relief evaluations next to the main map's colour in the same run:
// QuarelMap::EvalColor, QuarelMap::EvalNormalPerturb, and the two outputs' EvalColor and
// EvalNormalPerturb, for "1/2 Running" at the block defaults, without texture relief (the
// outputs' relief amounts at 0), and then with it and a nested checker map. Each relief call
// costs four point evaluations (the bump output's eight), so its budget is a few colour calls.
// Then the same calls with a round bevel of 0.15 of a brick, which measures the joint distance
// and evaluates the joint's height on every point of the band; last, with every wear control on.
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

    Scene(bool textureRelief, bool bevel, bool worn = false) {
        map = dynamic_cast<QuarelMap*>(
            static_cast<Animatable*>(QuarelClassDescOf(QuarelClass::Map).Create(FALSE)));
        holder.SetRef(map);
        IParamBlock2* pb = map->GetParamBlock(0);
        if (bevel) {
            pb->SetValue(MainParam::bevel_width, 0, 0.15f);
            pb->SetValue(MainParam::bevel_profile, 0, 1);
        }
        if (worn) {
            // Every wear control on, as in the shading benchmark's worn rows.
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

enum class Kind { Plain, Textured, Bevelled, Worn };

Scene& TheScene(Kind kind) {
    static Scene plain(false, false), textured(true, false), bevelled(false, true),
        worn(false, false, true);
    switch (kind) {
        case Kind::Textured:
            return textured;
        case Kind::Bevelled:
            return bevelled;
        case Kind::Worn:
            return worn;
        default:
            return plain;
    }
}

template <typename Eval>
void Run(benchmark::State& state, Kind kind, Eval eval) {
    Scene& scene = TheScene(kind);
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(), Point3(0.001f, 0.001f, 0.f));
    std::size_t i = 0;
    for (auto _ : state) {
        sc.uvw[1] = scene.surfaceUVW[i++ & (kPointCount - 1)];
        auto r = eval(*scene.map, sc);
        benchmark::DoNotOptimize(r);
    }
}

// The calls measured, each in the three scenes.
constexpr auto kMapColor = [](QuarelMap& m, ShadeContext& sc) { return m.EvalColor(sc); };
constexpr auto kMapPerturb = [](QuarelMap& m, ShadeContext& sc) { return m.EvalNormalPerturb(sc); };
constexpr auto kNormalColor = [](QuarelMap& m, ShadeContext& sc) {
    return m.NormalOut()->EvalColor(sc);
};
constexpr auto kBumpColor = [](QuarelMap& m, ShadeContext& sc) {
    return m.BumpOut()->EvalColor(sc);
};
constexpr auto kBumpPerturb = [](QuarelMap& m, ShadeContext& sc) {
    return m.BumpOut()->EvalNormalPerturb(sc);
};

void BM_MapEvalColor(benchmark::State& s) {
    Run(s, Kind::Plain, kMapColor);
}
void BM_MapEvalNormalPerturb(benchmark::State& s) {
    Run(s, Kind::Plain, kMapPerturb);
}
void BM_NormalOutEvalColor(benchmark::State& s) {
    Run(s, Kind::Plain, kNormalColor);
}
void BM_BumpOutEvalColor(benchmark::State& s) {
    Run(s, Kind::Plain, kBumpColor);
}
void BM_BumpOutEvalNormalPerturb(benchmark::State& s) {
    Run(s, Kind::Plain, kBumpPerturb);
}

// With texture relief: a checker on the bricks, shown in every height.
void BM_MapEvalColorChecker(benchmark::State& s) {
    Run(s, Kind::Textured, kMapColor);
}
void BM_MapEvalNormalPerturbTextureRelief(benchmark::State& s) {
    Run(s, Kind::Textured, kMapPerturb);
}
void BM_NormalOutEvalColorTextureRelief(benchmark::State& s) {
    Run(s, Kind::Textured, kNormalColor);
}
void BM_BumpOutEvalColorTextureRelief(benchmark::State& s) {
    Run(s, Kind::Textured, kBumpColor);
}

// With a bevel.
void BM_MapEvalColorBevel(benchmark::State& s) {
    Run(s, Kind::Bevelled, kMapColor);
}
void BM_MapEvalNormalPerturbBevel(benchmark::State& s) {
    Run(s, Kind::Bevelled, kMapPerturb);
}
void BM_NormalOutEvalColorBevel(benchmark::State& s) {
    Run(s, Kind::Bevelled, kNormalColor);
}
void BM_BumpOutEvalColorBevel(benchmark::State& s) {
    Run(s, Kind::Bevelled, kBumpColor);
}
void BM_BumpOutEvalNormalPerturbBevel(benchmark::State& s) {
    Run(s, Kind::Bevelled, kBumpPerturb);
}

// Every wear control on, without texture relief.
void BM_MapEvalColorWorn(benchmark::State& s) {
    Run(s, Kind::Worn, kMapColor);
}
void BM_NormalOutEvalColorWorn(benchmark::State& s) {
    Run(s, Kind::Worn, kNormalColor);
}
void BM_BumpOutEvalColorWorn(benchmark::State& s) {
    Run(s, Kind::Worn, kBumpColor);
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
BENCHMARK(BM_MapEvalColorBevel);
BENCHMARK(BM_MapEvalNormalPerturbBevel);
BENCHMARK(BM_NormalOutEvalColorBevel);
BENCHMARK(BM_BumpOutEvalColorBevel);
BENCHMARK(BM_BumpOutEvalNormalPerturbBevel);

}  // namespace
