// The preview renderer against the map it renders, in one run: nanoseconds per EvalColor
// called directly on a prepared context, per sample through the renderer's context builder,
// and samples per second of whole renders on 1 thread and on all threads. The map is a
// QuarelMap made by the loaded module with a brick-wall preset (colour variance, random second
// colour) and updated once; the points are the same in every row.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "preview/map_setup.h"
#include "preview/plugin_host.h"
#include "preview/point_context.h"
#include "preview/preset.h"
#include "preview/render.h"

namespace {

using namespace QuarelPreview;

constexpr int kGrid = 64;  // points per side over one tile

struct Setup {
    std::unique_ptr<PluginHost> host;
    std::unique_ptr<MapSlot> slot;
    std::vector<Point3> uv;      // plane points in tile units
    std::vector<Point3> source;  // what the context must hold for the generator to give them
    Texmap* map() const { return slot->Get(); }
};

Setup& TheSetup() {
    static Setup* s = [] {
        setenv("QUARELMAP_LOG", "0", 1);
        auto* setup = new Setup;
        std::string error;
        setup->host = PluginHost::Load(DefaultModulePath(), error);
        if (!setup->host) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        ParamTable table;
        table.AddClass(setup->host->MapClass());
        setup->slot = setup->host->NewMap(error);
        std::vector<Assignment> values;
        if (!setup->slot ||
            !ParsePreset(R"({"pattern": "1/2 Running", "color_variance": 0.3,
                             "random_second_color_on": true, "seed": 42})",
                         table, "bench", "", values, error) ||
            !ApplyAssignments(setup->map(), values, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::abort();
        }
        Interval valid = FOREVER;
        setup->map()->Update(0, valid);
        const ShadeContextBuilder builder(setup->map());
        PointShadeContext sc;
        for (int y = 0; y < kGrid; ++y) {
            for (int x = 0; x < kGrid; ++x) {
                const float u = (static_cast<float>(x) + 0.5f) / kGrid;
                const float v = (static_cast<float>(y) + 0.5f) / kGrid;
                builder.SetPlanePoint(sc, u, v, 1.f / kGrid, 1.f / kGrid);
                setup->uv.emplace_back(u, v, 0.f);
                setup->source.push_back(sc.mUVW);
            }
        }
        return setup;
    }();
    return *s;
}

// The map alone: the context already holds the point.
void BM_EvalColorDirect(benchmark::State& state) {
    Setup& s = TheSetup();
    PointShadeContext sc;
    sc.mDUVW = Point3(0.f, 0.f, 0.f);
    std::size_t i = 0;
    for (auto _ : state) {
        sc.mUVW = s.source[i++ % s.source.size()];
        benchmark::DoNotOptimize(s.map()->EvalColor(sc));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvalColorDirect);

// One sample as the renderer takes it: the context set up from tile units, then EvalColor.
void BM_RendererSample(benchmark::State& state) {
    Setup& s = TheSetup();
    const ShadeContextBuilder builder(s.map());
    PointShadeContext sc;
    std::size_t i = 0;
    for (auto _ : state) {
        const Point3& p = s.uv[i++ % s.uv.size()];
        builder.SetPlanePoint(sc, p.x, p.y, 0.f, 0.f);
        benchmark::DoNotOptimize(EvalOutput(Output::Color, s.map(), {}, sc, p.x, p.y));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RendererSample);

// Whole renders, 256 x 256 pixels of colour; items are samples. Arg: threads (0: all cores).
void BM_Render(benchmark::State& state) {
    Setup& s = TheSetup();
    RenderRequest r;
    r.size = 256;
    r.repeat = 2;
    r.threads = static_cast<int>(state.range(0));
    Image image(r.size, r.size);
    for (auto _ : state) {
        RenderInto(r, s.map(), image);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * r.size * r.size);
    state.SetLabel(std::to_string(RenderThreadCount(r.threads)) + " threads");
}
BENCHMARK(BM_Render)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
