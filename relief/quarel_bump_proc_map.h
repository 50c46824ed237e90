// QuarelBumpProcMap, the procedural bump output of a QuarelMap, as a host object: its block 101
// "bumpparams" in reference 0 and its bump texture in reference 1.
#pragma once

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelBumpProcMap : public Texmap {
public:
    enum RefSlot : int { kRefPBlock = 0, kRefBumpTexture = 1, kNumRefs = 2 };

    explicit QuarelBumpProcMap(bool loading);
    ~QuarelBumpProcMap() override;

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
    Texmap* mBumpTexture = nullptr;
};

}  // namespace QuarelNS
