#include "shading/brick_shade_context.h"

namespace QuarelNS {

BrickShadeContext::BrickShadeContext(ShadeContext& wrapped, const Point3& localUVW,
                                     const Point3& localDUVW, float uScale, float vScale,
                                     std::int32_t id, std::int32_t turned, std::int32_t upright)
    : outer(&wrapped),
      uvw(localUVW),
      duvw(localDUVW),
      scaleU(uScale),
      scaleV(vScale),
      axisU(turned == 1 ? 1 : 0),
      axisV(upright == 1 ? 1 : 0),
      brickId(id) {
    mode = wrapped.mode;
    doMaps = wrapped.doMaps;
    filterMaps = wrapped.filterMaps;
    shadow = wrapped.shadow;
    backFace = wrapped.backFace;
    mtlNum = id;
    ambientLight = wrapped.ambientLight;
    nLights = wrapped.nLights;
    rayLevel = wrapped.rayLevel;
    xshadeID = wrapped.xshadeID;
    atmosSkipLight = wrapped.atmosSkipLight;
    globContext = wrapped.globContext;
    out.Reset();
}

BOOL BrickShadeContext::InMtlEditor() {
    return outer->InMtlEditor();
}
LightDesc* BrickShadeContext::Light(int n) {
    return outer->Light(n);
}
TimeValue BrickShadeContext::CurTime() {
    return outer->CurTime();
}
INode* BrickShadeContext::Node() {
    return outer->Node();
}
Object* BrickShadeContext::GetEvalObject() {
    return outer->GetEvalObject();
}
Point3 BrickShadeContext::BarycentricCoords() {
    return outer->BarycentricCoords();
}
Point3 BrickShadeContext::Normal() {
    return outer->Normal();
}
void BrickShadeContext::SetNormal(Point3 p) {
    outer->SetNormal(p);
}
Point3 BrickShadeContext::OrigNormal() {
    return outer->OrigNormal();
}
Point3 BrickShadeContext::GNormal() {
    return outer->GNormal();
}
float BrickShadeContext::Curve() {
    return outer->Curve();
}
Point3 BrickShadeContext::V() {
    return outer->V();
}
void BrickShadeContext::SetView(Point3 p) {
    outer->SetView(p);
}
Point3 BrickShadeContext::OrigView() {
    return outer->OrigView();
}
Point3 BrickShadeContext::ReflectVector() {
    return outer->ReflectVector();
}
Point3 BrickShadeContext::RefractVector(float ior) {
    return outer->RefractVector(ior);
}
void BrickShadeContext::SetIOR(float ior) {
    outer->SetIOR(ior);
}
float BrickShadeContext::GetIOR() {
    return outer->GetIOR();
}
Point3 BrickShadeContext::CamPos() {
    return outer->CamPos();
}
Point3 BrickShadeContext::P() {
    return outer->P();
}
Point3 BrickShadeContext::DP() {
    return outer->DP();
}
void BrickShadeContext::DP(Point3& dpdx, Point3& dpdy) {
    outer->DP(dpdx, dpdy);
}
Point3 BrickShadeContext::PObj() {
    return outer->PObj();
}
Point3 BrickShadeContext::DPObj() {
    return outer->DPObj();
}
Box3 BrickShadeContext::ObjectBox() {
    return outer->ObjectBox();
}
Point3 BrickShadeContext::PObjRelBox() {
    return outer->PObjRelBox();
}
Point3 BrickShadeContext::DPObjRelBox() {
    return outer->DPObjRelBox();
}
void BrickShadeContext::ScreenUV(Point2& uv, Point2& duv) {
    outer->ScreenUV(uv, duv);
}
IPoint2 BrickShadeContext::ScreenCoord() {
    return outer->ScreenCoord();
}
Point2 BrickShadeContext::SurfacePtScreen() {
    return outer->SurfacePtScreen();
}

void BrickShadeContext::DPdUVW(Point3 dP[3], int channel) {
    Point3 t[3];
    outer->DPdUVW(t, channel);
    dP[0] = t[axisU];
    dP[1] = t[axisV];
    dP[2] = t[2];
    // A non-positive scale means "no scale known": the vector passes as the surface gives it.
    if (scaleU > 0.f) dP[0] = dP[0] * scaleU;
    if (scaleV > 0.f) dP[1] = dP[1] * scaleV;
}

void BrickShadeContext::GetBGColor(Color& bgcol, Color& transp, BOOL fogBG) {
    outer->GetBGColor(bgcol, transp, fogBG);
}
float BrickShadeContext::CamNearRange() {
    return outer->CamNearRange();
}
float BrickShadeContext::CamFarRange() {
    return outer->CamFarRange();
}
Point3 BrickShadeContext::PointTo(const Point3& p, RefFrame ito) {
    return outer->PointTo(p, ito);
}
Point3 BrickShadeContext::PointFrom(const Point3& p, RefFrame ifrom) {
    return outer->PointFrom(p, ifrom);
}
Point3 BrickShadeContext::VectorTo(const Point3& p, RefFrame ito) {
    return outer->VectorTo(p, ito);
}
Point3 BrickShadeContext::VectorFrom(const Point3& p, RefFrame ifrom) {
    return outer->VectorFrom(p, ifrom);
}

}  // namespace QuarelNS
