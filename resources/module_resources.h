// The module's string table and dialog templates in the form the Win32 stand-in reads through
// the module's `W32StandInModuleResources` export. On Windows the same data is compiled from the
// generated resource script instead.
#pragma once

#include "w32_resources.h"

namespace QuarelRes {

// Built once on first use; valid for the life of the module.
const W32ModuleResources& ModuleResources();

}  // namespace QuarelRes
