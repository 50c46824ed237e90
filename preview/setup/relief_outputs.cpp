#include "preview/setup/relief_outputs.h"

namespace QuarelPreview {

Texmap* ReliefOutputFor(Texmap* map, std::string_view prefix) {
    if (map == nullptr) return nullptr;
    if (prefix == kNormalPrefix) return map->GetSubTexmap(kNormalSubMap);
    if (prefix == kBumpPrefix) return map->GetSubTexmap(kBumpSubMap);
    return nullptr;
}

}  // namespace QuarelPreview
