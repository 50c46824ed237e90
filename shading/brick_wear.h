// The relief wear of one brick: how far its top sinks and which way it tilts.
//
// Each brick draws, from the seed and its identity (the CellKey every per-brick value uses), a
// sink s in [0, height_variance] and a tilt t in [0, tilt_variance] in a direction theta. Its
// top, as a share of its relief above the joint, is
//     (1 - s) * (1 - t * d),
// where d runs linearly across the face from 0 at its highest corner to 1 at its lowest, along
// theta in the face's own frame (the brick's local coordinates times its extents). The share
// lies in [0, 1]: no brick rises above today's top and none sinks below its joint, whatever the
// two settings; with both at 0 it is exactly 1. Its slope is constant over the face and at most
// t / (extent of the face along theta) of the relief per tile unit.
//
// Pure, allocation-free; trigonometry only for a brick that tilts.
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"
#include "shading/eval_snapshot.h"

namespace QuarelNS {

// A brick's draw: its top's share at the face's centre and the share's slope along the face's
// local axes (per unit of localU and of localV).
struct BrickTop {
    float centre = 1.f;
    float slopeU = 0.f, slopeV = 0.f;
    // The share at a point of the face.
    float At(const BrickCell& cell) const {
        return centre + slopeU * (cell.localU - 0.5f) + slopeV * (cell.localV - 0.5f);
    }
};

// Whether the snapshot sinks or tilts any brick.
inline bool HasReliefWear(const EvalSnapshot& s) {
    return s.height_variance > 0.f || s.tilt_variance > 0.f;
}

// The draw of the brick `cell` names (with the key the shading derived for it).
BrickTop DrawBrickTop(const EvalSnapshot& s, std::uint32_t key, const BrickCell& cell);

}  // namespace QuarelNS
