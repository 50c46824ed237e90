// ShadeContext: what a texture map may ask about the point being shaded.
//
// The renderer fills one per sample on its render thread; maps read it and never keep it.
// Every query is allocation-free. UVW and DUVW of a channel the renderer does not supply
// answer zero. The data members follow the host's declaration and are copied by wrappers.
#pragma once

#include "acolor.h"
#include "baseinterface.h"
#include "box3.h"
#include "color.h"
#include "point2.h"
#include "point3.h"

class Texmap;
class INode;
class Object;
class LightDesc;
class RenderGlobalContext;
class Bitmap;
class IRenderElement;

// Reference frames of PointTo, VectorTo and their inverses.
enum RefFrame { REF_CAMERA = 0, REF_WORLD, REF_OBJECT };

// Shading modes.
#define SCMODE_NORMAL 0
#define SCMODE_SHADOW 1

class IPoint2 {
public:
    int x = 0, y = 0;
    constexpr IPoint2() = default;
    constexpr IPoint2(int xx, int yy) : x(xx), y(yy) {}
};

// What a material writes back: colour, transparency, index of refraction, G-buffer id.
class ShadeOutput {
public:
    ULONG flags = 0;
    Color c;
    Color t;
    float ior = 1.f;
    int gbufId = 0;
    void Reset(int n = -1) {
        flags = 0;
        c.Black();
        t.Black();
        ior = 1.f;
        gbufId = 0;
    }
};

class ShadeContext : public InterfaceServer {
public:
    ULONG mode = SCMODE_NORMAL;
    BOOL doMaps = TRUE;
    BOOL filterMaps = TRUE;
    BOOL shadow = FALSE;
    BOOL backFace = FALSE;
    int mtlNum = 0;
    Color ambientLight;
    int nLights = 0;
    int rayLevel = 0;
    int xshadeID = 0;
    LightDesc* atmosSkipLight = nullptr;
    RenderGlobalContext* globContext = nullptr;
    ShadeOutput out;

    ShadeContext() = default;
    ~ShadeContext() override = default;

    virtual void ResetOutput(int n = -1) { out.Reset(n); }
    virtual Class_ID ClassID() { return Class_ID(0, 0); }
    virtual BOOL InMtlEditor() = 0;
    virtual int Antialias() { return 0; }
    virtual int ProjType() { return 0; }
    virtual LightDesc* Light(int n) = 0;
    virtual TimeValue CurTime() = 0;
    virtual int NodeID() { return -1; }
    virtual INode* Node() { return nullptr; }
    virtual Object* GetEvalObject() { return nullptr; }
    virtual Point3 BarycentricCoords() { return Point3(0.f, 0.f, 0.f); }
    virtual int FaceNumber() = 0;
    virtual Point3 Normal() = 0;
    virtual void SetNormal(Point3 p) {}
    virtual Point3 OrigNormal() { return Normal(); }
    virtual Point3 GNormal() = 0;
    virtual float Curve() { return 0.f; }
    virtual Point3 V() = 0;
    virtual void SetView(Point3 p) = 0;
    virtual Point3 OrigView() { return V(); }
    virtual Point3 ReflectVector() = 0;
    virtual Point3 RefractVector(float ior) = 0;
    virtual void SetIOR(float ior) {}
    virtual float GetIOR() { return 1.f; }
    virtual Point3 CamPos() = 0;
    virtual Point3 P() = 0;
    virtual Point3 DP() = 0;
    virtual void DP(Point3& dpdx, Point3& dpdy) {}
    virtual Point3 PObj() = 0;
    virtual Point3 DPObj() = 0;
    virtual Box3 ObjectBox() = 0;
    virtual Point3 PObjRelBox() = 0;
    virtual Point3 DPObjRelBox() = 0;
    virtual void ScreenUV(Point2& uv, Point2& duv) = 0;
    virtual IPoint2 ScreenCoord() = 0;
    virtual Point2 SurfacePtScreen() { return Point2(0.f, 0.f); }
    virtual Point3 UVW(int channel = 0) = 0;
    virtual Point3 DUVW(int channel = 0) = 0;
    virtual void DPdUVW(Point3 dP[3], int channel = 0) = 0;
    // Answers 0: no basis is known unless a renderer supplies one.
    virtual int BumpBasisVectors(Point3 dP[2], int axis, int channel = 0) { return 0; }
    virtual BOOL IsSuperSampleOn() { return FALSE; }
    virtual BOOL IsTextureSuperSampleOn() { return FALSE; }
    virtual int GetNSuperSample() { return 0; }
    virtual float GetSampleSizeScale() { return 1.f; }
    virtual Point3 UVWNormal(int channel = 0) { return Point3(0.f, 0.f, 1.f); }
    virtual float RayDiam() { return DP().Length(); }
    virtual float RayConeAngle() { return 0.f; }
    virtual AColor EvalEnvironMap(Texmap* map, Point3 view);
    virtual void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) = 0;
    virtual float CamNearRange() { return 0.f; }
    virtual float CamFarRange() { return 0.f; }
    virtual Point3 PointTo(const Point3& p, RefFrame ito) = 0;
    virtual Point3 PointFrom(const Point3& p, RefFrame ifrom) = 0;
    virtual Point3 VectorTo(const Point3& p, RefFrame ito) = 0;
    virtual Point3 VectorFrom(const Point3& p, RefFrame ifrom) = 0;
    virtual Point3 VectorToNoScale(const Point3& p, RefFrame ito) {
        return VectorTo(p, ito).Normalize() * p.Length();
    }
    virtual Point3 VectorFromNoScale(const Point3& p, RefFrame ifrom) {
        return VectorFrom(p, ifrom).Normalize() * p.Length();
    }
    virtual void SetGBufferID(int gbid) { out.gbufId = gbid; }
    virtual AColor EvalGlobalEnvironMap(Point3 dir) { return AColor(0.f, 0.f, 0.f, 0.f); }
    virtual BOOL GetCache(Bitmap* map, int x, int y, AColor& c) { return FALSE; }
    virtual BOOL GetCache(Bitmap* map, int x, int y, float& f) { return FALSE; }
    virtual void PutCache(Bitmap* map, int x, int y, const AColor& c) {}
    virtual void PutCache(Bitmap* map, int x, int y, float f) {}
    virtual void TossCache(Bitmap* map) {}
    virtual INT_PTR Execute(int cmd, ULONG_PTR arg1 = 0, ULONG_PTR arg2 = 0, ULONG_PTR arg3 = 0) {
        return 0;
    }
    virtual LightDesc* GetAtmosSkipLight() { return atmosSkipLight; }
    virtual void SetAtmosSkipLight(LightDesc* lt) { atmosSkipLight = lt; }
    virtual int NRenderElements() { return 0; }
    virtual IRenderElement* GetRenderElement(int n) { return nullptr; }
    virtual Color DiffuseIllum() { return Color(0.f, 0.f, 0.f); }
};
