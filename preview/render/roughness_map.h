// The bake's roughness map: one roughness for the joint, and for each brick the bricks'
// roughness moved by up to +-variance by a value hashed from the brick's identity (the one the
// id map shows: its indices and brick set, see brick_ids.h) and the map's seed, so each brick
// has its own and a new seed gives new ones. Like the id map, each pixel is one sample at its
// centre, so no pixel mixes two bricks. 16-bit grey, linear, 0 smooth to 1 rough.
#pragma once

#include <cstdint>

#include "preview/common/image.h"
#include "preview/render/brick_ids.h"

namespace QuarelPreview {

struct RoughnessSettings {
    double brick = 0.8;      // fired clay: rough
    double joint = 0.95;     // mortar: rougher still
    double variance = 0.08;  // each brick's roughness differs by up to this much either way
    std::uint32_t seed = 0;  // the map's seed
};

// The roughness of one cell, clamped to [0, 1].
double RoughnessOf(const RoughnessSettings& r, const QuarelNS::BrickCell& cell);

// The tile, `width` x `height` pixels over [0, 1) x [0, 1) as the id map.
Image RenderRoughness(const BrickIdSettings& ids, const RoughnessSettings& r, int width, int height,
                      int threads);

}  // namespace QuarelPreview
