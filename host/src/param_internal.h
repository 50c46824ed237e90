// Links between blocks and the parameter maps that show them, inside the host.
#pragma once

#include "iparamb2.h"

namespace quarel_host {

// A map whose block is going away forgets it.
void DetachMapFromBlock(IParamMap2* map);

// Numeric conversions that never overflow: NaN reads as 0, out-of-range values saturate.
int SafeFloatToInt(float f);

}  // namespace quarel_host
