// Rounded brick corners: the face of a brick that fills its local frame (a rectangle, localU and
// localV spanning it edge to edge) loses a quarter disc's complement at each corner, so the joint
// widens there. The radius is a fraction of the face's smaller side (min(sizeU, sizeV)), held to
// 0..0.5: at 0.5 the shorter ends are half circles.
//
// Only patterns whose catalogue row says their faces fill their frames are rounded; the others
// (diagonal, triangular, hexagonal, curved and outline faces) keep their corners, since their
// frames say nothing of where an outline's corners lie.
#pragma once

#include "pattern/pattern_types.h"

namespace QuarelNS {

// A brick point outside the rounded outline becomes grout of the same brick (ids and frame kept,
// jointDist the distance to the rounded face); one inside a corner's quarter disc gets its
// distance to the arc. With `measure` off jointDist is left alone. Grout points are left alone:
// their distance stays the one to the unrounded face. A radius that is not positive (or NaN)
// changes nothing.
void RoundFrameCorners(float radiusFraction, bool measure, BrickCell& cell);

}  // namespace QuarelNS
