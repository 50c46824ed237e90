#include "builtin_classes.h"

namespace quarel_host {

std::vector<ClassDesc*> BuiltinClassDescs() {
    return {};
}

}  // namespace quarel_host
