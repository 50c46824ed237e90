// QuarelBumpMap, the legacy relief output kept for older scenes, as a host object: one
// reference, "Parent", to a QuarelMap; no parameter block.
#pragma once

#include "imtl.h"

namespace QuarelNS {

class QuarelBumpMap : public Texmap {
public:
    enum RefSlot : int { kRefParent = 0, kNumRefs = 1 };

    QuarelBumpMap();
    ~QuarelBumpMap() override;

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override { return i == kRefParent ? mParent : nullptr; }

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue t) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    RefTargetHandle mParent = nullptr;  // a QuarelMap or nothing
};

}  // namespace QuarelNS
