#include "relief/quarel_bump_map.h"

#include <new>

#include "base/class_ids.h"
#include "base/diag_log.h"
#include "map/quarel_map.h"
#include "relief/parent_update.h"
#include "shading/brick_eval.h"
#include "shading/relief_height.h"

namespace QuarelNS {

QuarelBumpMap::QuarelBumpMap() {
    DiagLog("QuarelBumpMap::ctor [this=0x%p]", static_cast<void*>(this));
}

QuarelBumpMap::~QuarelBumpMap() {
    DiagLog("QuarelBumpMap::dtor [this=0x%p]", static_cast<void*>(this));
    DeleteAllRefs();
}

void QuarelBumpMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::BumpMap).className;
}

Class_ID QuarelBumpMap::ClassID() {
    return ClassIdOf(QuarelClass::BumpMap);
}

RefTargetHandle QuarelBumpMap::GetReference(int i) {
    return i == kRefParent ? mParent : nullptr;
}

MSTR QuarelBumpMap::SubAnimName(int i, bool) {
    return i == kRefParent ? MSTR(L"Parent") : MSTR();
}

// Only a QuarelMap (or nothing) is kept; anything else leaves the slot as it was.
void QuarelBumpMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i != kRefParent) return;
    if (rtarg == nullptr) {
        mParent = nullptr;
    } else if (auto* map = IsQuarelClass(rtarg, QuarelClass::Map) ? dynamic_cast<QuarelMap*>(rtarg)
                                                                  : nullptr) {
        mParent = map;
    } else {
        DiagLog("QuarelBumpMap::SetReference rejecting foreign parent class");
    }
}

RefResult QuarelBumpMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                          RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (hTarget == mParent) {
            mValidity.SetEmpty();
            mParent = nullptr;
        }
    } else if (message == REFMSG_CHANGE) {
        mValidity.SetEmpty();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }
    return REF_SUCCEED;
}

RefTargetHandle QuarelBumpMap::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelBumpMap();
    if (clone == nullptr) return nullptr;
    if (mParent != nullptr) clone->ReplaceReference(kRefParent, remap.CloneRef(mParent));
    BaseClone(this, clone, remap);
    return clone;
}

void QuarelBumpMap::Update(TimeValue t, Interval& valid) {
    UpdateFromParent(mParent, t, valid, mValidity);
}

Interval QuarelBumpMap::Validity(TimeValue t) {
    Interval valid = FOREVER;
    Update(t, valid);
    return valid;
}

UVGen* QuarelBumpMap::GetTheUVGen() {
    return mParent != nullptr ? mParent->GetTheUVGen() : nullptr;
}

// The parent's pattern in its bump colours: the height picture its own perturbation reads,
// without nested maps or the random second colour.
AColor QuarelBumpMap::EvalColor(ShadeContext& sc) {
    if (!sc.doMaps) return AColor(0.f, 0.f, 0.f, 0.f);
    QuarelMap* const parent = mParent;
    if (parent == nullptr) return AColor(0.5f, 0.5f, 0.5f, 1.f);
    const EvalSnapshot& snap = parent->Snapshot();
    const TexCoords tc = ResolveTexCoords(snap, parent->GetTheUVGen(), sc, false);
    const ShadeOverrides relief = PatternReliefRecord(snap);
    return EvalBrickPoint(parent->EvalSource(), sc, tc.uvw, tc.duvw, tc.face, &relief);
}

float QuarelBumpMap::EvalMono(ShadeContext& sc) {
    return ReliefGrey(EvalColor(sc));
}

Point3 QuarelBumpMap::EvalNormalPerturb(ShadeContext& sc) {
    QuarelMap* const parent = mParent;
    if (!sc.doMaps || parent == nullptr) return Point3(0.f, 0.f, 0.f);
    return parent->EvalNormalPerturb(sc);
}

}  // namespace QuarelNS
