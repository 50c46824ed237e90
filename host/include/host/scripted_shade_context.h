// A shading context whose every answer is a plain field: tests and the preview renderer fill
// it in for each sample. "Camera space" (the renderer's internal space) is where P, Normal and
// V live; toWorld and toObject take points from there to world and object space.
#pragma once

#include <imtl.h>
#include <matrix3.h>

class ScriptedShadeContext : public ShadeContext {
public:
    static constexpr int kMaxChannels = 100;

    ScriptedShadeContext();

    // Texture coordinates and their filter size for one map channel (0..99).
    void SetUVW(const Point3& value, const Point3& filter, int channel = 1);
    // The camera-to-object transform (its inverse is kept in step).
    void SetObjectTransform(const Matrix3& cameraToObject);
    void SetWorldTransform(const Matrix3& cameraToWorld);

    Point3 uvw[kMaxChannels];
    Point3 duvw[kMaxChannels];
    Point3 dPdUVW[3] = {Point3(1.f, 0.f, 0.f), Point3(0.f, 1.f, 0.f), Point3(0.f, 0.f, 1.f)};
    Point3 p, dp, dpdx, dpdy;
    Point3 normal{0.f, 0.f, 1.f}, origNormal{0.f, 0.f, 1.f}, gNormal{0.f, 0.f, 1.f};
    Point3 view{0.f, 0.f, -1.f}, origView{0.f, 0.f, -1.f}, camPos;
    Point3 pObj, dpObj, pObjRelBox, dpObjRelBox, bary;
    Box3 objectBox{Point3(0.f, 0.f, 0.f), Point3(1.f, 1.f, 1.f)};
    Point2 screenUV, dScreenUV;
    IPoint2 screenCoord;
    TimeValue time = 0;
    int nodeId = 0;
    int faceNumber = 0;
    BOOL inMtlEditor = FALSE;
    INode* node = nullptr;
    float ior = 1.f;
    Color bgColor;
    Matrix3 toWorld, fromWorld, toObject, fromObject;

    BOOL InMtlEditor() override { return inMtlEditor; }
    LightDesc* Light(int) override { return nullptr; }
    TimeValue CurTime() override { return time; }
    int NodeID() override { return nodeId; }
    INode* Node() override { return node; }
    Point3 BarycentricCoords() override { return bary; }
    int FaceNumber() override { return faceNumber; }
    Point3 Normal() override { return normal; }
    void SetNormal(Point3 n) override { normal = n; }
    Point3 OrigNormal() override { return origNormal; }
    Point3 GNormal() override { return gNormal; }
    Point3 V() override { return view; }
    void SetView(Point3 v) override { view = v; }
    Point3 OrigView() override { return origView; }
    Point3 ReflectVector() override;
    Point3 RefractVector(float ior) override;
    void SetIOR(float v) override { ior = v; }
    float GetIOR() override { return ior; }
    Point3 CamPos() override { return camPos; }
    Point3 P() override { return p; }
    Point3 DP() override { return dp; }
    void DP(Point3& x, Point3& y) override {
        x = dpdx;
        y = dpdy;
    }
    Point3 PObj() override { return pObj; }
    Point3 DPObj() override { return dpObj; }
    Box3 ObjectBox() override { return objectBox; }
    Point3 PObjRelBox() override { return pObjRelBox; }
    Point3 DPObjRelBox() override { return dpObjRelBox; }
    void ScreenUV(Point2& uv, Point2& duv) override {
        uv = screenUV;
        duv = dScreenUV;
    }
    IPoint2 ScreenCoord() override { return screenCoord; }
    Point3 UVW(int channel) override {
        return channel >= 0 && channel < kMaxChannels ? uvw[channel] : Point3();
    }
    Point3 DUVW(int channel) override {
        return channel >= 0 && channel < kMaxChannels ? duvw[channel] : Point3();
    }
    void DPdUVW(Point3 dP[3], int channel) override {
        dP[0] = dPdUVW[0];
        dP[1] = dPdUVW[1];
        dP[2] = dPdUVW[2];
    }
    void GetBGColor(Color& bg, Color& transp, BOOL) override {
        bg = bgColor;
        transp = Color(0.f, 0.f, 0.f);
    }
    Point3 PointTo(const Point3& q, RefFrame ito) override;
    Point3 PointFrom(const Point3& q, RefFrame ifrom) override;
    Point3 VectorTo(const Point3& q, RefFrame ito) override;
    Point3 VectorFrom(const Point3& q, RefFrame ifrom) override;
};
