#include "resources/module_resources.h"

#include "resources/dialog_templates.h"
#include "resources/string_table.h"

namespace QuarelRes {

const W32ModuleResources& ModuleResources() {
    static const W32ModuleResources resources = [] {
        const auto strings = StringTable();
        const auto dialogs = DialogTemplates();
        return W32ModuleResources{kW32ResourcesVersion, strings.data(),
                                  static_cast<std::uint32_t>(strings.size()), dialogs.data(),
                                  static_cast<std::uint32_t>(dialogs.size())};
    }();
    return resources;
}

}  // namespace QuarelRes
