// The full texture set a game engine takes (every map of the glTF profile: colour, normals,
// the packed occlusion-roughness-metallic mask, the height, the JSON and the .gltf, written as
// files) against the four maps a bake wrote before roughness, occlusion and the profiles
// (colour, normals from the height, height, ids, as PNG files), at 4096 pixels on 1 and 2
// threads. The map is the brick-wall preset with seamless bricks, as the bake sets it. Each
// row reports its wall time and, as `peak_MiB`, the process's peak resident memory: run each
// row in a process of its own (bench/texture-set.sh does) for the peak to be that row's.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "preview/commands/bake_files.h"
#include "preview/render/bake.h"
#include "preview/render/height_normals.h"
#include "preview/render/profile_pictures.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"
#include "preview/setup/relief_outputs.h"

namespace {

using namespace QuarelPreview;

constexpr int kSize = 4096;

struct Wall {
    std::unique_ptr<PluginHost> host;
    std::unique_ptr<MapSlot> slot;
    ParamTable table;
    std::filesystem::path out;  // a folder of this process's own for the files
};

void Fail(const std::string& why) {
    std::fprintf(stderr, "%s\n", why.c_str());
    std::abort();
}

Wall& TheWall() {
    static Wall* wall = [] {
        setenv("QUARELMAP_LOG", "0", 1);
        auto* w = new Wall;
        std::string error;
        w->host = PluginHost::Load(DefaultModulePath(), error);
        if (!w->host) Fail(error);
        w->table.AddClass(w->host->MapClass());
        w->slot = w->host->NewMap(error);
        std::vector<Assignment> values;
        if (!w->slot ||
            !LoadPresetFile(QUAREL_SOURCE_DIR "/presets/brick-wall.json", w->table, values,
                            error) ||
            !ParsePreset(R"({"seamless_bricks": true})", w->table, "bench", "", values, error) ||
            !ApplyAssignments(w->slot->Get(), values, error))
            Fail(error);
        Interval valid = FOREVER;
        w->slot->Get()->Update(0, valid);
        ReliefOutputFor(w->slot->Get(), kNormalPrefix)->Update(0, valid);
        w->out = std::filesystem::temp_directory_path() /
                 ("quarel-texture-set-" + std::to_string(::getpid()));
        return w;
    }();
    return *wall;
}

void Report(benchmark::State& state, int threads) {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    state.counters["peak_MiB"] = static_cast<double>(use.ru_maxrss) / 1024.0;
    state.SetLabel(std::to_string(threads) + " threads");
    std::filesystem::remove_all(TheWall().out);
}

// The four maps as a bake made and wrote them before the texture set. Arg: threads.
void BM_FourMaps(benchmark::State& state) {
    Wall& w = TheWall();
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        RenderRequest r;
        r.size = kSize;
        r.samples = 4;
        r.threads = threads;
        const Image color = Render(r, w.slot->Get());
        r.output = Output::Height;
        const Image height = Render(r, w.slot->Get());
        const Image normal = NormalsFromHeight(height, {.threads = threads});
        const Image ids = RenderBrickIds(BrickIdSettingsOf(w.slot->Get(), w.table), kSize, kSize,
                                         threads, nullptr);
        std::string error;
        const std::string prefix = (w.out / "wall").string();
        if (!WritePngFiles({{color, prefix + "-color.png"},
                            {normal, prefix + "-normal.png"},
                            {height, prefix + "-height.png", true},
                            {ids, prefix + "-id.png"}},
                           error))
            Fail(error);
    }
    Report(state, threads);
}
BENCHMARK(BM_FourMaps)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

// Every map of the glTF profile, packed and written with the JSON and the .gltf, as
// `bake --profile gltf` does. Arg: threads.
void BM_GltfSet(benchmark::State& state) {
    Wall& w = TheWall();
    const BakeProfile& profile = *FindBakeProfile("gltf");
    BakeRequest b;
    b.size = kSize;
    b.threads = static_cast<int>(state.range(0));
    b.ids = BrickIdSettingsOf(w.slot->Get(), w.table);
    std::FILE* quiet = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        const BakedTiles tiles = Bake(b, w.slot->Get());
        const std::string prefix = (w.out / "wall").string();
        const auto pictures = ProfilePictures(profile, tiles, 0.0, prefix);
        const std::vector<BakeText> texts = {
            {prefix + ".json", BakeInfoJson(profile, b, pictures)},
            {prefix + ".gltf", BakeGltf(profile, pictures, "wall")}};
        if (!WriteBakeSet(pictures, texts, quiet, stderr)) Fail("the set was not written");
    }
    std::fclose(quiet);
    Report(state, b.threads);
}
BENCHMARK(BM_GltfSet)->Arg(1)->Arg(2)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
