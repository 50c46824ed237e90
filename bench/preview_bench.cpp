// The preview renderer against the map it renders, in one run: nanoseconds per EvalColor
// called directly on a prepared context, per sample through the renderer's context builder,
// and samples per second of whole renders of the colour and of the normal output on 1 thread
// and on all threads; the 1024-pixel bake (colour, height, normals from the height, ids) on 1
// and 2 threads; a lit sample object per sample against EvalColor + EvalNormalPerturb on the
// object's own shading contexts. The map is a
// QuarelMap made by the loaded module with a brick-wall preset (colour variance, random second
// colour) and updated once; the points are the same in every row.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "preview/render/bake.h"
#include "preview/render/object_render.h"
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

// The bake of one 1024-pixel tile at its default 4 samples: colour and height rendered, the
// normals derived from the height, the ids. Items are pixel samples (size^2 x samples), so
// samples per second compare between thread counts. Arg: threads.
void BM_Bake(benchmark::State& state) {
    Setup& s = TheSetup();
    Texmap* normal = ReliefOutputFor(s.map(), kNormalPrefix);
    Interval valid = FOREVER;
    normal->Update(0, valid);
    BakeRequest b;
    b.size = 1024;
    b.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        BakedTiles tiles = Bake(b, s.map());
        benchmark::DoNotOptimize(tiles.normal.rgb16.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * b.size * b.size * b.samples);
    state.SetLabel(std::to_string(RenderThreadCount(b.threads)) + " threads");
}
BENCHMARK(BM_Bake)->Arg(1)->Arg(2)->MeasureProcessCPUTime()->UseRealTime()->Unit(
    benchmark::kMillisecond);

constexpr int kObjectSize = 128;

// Samples of the lit cube that meet it, at pixel centres.
std::int64_t CubeHits() {
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.size = kObjectSize;
    std::int64_t hits = 0;
    ObjectHit hit;
    for (int y = 0; y < r.size; ++y)
        for (int x = 0; x < r.size; ++x)
            hits += TraceObject(r, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, hit);
    return hits;
}

// The whole object render of the cube, one sample a pixel on one render thread; time is the
// process's CPU time (the calling thread only waits), as in BM_ObjectEvalOnly, so that a loaded
// machine does not tilt the comparison. Items are the samples that meet the cube (the
// background's are nearly free), so CPU ns per item compares with BM_ObjectEvalOnly.
void BM_ObjectRender(benchmark::State& state) {
    Setup& s = TheSetup();
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.size = kObjectSize;
    r.threads = 1;
    const std::int64_t hits = CubeHits();
    for (auto _ : state) {
        Image image = RenderObject(r, s.map());
        benchmark::DoNotOptimize(image.rgb.data());
    }
    state.SetItemsProcessed(state.iterations() * hits);
}
BENCHMARK(BM_ObjectRender)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// What the map alone costs there: EvalColor and EvalNormalPerturb on the very contexts the
// object render builds for the same samples.
void BM_ObjectEvalOnly(benchmark::State& state) {
    Setup& s = TheSetup();
    ObjectRequest r;
    r.object = ObjectShape::Cube;
    r.size = kObjectSize;
    std::vector<std::unique_ptr<PointShadeContext>> contexts;
    for (int y = 0; y < r.size; ++y)
        for (int x = 0; x < r.size; ++x) {
            auto sc = std::make_unique<PointShadeContext>();
            if (ObjectContextAt(r, s.map(), static_cast<float>(x) + 0.5f,
                                static_cast<float>(y) + 0.5f, *sc))
                contexts.push_back(std::move(sc));
        }
    for (auto _ : state) {
        for (const auto& sc : contexts) {
            benchmark::DoNotOptimize(s.map()->EvalColor(*sc));
            benchmark::DoNotOptimize(s.map()->EvalNormalPerturb(*sc));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(contexts.size()));
}
BENCHMARK(BM_ObjectEvalOnly)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
