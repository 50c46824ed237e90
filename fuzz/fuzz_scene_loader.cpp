// The scene loader refuses truncated, corrupt and hostile files cleanly: no crash, no leak, no
// undefined behaviour, and a failed load leaves nothing behind. Inputs are scene files; the
// custom mutator (scene_mutator.h) changes them chunk by chunk and field by field, so that
// most mutants keep their framing and reach the checks, the objects' own data, the slot guards
// of the module's classes, the repair after loading and the parent search of the outputs. The
// seed corpus (fuzz/corpus/scene_loader) holds every class and block, bitmaps with and without
// the paths newer scenes store, and is written by this program itself:
//   QUAREL_WRITE_SCENE_SEEDS=fuzz/corpus/scene_loader build/dev/fuzz/fuzz_scene_loader
#include <host/builtin_classes.h>
#include <host/class_directory.h>
#include <host/scene_file.h>
#include <maxapi.h>
#include <ref.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/class_lookup.h"
#include "custom_mutator.h"
#include "map/quarel_map.h"
#include "relief/quarel_bump_map.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_carrier_mtl.h"
#include "scene_mutator.h"

namespace {

using namespace QuarelNS;

template <typename T>
T* Make(QuarelClass c) {
    return dynamic_cast<T*>(static_cast<Animatable*>(QuarelClassDescOf(c).Create(FALSE)));
}

// A wall of the module's classes in the scene: a map and its outputs, a copy of an output that
// no map holds, a legacy bump map and a carrier, all pointing at the map.
void AddModuleObjects() {
    auto* map = Make<QuarelMap>(QuarelClass::Map);
    map->SetSubTexmap(QuarelMap::kSubTiles, new CheckerMap());
    auto* legacy = Make<QuarelBumpMap>(QuarelClass::BumpMap);
    legacy->ReplaceReference(QuarelBumpMap::kRefParent, map);
    auto* wall = new StdMtl();
    wall->SetSubTexmap(0, map);
    wall->SetSubTexmap(1, legacy);
    auto* copy = static_cast<Texmap*>(CloneRefHierarchy(map->BumpOut()));
    auto* carrier = Make<QuarelNormalCarrierMtl>(QuarelClass::NormalCarrierMtl);
    carrier->ReplaceReference(QuarelNormalCarrierMtl::kRefParent, map);
    carrier->SetSubTexmap(0, copy);
    auto* multi = new MultiMtl(2);
    multi->SetSubMtl(0, carrier);
    multi->SetSubMtl(1, wall);
    INode* root = GetCOREInterface()->GetRootNode();
    root->CreateChild(L"Wall")->SetMtl(multi);
}

std::vector<std::uint8_t> Save(const std::vector<ReferenceTarget*>& roots,
                               const std::string& sceneDir = {}) {
    std::vector<std::uint8_t> bytes;
    if (!SaveSceneBytes(roots, bytes, nullptr, sceneDir)) std::abort();
    GetCOREInterface()->ResetScene();
    return bytes;
}

// Host maps with a shared target, held as roots.
std::vector<std::uint8_t> RootsScene() {
    SingleRefMaker multi, mtl;
    auto* m = new MultiSubMap(3, MultiSubMap::kByFaceNumber);
    multi.SetRef(m);
    auto* shared = new CheckerMap();
    m->SetSubTexmap(0, shared);
    m->SetSubTexmap(2, shared);
    auto* stdMtl = new StdMtl();
    mtl.SetRef(stdMtl);
    stdMtl->SetSubTexmap(0, m);
    return Save({m, stdMtl});
}

// Bitmaps in a map's slots and in a material, under nested nodes; the files do not exist, so
// loading looks for them and reports them, and reads no image.
std::vector<std::uint8_t> BitmapScene() {
    auto* map = Make<QuarelMap>(QuarelClass::Map);
    map->SetName(L"aged");
    auto* brick = new BitmapMap();
    // As if given relative to a preset: the stored paths do not depend on the working folder.
    brick->SetFileName("/nonexistent/presets/images/brick.png", "images/brick.png");
    map->SetSubTexmap(QuarelMap::kSubTiles, brick);
    auto* grout = new BitmapMap();
    grout->SetFileName("/nonexistent/grout.png");
    map->SetSubTexmap(QuarelMap::kSubGrout, grout);
    auto* mtl = new StdMtl();
    mtl->SetSubTexmap(0, map);
    mtl->SetSubTexmap(1, brick);
    INode* wall = GetCOREInterface()->GetRootNode()->CreateChild(L"Wall");
    wall->SetMtl(mtl);
    wall->CreateChild(L"Cap")->CreateChild(L"Stone");
    return Save({}, "/nonexistent/scenes");
}

// A scene as older versions wrote it: bitmaps with the path as given and nothing else.
std::vector<std::uint8_t> WithoutNewerPaths(const std::vector<std::uint8_t>& bytes) {
    scene_fuzz::SceneTree tree = scene_fuzz::Parse(bytes.data(), bytes.size());
    auto strip = [](auto& self, std::vector<scene_fuzz::Chunk>& list) -> void {
        std::erase_if(list,
                      [](const scene_fuzz::Chunk& c) { return c.id == 0x0111 || c.id == 0x0112; });
        for (auto& c : list)
            if (c.container) self(self, c.children);
    };
    strip(strip, tree.chunks);
    return scene_fuzz::Serialise(tree);
}

// The seeds: every class of the module and of the host, every block, bitmaps new and old.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> SeedScenes() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;
    AddModuleObjects();
    seeds.emplace_back("module-classes", Save({}));
    seeds.emplace_back("host-roots", RootsScene());
    const std::vector<std::uint8_t> bitmaps = BitmapScene();
    seeds.emplace_back("bitmaps", bitmaps);
    seeds.emplace_back("bitmaps-old-format", WithoutNewerPaths(bitmaps));
    seeds.emplace_back("empty", Save({}));
    return seeds;
}

scene_fuzz::SceneMutator gMutator(LibFuzzerBytes);

void WriteSeeds(const char* dir) {
    for (const auto& [name, bytes] : SeedScenes()) {
        const std::string path = std::string(dir) + "/" + name + ".qscene";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
        std::fclose(f);
    }
}

}  // namespace

// Once per process: the module's classes in the class directory, and the seed scenes as the
// chunks that insertions copy, with every object made for them deleted again, so that the first
// input starts from an empty scene like every other.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (int i = 0; i < kQuarelClassCount; ++i)
        RegisterClassDesc(&QuarelClassDescOf(static_cast<QuarelClass>(i)));
    if (const char* dir = std::getenv("QUAREL_WRITE_SCENE_SEEDS")) {
        WriteSeeds(dir);
        std::exit(0);
    }
    for (const auto& seed : SeedScenes()) gMutator.AddDonor(seed.second.data(), seed.second.size());
    return 0;
}

QUAREL_CUSTOM_MUTATOR(gMutator.MutateBytes, gMutator.CrossOver)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        LoadedScene scene;
        LoadSceneBytes(data, size, scene);
    }
    // Everything this input loaded goes before the next input: a leak or a dangling pointer
    // of its deletion is this input's.
    GetCOREInterface()->ResetScene();
    return 0;
}
