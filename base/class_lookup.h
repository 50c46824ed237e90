// The descriptor of each of the module's classes, as the host's ClassDesc2. The classes create
// their parameter blocks and editor pages through it; the descriptors themselves live with the
// module's entry, which knows every class.
#pragma once

#include "base/class_ids.h"
#include "iparamb2.h"

namespace QuarelNS {

// All five are built together on the first call (at the latest when the block descriptors
// register at load) and live until the module unloads.
ClassDesc2& QuarelClassDescOf(QuarelClass c);

}  // namespace QuarelNS
