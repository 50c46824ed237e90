#include "loaded_module.h"

#include <dlfcn.h>

#include "w32_module.h"

namespace QuarelTest {
namespace {

template <typename Fn>
void Resolve(void* dl, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(dl, name));
}

}  // namespace

LoadedModule::LoadedModule(const std::filesystem::path& dir) {
    const std::filesystem::path copy = dir / "QuarelMap.dlt";
    std::error_code ec;
    std::filesystem::copy_file(QUAREL_MODULE_PATH, copy,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec) return;
    mDl = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (mDl == nullptr) return;
    mInstance = W32AttachModule(mDl, copy.c_str());
    Resolve(mDl, "DllMain", DllMain);
    Resolve(mDl, "LibDescription", LibDescription);
    Resolve(mDl, "LibNumberClasses", LibNumberClasses);
    Resolve(mDl, "LibClassDesc", LibClassDesc);
    Resolve(mDl, "LibVersion", LibVersion);
    Resolve(mDl, "LibInitialize", LibInitialize);
    Resolve(mDl, "LibShutdown", LibShutdown);
}

LoadedModule::~LoadedModule() {
    if (mInstance != nullptr) W32DetachModule(mInstance);
    if (mDl != nullptr) dlclose(mDl);
}

}  // namespace QuarelTest
