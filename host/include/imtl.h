// Materials and texture maps: MtlBase with its sub-map interface, Texmap, Mtl, UVGen and the
// parameter dialogs the material editor shows.
//
// Evaluation (EvalColor, EvalMono, EvalNormalPerturb, Shade, UVGen::GetUV) runs on render
// threads at once; Update runs on the main thread before rendering.
#pragma once

#include "Rendering/ShadeContext.h"
#include "bitarray.h"
#include "matrix3.h"
#include "ref.h"

class Texmap;
class Mtl;
class UVGen;
class XYZGen;
class IMtlParams;
class ParamDlg;
class Sampler;

// Map slot types.
#define MAPSLOT_TEXTURE 0
#define MAPSLOT_ENVIRON 1

// Texture tiling flags.
#define U_WRAP (1 << 0)
#define V_WRAP (1 << 1)
#define U_MIRROR (1 << 2)
#define V_MIRROR (1 << 3)

// UVW sources.
#define UVWSRC_EXPLICIT 0
#define UVWSRC_OBJXYZ 1
#define UVWSRC_EXPLICIT2 2
#define UVWSRC_WORLDXYZ 3

// Requirement flags of LocalRequirements / Requirements.
#define MTLREQ_2SIDE (1 << 0)
#define MTLREQ_WIRE (1 << 1)
#define MTLREQ_FACEMAP (1 << 6)
#define MTLREQ_UV (1 << 8)
#define MTLREQ_BUMPUV (1 << 10)
#define MTLREQ_UV2 (1 << 16)

class IMtlParams {
public:
    virtual ~IMtlParams() = default;
    virtual TimeValue GetTime() = 0;
};

// A rollout set in the material editor.
class ParamDlg : public InterfaceServer {
public:
    virtual Class_ID ClassID() = 0;
    virtual void SetThing(ReferenceTarget* m) = 0;
    virtual ReferenceTarget* GetThing() = 0;
    virtual void SetTime(TimeValue t) = 0;
    virtual void ReloadDialog() = 0;
    virtual void DeleteThis() = 0;
    virtual void ActivateDlg(BOOL onOff) = 0;
    virtual int FindSubTexFromHWND(HWND hwnd) { return -1; }
    virtual int FindSubMtlFromHWND(HWND hwnd) { return -1; }
};

// The sub-map interface of materials and maps.
class ISubMap {
public:
    virtual ~ISubMap() = default;
    virtual int NumSubTexmaps() { return 0; }
    virtual Texmap* GetSubTexmap(int i) { return nullptr; }
    virtual int MapSlotType(int i) = 0;
    virtual void SetSubTexmap(int i, Texmap* m) {}
    virtual int SubTexmapOn(int i) { return 1; }
    virtual MSTR GetSubTexmapSlotName(int i, bool localized = true) { return MSTR(); }
    virtual MSTR GetSubTexmapTVName(int i, bool localized = true) {
        return GetSubTexmapSlotName(i, localized);
    }
    virtual BOOL SetDlgThing(ParamDlg* dlg) { return FALSE; }
    virtual ReferenceTarget* GetRefTarget() = 0;
};

class MtlBase : public ReferenceTarget, public ISubMap {
public:
    MtlBase() = default;

    void* GetInterface(ULONG id) override;

    virtual MSTR GetName(bool localized = true) const { return mName; }
    virtual void SetName(const MSTR& s) { mName = s; }
    // The name followed by the class name, as the material editor lists the object.
    virtual MSTR GetFullName(bool localized = true);

    ULONG GetGBufID() const { return gbufID; }
    void SetGBufID(ULONG id) { gbufID = id; }

    virtual void Update(TimeValue t, Interval& valid) = 0;
    virtual void Reset() = 0;
    virtual Interval Validity(TimeValue t) = 0;
    virtual ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) = 0;

    virtual ULONG LocalRequirements(int subMtlNum) { return 0; }
    // This object's requirements combined with those of its sub-maps.
    virtual ULONG Requirements(int subMtlNum);
    virtual void LocalMappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) {}
    virtual void MappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq);

    virtual BOOL IsMultiMtl() { return FALSE; }
    ReferenceTarget* GetRefTarget() override { return this; }
    // Copies the material-base data (name, G-buffer id, flags) from `from` to `to`.
    void BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap) override;

    ULONG gbufID = 0;
    ULONG mtlFlags = 0;

private:
    MSTR mName;
};

class Texmap : public MtlBase {
public:
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    int MapSlotType(int i) override { return MAPSLOT_TEXTURE; }

    virtual AColor EvalColor(ShadeContext& sc) = 0;
    virtual float EvalMono(ShadeContext& sc) {
        const AColor c = EvalColor(sc);
        return (c.r + c.g + c.b) / 3.f;
    }
    virtual Point3 EvalNormalPerturb(ShadeContext& sc) = 0;
    virtual BOOL HandleOwnViewPerturb() { return FALSE; }

    virtual void GetUVTransform(Matrix3& uvtrans) { uvtrans.IdentityMatrix(); }
    virtual int GetTextureTiling() { return U_WRAP | V_WRAP; }
    virtual int GetUVWSource() { return UVWSRC_EXPLICIT; }
    virtual int GetMapChannel() { return 1; }
    virtual void InitSlotType(int sType) {}
    virtual UVGen* GetTheUVGen() { return nullptr; }
    virtual XYZGen* GetTheXYZGen() { return nullptr; }
    virtual int IsHighDynamicRange() const { return 0; }
};

class Mtl : public MtlBase {
public:
    SClass_ID SuperClassID() override { return MATERIAL_CLASS_ID; }
    int MapSlotType(int i) override { return MAPSLOT_TEXTURE; }

    virtual Color GetAmbient(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual Color GetDiffuse(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual Color GetSpecular(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual float GetShininess(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual float GetShinStr(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual float GetXParency(int mtlNum = 0, BOOL backFace = FALSE) = 0;
    virtual float GetSelfIllum(int mtlNum = 0, BOOL backFace = FALSE) { return 0.f; }
    virtual BOOL GetSelfIllumColorOn(int mtlNum = 0, BOOL backFace = FALSE) { return FALSE; }
    virtual Color GetSelfIllumColor(int mtlNum = 0, BOOL backFace = FALSE) {
        return Color(0.f, 0.f, 0.f);
    }
    virtual float WireSize(int mtlNum = 0, BOOL backFace = FALSE) { return 1.f; }
    virtual void SetAmbient(Color c, TimeValue t) = 0;
    virtual void SetDiffuse(Color c, TimeValue t) = 0;
    virtual void SetSpecular(Color c, TimeValue t) = 0;
    virtual void SetShininess(float v, TimeValue t) = 0;

    virtual void Shade(ShadeContext& sc) = 0;
    virtual float EvalDisplacement(ShadeContext& sc) { return 0.f; }
    virtual Interval DisplacementValidity(TimeValue t) { return FOREVER; }
    virtual Sampler* GetPixelSampler(int mtlNum, BOOL backFace) { return nullptr; }
    virtual BOOL SupportsShaders() { return FALSE; }
    virtual BOOL SupportsRenderElements() { return FALSE; }
    virtual int VPDisplaySubMtl() { return -1; }

    virtual int NumSubMtls() { return 0; }
    virtual Mtl* GetSubMtl(int i) { return nullptr; }
    virtual void SetSubMtl(int i, Mtl* m) {}
    virtual MSTR GetSubMtlSlotName(int i, bool localized = true) { return MSTR(); }
};

// Texture coordinates for a map: where in UV space a shading point lies.
class UVGen : public MtlBase {
public:
    SClass_ID SuperClassID() override { return UVGEN_CLASS_ID; }
    int MapSlotType(int i) override { return MAPSLOT_TEXTURE; }

    virtual void GetUV(ShadeContext& sc, Point2& UV, Point2& dUV) = 0;
    virtual void GetBumpDP(ShadeContext& sc, Point3& dPdu, Point3& dPdv) = 0;
    virtual void GetUVTransform(Matrix3& uvtrans) = 0;
    virtual int GetTextureTiling() = 0;
    virtual void SetTextureTiling(int t) = 0;
    virtual int GetUVWSource() = 0;
    virtual void SetUVWSource(int s) = 0;
    virtual int GetMapChannel() = 0;
    virtual void SetMapChannel(int c) = 0;
    virtual void InitSlotType(int sType) = 0;
    virtual BOOL IsStdUVGen() { return FALSE; }
};

// A new default UV generator (the host's standard one); the caller stores it in a reference.
UVGen* GetNewDefaultUVGen();

// The host's colour intensity: the mean of the three channels.
inline float Intens(const AColor& c) {
    return (c.r + c.g + c.b) / 3.f;
}
inline float Intens(const Color& c) {
    return (c.r + c.g + c.b) / 3.f;
}
