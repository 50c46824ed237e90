// The shading point a relief height field is sampled around: the resolved coordinates and what
// evaluates them, shared by the main map's relief and the bump output's.
#pragma once

#include "shading/brick_eval.h"

namespace QuarelNS {

struct ReliefPoint {
    const BrickEvalSource* src = nullptr;
    ShadeContext* sc = nullptr;
    Point3 uvw, duvw;
    BoxFace face;

    ReliefPoint() = default;
    ReliefPoint(const BrickEvalSource& source, ShadeContext& context, const TexCoords& at)
        : src(&source), sc(&context), uvw(at.uvw), duvw(at.duvw), face(at.face) {}

    // Where the sample offset by (du, dv) is taken.
    Point3 Offset(float du, float dv) const { return Point3(uvw.x + du, uvw.y + dv, uvw.z); }
    // The colour at p, with the point's filter size and box face, through `record`.
    AColor Eval(const Point3& p, const ShadeOverrides& record) const {
        return EvalBrickPoint(*src, *sc, p, duvw, face, &record);
    }
};

}  // namespace QuarelNS
