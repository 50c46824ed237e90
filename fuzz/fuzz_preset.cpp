// The preset reader takes any bytes: malformed JSON, wrong types, hostile numbers and deeply
// nested maps are refused with a message, never a crash, a leak or undefined behaviour. The
// parameter table is the loaded module's, as in the preview; values that were accepted are
// put into a map through its blocks, and the map is updated and evaluated once. Bitmaps are
// left out, so that inputs never name files to read. The custom mutator (preset_mutator.h)
// changes inputs as JSON, with the names, types and ranges of the table's parameters.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "custom_mutator.h"
#include "preset_mutator.h"
#include "preview/commands/run.h"
#include "preview/common/param_table.h"
#include "preview/render/point_context.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/plugin_host.h"
#include "preview/setup/preset.h"

namespace {

using namespace QuarelPreview;

std::unique_ptr<PluginHost> gHost;
ParamTable gTable;
std::unique_ptr<preset_fuzz::PresetMutator> gMutator;

// What the mutator needs to know of the table's parameters.
std::vector<preset_fuzz::Param> MutatorParams(const ParamTable& table) {
    using T = preset_fuzz::Param::Type;
    std::vector<preset_fuzz::Param> params;
    for (const auto& e : table.Entries()) {
        T type = T::Other;
        switch (e->type) {
            case TYPE_INT:
                type = T::Int;
                break;
            case TYPE_FLOAT:
            case TYPE_ANGLE:
                type = T::Float;
                break;
            case TYPE_BOOL:
                type = T::Bool;
                break;
            case TYPE_RGBA:
            case TYPE_FRGBA:
            case TYPE_POINT3:
                type = T::Color;
                break;
            case TYPE_TEXMAP:
                type = T::Map;
                break;
            default:
                break;
        }
        params.push_back({e->name, type, e->hasRange, e->lo, e->hi, e->items});
    }
    return params;
}

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
    // The map's parameters and, under their prefixes, its relief outputs', as in the preview.
    AddMapParams(*gHost, gTable);
    gMutator = std::make_unique<preset_fuzz::PresetMutator>(MutatorParams(gTable), LibFuzzerBytes);
    return 0;
}

QUAREL_CUSTOM_MUTATOR(gMutator->Mutate, gMutator->CrossOver)

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
