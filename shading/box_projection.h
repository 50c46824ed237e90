// The "Accurate" projection: bricks run around the four side faces of the object's box.
//
// What the shading core needs of it is the face a point lies on: how many bricks span that face
// (in place of nx) and which face it is (part of every per-brick hash, so that the same brick
// indices on two faces vary apart). Both live here; the core only hands the face on.
#pragma once

#include <cstdint>

#include "imtl.h"
#include "pattern/pattern_types.h"
#include "pattern/wear.h"
#include "shading/eval_snapshot.h"

namespace QuarelNS {

// The side face of a point; the default is no face (the plane: nx as set, element 0).
struct BoxFace {
    int count = -1;   // bricks across the face, 1..8192; below 1: nx
    int element = 0;  // 0..3 around the box
};

// The projection of one point: found only on a side face, with its coordinates and filter size.
struct BoxProjection {
    bool found = false;
    Point3 uvw;
    Point3 duvw;
    BoxFace face;
};

BoxProjection ComputeBoxProjection(const EvalSnapshot& snap, ShadeContext& sc);

// The pattern query of a point on `face`: the snapshot's settings, the face's brick count.
inline PatternSettings PatternSettingsOn(const EvalSnapshot& s, const BoxFace& face) {
    PatternSettings ps;
    ps.pattern = s.pattern;
    ps.nx = face.count > 0 ? face.count : s.nx;
    ps.ny = s.ny;
    ps.gap_u = s.gap_u;
    ps.gap_v = s.gap_v;
    ps.random_shift = s.random_shift;
    ps.seed = static_cast<std::uint32_t>(s.seed);
    ps.cornerRadius = s.corner_radius;
    return ps;
}

// The wear of a point on `face`: the snapshot's settings, the face as part of a brick's identity.
inline WearSettings WearSettingsOn(const EvalSnapshot& s, const BoxFace& face) {
    WearSettings w;
    w.missing = s.missing_bricks * 0.01f;
    w.edgeNoise = s.edge_noise;
    w.edgeNoiseScale = s.edge_noise_scale;
    w.seamless = s.seamless_bricks != 0;
    w.element = face.element;
    return w;
}

}  // namespace QuarelNS
