#include "base/module_instance.h"

namespace QuarelNS {
namespace {
HINSTANCE gInstance = nullptr;
}

HINSTANCE ModuleInstance() {
    return gInstance;
}

void SetModuleInstance(HINSTANCE instance) {
    gInstance = instance;
}

}  // namespace QuarelNS
