// QuarelNS::BrickShadeContext: the shading context a nested map sees on one brick (or on the
// grout). It wraps the context of the current point and changes exactly four things:
//   - UVW and DUVW of every channel answer the brick's own local coordinates and filter size;
//   - DPdUVW answers the wrapped context's first two derivative vectors re-ordered to the
//     brick's frame (axisU/axisV pick which becomes local u and v) and scaled by scaleU/scaleV
//     (a scale <= 0 leaves its vector unscaled), the third unchanged;
//   - NodeID, FaceNumber and the mtlNum field all report brickId, so maps that pick a sub-map
//     by id vary per brick.
// Every other pure query is forwarded to the wrapped context unchanged (setters such as
// SetNormal therefore change the wrapped context); the base's own answers (antialiasing,
// super-sampling, bump basis, environment, caches, render elements, the G-buffer id written to
// the wrapper's own output record) are kept. The listed data fields of the wrapped context are
// copied at construction; `out` starts fresh.
//
// Lives on the caller's stack for one nested EvalColor call; never owns the wrapped context,
// which must outlive it. Not copyable. Building one allocates nothing.
#pragma once

#include <cstdint>

#include "imtl.h"

namespace QuarelNS {

class BrickShadeContext final : public ShadeContext {
public:
    // turned/upright are the BrickCell's frame flags: axisU = (turned == 1), axisV = (upright ==
    // 1).
    BrickShadeContext(ShadeContext& wrapped, const Point3& localUVW, const Point3& localDUVW,
                      float uScale, float vScale, std::int32_t id, std::int32_t turned,
                      std::int32_t upright);
    ~BrickShadeContext() override = default;
    BrickShadeContext(const BrickShadeContext&) = delete;
    BrickShadeContext& operator=(const BrickShadeContext&) = delete;

    ShadeContext* outer;  // not owned
    Point3 uvw;
    Point3 duvw;
    float scaleU;
    float scaleV;
    std::int32_t axisU;  // 0 or 1
    std::int32_t axisV;  // 0 or 1
    std::int32_t brickId;

    BOOL InMtlEditor() override;
    LightDesc* Light(int n) override;
    TimeValue CurTime() override;
    int NodeID() override { return brickId; }
    INode* Node() override;
    Object* GetEvalObject() override;
    Point3 BarycentricCoords() override;
    int FaceNumber() override { return brickId; }
    Point3 Normal() override;
    void SetNormal(Point3 p) override;
    Point3 OrigNormal() override;
    Point3 GNormal() override;
    float Curve() override;
    Point3 V() override;
    void SetView(Point3 p) override;
    Point3 OrigView() override;
    Point3 ReflectVector() override;
    Point3 RefractVector(float ior) override;
    void SetIOR(float ior) override;
    float GetIOR() override;
    Point3 CamPos() override;
    Point3 P() override;
    Point3 DP() override;
    void DP(Point3& dpdx, Point3& dpdy) override;
    Point3 PObj() override;
    Point3 DPObj() override;
    Box3 ObjectBox() override;
    Point3 PObjRelBox() override;
    Point3 DPObjRelBox() override;
    void ScreenUV(Point2& uv, Point2& duv) override;
    IPoint2 ScreenCoord() override;
    Point2 SurfacePtScreen() override;
    Point3 UVW(int channel = 0) override { return uvw; }
    Point3 DUVW(int channel = 0) override { return duvw; }
    void DPdUVW(Point3 dP[3], int channel = 0) override;
    void GetBGColor(Color& bgcol, Color& transp, BOOL fogBG = TRUE) override;
    float CamNearRange() override;
    float CamFarRange() override;
    Point3 PointTo(const Point3& p, RefFrame ito) override;
    Point3 PointFrom(const Point3& p, RefFrame ifrom) override;
    Point3 VectorTo(const Point3& p, RefFrame ito) override;
    Point3 VectorFrom(const Point3& p, RefFrame ifrom) override;
};

}  // namespace QuarelNS
