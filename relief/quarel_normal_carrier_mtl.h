// QuarelNormalCarrierMtl, a material that carries a normal texture for older scenes, as a host
// object: reference 0 its QuarelMap, 1 the carried texture, 2 its block "normalcarrier". It
// shades opaque black and shows the colour of a flat normal.
#pragma once

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelNormalCarrierMtl : public Mtl {
public:
    enum RefSlot : int { kRefParent = 0, kRefTexture = 1, kRefPBlock = 2, kNumRefs = 3 };

    explicit QuarelNormalCarrierMtl(bool loading);
    ~QuarelNormalCarrierMtl() override;

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    Color GetAmbient(int, BOOL) override { return Color(0.f, 0.f, 0.f); }
    Color GetDiffuse(int, BOOL) override { return Color(0.5f, 0.5f, 1.f); }
    Color GetSpecular(int, BOOL) override { return Color(0.f, 0.f, 0.f); }
    float GetShininess(int, BOOL) override { return 0.f; }
    float GetShinStr(int, BOOL) override { return 0.f; }
    float GetXParency(int, BOOL) override { return 0.f; }
    void SetAmbient(Color, TimeValue) override {}
    void SetDiffuse(Color, TimeValue) override {}
    void SetSpecular(Color, TimeValue) override {}
    void SetShininess(float, TimeValue) override {}
    void Shade(ShadeContext& sc) override;

    void Update(TimeValue t, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue t) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    RefTargetHandle mParent = nullptr;   // a QuarelMap or nothing
    RefTargetHandle mTexture = nullptr;  // also the block's `normal_inner`
    IParamBlock2* mPBlock = nullptr;
};

}  // namespace QuarelNS
