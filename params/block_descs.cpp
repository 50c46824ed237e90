#include "params/block_descs.h"

#include <cstddef>
#include <tuple>
#include <utility>

#include "base/class_lookup.h"
#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {
namespace {

// A rollout's declaration arguments: dialog, title, test and rollup flags, and no procedure
// (the editor code attaches it with SetUserDlgProc). A block of several rollouts puts the map
// id first.
auto RolloutArgs(const RolloutDecl& r) {
    return std::tuple{r.dialogId, r.title, 0, 0, static_cast<ParamMap2UserDlgProc*>(nullptr)};
}

template <const BlockDecl& B, std::size_t... I>
auto MultiMapArgs(std::index_sequence<I...>) {
    return std::tuple_cat(
        std::tuple{static_cast<int>(sizeof...(I))},
        std::tuple_cat(std::tuple{B.rollouts[I].map}, RolloutArgs(B.rollouts[I]))...);
}

// What the block's flags ask for after the fixed arguments: version, the owner's reference
// number, the rollouts.
template <const BlockDecl& B>
auto HeaderArgs() {
    constexpr USHORT f = B.flags;
    auto version = [] {
        if constexpr ((f & P_VERSION) != 0)
            return std::tuple{B.version};
        else
            return std::tuple{};
    }();
    auto refNo = [] {
        if constexpr ((f & P_AUTO_CONSTRUCT) != 0)
            return std::tuple{B.ownerRefNo};
        else
            return std::tuple{};
    }();
    auto rollouts = [] {
        if constexpr ((f & P_AUTO_UI) == 0)
            return std::tuple{};
        else if constexpr ((f & P_MULTIMAP) != 0)
            return MultiMapArgs<B>(std::make_index_sequence<B.rollouts.size()>());
        else
            return RolloutArgs(B.rollouts[0]);
    }();
    return std::tuple_cat(version, refNo, rollouts);
}

template <const BlockDecl& B>
ParamBlockDesc2 Declare(QuarelClass owner) {
    ClassDesc2* cd = &QuarelClassDescOf(owner);
    return std::apply(
        [&](auto... args) { return ParamBlockDesc2(B.id, B.name, 0, cd, B.flags, args..., p_end); },
        HeaderArgs<B>());
}

void AddDefault(ParamBlockDesc2& d, const ParamDecl& p) {
    switch (p.def.kind) {
        case TableValue::kInt:
            return d.ParamOption(p.id, p_default, p.def.i, p_end);
        case TableValue::kFloat:
            return d.ParamOption(p.id, p_default, p.def.f, p_end);
        case TableValue::kColor:
            return d.ParamOption(p.id, p_default, Color(p.def.c.r, p.def.c.g, p.def.c.b), p_end);
        case TableValue::kNone:
            return;
    }
}

void AddRange(ParamBlockDesc2& d, const ParamDecl& p) {
    if (p.lo.kind == TableValue::kInt)
        d.ParamOption(p.id, p_range, p.lo.i, p.hi.i, p_end);
    else
        d.ParamOption(p.id, p_range, p.lo.f, p.hi.f, p_end);
}

// p_ui with the control's own arguments; a block of several rollouts names the row's first.
template <typename... A>
void Ui(ParamBlockDesc2& d, const BlockDecl& b, const ParamDecl& p, A... a) {
    if (b.flags & P_MULTIMAP)
        d.ParamOption(p.id, p_ui, p.map, a..., p_end);
    else
        d.ParamOption(p.id, p_ui, a..., p_end);
}

void AddUi(ParamBlockDesc2& d, const BlockDecl& b, const ParamDecl& p) {
    if (p.control == TYPE_SPINNER)
        return Ui(d, b, p, TYPE_SPINNER, p.spinType, p.ctrlIds[0], p.ctrlIds[1], p.step);
    if (p.control != TYPE_INT_COMBOBOX) return Ui(d, b, p, p.control, p.ctrlIds[0]);
    Ui(d, b, p, TYPE_INT_COMBOBOX, p.ctrlIds[0], 0);
    Tab<int> items;
    for (StringResID sid : p.comboItems()) items.Append(1, &sid);
    d.ParamOptionContentValues(p.id, items);
}

// Each row of the block as the SDK takes a parameter: its fixed arguments, then one
// ParamOption per part it has.
bool AddParams(ParamBlockDesc2& d, const BlockDecl& b) {
    for (const ParamDecl& p : b.params) {
        d.AddParam(p.id, p.name, p.type, p.flags, p.nameStringId, p_end);
        AddDefault(d, p);
        if (p.HasRange()) AddRange(d, p);
        if (p.control != kNoControl) AddUi(d, b, p);
        if (p.subTexNo >= 0) d.ParamOption(p.id, p_subtexno, p.subTexNo, p_end);
        if (p.ownerRefNo >= 0) d.ParamOption(p.id, p_refno, p.ownerRefNo, p_end);
    }
    return true;
}

}  // namespace

// Definition order is registration order; each descriptor takes its rows right after it.
ParamBlockDesc2 gMainBlockDesc = Declare<kMainBlock>(QuarelClass::Map);
ParamBlockDesc2 gBumpBlockDesc = Declare<kBumpBlock>(QuarelClass::Map);
ParamBlockDesc2 gNormalButtonBlockDesc = Declare<kNormalButtonBlock>(QuarelClass::Map);
ParamBlockDesc2 gBumpButtonBlockDesc = Declare<kBumpButtonBlock>(QuarelClass::Map);
ParamBlockDesc2 gNormalBlockDesc = Declare<kNormalBlock>(QuarelClass::NormalMap);
ParamBlockDesc2 gBumpProcBlockDesc = Declare<kBumpProcBlock>(QuarelClass::BumpProcMap);
ParamBlockDesc2 gCarrierBlockDesc = Declare<kCarrierBlock>(QuarelClass::NormalCarrierMtl);

namespace {
[[maybe_unused]] const bool kRowsAdded =
    AddParams(gMainBlockDesc, kMainBlock) && AddParams(gBumpBlockDesc, kBumpBlock) &&
    AddParams(gNormalButtonBlockDesc, kNormalButtonBlock) &&
    AddParams(gBumpButtonBlockDesc, kBumpButtonBlock) &&
    AddParams(gNormalBlockDesc, kNormalBlock) && AddParams(gBumpProcBlockDesc, kBumpProcBlock) &&
    AddParams(gCarrierBlockDesc, kCarrierBlock);
}  // namespace

}  // namespace QuarelNS
