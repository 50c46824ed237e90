// How the stand-in ties instance handles to loaded modules.
//
// On Windows an HINSTANCE is the module's base address. Here it names a record of the stand-in
// that holds the module's dlopen handle; the host makes one when it loads a module and passes
// it to the module's DllMain. Calls that take an instance (LoadStringW, dialog lookups) accept
// only live records, so a stale or made-up handle finds nothing instead of reaching dlsym.
#pragma once

#include "w32_resources.h"
#include "w32_types.h"

extern "C" {
// A record for a dlopen handle (the same record while it is attached); null for a null handle.
HINSTANCE W32AttachModule(void* dlHandle, const char* fileName);
// Forgets the record; the handle becomes unknown to every later call.
void W32DetachModule(HINSTANCE instance);
// The dlopen handle behind a live instance, or null.
void* W32ModuleDlHandle(HINSTANCE instance);
// The module's resource tables (its W32StandInModuleResources export), or null when the
// instance is unknown, the export is missing or reports another table version.
const W32ModuleResources* W32GetModuleResources(HINSTANCE instance);
// A dialog template of the module by id, or null.
const W32DialogResource* W32FindDialogResource(HINSTANCE instance, UINT id);
}
