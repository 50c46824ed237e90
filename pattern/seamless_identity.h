// One brick, one identity across the unit tile's edges.
//
// The generators see u and v reduced to the unit tile, so a brick that the tile's edge cuts
// comes back as two (or, at a corner, four) parts with different indices: a running bond's
// brick is -1 at the left edge and nx - 1 at the right. Each part is a brick of its own for the
// per-brick values, and that stays the map's default. With seamless bricks on, the shading asks
// for the indices of the whole brick instead: the parts are given the indices of one of them,
// reduced by the pattern's index period along each axis where the pattern's shape repeats with
// the tile.
//
// Only the indices change. A cut brick's local coordinates already run on from one part into
// the other (every generator measures them from the brick's own edge, not from the tile's), so
// a nested texture continues across the edge once the per-brick rotation, fragment window and
// id, all derived from the indices, agree.
//
// Where the shape does not repeat with the tile (for example "1/2 Running" with an odd ny, whose
// offset rows then meet unshifted rows at the seam) the parts are different bricks and nothing
// is changed along that axis; TileRepeatOf tells callers so they can warn.
//
// Pure, constexpr tables, no state: call from any thread.
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"

namespace QuarelNS {

// How a pattern's shape and indices behave at the unit tile's edges.
struct SeamRule {
    // Index period of a brick along u (brickU) and v (brickV) in multiples of the count of that
    // axis: the parts of a cut brick differ by exactly this many. 0: no brick is cut along the
    // axis, or the generator already reduces its indices.
    std::uint8_t periodU = 0;
    std::uint8_t periodV = 0;
    // The shape repeats with the tile only when nx (ny) is even: rows, columns or checkerboard
    // cells alternate with a period of 2.
    bool evenNx = false;
    bool evenNy = false;
};

// The rule of a pattern id; ids outside 0..29 render and seam as "1/2 Running".
const SeamRule& SeamRuleOf(std::int32_t pattern);

// Whether the pattern's shape, as these settings draw it, repeats with the unit tile along u and
// along v. Counts are taken as the engine takes them (held to 1..kMaxPatternCount).
struct TileRepeat {
    bool u = true;
    bool v = true;
};
TileRepeat TileRepeatOf(const PatternSettings& settings);

// Rewrites cell.brickU / cell.brickV, as EvaluatePattern left them for `settings`, to the
// indices of the whole brick. Bricks the tile's edge does not cut keep their indices when the
// pattern has no random row shift; with a shift larger than a brick the row's indices are
// renumbered, one to one. Grout cells are treated alike (their indices name the nearest piece).
void ApplySeamlessIdentity(const PatternSettings& settings, BrickCell& cell);

}  // namespace QuarelNS
