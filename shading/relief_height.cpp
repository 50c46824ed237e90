#include "shading/relief_height.h"

#include <cmath>

#include "shading/eval_log.h"
#include "shading/float_guards.h"

namespace QuarelNS {

ShadeOverrides PatternReliefRecord(const EvalSnapshot& s) {
    ShadeOverrides r;
    r.useOwnColors = true;
    r.brickColor1 = s.bump_brick_color;
    r.brickColor2 = s.bump_brick_color_2;
    r.groutColor = s.bump_grout_color;
    r.evalMaps = false;
    // The random second colour would give a quarter of the bricks another height at random;
    // only the pattern's own colour-2 bricks take bump_brick_color_2.
    r.allowSecondColor = false;
    r.reliefShape = true;
    return r;
}

ReliefHeightField MakeReliefHeightField(const BrickEvalSource& src, ShadeContext& sc,
                                        const TexCoords& at, float amount, bool mapsAllowed) {
    ReliefHeightField f;
    f.point = ReliefPoint(src, sc, at);
    f.recordA = PatternReliefRecord(SnapshotOf(src));
    f.recordB = f.recordA;
    f.recordB.evalMaps = true;
    f.amount = Clamp01(amount);
    f.blend = f.amount > 0.f && mapsAllowed;
    return f;
}

float SampleReliefHeight(const ReliefHeightField& f, float du, float dv) {
    const Point3 p = f.point.Offset(du, dv);
    const float hA = ReliefGrey(f.point.Eval(p, f.recordA));
    if (!f.blend) return hA;
    const float hB = ReliefGrey(f.point.Eval(p, f.recordB));
    return hA + (hB - hA) * f.amount;
}

namespace {

ReliefCross SampleField(const ReliefHeightField& f, const Point3& duvw) {
    return SampleReliefCross([&f](float a, float b) { return SampleReliefHeight(f, a, b); }, duvw);
}

}  // namespace

Point3 EvalReliefPerturb(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc) {
    NoteEvalNormalPerturbCall(src.owner);
    if (!sc.doMaps) return Point3(0.f, 0.f, 0.f);
    const EvalSnapshot& snap = SnapshotOf(src);
    const TexCoords at = ResolveTexCoords(snap, uvGen, sc, true);
    const float amount = Clamp01(snap.relief_tex_amount);
    const ReliefNestingScope scope(src.owner, amount > 0.f);
    const ReliefHeightField field = MakeReliefHeightField(src, sc, at, amount, scope.Entered());
    return ReliefPerturbation(SampleField(field, at.duvw), at.dPdu, at.dPdv, kReliefPerturbScale);
}

float EvalReliefHeight(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc, float amount) {
    const TexCoords at = ResolveTexCoords(SnapshotOf(src), uvGen, sc, false);
    const float a = Clamp01(amount);
    const ReliefNestingScope scope(src.owner, a > 0.f);
    return SampleReliefHeight(MakeReliefHeightField(src, sc, at, a, scope.Entered()), 0.f, 0.f);
}

NormalSlopes EvalNormalSlopes(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                              float amount) {
    const TexCoords at = ResolveTexCoords(SnapshotOf(src), uvGen, sc, false);
    const float a = Clamp01(amount);
    const ReliefNestingScope scope(src.owner, a > 0.f);
    const ReliefHeightField field = MakeReliefHeightField(src, sc, at, a, scope.Entered());
    const ReliefCross c = SampleField(field, at.duvw);

    // The normal's own formula: minus the difference, times half the step's reciprocal.
    NormalSlopes g;
    g.gx = -(c.h.uPlus - c.h.uMinus) * 0.5f * (1.f / c.du);
    g.gy = -(c.h.vPlus - c.h.vMinus) * 0.5f * (1.f / c.dv);
    return g;
}

AColor NormalColorFromSlopes(const NormalSlopes& g, float depth) {
    if (!(depth >= 0.0001f)) depth = 0.0001f;
    float nx, ny, nz;
    const float len = std::sqrt(g.gx * g.gx + g.gy * g.gy + depth * depth);
    if (std::isfinite(len)) {
        nx = g.gx / len;
        ny = g.gy / len;
        nz = depth / len;
    } else {
        // Squares of very steep but finite slopes overflow a float; a double holds them.
        const double x = g.gx, y = g.gy, z = depth;
        const double dlen = std::sqrt(x * x + y * y + z * z);
        if (!std::isfinite(dlen)) return AColor(0.5f, 0.5f, 1.f, 1.f);
        nx = static_cast<float>(x / dlen);
        ny = static_cast<float>(y / dlen);
        nz = static_cast<float>(z / dlen);
    }
    return AColor(nx * 0.5f + 0.5f, ny * 0.5f + 0.5f, nz * 0.5f + 0.5f, 1.f);
}

}  // namespace QuarelNS
