// The evaluation snapshots: plain copies of the parameters that evaluation reads, one struct per
// reader. Each field is filled by the table row that names it (`.Into<&Struct::field>()` in
// main_params.h and relief_params.h) and starts at that row's default, so an object that was
// never updated still evaluates as a new one would. A test holds the defaults to the tables.
#pragma once

#include <cstdint>

#include "color.h"

namespace QuarelNS {

// The main map's: block 0 "params" and the colours of block 1 "bumpparams". The map's rebuild
// (QuarelMap::Update, main thread) fills it and applies the rows' clamps; every evaluator reads
// it without locks and never reads a parameter block.
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
    float fragment_size = 0.25f;       // 0.001..1
    std::int32_t seamless_bricks = 0;  // 1: a brick the tile's edges cut is one brick
    float bevel_width = 0.f;           // 0..0.5 of a brick's smaller side
    std::int32_t bevel_profile = 0;    // 0 "Linear", 1 "Round", 2 "Smooth"
    float corner_radius = 0.f;         // 0..0.5 of a brick's smaller side
    Color bump_brick_color{1.f, 1.f, 1.f};
    Color bump_brick_color_2{1.f, 1.f, 1.f};
    Color bump_grout_color{0.f, 0.f, 0.f};
    // The texture relief of the map's own perturbation. No row of its own: the rebuild takes
    // it from the normal output's values when the map has that output, else from the legacy
    // values of block 1 (both below).
    float relief_tex_amount = 0.f;
};

// The normal output's block 100 "normalparams", clamped: the depth from below at 0.0001, the
// relief to 0..1. The main map's rebuild reads the same values for its texture relief.
struct NormalOutputValues {
    float normal_depth = 5.f;
    float relief_tex_amount = 0.f;
};
// What a normal output without its block evaluates with.
inline constexpr NormalOutputValues kNormalOutputWithoutBlock{1.f, 0.f};

// The depth and relief that block 1 of the main map keeps for scenes without a normal output;
// taken as stored, without clamps.
struct LegacyReliefValues {
    float normal_depth = 1.f;
    float relief_tex_amount = 0.f;
};

// The bump output's block 101 "bumpparams" (its bump texture is a reference, not a value).
struct BumpOutputValues {
    Color brick_color{1.f, 1.f, 1.f};
    Color brick_color_2{1.f, 1.f, 1.f};
    Color grout_color{0.f, 0.f, 0.f};
    std::int32_t bump_map_on = 1;
    float depth = 5.f;
    float tex_relief = 1.f;
};

}  // namespace QuarelNS
