// The scene loader refuses truncated, corrupt and hostile files cleanly: no crash, no leak, no
// undefined behaviour, and a failed load leaves nothing behind. Inputs are either raw bytes or
// byte patches of a valid scene with shared targets, which reaches deep into the format.
#include <host/builtin_classes.h>
#include <host/scene_file.h>
#include <ref.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const std::vector<std::uint8_t>& ValidScene() {
    static const std::vector<std::uint8_t> bytes = [] {
        auto multi = std::make_unique<SingleRefMaker>();
        auto* m = new MultiSubMap(3, MultiSubMap::kByFaceNumber);
        multi->SetRef(m);
        auto* shared = new CheckerMap();
        m->SetSubTexmap(0, shared);
        m->SetSubTexmap(2, shared);
        auto mtl = std::make_unique<SingleRefMaker>();
        auto* std_mtl = new StdMtl();
        mtl->SetRef(std_mtl);
        std_mtl->SetSubTexmap(0, m);
        std::vector<std::uint8_t> out;
        SaveSceneBytes({m, std_mtl}, out);
        return out;
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file;
    if (size > 0 && (data[0] & 1)) {
        file.assign(data + 1, data + size);
    } else {
        // Patches of the valid scene: (offset, byte) pairs, then a truncation length.
        file = ValidScene();
        std::size_t i = size > 0 ? 1 : 0;
        for (; i + 3 <= size && !file.empty(); i += 3) {
            const std::size_t at =
                (static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) % file.size();
            file[at] = data[i + 2];
        }
        if (i + 2 <= size)
            file.resize(std::min(file.size(), std::size_t{data[i]} << 8 | data[i + 1]));
    }
    LoadedScene scene;
    LoadSceneBytes(file.data(), file.size(), scene);
    return 0;
}
