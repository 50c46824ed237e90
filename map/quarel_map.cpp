#include "map/quarel_map.h"

#include "module/class_descs.h"
#include "module/diag_log.h"
#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelNS {
namespace {

constexpr int kBlockSlots[] = {QuarelMap::kRefPBlock, QuarelMap::kRefPBlockBump,
                               QuarelMap::kRefPBlockNormalBtn, QuarelMap::kRefPBlockBumpBtn};
static_assert(kMainBlock.ownerRefNo == QuarelMap::kRefPBlock &&
              kBumpBlock.ownerRefNo == QuarelMap::kRefPBlockBump &&
              kNormalButtonBlock.ownerRefNo == QuarelMap::kRefPBlockNormalBtn &&
              kBumpButtonBlock.ownerRefNo == QuarelMap::kRefPBlockBumpBtn);

IParamBlock2* AsBlock(RefTargetHandle target) {
    if (target == nullptr || target->SuperClassID() != PARAMETER_BLOCK2_CLASS_ID) return nullptr;
    return dynamic_cast<IParamBlock2*>(target);
}

}  // namespace

QuarelMap::QuarelMap(bool loading) {
    DiagLog("QuarelMap::ctor [this=0x%p] loading=%d createDefaultRefs=%d", static_cast<void*>(this),
            loading ? 1 : 0, 1);
    QuarelClassDescOf(QuarelClass::Map).MakeAutoParamBlocks(this);
    DiagLog(
        "  after MakeAutoParamBlocks: pblock=0x%p pblock_bump=0x%p pblock_normal_btn=0x%p "
        "pblock_bump_btn=0x%p",
        static_cast<void*>(mRefs[kRefPBlock]), static_cast<void*>(mRefs[kRefPBlockBump]),
        static_cast<void*>(mRefs[kRefPBlockNormalBtn]),
        static_cast<void*>(mRefs[kRefPBlockBumpBtn]));
    DiagLog("QuarelMap::ctor done");
}

QuarelMap::~QuarelMap() {
    DiagLog("QuarelMap::dtor [this=0x%p]", static_cast<void*>(this));
    DeleteAllRefs();
    DiagLog("QuarelMap::dtor done");
}

void QuarelMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::Map).className;
}

Class_ID QuarelMap::ClassID() {
    return ClassIdOf(QuarelClass::Map);
}

RefTargetHandle QuarelMap::GetReference(int i) {
    return i >= 0 && i < kNumRefs ? mRefs[static_cast<std::size_t>(i)] : nullptr;
}

void QuarelMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i >= 0 && i < kNumRefs) mRefs[static_cast<std::size_t>(i)] = rtarg;
}

IParamBlock2* QuarelMap::GetParamBlock(int i) {
    return i >= 0 && i < NumParamBlocks() ? AsBlock(GetReference(kBlockSlots[i])) : nullptr;
}

IParamBlock2* QuarelMap::GetParamBlockByID(BlockID id) {
    for (int slot : kBlockSlots) {
        IParamBlock2* pb = AsBlock(GetReference(slot));
        if (pb != nullptr && pb->ID() == id) return pb;
    }
    return nullptr;
}

// No evaluation yet: black, unperturbed.
AColor QuarelMap::EvalColor(ShadeContext&) {
    return AColor(0.f, 0.f, 0.f, 1.f);
}

Point3 QuarelMap::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.f, 0.f, 0.f);
}

}  // namespace QuarelNS
