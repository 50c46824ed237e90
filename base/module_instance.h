// The module's instance handle, stored on process attach: the descriptors answer it as
// HInstance, and the host loads the module's strings and dialog templates through it.
#pragma once

#include <windows.h>

namespace QuarelNS {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

}  // namespace QuarelNS
