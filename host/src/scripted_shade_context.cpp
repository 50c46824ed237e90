#include "host/scripted_shade_context.h"

#include <cmath>

ScriptedShadeContext::ScriptedShadeContext() {
    out.Reset();
}

void ScriptedShadeContext::SetUVW(const Point3& value, const Point3& filter, int channel) {
    if (channel < 0 || channel >= kMaxChannels) return;
    uvw[channel] = value;
    duvw[channel] = filter;
}

void ScriptedShadeContext::SetObjectTransform(const Matrix3& cameraToObject) {
    toObject = cameraToObject;
    fromObject = Inverse(cameraToObject);
}

void ScriptedShadeContext::SetWorldTransform(const Matrix3& cameraToWorld) {
    toWorld = cameraToWorld;
    fromWorld = Inverse(cameraToWorld);
}

Point3 ScriptedShadeContext::ReflectVector() {
    const Point3 n = normal.Normalize();
    return view - n * (2.f * DotProd(view, n));
}

Point3 ScriptedShadeContext::RefractVector(float eta) {
    const Point3 n = normal.Normalize();
    const Point3 v = view.Normalize();
    const float cosi = -DotProd(v, n);
    const float k = 1.f - eta * eta * (1.f - cosi * cosi);
    if (k < 0.f || eta <= 0.f) return ReflectVector();  // total internal reflection
    return v * eta + n * (eta * cosi - std::sqrt(k));
}

Point3 ScriptedShadeContext::PointTo(const Point3& q, RefFrame ito) {
    switch (ito) {
        case REF_WORLD:
            return toWorld.PointTransform(q);
        case REF_OBJECT:
            return toObject.PointTransform(q);
        default:
            return q;
    }
}

Point3 ScriptedShadeContext::PointFrom(const Point3& q, RefFrame ifrom) {
    switch (ifrom) {
        case REF_WORLD:
            return fromWorld.PointTransform(q);
        case REF_OBJECT:
            return fromObject.PointTransform(q);
        default:
            return q;
    }
}

Point3 ScriptedShadeContext::VectorTo(const Point3& q, RefFrame ito) {
    switch (ito) {
        case REF_WORLD:
            return toWorld.VectorTransform(q);
        case REF_OBJECT:
            return toObject.VectorTransform(q);
        default:
            return q;
    }
}

Point3 ScriptedShadeContext::VectorFrom(const Point3& q, RefFrame ifrom) {
    switch (ifrom) {
        case REF_WORLD:
            return fromWorld.VectorTransform(q);
        case REF_OBJECT:
            return fromObject.VectorTransform(q);
        default:
            return q;
    }
}
