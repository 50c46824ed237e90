#include "preview/setup/relief_outputs.h"

namespace QuarelPreview {

Texmap* ReliefOutputFor(Texmap* map, std::string_view prefix) {
    if (map == nullptr) return nullptr;
    if (prefix == kNormalPrefix) return map->GetSubTexmap(kNormalSubMap);
    if (prefix == kBumpPrefix) return map->GetSubTexmap(kBumpSubMap);
    return nullptr;
}

void UpdateForRender(Texmap* map) {
    Interval valid = FOREVER;
    map->Update(0, valid);
    for (std::string_view prefix : {kNormalPrefix, kBumpPrefix})
        if (Texmap* output = ReliefOutputFor(map, prefix)) output->Update(0, valid);
}

}  // namespace QuarelPreview
