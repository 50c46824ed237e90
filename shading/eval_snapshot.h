// EvalSnapshot: the clamped copies of every parameter that shading reads. The map's rebuild
// (QuarelMap::Update, main thread) fills it from the parameter blocks and then calls
// ClampSnapshot; every evaluator reads it without locks and never reads a parameter block.
//
// A default-constructed snapshot holds the main block's declared defaults and the relief
// block's defaults, so a map that was never updated still evaluates sensibly.
#pragma once

#include <cstdint>

#include "color.h"

namespace QuarelNS {

struct EvalSnapshot {
    std::int32_t pattern = 0;  // 0..29
    std::int32_t nx = 4;       // 1..256
    std::int32_t ny = 8;       // 1..256
    float gap_u = 0.05f;       // 0..0.9
    float gap_v = 0.05f;       // 0..0.9
    Color brick_color{0.7f, 0.35f, 0.25f};
    Color brick_color_2{0.25f, 0.2f, 0.18f};
    Color grout_color{0.15f, 0.15f, 0.15f};
    std::int32_t brick_map_on = 1;
    std::int32_t grout_map_on = 1;
    std::int32_t brick_map_2_on = 1;
    float color_variance = 0.f;
    float random_shift = 0.f;
    std::int32_t seed = 1234;
    std::int32_t random_second_color_on = 0;
    std::int32_t random_texture_rotation_step = 0;  // whole degrees, 0..360
    float hue_shift = 0.f;                          // turns, -1..1
    float brick_u_tiling = 1.f;
    float brick_v_tiling = 1.f;
    float brick_u_offset = 0.f;
    float brick_v_offset = 0.f;
    float brick_angle = 0.f;  // radians
    float master_u_tiling = 1.f;
    float master_v_tiling = 1.f;
    float master_u_offset = 0.f;
    float master_v_offset = 0.f;
    float master_angle = 0.f;          // radians
    std::int32_t projection_mode = 0;  // 0 "Simple", 1 "Accurate"
    std::int32_t random_fragment_on = 0;
    float fragment_size = 0.25f;  // 0.001..1
    Color bump_brick_color{1.f, 1.f, 1.f};
    Color bump_brick_color_2{1.f, 1.f, 1.f};
    Color bump_grout_color{0.f, 0.f, 0.f};
    float normal_depth = 1.f;
    float relief_tex_amount = 0.f;
};

namespace SnapshotDetail {
template <typename T>
constexpr void ClampTo(T& v, T lo, T hi) {
    if (v < lo) v = lo;
    if (v > hi) v = hi;
}
}  // namespace SnapshotDetail

// The clamps a rebuild applies after reading the blocks, in their fixed order. The relief
// depth and amount are clamped by the rebuild itself, and only when they come from the
// normal output map.
constexpr void ClampSnapshot(EvalSnapshot& s) {
    using SnapshotDetail::ClampTo;
    ClampTo(s.pattern, 0, 29);
    ClampTo(s.projection_mode, 0, 1);
    ClampTo(s.nx, 1, 256);
    ClampTo(s.ny, 1, 256);
    ClampTo(s.gap_u, 0.f, 0.9f);
    ClampTo(s.gap_v, 0.f, 0.9f);
    ClampTo(s.fragment_size, 0.001f, 1.f);
    ClampTo(s.random_texture_rotation_step, 0, 360);
    ClampTo(s.hue_shift, -1.f, 1.f);
}

}  // namespace QuarelNS
