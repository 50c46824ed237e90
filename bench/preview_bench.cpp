// The preview renderer against the map it renders, in one run: nanoseconds per EvalColor
// called directly on a prepared context, per sample through the renderer's context builder,
// and samples per second of whole renders of the colour and of the normal output on 1 thread
// and on all threads. The map is a
// QuarelMap made by the loaded module with a brick-wall preset (colour variance, random second
// colour) and updated once; the points are the same in every row.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "preview/render/point_context.h"
#include "preview/render/relief_view.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"

namespace {

using namespace QuarelPreview;

constexpr int kGrid = 256;  // the render's pixels per side
constexpr int kRepeat = 2;  // and its tiles

struct Setup {
    std::unique_ptr<PluginHost> host;
    std::unique_ptr<MapSlot> slot;
    std::vector<Point3> uv;      // plane points in tile units
    std::vector<Point3> source;  // what the context must hold for the generator to give them
    Point3 filter;               // and for the filter size of a pixel
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
                // The pixel centres of BM_Render, with its filter size.
                const float scale = static_cast<float>(kRepeat) / kGrid;
                const float u = (static_cast<float>(x) + 0.5f) * scale;
                const float v = kRepeat - (static_cast<float>(y) + 0.5f) * scale;
                builder.SetPlanePoint(sc, u, v, scale, scale);
                setup->uv.emplace_back(u, v, 0.f);
                setup->source.push_back(sc.mUVW);
                setup->filter = sc.mDUVW;
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
    sc.mDUVW = s.filter;
    std::size_t i = 0;
    for (auto _ : state) {
        sc.mUVW = s.source[i++ % s.source.size()];
        benchmark::DoNotOptimize(s.map()->EvalColor(sc));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvalColorDirect);

// One point as `sample` takes it: the context solved from tile units, then EvalColor.
void BM_SamplePoint(benchmark::State& state) {
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
BENCHMARK(BM_SamplePoint);

// Whole renders, 256 x 256 pixels of colour over the points above; items are samples, so
// ns per item compares with BM_EvalColorDirect. Arg: threads (0: all cores). Time is wall
// time (samples per second); CPU is the whole process, all render threads together.
void BM_Render(benchmark::State& state) {
    Setup& s = TheSetup();
    RenderRequest r;
    r.size = kGrid;
    r.repeat = kRepeat;
    r.threads = static_cast<int>(state.range(0));
    Image image(r.size, r.size);
    for (auto _ : state) {
        RenderInto(r, s.map(), image);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * r.size * r.size);
    state.SetLabel(std::to_string(RenderThreadCount(r.threads)) + " threads");
}
BENCHMARK(BM_Render)->Arg(1)->Arg(0)->MeasureProcessCPUTime()->UseRealTime()->Unit(
    benchmark::kMillisecond);

// The same render of the normal output (four point evaluations a sample) into a 16-bit
// picture. Arg: threads (0: all cores).
void BM_RenderNormal(benchmark::State& state) {
    Setup& s = TheSetup();
    Texmap* normal = ReliefOutputFor(s.map(), kNormalPrefix);
    Interval valid = FOREVER;
    normal->Update(0, valid);
    RenderRequest r;
    r.output = Output::Normal;
    r.size = kGrid;
    r.repeat = kRepeat;
    r.threads = static_cast<int>(state.range(0));
    Image image = Image::Deep(r.size, r.size);
    for (auto _ : state) {
        RenderInto(r, s.map(), image);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * r.size * r.size);
    state.SetLabel(std::to_string(RenderThreadCount(r.threads)) + " threads");
}
BENCHMARK(BM_RenderNormal)
    ->Arg(1)
    ->Arg(0)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
