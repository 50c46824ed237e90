// The scene loader refuses truncated, corrupt and hostile files cleanly: no crash, no leak, no
// undefined behaviour, and a failed load leaves nothing behind. Inputs are either raw bytes or
// byte patches of one of two valid scenes (the module's classes in the nodes' materials; host
// maps with a shared target as roots), which reach deep into the format. The module's classes
// are in the class directory and in the valid scene, so damaged files also reach their slot
// guards, the repair after loading and the parent search of the outputs.
#include <host/builtin_classes.h>
#include <host/class_directory.h>
#include <host/scene_file.h>
#include <maxapi.h>
#include <ref.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/class_lookup.h"
#include "map/quarel_map.h"
#include "relief/quarel_bump_map.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_carrier_mtl.h"

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

// The scenes that inputs patch, saved once: the module's classes in the nodes' materials
// (AddModuleObjects), and host maps with a shared target held as roots. Two small scenes rather
// than one with both: an input that keeps its scene loadable costs what that scene's objects
// cost to make and delete, and most inputs do.
std::vector<std::uint8_t> gModuleScene;
std::vector<std::uint8_t> gRootsScene;

void SaveValidScenes() {
    AddModuleObjects();
    if (!SaveSceneBytes({}, gModuleScene)) std::abort();
    GetCOREInterface()->ResetScene();

    auto multi = std::make_unique<SingleRefMaker>();
    auto* m = new MultiSubMap(3, MultiSubMap::kByFaceNumber);
    multi->SetRef(m);
    auto* shared = new CheckerMap();
    m->SetSubTexmap(0, shared);
    m->SetSubTexmap(2, shared);
    auto mtl = std::make_unique<SingleRefMaker>();
    auto* stdMtl = new StdMtl();
    mtl->SetRef(stdMtl);
    stdMtl->SetSubTexmap(0, m);
    if (!SaveSceneBytes({m, stdMtl}, gRootsScene)) std::abort();
}

}  // namespace

// Once per process: the module's classes in the class directory and the valid scenes saved,
// with every object made for them deleted again, so that the first input starts from an empty
// scene like every other.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    for (int i = 0; i < kQuarelClassCount; ++i)
        RegisterClassDesc(&QuarelClassDescOf(static_cast<QuarelClass>(i)));
    SaveValidScenes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Reused between inputs: only its capacity carries over.
    static std::vector<std::uint8_t> file;
    if (size > 0 && (data[0] & 1)) {
        file.assign(data + 1, data + size);
    } else {
        // Patches of a valid scene (the second bit chooses which): (offset, byte) pairs, then a
        // truncation length.
        file = size > 0 && (data[0] & 2) ? gRootsScene : gModuleScene;
        std::size_t i = size > 0 ? 1 : 0;
        for (; i + 3 <= size && !file.empty(); i += 3) {
            const std::size_t at =
                (static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) % file.size();
            file[at] = data[i + 2];
        }
        if (i + 2 <= size)
            file.resize(std::min(file.size(), std::size_t{data[i]} << 8 | data[i + 1]));
    }
    {
        LoadedScene scene;
        LoadSceneBytes(file.data(), file.size(), scene);
    }
    // Everything this input loaded goes before the next input: a leak or a dangling pointer
    // of its deletion is this input's.
    GetCOREInterface()->ResetScene();
    return 0;
}
