#include "relief/quarel_normal_map.h"

#include <new>

#include "map/quarel_map.h"
#include "module/class_descs.h"
#include "module/diag_log.h"
#include "params/relief_params.h"

namespace QuarelNS {

static_assert(kNormalBlock.ownerRefNo == QuarelNormalMap::kRefPBlock);

QuarelNormalMap::QuarelNormalMap(bool loading) {
    DiagLog("QuarelNormalMap::ctor [this=0x%p] loading=%d", static_cast<void*>(this),
            loading ? 1 : 0);
    if (!loading) {
        QuarelClassDescOf(QuarelClass::NormalMap).MakeAutoParamBlocks(this);
        DiagLog("  after MakeAutoParamBlocks: mPBlock=0x%p", static_cast<void*>(mPBlock));
    }
}

QuarelNormalMap::~QuarelNormalMap() {
    DiagLog("QuarelNormalMap::dtor [this=0x%p]", static_cast<void*>(this));
    LinkParent(nullptr);
    DeleteAllRefs();
}

void QuarelNormalMap::SetParent(QuarelMap* p) {
    DiagLog("QuarelNormalMap::SetParent [this=0x%p, p=0x%p]", static_cast<void*>(this),
            static_cast<void*>(p));
    LinkParent(p);
}

void QuarelNormalMap::LinkParent(QuarelMap* p) {
    if (mParent == p) return;
    if (mParent != nullptr) mParent->DetachOutput(this);
    mParent = p;
    if (mParent != nullptr) mParent->AttachOutput(this);
}

RefTargetHandle QuarelNormalMap::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelNormalMap(false);
    if (clone == nullptr) return nullptr;
    clone->LinkParent(mParent);
    if (mPBlock != nullptr) clone->ReplaceReference(kRefPBlock, remap.CloneRef(mPBlock));
    BaseClone(this, clone, remap);
    return clone;
}

void QuarelNormalMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::NormalMap).className;
}

Class_ID QuarelNormalMap::ClassID() {
    return ClassIdOf(QuarelClass::NormalMap);
}

RefTargetHandle QuarelNormalMap::GetReference(int i) {
    return i == kRefPBlock ? mPBlock : nullptr;
}

// Only a parameter block (or nothing) is kept; anything else leaves the slot as it was.
void QuarelNormalMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i != kRefPBlock) return;
    if (rtarg == nullptr) {
        mPBlock = nullptr;
    } else if (rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) {
        mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
    } else {
        DiagLog("QuarelNormalMap::SetReference(0): rejecting non-pblock target");
    }
}

IParamBlock2* QuarelNormalMap::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

// No evaluation yet: the flat normal, unperturbed.
AColor QuarelNormalMap::EvalColor(ShadeContext&) {
    return AColor(0.5f, 0.5f, 1.f, 1.f);
}

Point3 QuarelNormalMap::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.f, 0.f, 0.f);
}

}  // namespace QuarelNS
