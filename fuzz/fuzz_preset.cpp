// The preset reader takes any bytes: malformed JSON, wrong types, hostile numbers and deeply
// nested maps are refused with a message, never a crash, a leak or undefined behaviour. The
// parameter table is the loaded module's, as in the preview; values that were accepted are
// put into a map through its blocks, and the map is updated and evaluated once. Bitmaps are
// left out, so that inputs never name files to read.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "preview/common/param_table.h"
#include "preview/render/point_context.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"

namespace {

using namespace QuarelPreview;

std::unique_ptr<PluginHost> gHost;
ParamTable gTable;

bool HasBitmap(const MapRecipe& recipe) {
    if (recipe.kind == MapRecipe::Kind::Bitmap) return true;
    for (const auto& sub : recipe.maps)
        if (sub && HasBitmap(*sub)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("QUARELMAP_LOG", "0", 1);
    std::string error;
    gHost = PluginHost::Load(DefaultModulePath(), error);
    if (!gHost) std::abort();
    gTable.AddClass(gHost->MapClass());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<Assignment> values;
    std::string error;
    if (!ParsePreset(text, gTable, "fuzz", "", values, error)) {
        if (error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    std::vector<Assignment> usable;
    for (Assignment& a : values)
        if (!(a.value.map && HasBitmap(*a.value.map))) usable.push_back(std::move(a));
    auto slot = gHost->NewMap(error);
    if (!slot) std::abort();
    ApplyAssignments(slot->Get(), usable, error);
    Interval valid = FOREVER;
    slot->Get()->Update(0, valid);
    const ShadeContextBuilder builder(slot->Get());
    PointShadeContext sc;
    builder.SetPlanePoint(sc, 0.3f, 0.7f, 0.001f, 0.001f);
    slot->Get()->EvalColor(sc);
    return 0;
}
