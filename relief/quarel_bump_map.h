// QuarelBumpMap, the legacy relief output kept for older scenes, as a host object: one
// reference, "Parent", to a QuarelMap (any other class is refused); no parameter block, no
// sub-maps, no rollout.
//
// As a colour it shows the parent's pattern in the parent's bump colours; as a bump map it
// hands the request to the parent's own perturbation. Without a parent it is flat grey and
// leaves the surface as it is. The parent is a true reference: saved with the scene, and
// cleared when the parent is deleted. Evaluation runs on render threads and reads only the
// parent and its snapshot; everything else runs on the host's main thread.
#pragma once

#include "imtl.h"

namespace QuarelNS {

class QuarelMap;

class QuarelBumpMap : public Texmap {
public:
    enum RefSlot : int { kRefParent = 0, kNumRefs = 1 };

    QuarelBumpMap();
    ~QuarelBumpMap() override;

    QuarelMap* Parent() const { return mParent; }

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    // A new legacy map whose parent is the remap's copy of this one's parent.
    RefTargetHandle Clone(RemapDir& remap) override;

    int NumSubs() override { return kNumRefs; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    MSTR SubAnimName(int i, bool localized = true) override;
    int SubNumToRefNum(int subNum) override { return subNum; }

    AColor EvalColor(ShadeContext& sc) override;
    float EvalMono(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    UVGen* GetTheUVGen() override;

    // Refreshes the parent's snapshot; the map has no values of its own.
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override { mValidity.SetEmpty(); }
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    QuarelMap* mParent = nullptr;
    Interval mValidity = NEVER;
};

}  // namespace QuarelNS
