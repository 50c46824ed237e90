// Interface ids that the stand-in's own base classes answer, so that tests can see a plug-in
// class pass an id it does not know on to its base, as the host's base classes expect.
#pragma once

#include "maxtypes.h"

namespace host {

// Answered by every MtlBase (maps and materials) with the object itself.
constexpr ULONG kMtlBaseProbeInterfaceId = 0x51A7B001ul;

}  // namespace host
