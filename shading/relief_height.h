// The main map's height field and what is derived from it: the map's own bump perturbation
// (QuarelMap::EvalNormalPerturb) and the normal output's tangent-space normal colour.
//
// The height at a point is the grey value of a per-point evaluation in which the snapshot's
// bump colours replace the diffuse ones (record A: no nested maps, no random second colour), so
// bricks, colour-2 bricks and grout get their own heights. With a texture relief amount a > 0
// it is blended towards a second evaluation that shows the nested maps (record B):
// hA + (hB - hA) * a. Offsets are applied in the map's input texture space, before the master
// transform. Everything here reads the snapshot of the last rebuild and nothing else of the
// map; const, allocation-free, lock-free, for any number of render threads.
#pragma once

#include "imtl.h"
#include "shading/brick_eval.h"
#include "shading/relief_common.h"
#include "shading/relief_point.h"

namespace QuarelNS {

// Record A of a snapshot: its bump colours, no nested maps, no random second colour. Record B
// is the same with nested maps.
ShadeOverrides PatternReliefRecord(const EvalSnapshot& s);

// One shading point's height field: where it is sampled and how.
struct ReliefHeightField {
    ReliefPoint point;
    ShadeOverrides recordA, recordB;
    float amount = 0.f;  // texture relief, 0..1
    bool blend = false;  // amount > 0 and the nested maps may be shown
};

// The field at a resolved point; `amount` is clamped to [0, 1] (NaN: 0). The caller keeps a
// ReliefNestingScope for the source's map alive while sampling and passes whether it entered.
ReliefHeightField MakeReliefHeightField(const BrickEvalSource& src, ShadeContext& sc,
                                        const TexCoords& at, float amount, bool mapsAllowed);

// The height at the field's point offset by (du, dv): one point evaluation, two when blending.
float SampleReliefHeight(const ReliefHeightField& field, float du, float dv);

// QuarelMap::EvalNormalPerturb: the first-call log line; (0, 0, 0) when the context's doMaps is
// off; else the height gradient along the surface's derivative vectors, times 5, with the
// snapshot's texture relief amount. A component that is not finite (from non-finite derivative
// vectors) is 0.
Point3 EvalReliefPerturb(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc);

// The height at a shading point itself, with texture relief `amount` (clamped to [0, 1]): the
// field the normal output's slopes are taken of, for tools that bake it.
float EvalReliefHeight(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc, float amount);

// The normal output's slopes: minus the central differences of the height field with texture
// relief `amount` (clamped to [0, 1]). The caller handles doMaps and the missing parent.
struct NormalSlopes {
    float gx = 0.f, gy = 0.f;
};
NormalSlopes EvalNormalSlopes(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                              float amount);

// (gx, gy, depth) normalised and remapped from -1..1 to 0..1, alpha 1. A depth below 0.0001
// (or NaN) counts as 0.0001, so a larger depth gives a flatter normal. A vector that cannot be
// normalised (a non-finite slope or depth) gives the flat normal (0.5, 0.5, 1, 1).
AColor NormalColorFromSlopes(const NormalSlopes& g, float depth);

}  // namespace QuarelNS
