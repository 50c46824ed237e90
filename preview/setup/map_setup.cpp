#include "preview/setup/map_setup.h"

#include "host/asset_paths.h"
#include "host/builtin_classes.h"
#include "preview/setup/relief_outputs.h"
#include "stdmat.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <type_traits>

namespace QuarelPreview {

namespace {

// The object that holds parameters named with `prefix`: the map, or one of its relief outputs.
ReferenceTarget* TargetOf(Texmap* map, const std::string& prefix) {
    return prefix.empty() ? map : ReliefOutputFor(map, prefix);
}

IParamBlock2* BlockOf(Texmap* map, const ParamEntry& p) {
    ReferenceTarget* target = TargetOf(map, p.prefix);
    return target != nullptr ? target->GetParamBlockByID(p.block) : nullptr;
}

void SetTiling(Texmap* map, float u, float v) {
    UVGen* gen = map->GetTheUVGen();
    if (gen == nullptr || !gen->IsStdUVGen()) return;
    auto* std = static_cast<StdUVGen*>(gen);
    std->SetUScl(u, 0);
    std->SetVScl(v, 0);
}

using Json = nlohmann::ordered_json;

// The shortest decimal that a preset reader turns back into `stored`: `back` gives the stored
// value of a decimal as the reader computes it.
template <typename Back>
double ShortestDecimal(double near, float stored, Back back) {
    for (int digits = 1; digits <= 9; ++digits) {
        // The nearest float first, then its neighbours: an angle's degrees may need one.
        const float nearest = static_cast<float>(near);
        float above = nearest, below = nearest;
        for (int step = 0; step < 9; ++step) {
            float candidate = nearest;
            if (step > 0) {
                candidate = step % 2 == 1 ? (above = std::nextafter(above, INFINITY))
                                          : (below = std::nextafter(below, -INFINITY));
            }
            char text[32];
            std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(candidate));
            const double d = std::strtod(text, nullptr);
            if (back(d) == stored) return d == 0.0 ? 0.0 : d;  // no "-0.0"
        }
    }
    return near;
}

double FloatDecimal(float f) {
    return ShortestDecimal(f, f, [](double d) { return static_cast<float>(d); });
}

double AngleDecimal(float radians) {
    // As CheckFloat stores degrees: through a float, then to radians.
    return ShortestDecimal(radians * (180.0 / M_PI), radians, [](double d) {
        return static_cast<float>(static_cast<double>(static_cast<float>(d)) * (M_PI / 180.0));
    });
}

Json ColorJson(const Color& c) {
    return Json::array({FloatDecimal(c.r), FloatDecimal(c.g), FloatDecimal(c.b)});
}

// Tiling as a preset writes it, or null when it is the default.
Json TilingJson(Texmap* map) {
    UVGen* gen = map->GetTheUVGen();
    if (gen == nullptr || !gen->IsStdUVGen()) return nullptr;
    auto* std = static_cast<StdUVGen*>(gen);
    const float u = std->GetUScl(0), v = std->GetVScl(0);
    if (u == 1.f && v == 1.f) return nullptr;
    return u == v ? Json(FloatDecimal(u)) : Json::array({FloatDecimal(u), FloatDecimal(v)});
}

// A nested map as a preset map; null with `skipped` told when the preset has no such map.
Json MapJson(Texmap* map, const std::string& where, std::vector<std::string>& skipped, int depth) {
    if (map == nullptr) return nullptr;
    Json j = Json::object();
    if (auto* bitmap = dynamic_cast<BitmapMap*>(map); bitmap != nullptr) {
        j["map"] = "bitmap";
        j["file"] = std::filesystem::absolute(bitmap->FileName()).lexically_normal().string();
    } else if (auto* checker = dynamic_cast<CheckerMap*>(map); checker != nullptr) {
        if (checker->color1 == checker->color2 && TilingJson(map).is_null()) {
            j["map"] = "color";
            j["color"] = ColorJson(checker->color1);
            return j;
        }
        j["map"] = "checker";
        j["color1"] = ColorJson(checker->color1);
        j["color2"] = ColorJson(checker->color2);
    } else if (auto* multi = dynamic_cast<MultiSubMap*>(map);
               multi != nullptr && depth + 1 < kMaxMapDepth) {
        static constexpr const char* kBy[] = {"node", "face", "material"};
        j["map"] = "multisub";
        j["by"] = kBy[multi->GetMode()];
        j["count"] = multi->NumSubTexmaps();
        Json maps = Json::array();
        for (int i = 0; i < multi->NumSubTexmaps(); ++i)
            maps.push_back(MapJson(multi->GetSubTexmap(i),
                                   where + ".maps[" + std::to_string(i) + "]", skipped, depth + 1));
        while (!maps.empty() && maps.back().is_null()) maps.erase(maps.size() - 1);
        if (!maps.empty()) j["maps"] = std::move(maps);
        return j;
    } else {
        MSTR name;
        map->GetClassName(name, false);
        std::string narrow;
        for (int i = 0; i < name.Length(); ++i)
            narrow += name[i] > 0 && name[i] < 0x80 ? static_cast<char>(name[i]) : '?';
        skipped.push_back(where + " (a " + narrow + " map)");
        return nullptr;
    }
    if (Json tiling = TilingJson(map); !tiling.is_null()) j["tiling"] = std::move(tiling);
    return j;
}

// Where a preset's image is: beside the preset, then along the image path; empty when nowhere.
std::string FindImage(const MapRecipe& recipe, const std::vector<std::string>& imagePaths) {
    if (recipe.given.empty()) return recipe.file;
    quarel_host::AssetPath asset;
    asset.given = recipe.given;
    (std::filesystem::path(recipe.given).is_absolute() ? asset.absolute : asset.relative) =
        recipe.given;
    return quarel_host::FindAsset(asset,
                                  {recipe.baseDir.empty() ? "." : recipe.baseDir, imagePaths});
}

}  // namespace

Texmap* BuildMap(const MapRecipe& recipe, std::string& error,
                 const std::vector<std::string>& imagePaths) {
    switch (recipe.kind) {
        case MapRecipe::Kind::Bitmap: {
            auto* bitmap = new BitmapMap;
            const std::string found = FindImage(recipe, imagePaths);
            if (!bitmap->SetFileName(found.empty() ? recipe.file : found, recipe.given)) {
                error = "cannot use image: " + bitmap->LoadError();
                bitmap->DeleteThis();
                return nullptr;
            }
            SetTiling(bitmap, recipe.tileU, recipe.tileV);
            return bitmap;
        }
        case MapRecipe::Kind::Checker: {
            auto* checker = new CheckerMap;
            checker->color1 = recipe.color1;
            checker->color2 = recipe.color2;
            SetTiling(checker, recipe.tileU, recipe.tileV);
            return checker;
        }
        case MapRecipe::Kind::MultiSub: {
            static constexpr MultiSubMap::Mode kModes[] = {
                MultiSubMap::kByNodeID, MultiSubMap::kByFaceNumber, MultiSubMap::kByMtlNum};
            auto* multi = new MultiSubMap(recipe.count, kModes[recipe.by]);
            for (std::size_t i = 0; i < recipe.maps.size(); ++i) {
                if (!recipe.maps[i]) continue;
                Texmap* sub = BuildMap(*recipe.maps[i], error, imagePaths);
                if (sub == nullptr) {
                    multi->DeleteThis();  // releases the slots filled so far
                    return nullptr;
                }
                multi->SetSubTexmap(static_cast<int>(i), sub);
            }
            return multi;
        }
    }
    return nullptr;
}

bool ApplyAssignments(Texmap* map, const std::vector<Assignment>& assignments, std::string& error,
                      const std::vector<std::string>& imagePaths) {
    for (const Assignment& a : assignments) {
        const ParamEntry& p = *a.param;
        IParamBlock2* pb = BlockOf(map, p);
        const std::string where = a.origin + ": " + p.name + ": ";
        if (pb == nullptr) {
            error = where + "the map has no block " + std::to_string(p.block);
            return false;
        }
        BOOL ok = FALSE;
        const ParamValue& v = a.value;
        switch (v.kind) {
            case ParamValue::Kind::Int:
            case ParamValue::Kind::Bool:
                ok = pb->SetValue(p.id, 0, v.i);
                break;
            case ParamValue::Kind::Float:
                ok = pb->SetValue(p.id, 0, v.f);
                break;
            case ParamValue::Kind::Color:
                ok = pb->SetValue(p.id, 0, v.c);
                break;
            case ParamValue::Kind::Map: {
                Texmap* nested = nullptr;
                if (v.map) {
                    nested = BuildMap(*v.map, error, imagePaths);
                    if (nested == nullptr) {
                        error = where + error;
                        return false;
                    }
                }
                ok = pb->SetValue(p.id, 0, nested);
                // A map nobody took would leak: nothing references it yet.
                if (nested != nullptr && nested->DependentCount() == 0) {
                    nested->MaybeAutoDelete();
                    if (ok) {
                        error = where + "the map did not keep the nested map";
                        return false;
                    }
                }
                break;
            }
        }
        if (!ok) {
            error = where + "the map's block refused the value";
            return false;
        }
    }
    return true;
}

bool ReadParam(Texmap* map, const ParamEntry& p, ParamValue& out) {
    IParamBlock2* pb = BlockOf(map, p);
    if (pb == nullptr) return false;
    Interval valid = FOREVER;
    out = ParamValue{};
    switch (p.type) {
        case TYPE_INT:
        case TYPE_BOOL:
            out.kind = p.type == TYPE_INT ? ParamValue::Kind::Int : ParamValue::Kind::Bool;
            return pb->GetValue(p.id, 0, out.i, valid) != FALSE;
        case TYPE_FLOAT:
        case TYPE_ANGLE:
            out.kind = ParamValue::Kind::Float;
            return pb->GetValue(p.id, 0, out.f, valid) != FALSE;
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3:
            out.kind = ParamValue::Kind::Color;
            return pb->GetValue(p.id, 0, out.c, valid) != FALSE;
        default:
            return false;
    }
}

std::string MapAsPreset(Texmap* map, const ParamTable& table, std::vector<std::string>& skipped) {
    Json doc = Json::object();
    for (const auto& e : table.Entries()) {
        const ParamEntry& p = *e;
        Json value;
        if (p.type == TYPE_TEXMAP) {
            IParamBlock2* pb = BlockOf(map, p);
            Texmap* nested = nullptr;
            Interval valid = FOREVER;
            if (pb == nullptr || !pb->GetValue(p.id, 0, nested, valid) || nested == nullptr)
                continue;  // none is every map parameter's default
            // The map's buttons for its own relief outputs are no nested maps of a preset.
            if (nested == ReliefOutputFor(map, kNormalPrefix) ||
                nested == ReliefOutputFor(map, kBumpPrefix))
                continue;
            value = MapJson(nested, p.name, skipped, 0);
            if (value.is_null()) continue;
        } else {
            ParamValue v;
            if (!ReadParam(map, p, v)) continue;
            switch (p.type) {
                case TYPE_INT:
                    value = v.i >= 0 && static_cast<std::size_t>(v.i) < p.items.size()
                                ? Json(p.items[static_cast<std::size_t>(v.i)])
                                : Json(v.i);
                    break;
                case TYPE_BOOL:
                    value = v.i != 0;
                    break;
                case TYPE_ANGLE:
                    value = AngleDecimal(v.f);
                    break;
                case TYPE_FLOAT:
                    value = FloatDecimal(v.f);
                    break;
                default:
                    value = ColorJson(v.c);
                    break;
            }
        }
        if (p.prefix.empty()) {
            doc[p.name] = std::move(value);
        } else {
            const std::string group = p.prefix.substr(0, p.prefix.size() - 1);
            doc[group][p.name.substr(p.prefix.size())] = std::move(value);
        }
    }
    // One member a line: a preset a person can read and edit.
    std::string text = "{\n";
    bool first = true;
    for (const auto& item : doc.items()) {
        text += (first ? "  " : ",\n  ") + Json(item.key()).dump() + ": " + item.value().dump();
        first = false;
    }
    return text + "\n}\n";
}

bool MapBevels(Texmap* map, const ParamTable& table) {
    const ParamEntry* width = table.Find("bevel_width");
    ParamValue value;
    return width != nullptr && ReadParam(map, *width, value) && value.f > 0.f;
}

CellQuery CellsSettings(Texmap* map, const ParamTable& table) {
    CellQuery q;
    QuarelNS::PatternSettings& ps = q.pattern;
    auto read = [&](const char* name, auto& field) {
        const ParamEntry* p = table.Find(name);
        ParamValue v;
        if (p == nullptr || !ReadParam(map, *p, v)) return;
        using T = std::remove_reference_t<decltype(field)>;
        field = v.kind == ParamValue::Kind::Float ? static_cast<T>(v.f) : static_cast<T>(v.i);
    };
    read("pattern", ps.pattern);
    read("nx", ps.nx);
    read("ny", ps.ny);
    read("gap_u", ps.gap_u);
    read("gap_v", ps.gap_v);
    read("random_shift", ps.random_shift);
    read("seed", ps.seed);
    read("corner_radius", ps.cornerRadius);
    read("missing_bricks", q.wear.missing);
    q.wear.missing *= 0.01f;  // the block's percent
    read("edge_noise", q.wear.edgeNoise);
    read("edge_noise_scale", q.wear.edgeNoiseScale);
    int seamless = 0;
    read("seamless_bricks", seamless);
    q.wear.seamless = seamless != 0;
    return q;
}

void SelectPattern(Texmap* map, const ParamEntry& pattern, int id) {
    Assignment a;
    a.param = &pattern;
    a.value.kind = ParamValue::Kind::Int;
    a.value.i = id;
    a.origin = "sheet";
    std::string error;
    ApplyAssignments(map, {a}, error);
    Interval valid = FOREVER;
    map->Update(0, valid);
}

}  // namespace QuarelPreview
