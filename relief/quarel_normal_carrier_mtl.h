// QuarelNormalCarrierMtl, a material that carries a normal texture for older scenes, as a host
// object: reference 0 its QuarelMap (any other class is refused), 1 the carried texture (also
// sub-map 0 and the block's `normal_inner`), 2 its block "normalcarrier".
//
// It does no shading of its own: it renders opaque black, shows the light blue of a flat normal
// in the viewport and never evaluates what it carries. All links are true references, saved
// with the scene and cleared when their target is deleted. Shade and the material answers run
// on render threads and read nothing of the object.
#pragma once

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelMap;

class QuarelNormalCarrierMtl : public Mtl {
public:
    enum RefSlot : int { kRefParent = 0, kRefTexture = 1, kRefPBlock = 2, kNumRefs = 3 };

    explicit QuarelNormalCarrierMtl(bool loading);
    ~QuarelNormalCarrierMtl() override;

    QuarelMap* Parent() const { return mParent; }

    // Both "NormalBump:" and the parent's name (or "QuarelMap"), or the class's own name
    // without a parent.
    void GetClassName(MSTR& s, bool localized = true) const override;
    MSTR GetFullName(bool localized = true) override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    // A new carrier with the remap's copies of the parent, the texture and the block.
    RefTargetHandle Clone(RemapDir& remap) override;

    int NumSubs() override { return 1; }
    Animatable* SubAnim(int i) override { return i == 0 ? mPBlock : nullptr; }
    MSTR SubAnimName(int i, bool localized = true) override;
    int SubNumToRefNum(int subNum) override { return subNum == 0 ? kRefPBlock : -1; }

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    int NumSubTexmaps() override { return 1; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override;
    int SubTexmapOn(int) override { return 1; }
    MSTR GetSubTexmapSlotName(int i, bool localized = true) override;

    Color GetAmbient(int, BOOL) override { return Color(0.f, 0.f, 0.f); }
    Color GetDiffuse(int, BOOL) override { return Color(0.5f, 0.5f, 1.f); }
    Color GetSpecular(int, BOOL) override { return Color(0.f, 0.f, 0.f); }
    float GetShininess(int, BOOL) override { return 0.f; }
    float GetShinStr(int, BOOL) override { return 0.f; }
    float GetXParency(int, BOOL) override { return 0.f; }
    float GetSelfIllum(int, BOOL) override { return 0.f; }
    BOOL GetSelfIllumColorOn(int, BOOL) override { return TRUE; }
    Color GetSelfIllumColor(int, BOOL) override { return Color(0.f, 0.f, 0.f); }
    float WireSize(int, BOOL) override { return 1.f; }
    void SetAmbient(Color, TimeValue) override {}
    void SetDiffuse(Color, TimeValue) override {}
    void SetSpecular(Color, TimeValue) override {}
    void SetShininess(float, TimeValue) override {}
    float EvalDisplacement(ShadeContext&) override { return 0.f; }
    Interval DisplacementValidity(TimeValue) override { return FOREVER; }
    Sampler* GetPixelSampler(int, BOOL) override { return nullptr; }
    BOOL SupportsShaders() override { return FALSE; }
    BOOL SupportsRenderElements() override { return FALSE; }
    int VPDisplaySubMtl() override { return -1; }
    // Opaque black with an index of refraction of 1; nothing is evaluated.
    void Shade(ShadeContext& sc) override;

    // Updates the carried texture, not the parent.
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override { mValidity.SetEmpty(); }
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    QuarelMap* mParent = nullptr;
    RefTargetHandle mTexture = nullptr;  // whatever the slot was given
    Texmap* mTexmap = nullptr;           // the same, when it is a texture map
    IParamBlock2* mPBlock = nullptr;
    Interval mValidity = NEVER;
};

}  // namespace QuarelNS
