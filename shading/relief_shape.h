// The shape of a brick's relief: how high each point of a brick stands between the joint's
// height and the brick's own.
//
// The per-point core asks this only for records that read heights (ShadeOverrides::reliefShape):
// it blends the brick's relief colour towards the joint's colour at the same point by the rise,
// so every relief output, the map's own bump and every tool that bakes a height take one height
// from one place. A rise of 1 leaves the brick's colour as it is, bit for bit, so a snapshot
// without any shape gives exactly the plain step from joint to brick.
//
// Everything a brick's shape depends on is gathered once per brick query into BrickReliefShape
// from the snapshot and the brick's hash key; ReliefRise then reads only that record and the
// cell. A new kind of shape is a field of the record, filled in ReliefShapeOf and applied in
// ReliefRise (and named in HasReliefShape, and in NeedsJointDistance when it reads jointDist).
#pragma once

#include <cstdint>

#include "params/snapshots.h"
#include "pattern/pattern_types.h"
#include "shading/bevel_profile.h"

namespace QuarelNS {

struct BrickReliefShape {
    float bevelWidth = 0.f;  // fraction of the brick's smaller side, 0..0.5
    BevelProfile profile = BevelProfile::Linear;
};

// Whether the snapshot shapes the relief at all; false at the defaults.
bool HasReliefShape(const EvalSnapshot& s);

// Whether the shape reads BrickCell::jointDist, so the pattern query must measure it.
bool NeedsJointDistance(const EvalSnapshot& s);

// The shape of the brick whose hash key is `key` (shading/brick_hash.h's CellKey).
BrickReliefShape ReliefShapeOf(const EvalSnapshot& s, std::uint32_t key);

// How high the point stands: 0 at the joint's height, 1 at the brick's own. Grout points are 0;
// NaN anywhere counts as no shape (1 on a brick).
float ReliefRise(const BrickReliefShape& shape, const BrickCell& cell);

}  // namespace QuarelNS
