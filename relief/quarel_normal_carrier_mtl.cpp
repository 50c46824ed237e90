#include "relief/quarel_normal_carrier_mtl.h"

#include <new>

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "iparamm2.h"
#include "map/quarel_map.h"
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
    if (mParent == nullptr) {
        s = ClassInfo(QuarelClass::NormalCarrierMtl).className;
        return;
    }
    const MSTR name = mParent->GetName();
    s = MSTR(L"NormalBump:") + (name.isNull() ? MSTR(ClassInfo(QuarelClass::Map).className) : name);
}

MSTR QuarelNormalCarrierMtl::GetFullName(bool localized) {
    MSTR s;
    GetClassName(s, localized);
    return s;
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
            if (rtarg == nullptr) {
                mParent = nullptr;
            } else if (auto* map = IsQuarelClass(rtarg, QuarelClass::Map)
                                       ? dynamic_cast<QuarelMap*>(rtarg)
                                       : nullptr) {
                mParent = map;
            } else {
                mParent = nullptr;  // the host no longer counts the earlier parent here
                DiagLog("QuarelNormalCarrierMtl::SetReference rejecting foreign parent class");
            }
            break;
        case kRefTexture:
            mTexture = rtarg;
            mTexmap = rtarg != nullptr && rtarg->SuperClassID() == TEXMAP_CLASS_ID
                          ? dynamic_cast<Texmap*>(rtarg)
                          : nullptr;
            break;
        case kRefPBlock:
            // A foreign target here would be mistaken for the block: keep only blocks, and say
            // so, as every other refused target is. A refusal empties the slot.
            if (rtarg == nullptr || rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) {
                mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
            } else {
                mPBlock = nullptr;
                DiagLog("QuarelNormalCarrierMtl::SetReference(2): rejecting non-pblock target");
            }
            break;
        default:
            break;
    }
}

RefResult QuarelNormalCarrierMtl::NotifyRefChanged(const Interval&, RefTargetHandle hTarget,
                                                   PartID&, RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (hTarget == mParent)
            mParent = nullptr;
        else if (hTarget == mTexture)
            SetReference(kRefTexture, nullptr);
        else if (hTarget == mPBlock)
            mPBlock = nullptr;
    } else if (message == REFMSG_CHANGE) {
        mValidity.SetEmpty();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }
    return REF_SUCCEED;
}

RefTargetHandle QuarelNormalCarrierMtl::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelNormalCarrierMtl(false);
    if (clone == nullptr) return nullptr;
    for (int i = 0; i < kNumRefs; ++i) {
        if (RefTargetHandle source = GetReference(i))
            clone->ReplaceReference(i, remap.CloneRef(source));
    }
    BaseClone(this, clone, remap);
    return clone;
}

MSTR QuarelNormalCarrierMtl::SubAnimName(int i, bool) {
    return i == 0 ? MSTR(L"Parameters") : MSTR();
}

IParamBlock2* QuarelNormalCarrierMtl::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

Texmap* QuarelNormalCarrierMtl::GetSubTexmap(int i) {
    return i == 0 ? mTexmap : nullptr;
}

void QuarelNormalCarrierMtl::SetSubTexmap(int i, Texmap* m) {
    if (i == 0) ReplaceReference(kRefTexture, m);
}

MSTR QuarelNormalCarrierMtl::GetSubTexmapSlotName(int i, bool) {
    return i == 0 ? MSTR(L"Normal Output") : MSTR();
}

void QuarelNormalCarrierMtl::Update(TimeValue t, Interval& valid) {
    if (!mValidity.InInterval(t)) {
        mValidity = FOREVER;
        if (mTexmap != nullptr) {
            Interval local = FOREVER;
            mTexmap->Update(t, local);
            mValidity &= local;
        }
    }
    valid &= mValidity;
}

Interval QuarelNormalCarrierMtl::Validity(TimeValue t) {
    Interval valid = FOREVER;
    Update(t, valid);
    return valid;
}

ParamDlg* QuarelNormalCarrierMtl::CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) {
    return QuarelClassDescOf(QuarelClass::NormalCarrierMtl).CreateParamDlgs(hwMtlEdit, imp, this);
}

void QuarelNormalCarrierMtl::Shade(ShadeContext& sc) {
    sc.out.c = Color(0.f, 0.f, 0.f);
    sc.out.t = Color(0.f, 0.f, 0.f);
    sc.out.ior = 1.f;
}

}  // namespace QuarelNS
