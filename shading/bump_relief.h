// The bump output's relief: a grey picture of the main map's pattern in the output's own three
// colours, blended on the bricks towards the grey level of a texture, and the perturbation from
// central differences of the height field built the same way.
//
// Three records drive the per-point core, all with own colours and no random second colour:
// S (base: the output's brick, brick-2 and grout colours, no nested maps), W (white, with the
// main map's nested maps: their grey level is the texture when the output has no bump texture
// of its own), M (mask: white bricks on black grout, so that its red channel is 1 on bricks and
// 0 in the joints, scaled by the main map's colour variance). The texture relief r = `relief`
// clamped to [0, 1] blends the base towards the texture; the mask keeps the grout colour in the
// joints. Everything here reads the main map's snapshot of the last rebuild and the values it
// is given; const, allocation-free, lock-free, for any number of render threads.
#pragma once

#include "imtl.h"
#include "shading/brick_eval.h"
#include "shading/relief_common.h"
#include "shading/relief_point.h"

namespace QuarelNS {

// The output's own values, cached by its Update from its parameter block (ids 0 to 6); the
// defaults are those of a map without a block.
struct BumpReliefValues {
    Color brickColor{1.f, 1.f, 1.f};
    Color brickColor2{1.f, 1.f, 1.f};
    Color groutColor{0.f, 0.f, 0.f};
    Texmap* bumpTexture = nullptr;  // the output's reference 1; used only while bumpOn
    int bumpOn = 1;
    float depth = 5.f;
    float relief = 1.f;
};

struct BumpReliefRecords {
    ShadeOverrides base, white, mask;  // S, W, M
};
BumpReliefRecords MakeBumpReliefRecords(const BumpReliefValues& v);

// One shading point's bump height field.
struct BumpHeightField {
    ReliefPoint point;
    BumpReliefRecords records;
    Texmap* texture = nullptr;  // the bump texture when it stands for the texture level, else null
    float relief = 0.f;         // 0..1; 0 when the nested maps may not be shown
    float groutGrey = 0.f;
};

// The field at a resolved point. The caller keeps a ReliefNestingScope for the source's map
// alive while sampling and passes whether it entered.
BumpHeightField MakeBumpHeightField(const BrickEvalSource& src, ShadeContext& sc,
                                    const TexCoords& at, const BumpReliefValues& v,
                                    bool mapsAllowed);

// h = (L - gL) * m + gL at the field's point offset by (du, dv), with L the base grey blended
// towards the texture level. The bump texture sees the unshifted shading point.
float SampleBumpHeight(const BumpHeightField& field, float du, float dv);

// The relief picture. Alpha is 1 where the texture relief applies; with none (relief <= 0) the
// base colour comes back as evaluated. Neither the missing parent nor doMaps is handled here.
AColor EvalBumpReliefColor(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                           const BumpReliefValues& v);

// The perturbation: (0, 0, 0) when the context's doMaps is off; else the height gradient along
// the surface's derivative vectors, times depth x 5. A component that is not finite is 0.
Point3 EvalBumpReliefPerturb(const BrickEvalSource& src, UVGen* uvGen, ShadeContext& sc,
                             const BumpReliefValues& v);

}  // namespace QuarelNS
