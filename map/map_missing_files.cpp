#include "map/map_missing_files.h"

#include <AssetEnumCallback.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/diag_log.h"
#include "map/quarel_map.h"

namespace QuarelNS {
namespace {

// The log is plain text: characters outside ASCII print as '?'.
std::string LogText(const MSTR& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i)
        out += s[i] > 0x1F && s[i] < 0x7F ? static_cast<char>(s[i]) : '?';
    return out;
}

class MissingFiles : public AssetEnumCallback {
public:
    void RecordAsset(const MaxSDK::AssetManagement::AssetUser& asset) override {
        names.push_back(LogText(asset.GetFileName()));
    }
    std::vector<std::string> names;
};

}  // namespace

void QMLogMissingFiles(QuarelMap* map) {
    if (map == nullptr) return;
    // Each file with the slots that hold it, in slot order.
    std::vector<std::pair<std::string, std::string>> files;
    for (int k = 0; k < map->NumSubTexmaps(); ++k) {
        Texmap* sub = map->GetSubTexmap(k);
        if (sub == nullptr) continue;
        // Through the whole nesting, each map once: a map reached along two paths of this slot
        // is asked once, and one that another slot reached is asked again for this one.
        ClearAFlagInHierarchy(sub, A_WORK1);
        MissingFiles found;
        sub->EnumAuxFiles(found, FILE_ENUM_ALL | FILE_ENUM_MISSING_ONLY | FILE_ENUM_CHECK_AWORK1);
        std::string slot(1, '\'');
        slot += LogText(map->GetSubTexmapSlotName(k, false));
        slot += '\'';
        for (std::string& name : found.names) {
            auto it = std::find_if(files.begin(), files.end(),
                                   [&](const auto& f) { return f.first == name; });
            if (it == files.end())
                files.emplace_back(std::move(name), slot);
            else if (it->second.find(slot) == std::string::npos)
                it->second.append(", ").append(slot);
        }
    }
    const std::string mapName = LogText(map->GetName(false));
    for (const auto& [name, slots] : files)
        DiagLog("QuarelMap::PostLoad [this=0x%p] '%s': file '%s' cannot be used; wanted by %s",
                static_cast<void*>(map), mapName.c_str(), name.c_str(), slots.c_str());
}

}  // namespace QuarelNS
