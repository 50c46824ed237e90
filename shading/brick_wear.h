// The relief wear of one brick: how far its top sinks and which way it tilts.
//
// Each brick draws, from the seed and its identity (the CellKey every per-brick value uses), a
// sink s in [0, height_variance] and a tilt t in [0, tilt_variance] in a direction theta. Its
// top, as a share of its relief above the joint, is
//     (1 - s) * (1 - t * d),
// where d runs linearly across the face from 0 at its highest corner to 1 at its lowest, along
// theta in the face's own frame (the brick's local coordinates times its extents). The share
// lies in [0, 1]: no brick rises above today's top and none sinks below its joint, whatever the
// two settings; with both at 0 it is exactly 1. Its slope is constant over the face: the top
// drops by t (1 - s) of the relief across the face's extent along theta.
//
// Pure, allocation-free, no trigonometry.
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"
#include "shading/eval_snapshot.h"

namespace QuarelNS {

// One brick's draw.
struct BrickTop {
    float keep = 1.f;  // 1 - sink
    float tilt = 0.f;  // the drop across the face, a share of what the sink leaves
    float dirU = 1.f;  // theta's direction in the face's frame (cos, sin)
    float dirV = 0.f;

    // The top's share of the relief at a point of the face; `keep` itself when it does not tilt.
    float ShareAt(const BrickCell& cell) const;
};

// Whether the snapshot sinks or tilts any brick.
inline bool HasReliefWear(const EvalSnapshot& s) {
    return s.height_variance > 0.f || s.tilt_variance > 0.f;
}

// The draw of the brick whose hash key is `key` (shading/brick_hash.h's CellKey).
BrickTop DrawBrickTop(const EvalSnapshot& s, std::uint32_t key);

}  // namespace QuarelNS
