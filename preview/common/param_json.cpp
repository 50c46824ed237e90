#include "preview/common/param_json.h"

#include <nlohmann/json.hpp>

namespace QuarelPreview {

std::string ParamKind(const ParamEntry& p) {
    switch (p.type) {
        case TYPE_INT:
            return p.items.empty() ? "integer" : "choice";
        case TYPE_ANGLE:
            return "angle";
        case TYPE_BOOL:
            return "bool";
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3:
            return "colour";
        case TYPE_TEXMAP:
            return "map";
        default:
            return "number";
    }
}

std::string ParamTableJson(const ParamTable& table) {
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const auto& e : table.Entries()) {
        nlohmann::ordered_json j;
        j["name"] = e->name;
        j["prefix"] = e->prefix;
        j["label"] = e->label;
        j["kind"] = ParamKind(*e);
        j["default"] = e->defaultText;
        if (e->hasRange && e->type == TYPE_INT) {
            j["min"] = static_cast<int>(e->lo);
            j["max"] = static_cast<int>(e->hi);
        } else if (e->hasRange) {
            // As the block declares them (floats), so that 0.9 prints as 0.9.
            j["min"] = static_cast<float>(e->lo);
            j["max"] = static_cast<float>(e->hi);
        }
        if (!e->items.empty()) j["items"] = e->items;
        j["description"] = ParamDescription(*e);
        all.push_back(std::move(j));
    }
    return all.dump(2) + "\n";
}

}  // namespace QuarelPreview
