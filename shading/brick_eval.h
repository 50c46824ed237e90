// The per-point core of the main map and the steps around it.
//
// BrickEvalSource is what the core reads of one QuarelMap: its snapshot and its three nested
// maps (reference slots 2, 3 and 4). QuarelMap hands one out per call; the relief outputs ask
// their parent for it. Everything here is const with respect to the map, allocation-free and
// lock-free, and runs on any number of render threads at once. Non-finite coordinates,
// derivatives or snapshot values give a defined colour, never undefined behaviour.
#pragma once

#include <cstdint>

#include "imtl.h"
#include "shading/box_projection.h"
#include "shading/eval_snapshot.h"
#include "shading/shade_overrides.h"

namespace QuarelNS {

struct BrickEvalSource {
    const EvalSnapshot* snapshot = nullptr;
    Texmap* brickMap = nullptr;   // slot 2 `tilesMap`
    Texmap* groutMap = nullptr;   // slot 3 `groutMap`
    Texmap* brickMap2 = nullptr;  // slot 4 `tilesMap2`
    const void* owner = nullptr;  // the map, for log lines
    // New at every rebuild of the snapshot, for the log's bookkeeping (shading/eval_log.h);
    // 0: none, the log compares the snapshot's values on every call.
    std::uint32_t logStamp = 0;
};

// The defaults, made while the module loads (Color has no constexpr constructor in the SDK).
inline const EvalSnapshot kDefaultEvalSnapshot{};

// The source's snapshot, or the defaults when it has none (a map that was never updated).
inline const EvalSnapshot& SnapshotOf(const BrickEvalSource& src) {
    return src.snapshot != nullptr ? *src.snapshot : kDefaultEvalSnapshot;
}

// Texture coordinates of a shading point as the map's evaluators choose them: the "Accurate"
// box projection when the snapshot asks for it and it applies, else the UV generator, else the
// context's channel 1. `face` is the box projection's face, or none. With
// wantBasis the surface derivative vectors dPdu, dPdv are filled as well (the projection and
// the context give DPdUVW of channel 1, the generator GetBumpDP).
struct TexCoords {
    Point3 uvw;
    Point3 duvw;
    BoxFace face;
    Point3 dPdu;
    Point3 dPdv;
};
TexCoords ResolveTexCoords(const EvalSnapshot& snap, UVGen* uvGen, ShadeContext& sc,
                           bool wantBasis);

// Master transform, pattern query, grout or brick, colours or nested maps through a
// BrickShadeContext, per-brick variation, on the box projection's `face` (a default BoxFace
// off the box). `overrides` null means the default record.
AColor EvalBrickPoint(const BrickEvalSource& src, ShadeContext& sc, const Point3& uvw,
                      const Point3& duvw, const BoxFace& face, const ShadeOverrides* overrides);

// QuarelMap::EvalColor: first-call log line, doMaps, G-buffer id, coordinates, core.
AColor EvalMapColor(const BrickEvalSource& src, UVGen* uvGen, ULONG gbufID, ShadeContext& sc);

// Shifts the hue of c by `shift` turns in place (HSV round trip, channels clamped to 0..1).
void ShiftHue(Color& c, float shift);

}  // namespace QuarelNS
