#include "params/block_descs.h"

#include <vector>

#include "base/class_lookup.h"
#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {
namespace {

std::vector<ParamDef> HostParams(std::span<const ParamDecl> table) {
    std::vector<ParamDef> params;
    params.reserve(table.size());
    for (const ParamDecl& s : table) {
        ParamDef d;
        d.id = s.id;
        d.internalName = s.name;
        d.type = s.type;
        d.flags = s.flags;
        d.localName = s.nameStringId;
        d.def = s.def;
        d.rangeLow = s.lo;
        d.rangeHigh = s.hi;
        d.mapId = s.map;
        d.ctrlType = s.control;
        d.spinType = s.spinType;
        d.ctrlIds[0] = s.ctrlIds[0];
        d.ctrlIds[1] = s.ctrlIds[1];
        d.spinScale = s.step;
        if (s.comboItems) {
            const auto items = s.comboItems();
            d.comboItems.assign(items.begin(), items.end());
        }
        d.subTexNo = s.subTexNo;
        d.ownerRefNo = s.ownerRefNo;
        params.push_back(std::move(d));
    }
    return params;
}

// Rollout procedures are attached by the editor code (SetUserDlgProc).
BlockDef HostBlock(const BlockDecl& b, QuarelClass owner) {
    BlockDef d;
    d.id = b.id;
    d.internalName = b.name;
    d.localName = 0;
    d.owner = &QuarelClassDescOf(owner);
    d.flags = b.flags;
    d.version = b.version;
    d.ownerRefNo = b.ownerRefNo;
    for (const RolloutDecl& r : b.rollouts) {
        RolloutDef rd;
        rd.mapId = r.map;
        rd.dialogId = r.dialogId;
        rd.title = r.title;
        d.rollouts.push_back(rd);
    }
    return d;
}

}  // namespace

// Definition order is registration order.
ParamBlockDesc2 gMainBlockDesc(HostBlock(kMainBlock, QuarelClass::Map), HostParams(kMainParams));
ParamBlockDesc2 gBumpBlockDesc(HostBlock(kBumpBlock, QuarelClass::Map), HostParams(kBumpParams));
ParamBlockDesc2 gNormalButtonBlockDesc(HostBlock(kNormalButtonBlock, QuarelClass::Map),
                                       HostParams(kNormalButtonParams));
ParamBlockDesc2 gBumpButtonBlockDesc(HostBlock(kBumpButtonBlock, QuarelClass::Map),
                                     HostParams(kBumpButtonParams));
ParamBlockDesc2 gNormalBlockDesc(HostBlock(kNormalBlock, QuarelClass::NormalMap),
                                 HostParams(kNormalParams));
ParamBlockDesc2 gBumpProcBlockDesc(HostBlock(kBumpProcBlock, QuarelClass::BumpProcMap),
                                   HostParams(kBumpProcParams));
ParamBlockDesc2 gCarrierBlockDesc(HostBlock(kCarrierBlock, QuarelClass::NormalCarrierMtl),
                                  HostParams(kCarrierParams));

}  // namespace QuarelNS
