// QuarelNormalMap, the normal-bump output of a QuarelMap, as a host object: one reference, its
// block 100 "normalparams".
#pragma once

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelNormalMap : public Texmap {
public:
    enum RefSlot : int { kRefPBlock = 0, kNumRefs = 1 };

    explicit QuarelNormalMap(bool loading);
    ~QuarelNormalMap() override;

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue t) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    IParamBlock2* mPBlock = nullptr;
};

}  // namespace QuarelNS
