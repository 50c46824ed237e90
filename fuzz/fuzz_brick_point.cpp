// The per-point core and the box projection take any snapshot, any coordinates and derivatives
// and any shading context (NaN, infinities and huge values included) without undefined
// behaviour: ASan and UBSan (float-to-int conversions included) abort on anything else. Nested
// maps are the host's checker and multi-sub maps, so the per-brick context is exercised too.
#include <host/builtin_classes.h>
#include <host/scripted_shade_context.h>
#include <stdmat.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "shading/brick_eval.h"

namespace {

using namespace QuarelNS;

static_assert(std::is_trivially_copyable_v<EvalSnapshot>);

struct Input {
    EvalSnapshot snap;
    float uvw[3], duvw[3];
    std::int32_t count, element;
    float relBox[3], boxMin[3], boxMax[3], gNormal[3], normal[3];
    float hueColor[3], hueShift;
    std::uint8_t flags;
};

struct NestedMaps {
    SingleRefMaker checkerRef, multiRef, genRef;
    Texmap* checker;
    Texmap* multi;
    UVGen* gen;
    NestedMaps() {
        checker = new CheckerMap;
        checkerRef.SetRef(checker);
        multi = new MultiSubMap(5, MultiSubMap::kByNodeID);
        multiRef.SetRef(multi);
        gen = GetNewDefaultUVGen();
        genRef.SetRef(gen);
    }
};

Point3 P3(const float (&f)[3]) {
    return Point3(f[0], f[1], f[2]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static NestedMaps maps;
    Input in;
    std::memset(&in, 0, sizeof in);
    std::memcpy(&in, data, size < sizeof in ? size : sizeof in);
    // Mostly ids and switches the blocks can hold, but every value now and then.
    if ((in.flags & 0x80) == 0) {
        in.snap.pattern =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(in.snap.pattern) % 32);
        in.snap.projection_mode &= 1;
    }

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

    EvalBrickPoint(src, sc, P3(in.uvw), P3(in.duvw), in.count, in.element,
                   (in.flags & 64) ? &own : nullptr);

    Point3 uvw, duvw;
    int count = 0, element = 0;
    if (ComputeBoxProjection(in.snap, sc, uvw, duvw, count, element)) {
        if (count < 1 || count > 8192 || element < 0 || element > 3) __builtin_trap();
        if (!std::isfinite(uvw.x) || !std::isfinite(uvw.y)) __builtin_trap();
        EvalBrickPoint(src, sc, uvw, duvw, count, element, &own);
    }
    EvalMapColor(src, (in.flags & 1) ? maps.gen : nullptr, static_cast<ULONG>(in.element), sc);

    Color c(in.hueColor[0], in.hueColor[1], in.hueColor[2]);
    ShiftHue(c, in.hueShift);
    return 0;
}
