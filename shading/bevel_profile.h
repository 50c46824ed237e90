// The bevel: how a brick's relief rises from its joint to its face.
//
// Inside a brick the height ramps from the joint's height at the joint edge to the brick's own
// height at the bevel's inner edge, by a profile; beyond the band the face is flat, and the grout
// keeps the joint's height. The band's width is a fraction of the brick's smaller side, so a
// bevel looks the same at any counts; the distance comes from the pattern engine (jointDist, in
// tile units, measured only for settings with wantJointDist set), so the slope is the same at any
// render or bake resolution.
//
// Profiles, each rising from 0 at t = 0 (the joint edge) to 1 at t = 1 (the band's inner edge):
//   Linear  t                       a plain chamfer (a kink at both ends of the band)
//   Round   sqrt(1 - (1 - t)^2)     a quarter circle: steep at the joint, level at the face
//   Smooth  t^2 (3 - 2 t)           level at both ends
// Every function is pure, allocation-free and defined for any float: NaN or negative widths and
// distances count as 0, t is held to [0, 1].
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"

namespace QuarelNS {

enum class BevelProfile : std::int32_t { Linear = 0, Round = 1, Smooth = 2 };
constexpr std::int32_t kBevelProfileCount = 3;

// An id outside 0..2 is Linear.
BevelProfile BevelProfileFromId(std::int32_t id);

// The profile's value at t, and its slope d/dt (the Round profile's slope is finite everywhere
// but grows without bound towards t = 0; it is held to 1e4 there).
float BevelRamp(BevelProfile profile, float t);
float BevelRampSlope(BevelProfile profile, float t);

// The band's width in tile units for a cell: `widthFraction` of the face's smaller side
// (min(sizeU, sizeV)). 0 when either is not positive.
float BevelBandWidth(const BrickCell& cell, float widthFraction);

// How far up from the joint's height towards the brick's the point lies: 0 in the grout, the
// profile's value across the band, 1 beyond it. Without a band (widthFraction <= 0) every brick
// point gives 1, so heights are exactly those of a map without a bevel.
float BevelBlend(const BrickCell& cell, float widthFraction, BevelProfile profile);

// The one height of the relief: the joint's height hJoint, raised towards the brick's hBrick by
// the point's blend. In the grout and without a band it returns the height a plain evaluation
// gives at the point (hJoint there, hBrick on a brick), bit for bit.
float BevelledHeight(const BrickCell& cell, float widthFraction, BevelProfile profile, float hBrick,
                     float hJoint);

}  // namespace QuarelNS
