#include "relief/quarel_bump_proc_map.h"

#include <new>

#include "map/quarel_map.h"
#include "module/class_descs.h"
#include "module/diag_log.h"
#include "params/relief_params.h"

namespace QuarelNS {

static_assert(kBumpProcBlock.ownerRefNo == QuarelBumpProcMap::kRefPBlock);

QuarelBumpProcMap::QuarelBumpProcMap(bool loading) {
    DiagLog("QuarelBumpProcMap::ctor [this=0x%p] loading=%d", static_cast<void*>(this),
            loading ? 1 : 0);
    if (!loading) {
        QuarelClassDescOf(QuarelClass::BumpProcMap).MakeAutoParamBlocks(this);
        DiagLog("  after MakeAutoParamBlocks: mPBlock=0x%p", static_cast<void*>(mPBlock));
    }
}

QuarelBumpProcMap::~QuarelBumpProcMap() {
    DiagLog("QuarelBumpProcMap::dtor [this=0x%p]", static_cast<void*>(this));
    LinkParent(nullptr);
    DeleteAllRefs();
}

void QuarelBumpProcMap::SetParent(QuarelMap* p) {
    DiagLog("QuarelBumpProcMap::SetParent [this=0x%p, p=0x%p]", static_cast<void*>(this),
            static_cast<void*>(p));
    LinkParent(p);
}

void QuarelBumpProcMap::LinkParent(QuarelMap* p) {
    if (mParent == p) return;
    if (mParent != nullptr) mParent->DetachOutput(this);
    mParent = p;
    if (mParent != nullptr) mParent->AttachOutput(this);
}

RefTargetHandle QuarelBumpProcMap::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelBumpProcMap(false);
    if (clone == nullptr) return nullptr;
    DiagLog("QuarelBumpProcMap::Clone src=0x%p new=0x%p src.mParent=0x%p", static_cast<void*>(this),
            static_cast<void*>(clone), static_cast<void*>(mParent));
    clone->LinkParent(mParent);
    if (mPBlock != nullptr) clone->ReplaceReference(kRefPBlock, remap.CloneRef(mPBlock));
    if (mBumpTexture != nullptr)
        clone->ReplaceReference(kRefBumpTexture, remap.CloneRef(mBumpTexture));
    BaseClone(this, clone, remap);
    DiagLog("QuarelBumpProcMap::Clone done new=0x%p new.mParent=0x%p new.mPBlock=0x%p",
            static_cast<void*>(clone), static_cast<void*>(clone->mParent),
            static_cast<void*>(clone->mPBlock));
    return clone;
}

void QuarelBumpProcMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::BumpProcMap).className;
}

Class_ID QuarelBumpProcMap::ClassID() {
    return ClassIdOf(QuarelClass::BumpProcMap);
}

RefTargetHandle QuarelBumpProcMap::GetReference(int i) {
    switch (i) {
        case kRefPBlock:
            return mPBlock;
        case kRefBumpTexture:
            return mBumpTexture;
        default:
            return nullptr;
    }
}

// A slot keeps only a target of its kind (or nothing); anything else leaves it as it was.
void QuarelBumpProcMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i == kRefPBlock) {
        if (rtarg == nullptr || rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID)
            mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
        else
            DiagLog("QuarelBumpProcMap::SetReference(0): rejecting non-pblock target");
    } else if (i == kRefBumpTexture) {
        if (rtarg == nullptr || rtarg->SuperClassID() == TEXMAP_CLASS_ID)
            mBumpTexture = dynamic_cast<Texmap*>(rtarg);
        else
            DiagLog("QuarelBumpProcMap::SetReference(1): rejecting non-Texmap target");
    }
}

IParamBlock2* QuarelBumpProcMap::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

// No evaluation yet: an orphan's answers.
AColor QuarelBumpProcMap::EvalColor(ShadeContext&) {
    return AColor(0.f, 0.f, 0.f, 1.f);
}

Point3 QuarelBumpProcMap::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.f, 0.f, 0.f);
}

}  // namespace QuarelNS
