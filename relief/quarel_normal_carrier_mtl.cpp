#include "relief/quarel_normal_carrier_mtl.h"

#include "module/class_descs.h"
#include "module/diag_log.h"
#include "params/relief_params.h"

namespace QuarelNS {

static_assert(kCarrierBlock.ownerRefNo == QuarelNormalCarrierMtl::kRefPBlock);
static_assert(kCarrierParams[0].ownerRefNo == QuarelNormalCarrierMtl::kRefTexture);

QuarelNormalCarrierMtl::QuarelNormalCarrierMtl(bool loading) {
    DiagLog("QuarelNormalCarrierMtl::ctor [this=0x%p] loading=%d", static_cast<void*>(this),
            loading ? 1 : 0);
    if (!loading) QuarelClassDescOf(QuarelClass::NormalCarrierMtl).MakeAutoParamBlocks(this);
}

QuarelNormalCarrierMtl::~QuarelNormalCarrierMtl() {
    DiagLog("QuarelNormalCarrierMtl::dtor [this=0x%p]", static_cast<void*>(this));
    DeleteAllRefs();
}

void QuarelNormalCarrierMtl::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::NormalCarrierMtl).className;
}

Class_ID QuarelNormalCarrierMtl::ClassID() {
    return ClassIdOf(QuarelClass::NormalCarrierMtl);
}

RefTargetHandle QuarelNormalCarrierMtl::GetReference(int i) {
    switch (i) {
        case kRefParent:
            return mParent;
        case kRefTexture:
            return mTexture;
        case kRefPBlock:
            return mPBlock;
        default:
            return nullptr;
    }
}

void QuarelNormalCarrierMtl::SetReference(int i, RefTargetHandle rtarg) {
    switch (i) {
        case kRefParent:
            if (rtarg == nullptr || IsQuarelClass(rtarg, QuarelClass::Map))
                mParent = rtarg;
            else
                DiagLog("QuarelNormalCarrierMtl::SetReference rejecting foreign parent class");
            break;
        case kRefTexture:
            mTexture = rtarg;
            break;
        case kRefPBlock:
            // A foreign target here would be mistaken for the block: keep only blocks, and say
            // so, as every other refused target is.
            if (rtarg == nullptr || rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID)
                mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
            else
                DiagLog("QuarelNormalCarrierMtl::SetReference(2): rejecting non-pblock target");
            break;
        default:
            break;
    }
}

IParamBlock2* QuarelNormalCarrierMtl::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

void QuarelNormalCarrierMtl::Shade(ShadeContext& sc) {
    sc.out.c = Color(0.f, 0.f, 0.f);
    sc.out.t = Color(0.f, 0.f, 0.f);
    sc.out.ior = 1.f;
}

}  // namespace QuarelNS
