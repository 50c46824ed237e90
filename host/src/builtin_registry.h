// The host's own classes, registered in the class directory from the start.
#pragma once

#include <vector>

#include "iparamb2.h"

namespace quarel_host {

std::vector<ClassDesc*> BuiltinClassDescs();

}  // namespace quarel_host
