// The map's colour entry and the choice of texture coordinates it shares with the normal
// perturbation and the relief outputs. One file, so that the colour entry gets the choice
// inlined without the derivative vectors it does not need.
#include "shading/brick_eval.h"
#include "shading/eval_log.h"

namespace QuarelNS {
namespace {

// The context's own derivative vectors of channel 1, when the caller wants them.
template <bool wantBasis>
inline void ContextBasis(ShadeContext& sc, TexCoords& tc) {
    if constexpr (wantBasis) {
        Point3 dP[3];
        sc.DPdUVW(dP, 1);
        tc.dPdu = dP[0];
        tc.dPdv = dP[1];
    }
}

template <bool wantBasis>
inline TexCoords Resolve(const EvalSnapshot& snap, UVGen* uvGen, ShadeContext& sc) {
    TexCoords tc;
    if (snap.projection_mode == 1) {
        const BoxProjection box = ComputeBoxProjection(snap, sc);
        if (box.found) {
            tc.uvw = box.uvw;
            tc.duvw = box.duvw;
            tc.face = box.face;
            ContextBasis<wantBasis>(sc, tc);
            return tc;
        }
    }
    if (uvGen != nullptr) {
        if constexpr (wantBasis) uvGen->GetBumpDP(sc, tc.dPdu, tc.dPdv);
        Point2 uv, duv;
        uvGen->GetUV(sc, uv, duv);
        tc.uvw = Point3(uv.x, uv.y, 0.f);
        tc.duvw = Point3(duv.x, duv.y, 0.f);
    } else {
        tc.uvw = sc.UVW(1);
        tc.duvw = sc.DUVW(1);
        ContextBasis<wantBasis>(sc, tc);
    }
    return tc;
}

}  // namespace

TexCoords ResolveTexCoords(const EvalSnapshot& snap, UVGen* uvGen, ShadeContext& sc,
                           bool wantBasis) {
    return wantBasis ? Resolve<true>(snap, uvGen, sc) : Resolve<false>(snap, uvGen, sc);
}

AColor EvalMapColor(const BrickEvalSource& src, UVGen* uvGen, ULONG gbufID, ShadeContext& sc) {
    NoteEvalColorCall(src.owner);
    if (!sc.doMaps) return AColor(0.f, 0.f, 0.f, 0.f);
    if (gbufID != 0) sc.SetGBufferID(static_cast<int>(gbufID));
    const TexCoords tc = Resolve<false>(SnapshotOf(src), uvGen, sc);
    return EvalBrickPoint(src, sc, tc.uvw, tc.duvw, tc.face, nullptr);
}

}  // namespace QuarelNS
