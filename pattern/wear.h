// Wear of a laid pattern: bricks left out, and joints that wander.
//
// Missing bricks: a share of the bricks, chosen by a hash of the seed and the brick's identity
// (indices, brick set and the caller's element, such as the box projection's face), is left out;
// the point then reads as joint, so every output that asks this function shows the same holes.
// With `seamless` the identity is the whole brick's (ApplySeamlessIdentity), so a brick the
// tile's edge cuts is kept or left out as one.
//
// Edge noise: the query point is displaced by a smooth periodic noise field d before the pattern
// is asked, so every joint line follows the field. d is value noise on an N x N lattice over the
// unit tile (N a whole number, so d repeats with the tile and the pattern keeps no seam), with
// N = round(max(nx, ny) / edgeNoiseScale): a noise cell is edgeNoiseScale bricks of the finer
// count. Its amplitude is scaled with the cell so that the largest slope of d, the spectral norm
// of its Jacobian, is at most kEdgeNoiseMaxSlope * edgeNoise < 1. The displaced plane is then a
// one-to-one, smooth deformation: no brick is torn or merged, and two points on different bricks
// lie at least w / (1 + kEdgeNoiseMaxSlope * edgeNoise) apart where the plain pattern keeps them
// w apart. A joint never closes; at full noise it keeps at least 4/7 of its width.
//
// Pure, allocation-free, no state: call from any thread. Zero settings leave every record
// exactly as EvaluatePattern gives it.
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"

namespace QuarelNS {

// The largest slope of the joint displacement at edgeNoise 1.
inline constexpr float kEdgeNoiseMaxSlope = 0.75f;

struct WearSettings {
    float missing = 0.f;         // share of bricks left out, 0..1
    float edgeNoise = 0.f;       // 0..1: the displacement's largest slope over kEdgeNoiseMaxSlope
    float edgeNoiseScale = 1.f;  // a noise cell, in bricks of the finer count; held to 0.01..100
    bool seamless = false;       // choose by the whole brick's identity
    std::int32_t element = 0;    // part of the identity (the box projection's face)
};

// Whether any of the wear changes anything.
inline bool HasWear(const WearSettings& w) {
    return w.missing > 0.f || w.edgeNoise > 0.f;
}

// The displacement of the query point (u, v) of the unit tile; (0, 0) without edge noise.
struct JointWarp {
    float du = 0.f, dv = 0.f;
};
JointWarp EdgeNoiseWarp(const PatternSettings& settings, const WearSettings& wear, float u,
                        float v);

// Whether the brick with this identity (as the caller's seamless rule left it) is left out.
bool BrickMissing(const PatternSettings& settings, const WearSettings& wear, const BrickCell& cell);

// The cell at (u, v) with the wear applied: the pattern at the displaced point, the whole brick's
// identity on a brick when `seamless`, and a missing brick marked as grout (its indices, frame and
// joint distance stay those of the brick, so a caller can still tell which brick it was).
void EvaluateWornPattern(const PatternSettings& settings, const WearSettings& wear, float u,
                         float v, BrickCell& cell);

}  // namespace QuarelNS
