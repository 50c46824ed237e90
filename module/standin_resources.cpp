// The module's strings and dialog templates for the Win32 stand-in, which looks this export up
// through the instance handle (on Windows the resource compiler embeds them instead).
#include <windows.h>

#include "resources/module_resources.h"
#include "w32_resources.h"

extern "C" __declspec(dllexport) const W32ModuleResources* W32StandInModuleResources() {
    return &QuarelRes::ModuleResources();
}
