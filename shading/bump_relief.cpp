#include "shading/bump_relief.h"

#include "shading/float_guards.h"
#include "shading/relief_shape.h"

namespace QuarelNS {
namespace {

ShadeOverrides Record(const Color& brick, const Color& brick2, const Color& grout, bool maps) {
    ShadeOverrides r;
    r.useOwnColors = true;
    r.brickColor1 = brick;
    r.brickColor2 = brick2;
    r.groutColor = grout;
    r.evalMaps = maps;
    r.allowSecondColor = false;
    return r;
}

AColor At(const BrickEvalSource& src, ShadeContext& sc, const Point3& p, const Point3& duvw,
          BoxFace face, const ShadeOverrides& record) {
    return EvalBrickPoint(src, sc, p, duvw, face, &record);
}

}  // namespace

BumpReliefRecords MakeBumpReliefRecords(const BumpReliefValues& v) {
    const Color white(1.f, 1.f, 1.f), black(0.f, 0.f, 0.f);
    BumpReliefRecords r{Record(v.brickColor, v.brickColor2, v.groutColor, false),
                        Record(white, white, white, true), Record(white, white, black, false)};
    // The mask carries the bricks' relief shape: it is the share of each point that stands
    // above the grout, and the base and the texture are both raised by it.
    r.mask.reliefShape = true;
    return r;
}

BumpHeightField MakeBumpHeightField(const BrickEvalSource& src, ShadeContext& sc,
                                    const TexCoords& at, const BumpReliefValues& v,
                                    bool mapsAllowed) {
    BumpHeightField f;
    f.point = ReliefPoint(src, sc, at);
    f.records = MakeBumpReliefRecords(v);
    f.texture = v.bumpOn != 0 ? v.bumpTexture : nullptr;
    f.relief = mapsAllowed ? Clamp01(v.relief) : 0.f;
    f.groutGrey = ReliefGrey(AColor(v.groutColor, 1.f));
    return f;
}

float SampleBumpHeight(const BumpHeightField& f, float du, float dv) {
    const Point3 p = f.point.Offset(du, dv);
    float level = ReliefGrey(f.point.Eval(p, f.records.base));
    const float mask = f.point.Eval(p, f.records.mask).r;
    if (f.relief > 0.f) {
        const float tex = f.texture != nullptr ? ReliefGrey(f.texture->EvalColor(*f.point.sc))
                                               : ReliefGrey(f.point.Eval(p, f.records.white));
        level = level + (tex - level) * f.relief;
    }
    return (level - f.groutGrey) * mask + f.groutGrey;
}

AColor EvalBumpReliefColor(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                           const BumpReliefValues& v) {
    const TexCoords at = ResolveTexCoords(SnapshotOf(src), uvGen, sc, false);
    const BumpReliefRecords rec = MakeBumpReliefRecords(v);
    const AColor base = At(src, sc, at.uvw, at.duvw, at.face, rec.base);
    // Written so that a NaN relief counts as none.
    const ReliefNestingScope scope(src.owner, v.relief > 0.f);
    // Without texture relief and without a shape the mask would only give the base back.
    if (!scope.Entered() && !HasReliefShape(SnapshotOf(src))) return base;
    const float r = !scope.Entered() ? 0.f : (v.relief < 1.f ? v.relief : 1.f);

    float tex = 0.f;
    if (r > 0.f)
        tex = v.bumpOn != 0 && v.bumpTexture != nullptr
                  ? ReliefGrey(v.bumpTexture->EvalColor(sc))
                  : ReliefGrey(At(src, sc, at.uvw, at.duvw, at.face, rec.white));
    const float m = At(src, sc, at.uvw, at.duvw, at.face, rec.mask).r;
    const Color& g = v.groutColor;
    return AColor(((tex - base.r) * r + base.r - g.r) * m + g.r,
                  ((tex - base.g) * r + base.g - g.g) * m + g.g,
                  ((tex - base.b) * r + base.b - g.b) * m + g.b, 1.f);
}

Point3 EvalBumpReliefPerturb(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                             const BumpReliefValues& v) {
    if (!sc.doMaps) return Point3(0.f, 0.f, 0.f);
    const TexCoords at = ResolveTexCoords(SnapshotOf(src), uvGen, sc, true);
    const ReliefNestingScope scope(src.owner, Clamp01(v.relief) > 0.f);
    const BumpHeightField field = MakeBumpHeightField(src, sc, at, v, scope.Entered());
    const ReliefCross c = SampleReliefCross(
        [&field](float a, float b) { return SampleBumpHeight(field, a, b); }, at.duvw);
    return ReliefPerturbation(c, at.dPdu, at.dPdv, v.depth * kReliefPerturbScale);
}

}  // namespace QuarelNS
