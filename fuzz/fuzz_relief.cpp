// The relief evaluators (the main map's perturbation, the normal output's colour, the bump
// output's picture and perturbation) take any snapshot, any relief values, coordinates,
// derivatives and derivative vectors (NaN, infinities and huge values included) without
// undefined behaviour, and their perturbations and normal colours are always finite.
#include <host/scripted_shade_context.h>

#include <cmath>
#include <cstdint>

#include "shading/bump_relief.h"
#include "shading/relief_height.h"
#include "shading_fuzz_support.h"

namespace {

using namespace QuarelNS;
using namespace QuarelFuzz;

struct Input {
    EvalSnapshot snap;
    float uvw[3], duvw[3], dPdu[3], dPdv[3];
    float bumpColors[9], depth, relief, amount, normalDepth;
    float relBox[3], gNormal[3];
    std::uint8_t flags;
};

void TrapUnlessFinite(float x) {
    if (!std::isfinite(x)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NestedMaps maps;
    Input in = ReadInput<Input>(data, size);
    KeepMostlyStorable(in.snap, (in.flags & 0x80) != 0);

    const BrickEvalSource src{&in.snap, (in.flags & 1) ? maps.checker : nullptr,
                              (in.flags & 2) ? maps.checker : nullptr, nullptr, &in};
    UVGen* gen = (in.flags & 4) ? maps.gen : nullptr;
    ScriptedShadeContext sc;
    sc.SetUVW(P3(in.uvw), P3(in.duvw));
    sc.dPdUVW[0] = P3(in.dPdu);
    sc.dPdUVW[1] = P3(in.dPdv);
    sc.pObjRelBox = P3(in.relBox);
    sc.gNormal = P3(in.gNormal);
    sc.doMaps = (in.flags & 8) ? FALSE : TRUE;

    const Point3 p = EvalReliefPerturb(src, gen, sc);
    TrapUnlessFinite(p.x);
    TrapUnlessFinite(p.y);
    TrapUnlessFinite(p.z);

    const AColor n =
        NormalColorFromSlopes(EvalNormalSlopes(src, gen, sc, in.amount), in.normalDepth);
    TrapUnlessFinite(n.r);
    TrapUnlessFinite(n.g);
    TrapUnlessFinite(n.b);

    BumpReliefValues v;
    v.brickColor = Color(in.bumpColors[0], in.bumpColors[1], in.bumpColors[2]);
    v.brickColor2 = Color(in.bumpColors[3], in.bumpColors[4], in.bumpColors[5]);
    v.groutColor = Color(in.bumpColors[6], in.bumpColors[7], in.bumpColors[8]);
    v.bumpTexture = (in.flags & 16) ? maps.checker : nullptr;
    v.bumpOn = (in.flags & 32) ? 0 : 1;
    v.depth = in.depth;
    v.relief = in.relief;
    EvalBumpReliefColor(src, gen, sc, v);
    const Point3 b = EvalBumpReliefPerturb(src, gen, sc, v);
    TrapUnlessFinite(b.x);
    TrapUnlessFinite(b.y);
    TrapUnlessFinite(b.z);
    return 0;
}
