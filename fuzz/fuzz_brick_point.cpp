// The per-point core and the box projection take any snapshot, any coordinates and derivatives
// and any shading context (NaN, infinities and huge values included) without undefined
// behaviour: ASan and UBSan (float-to-int conversions included) abort on anything else. Nested
// maps are the host's checker and multi-sub maps, so the per-brick context is exercised too.
#include <host/scripted_shade_context.h>

#include <cmath>
#include <cstdint>

#include "shading/brick_eval.h"
#include "shading_fuzz_support.h"

namespace {

using namespace QuarelNS;
using namespace QuarelFuzz;

struct Input {
    EvalSnapshot snap;
    float uvw[3], duvw[3];
    std::int32_t count, element;
    float relBox[3], boxMin[3], boxMax[3], gNormal[3], normal[3];
    float hueColor[3], hueShift;
    std::uint8_t flags;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NestedMaps maps;
    Input in = ReadInput<Input>(data, size);
    KeepMostlyStorable(in.snap, (in.flags & 0x80) != 0);

    const BrickEvalSource src{&in.snap, (in.flags & 1) ? maps.checker : nullptr,
                              (in.flags & 2) ? maps.checker : nullptr,
                              (in.flags & 4) ? maps.multi : nullptr, &in};
    ShadeOverrides own;
    own.useOwnColors = (in.flags & 8) != 0;
    own.evalMaps = (in.flags & 16) != 0;
    own.allowSecondColor = (in.flags & 32) != 0;

    ScriptedShadeContext sc;
    sc.SetUVW(P3(in.uvw), P3(in.duvw));
    sc.pObjRelBox = P3(in.relBox);
    sc.objectBox = Box3(P3(in.boxMin), P3(in.boxMax));
    sc.gNormal = P3(in.gNormal);
    sc.normal = P3(in.normal);
    sc.mtlNum = in.count;

    EvalBrickPoint(src, sc, P3(in.uvw), P3(in.duvw), BoxFace{in.count, in.element},
                   (in.flags & 64) ? &own : nullptr);

    if (const BoxProjection box = ComputeBoxProjection(in.snap, sc); box.found) {
        const BoxFace& f = box.face;
        if (f.count < 1 || f.count > 8192 || f.element < 0 || f.element > 3) __builtin_trap();
        if (!std::isfinite(box.uvw.x) || !std::isfinite(box.uvw.y)) __builtin_trap();
        EvalBrickPoint(src, sc, box.uvw, box.duvw, f, &own);
    }
    EvalMapColor(src, (in.flags & 1) ? maps.gen : nullptr, static_cast<ULONG>(in.element), sc);

    Color c(in.hueColor[0], in.hueColor[1], in.hueColor[2]);
    ShiftHue(c, in.hueShift);
    return 0;
}
