#include <array>

#include "params/main_params.h"
#include "pattern/catalogue.h"

namespace QuarelNS {

std::span<const StringResID> PatternComboItems() {
    static const std::array<StringResID, kPatternCount> items = [] {
        std::array<StringResID, kPatternCount> ids{};
        for (const PatternInfo& p : kPatternCatalogue)
            ids[static_cast<std::size_t>(p.id)] = p.nameStringId;
        return ids;
    }();
    return items;
}

std::span<const StringResID> ProjectionModeComboItems() {
    static constexpr StringResID items[] = {QuarelRes::IDS_MODE_SIMPLE,
                                            QuarelRes::IDS_MODE_ACCURATE};
    return items;
}

std::span<const StringResID> BevelProfileComboItems() {
    static constexpr StringResID items[] = {QuarelRes::IDS_BEVEL_LINEAR, QuarelRes::IDS_BEVEL_ROUND,
                                            QuarelRes::IDS_BEVEL_SMOOTH};
    return items;
}

}  // namespace QuarelNS
