// Block 0 of QuarelMap, "params": every user-visible setting of the main map. The rows are in
// declaration order (the order the host lists them), which is not id order; ids 0 to 36 are all
// in use and are stored in scene files.
#pragma once

#include "params/param_decl.h"
#include "params/snapshots.h"
#include "resources/resource_ids.h"

namespace QuarelNS {

namespace MainParam {
enum : ParamID {
    pattern = 0,
    nx = 1,
    ny = 2,
    gap_u = 3,
    gap_v = 4,
    brick_color = 5,
    grout_color = 6,
    brick_map = 7,
    grout_map = 8,
    brick_map_on = 9,
    grout_map_on = 10,
    color_variance = 11,
    random_shift = 12,
    seed = 13,
    brick_u_tiling = 14,
    brick_v_tiling = 15,
    brick_u_offset = 16,
    brick_v_offset = 17,
    brick_angle = 18,
    master_u_tiling = 19,
    master_v_tiling = 20,
    master_u_offset = 21,
    master_v_offset = 22,
    master_angle = 23,
    projection_mode = 24,
    random_fragment_on = 25,
    fragment_size = 26,
    brick_color_2 = 27,
    brick_map_2 = 28,
    brick_map_2_on = 29,
    random_second_color_on = 30,
    random_texture_rotation_step = 31,
    hue_shift = 32,
    seamless_bricks = 33,
    bevel_width = 34,
    bevel_profile = 35,
    corner_radius = 36,
};
}  // namespace MainParam

// Rollouts of the block: map 0 "Quarel Parameters v2.1", map 1 "Diffuse Colors & Maps".
constexpr MapID kMainParamsMap = 0;
constexpr MapID kDiffuseMap = 1;

// Items of the pattern combo box: the catalogue's names in pattern-id order.
std::span<const StringResID> PatternComboItems();
// Items of the projection-mode combo box: "Simple" = 0, "Accurate" = 1.
std::span<const StringResID> ProjectionModeComboItems();
// Items of the bevel-profile combo box: "Linear" = 0, "Round" = 1, "Smooth" = 2.
std::span<const StringResID> BevelProfileComboItems();

inline constexpr ParamDecl kMainParams[] = {
    Int(MainParam::pattern, L"pattern", kNotAnimatable, QuarelRes::IDS_PATTERN, 0, 0, 29)
        .Combo(kMainParamsMap, QuarelRes::IDC_PATTERN, PatternComboItems)
        .Into<&EvalSnapshot::pattern>()
        .Clamped(),
    Int(MainParam::projection_mode, L"projection_mode", kNotAnimatable,
        QuarelRes::IDS_PROJECTION_MODE, 0, 0, 1)
        .Combo(kMainParamsMap, QuarelRes::IDC_PROJECTION_MODE, ProjectionModeComboItems)
        .Into<&EvalSnapshot::projection_mode>()
        .Clamped(),
    Int(MainParam::nx, L"nx", kAnimatable, QuarelRes::IDS_NX, 4, 1, 256)
        .Spinner(kMainParamsMap, QuarelRes::IDC_NX_EDIT, QuarelRes::IDC_NX_SPIN, 1.f)
        .Into<&EvalSnapshot::nx>()
        .Clamped(),
    Int(MainParam::ny, L"ny", kAnimatable, QuarelRes::IDS_NY, 8, 1, 256)
        .Spinner(kMainParamsMap, QuarelRes::IDC_NY_EDIT, QuarelRes::IDC_NY_SPIN, 1.f)
        .Into<&EvalSnapshot::ny>()
        .Clamped(),
    // The grout widths have no bound control: the rollout procedure shows them in tenths.
    Float(MainParam::gap_u, L"gap_u", kAnimatable, QuarelRes::IDS_GAP_U, 0.05f, 0.f, 0.9f)
        .Into<&EvalSnapshot::gap_u>()
        .Clamped(),
    Float(MainParam::gap_v, L"gap_v", kAnimatable, QuarelRes::IDS_GAP_V, 0.05f, 0.f, 0.9f)
        .Into<&EvalSnapshot::gap_v>()
        .Clamped(),
    Rgba(MainParam::brick_color, L"brick_color", kAnimatable, QuarelRes::IDS_BRICK_COLOR,
         Color(0.7f, 0.35f, 0.25f))
        .Swatch(kDiffuseMap, QuarelRes::IDC_BRICK_COLOR)
        .Into<&EvalSnapshot::brick_color>(),
    Rgba(MainParam::brick_color_2, L"brick_color_2", kAnimatable, QuarelRes::IDS_BRICK_COLOR_2,
         Color(0.25f, 0.2f, 0.18f))
        .Swatch(kDiffuseMap, QuarelRes::IDC_BRICK_COLOR_2)
        .Into<&EvalSnapshot::brick_color_2>(),
    Rgba(MainParam::grout_color, L"grout_color", kAnimatable, QuarelRes::IDS_GROUT_COLOR,
         Color(0.15f, 0.15f, 0.15f))
        .Swatch(kDiffuseMap, QuarelRes::IDC_GROUT_COLOR)
        .Into<&EvalSnapshot::grout_color>(),
    SubTexmap(MainParam::brick_map, L"brick_map", QuarelRes::IDS_BRICK_MAP, 0)
        .MapButton(kDiffuseMap, QuarelRes::IDC_BRICK_MAP),
    SubTexmap(MainParam::brick_map_2, L"brick_map_2", QuarelRes::IDS_BRICK_MAP_2, 2)
        .MapButton(kDiffuseMap, QuarelRes::IDC_BRICK_MAP_2),
    SubTexmap(MainParam::grout_map, L"grout_map", QuarelRes::IDS_GROUT_MAP, 1)
        .MapButton(kDiffuseMap, QuarelRes::IDC_GROUT_MAP),
    Bool(MainParam::brick_map_on, L"brick_map_on", QuarelRes::IDS_BRICK_MAP_ON, true)
        .Check(kDiffuseMap, QuarelRes::IDC_BRICK_MAP_ON)
        .Into<&EvalSnapshot::brick_map_on>(),
    Bool(MainParam::brick_map_2_on, L"brick_map_2_on", QuarelRes::IDS_BRICK_MAP_2_ON, true)
        .Check(kDiffuseMap, QuarelRes::IDC_BRICK_MAP_2_ON)
        .Into<&EvalSnapshot::brick_map_2_on>(),
    Bool(MainParam::grout_map_on, L"grout_map_on", QuarelRes::IDS_GROUT_MAP_ON, true)
        .Check(kDiffuseMap, QuarelRes::IDC_GROUT_MAP_ON)
        .Into<&EvalSnapshot::grout_map_on>(),
    Float(MainParam::color_variance, L"color_variance", kAnimatable, QuarelRes::IDS_COLOR_VARIANCE,
          0.f, 0.f, 1.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_COLOR_VARIANCE_EDIT,
                 QuarelRes::IDC_COLOR_VARIANCE_SPIN, 0.01f)
        .Into<&EvalSnapshot::color_variance>(),
    Float(MainParam::random_shift, L"random_shift", kAnimatable, QuarelRes::IDS_RANDOM_SHIFT, 0.f,
          0.f, 0.5f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_RANDOM_SHIFT_EDIT, QuarelRes::IDC_RANDOM_SHIFT_SPIN,
                 0.01f)
        .Into<&EvalSnapshot::random_shift>(),
    Int(MainParam::seed, L"seed", kNotAnimatable, QuarelRes::IDS_SEED, 1234, 0, 100000)
        .Spinner(kMainParamsMap, QuarelRes::IDC_SEED_EDIT, QuarelRes::IDC_SEED_SPIN, 1.f)
        .Into<&EvalSnapshot::seed>(),
    Bool(MainParam::random_second_color_on, L"random_second_color_on",
         QuarelRes::IDS_RANDOM_SECOND_COLOR, false)
        .Check(kMainParamsMap, QuarelRes::IDC_RANDOM_SECOND_COLOR)
        .Into<&EvalSnapshot::random_second_color_on>(),
    Int(MainParam::random_texture_rotation_step, L"random_texture_rotation_step", kAnimatable,
        QuarelRes::IDS_ROTATION_STEP, 0, 0, 360)
        .Spinner(kMainParamsMap, QuarelRes::IDC_ROTATION_STEP_EDIT,
                 QuarelRes::IDC_ROTATION_STEP_SPIN, 1.f)
        .Into<&EvalSnapshot::random_texture_rotation_step>()
        .Clamped(),
    Float(MainParam::hue_shift, L"hue_shift", kAnimatable, QuarelRes::IDS_HUE_SHIFT, 0.f, -1.f, 1.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_HUE_SHIFT_EDIT, QuarelRes::IDC_HUE_SHIFT_SPIN,
                 0.01f)
        .Into<&EvalSnapshot::hue_shift>()
        .Clamped(),
    Bool(MainParam::random_fragment_on, L"random_fragment_on", QuarelRes::IDS_RANDOM_FRAGMENT,
         false)
        .Check(kMainParamsMap, QuarelRes::IDC_RANDOM_FRAGMENT)
        .Into<&EvalSnapshot::random_fragment_on>(),
    Float(MainParam::fragment_size, L"fragment_size", kAnimatable, QuarelRes::IDS_FRAGMENT_SIZE,
          0.25f, 0.001f, 1.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_FRAGMENT_SIZE_EDIT,
                 QuarelRes::IDC_FRAGMENT_SIZE_SPIN, 0.01f)
        .Into<&EvalSnapshot::fragment_size>()
        .Clamped(),
    Float(MainParam::brick_u_tiling, L"brick_u_tiling", kAnimatable, QuarelRes::IDS_BRICK_U_TILING,
          1.f, -100.f, 100.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BRICK_U_TILING_EDIT,
                 QuarelRes::IDC_BRICK_U_TILING_SPIN, 0.1f)
        .Into<&EvalSnapshot::brick_u_tiling>(),
    Float(MainParam::brick_v_tiling, L"brick_v_tiling", kAnimatable, QuarelRes::IDS_BRICK_V_TILING,
          1.f, -100.f, 100.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BRICK_V_TILING_EDIT,
                 QuarelRes::IDC_BRICK_V_TILING_SPIN, 0.1f)
        .Into<&EvalSnapshot::brick_v_tiling>(),
    Float(MainParam::brick_u_offset, L"brick_u_offset", kAnimatable, QuarelRes::IDS_BRICK_U_OFFSET,
          0.f, -10.f, 10.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BRICK_U_OFFSET_EDIT,
                 QuarelRes::IDC_BRICK_U_OFFSET_SPIN, 0.01f)
        .Into<&EvalSnapshot::brick_u_offset>(),
    Float(MainParam::brick_v_offset, L"brick_v_offset", kAnimatable, QuarelRes::IDS_BRICK_V_OFFSET,
          0.f, -10.f, 10.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BRICK_V_OFFSET_EDIT,
                 QuarelRes::IDC_BRICK_V_OFFSET_SPIN, 0.01f)
        .Into<&EvalSnapshot::brick_v_offset>(),
    Angle(MainParam::brick_angle, L"brick_angle", kAnimatable, QuarelRes::IDS_BRICK_ANGLE, 0.f,
          -3600.f, 3600.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BRICK_ANGLE_EDIT, QuarelRes::IDC_BRICK_ANGLE_SPIN,
                 1.f)
        .Into<&EvalSnapshot::brick_angle>(),
    Float(MainParam::master_u_tiling, L"master_u_tiling", kAnimatable,
          QuarelRes::IDS_MASTER_U_TILING, 1.f, -1000.f, 1000.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_MASTER_U_TILING_EDIT,
                 QuarelRes::IDC_MASTER_U_TILING_SPIN, 0.01f)
        .Into<&EvalSnapshot::master_u_tiling>(),
    Float(MainParam::master_v_tiling, L"master_v_tiling", kAnimatable,
          QuarelRes::IDS_MASTER_V_TILING, 1.f, -1000.f, 1000.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_MASTER_V_TILING_EDIT,
                 QuarelRes::IDC_MASTER_V_TILING_SPIN, 0.01f)
        .Into<&EvalSnapshot::master_v_tiling>(),
    Float(MainParam::master_u_offset, L"master_u_offset", kAnimatable,
          QuarelRes::IDS_MASTER_U_OFFSET, 0.f, -100.f, 100.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_MASTER_U_OFFSET_EDIT,
                 QuarelRes::IDC_MASTER_U_OFFSET_SPIN, 0.01f)
        .Into<&EvalSnapshot::master_u_offset>(),
    Float(MainParam::master_v_offset, L"master_v_offset", kAnimatable,
          QuarelRes::IDS_MASTER_V_OFFSET, 0.f, -100.f, 100.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_MASTER_V_OFFSET_EDIT,
                 QuarelRes::IDC_MASTER_V_OFFSET_SPIN, 0.01f)
        .Into<&EvalSnapshot::master_v_offset>(),
    Angle(MainParam::master_angle, L"master_angle", kAnimatable, QuarelRes::IDS_MASTER_ANGLE, 0.f,
          -3600.f, 3600.f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_MASTER_ANGLE_EDIT, QuarelRes::IDC_MASTER_ANGLE_SPIN,
                 1.f)
        .Into<&EvalSnapshot::master_angle>(),
    // Off in scenes saved before it existed: their cut bricks keep one identity per part.
    Bool(MainParam::seamless_bricks, L"seamless_bricks", QuarelRes::IDS_SEAMLESS_BRICKS, false)
        .Check(kMainParamsMap, QuarelRes::IDC_SEAMLESS_BRICKS)
        .Into<&EvalSnapshot::seamless_bricks>(),
    // The relief's shape. Both widths are fractions of a brick's smaller side, so a brick looks
    // the same at any counts; 0 (the default, and every scene saved before them) is the plain
    // step from joint to brick.
    Float(MainParam::bevel_width, L"bevel_width", kAnimatable, QuarelRes::IDS_BEVEL_WIDTH, 0.f, 0.f,
          0.5f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_BEVEL_WIDTH_EDIT, QuarelRes::IDC_BEVEL_WIDTH_SPIN,
                 0.01f)
        .Into<&EvalSnapshot::bevel_width>()
        .Clamped(),
    Int(MainParam::bevel_profile, L"bevel_profile", kNotAnimatable, QuarelRes::IDS_BEVEL_PROFILE, 0,
        0, 2)
        .Combo(kMainParamsMap, QuarelRes::IDC_BEVEL_PROFILE, BevelProfileComboItems)
        .Into<&EvalSnapshot::bevel_profile>()
        .Clamped(),
    Float(MainParam::corner_radius, L"corner_radius", kAnimatable, QuarelRes::IDS_CORNER_RADIUS,
          0.f, 0.f, 0.5f)
        .Spinner(kMainParamsMap, QuarelRes::IDC_CORNER_RADIUS_EDIT,
                 QuarelRes::IDC_CORNER_RADIUS_SPIN, 0.01f)
        .Into<&EvalSnapshot::corner_radius>()
        .Clamped(),
};

inline constexpr RolloutDecl kMainRollouts[] = {
    {kMainParamsMap, QuarelRes::IDD_QUAREL_PARAMS, QuarelRes::IDS_PARAMS_TITLE},
    {kDiffuseMap, QuarelRes::IDD_QUAREL_DIFFUSE, QuarelRes::IDS_DIFFUSE_TITLE},
};

// Auto-constructed into reference 0 (`pblock`) of the map.
inline constexpr BlockDecl kMainBlock = {
    0,          L"params", P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP | P_VERSION,
    2,          0,         kMainRollouts,
    kMainParams};

}  // namespace QuarelNS
