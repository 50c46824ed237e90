#include "preview/setup/map_setup.h"

#include "host/builtin_classes.h"
#include "preview/render/relief_view.h"
#include "stdmat.h"

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

}  // namespace

Texmap* BuildMap(const MapRecipe& recipe, std::string& error) {
    switch (recipe.kind) {
        case MapRecipe::Kind::Bitmap: {
            auto* bitmap = new BitmapMap;
            if (!bitmap->SetFileName(recipe.file)) {
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
                Texmap* sub = BuildMap(*recipe.maps[i], error);
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

bool ApplyAssignments(Texmap* map, const std::vector<Assignment>& assignments, std::string& error) {
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
                    nested = BuildMap(*v.map, error);
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

QuarelNS::PatternSettings CellsSettings(Texmap* map, const ParamTable& table) {
    QuarelNS::PatternSettings ps;
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
    return ps;
}

}  // namespace QuarelPreview
