// The module's resource symbols: dialog templates, controls and the fixed strings, each named
// once. Rollouts, parameter blocks, the stand-in tables and the generated Windows resource
// script all expand these lists, so an id or a text exists in exactly one place. Ids are stored
// in scene files and rollouts and never change. Pattern and category names are not listed here:
// they come from the pattern catalogue.
//
// Usage: define QR_DIALOG(name, id), QR_CONTROL(name, id) or QR_STRING(name, id, text) and expand
// the matching list.
#pragma once

#define QUAREL_DIALOGS(QR_DIALOG)          \
    QR_DIALOG(IDD_QUAREL_PARAMS, 100)      \
    QR_DIALOG(IDD_QUAREL_DIFFUSE, 101)     \
    QR_DIALOG(IDD_QUAREL_BUMP_COLORS, 102) \
    QR_DIALOG(IDD_QUAREL_NORMAL_BTN, 103)  \
    QR_DIALOG(IDD_QUAREL_CARRIER, 104)     \
    QR_DIALOG(IDD_QUAREL_NORMAL, 105)      \
    QR_DIALOG(IDD_QUAREL_BUMP_BTN, 106)    \
    QR_DIALOG(IDD_QUAREL_BUMPPROC, 107)

#define QUAREL_CONTROLS(QR_CONTROL)            \
    QR_CONTROL(IDC_PATTERN, 1001)              \
    QR_CONTROL(IDC_NX_EDIT, 1002)              \
    QR_CONTROL(IDC_NX_SPIN, 1003)              \
    QR_CONTROL(IDC_NY_EDIT, 1004)              \
    QR_CONTROL(IDC_NY_SPIN, 1005)              \
    QR_CONTROL(IDC_GAP_U_EDIT, 1006)           \
    QR_CONTROL(IDC_GAP_U_SPIN, 1007)           \
    QR_CONTROL(IDC_GAP_V_EDIT, 1008)           \
    QR_CONTROL(IDC_GAP_V_SPIN, 1009)           \
    QR_CONTROL(IDC_BRICK_MAP, 1010)            \
    QR_CONTROL(IDC_GROUT_MAP, 1011)            \
    QR_CONTROL(IDC_BRICK_COLOR, 1012)          \
    QR_CONTROL(IDC_GROUT_COLOR, 1013)          \
    QR_CONTROL(IDC_COLOR_VARIANCE_EDIT, 1014)  \
    QR_CONTROL(IDC_COLOR_VARIANCE_SPIN, 1015)  \
    QR_CONTROL(IDC_RANDOM_SHIFT_EDIT, 1016)    \
    QR_CONTROL(IDC_RANDOM_SHIFT_SPIN, 1017)    \
    QR_CONTROL(IDC_SEED_EDIT, 1018)            \
    QR_CONTROL(IDC_SEED_SPIN, 1019)            \
    QR_CONTROL(IDC_BRICK_U_TILING_EDIT, 1020)  \
    QR_CONTROL(IDC_BRICK_U_TILING_SPIN, 1021)  \
    QR_CONTROL(IDC_BRICK_V_TILING_EDIT, 1022)  \
    QR_CONTROL(IDC_BRICK_V_TILING_SPIN, 1023)  \
    QR_CONTROL(IDC_BRICK_U_OFFSET_EDIT, 1024)  \
    QR_CONTROL(IDC_BRICK_U_OFFSET_SPIN, 1025)  \
    QR_CONTROL(IDC_BRICK_V_OFFSET_EDIT, 1026)  \
    QR_CONTROL(IDC_BRICK_V_OFFSET_SPIN, 1027)  \
    QR_CONTROL(IDC_BRICK_ANGLE_EDIT, 1028)     \
    QR_CONTROL(IDC_BRICK_ANGLE_SPIN, 1029)     \
    QR_CONTROL(IDC_MASTER_U_TILING_EDIT, 1040) \
    QR_CONTROL(IDC_MASTER_U_TILING_SPIN, 1041) \
    QR_CONTROL(IDC_MASTER_V_TILING_EDIT, 1042) \
    QR_CONTROL(IDC_MASTER_V_TILING_SPIN, 1043) \
    QR_CONTROL(IDC_MASTER_U_OFFSET_EDIT, 1044) \
    QR_CONTROL(IDC_MASTER_U_OFFSET_SPIN, 1045) \
    QR_CONTROL(IDC_MASTER_V_OFFSET_EDIT, 1046) \
    QR_CONTROL(IDC_MASTER_V_OFFSET_SPIN, 1047) \
    QR_CONTROL(IDC_MASTER_ANGLE_EDIT, 1048)    \
    QR_CONTROL(IDC_MASTER_ANGLE_SPIN, 1049)    \
    QR_CONTROL(IDC_PROJECTION_MODE, 1050)      \
    QR_CONTROL(IDC_RANDOM_FRAGMENT, 1051)      \
    QR_CONTROL(IDC_FRAGMENT_SIZE_EDIT, 1052)   \
    QR_CONTROL(IDC_FRAGMENT_SIZE_SPIN, 1053)   \
    QR_CONTROL(IDC_BRICK_MAP_ON, 1054)         \
    QR_CONTROL(IDC_GROUT_MAP_ON, 1055)         \
    QR_CONTROL(IDC_BRICK_COLOR_2, 1056)        \
    QR_CONTROL(IDC_BRICK_MAP_2, 1057)          \
    QR_CONTROL(IDC_BRICK_MAP_2_ON, 1058)       \
    QR_CONTROL(IDC_RANDOM_SECOND_COLOR, 1059)  \
    QR_CONTROL(IDC_ROTATION_STEP_EDIT, 1060)   \
    QR_CONTROL(IDC_ROTATION_STEP_SPIN, 1061)   \
    QR_CONTROL(IDC_HUE_SHIFT_EDIT, 1062)       \
    QR_CONTROL(IDC_HUE_SHIFT_SPIN, 1063)       \
    QR_CONTROL(IDC_SEAMLESS_BRICKS, 1064)      \
    QR_CONTROL(IDC_BEVEL_WIDTH_EDIT, 1065)     \
    QR_CONTROL(IDC_BEVEL_WIDTH_SPIN, 1066)     \
    QR_CONTROL(IDC_BEVEL_PROFILE, 1067)        \
    QR_CONTROL(IDC_CORNER_RADIUS_EDIT, 1068)   \
    QR_CONTROL(IDC_CORNER_RADIUS_SPIN, 1069)   \
    QR_CONTROL(IDC_BUMP_BRICK_COLOR, 1070)     \
    QR_CONTROL(IDC_BUMP_BRICK_COLOR_2, 1071)   \
    QR_CONTROL(IDC_BUMP_GROUT_COLOR, 1072)     \
    QR_CONTROL(IDC_NORMAL_OUT_BTN, 1073)       \
    QR_CONTROL(IDC_NORMAL_INNER, 1080)         \
    QR_CONTROL(IDC_NORMAL_DEPTH_EDIT, 1081)    \
    QR_CONTROL(IDC_NORMAL_DEPTH_SPIN, 1082)    \
    QR_CONTROL(IDC_RELIEF_AMOUNT_EDIT, 1083)   \
    QR_CONTROL(IDC_RELIEF_AMOUNT_SPIN, 1084)   \
    QR_CONTROL(IDC_BUMP_OUT_BTN, 1085)         \
    QR_CONTROL(IDC_BP_BRICK_COLOR, 1086)       \
    QR_CONTROL(IDC_BP_BRICK_COLOR_2, 1087)     \
    QR_CONTROL(IDC_BP_GROUT_COLOR, 1088)       \
    QR_CONTROL(IDC_BP_BUMP_MAP, 1089)          \
    QR_CONTROL(IDC_BP_BUMP_MAP_ON, 1090)       \
    QR_CONTROL(IDC_BP_DEPTH_EDIT, 1091)        \
    QR_CONTROL(IDC_BP_DEPTH_SPIN, 1092)        \
    QR_CONTROL(IDC_BP_TEX_RELIEF_EDIT, 1093)   \
    QR_CONTROL(IDC_BP_TEX_RELIEF_SPIN, 1094)

// Rollout titles, combo items and parameter display names. The dash in two titles is U+2014.
#define QUAREL_STRINGS(QR_STRING)                                               \
    QR_STRING(IDS_PARAMS_TITLE, 5, L"Quarel Parameters v2.1")                   \
    QR_STRING(IDS_PATTERN, 30, L"Pattern")                                      \
    QR_STRING(IDS_NX, 31, L"Horiz. Count")                                      \
    QR_STRING(IDS_NY, 32, L"Vert. Count")                                       \
    QR_STRING(IDS_GAP_U, 33, L"Vertical Grout")                                 \
    QR_STRING(IDS_GAP_V, 34, L"Horizontal Grout")                               \
    QR_STRING(IDS_BRICK_COLOR, 35, L"Brick Color")                              \
    QR_STRING(IDS_GROUT_COLOR, 36, L"Grout Color")                              \
    QR_STRING(IDS_BRICK_MAP, 37, L"Brick Map")                                  \
    QR_STRING(IDS_GROUT_MAP, 38, L"Grout Map")                                  \
    QR_STRING(IDS_BRICK_MAP_ON, 39, L"Brick Map On")                            \
    QR_STRING(IDS_GROUT_MAP_ON, 40, L"Grout Map On")                            \
    QR_STRING(IDS_COLOR_VARIANCE, 41, L"Color Variance")                        \
    QR_STRING(IDS_RANDOM_SHIFT, 42, L"Random Shift")                            \
    QR_STRING(IDS_SEED, 43, L"Seed")                                            \
    QR_STRING(IDS_BRICK_U_TILING, 44, L"Brick U Tiling")                        \
    QR_STRING(IDS_BRICK_V_TILING, 45, L"Brick V Tiling")                        \
    QR_STRING(IDS_BRICK_U_OFFSET, 46, L"Brick U Offset")                        \
    QR_STRING(IDS_BRICK_V_OFFSET, 47, L"Brick V Offset")                        \
    QR_STRING(IDS_BRICK_ANGLE, 48, L"Brick Angle")                              \
    QR_STRING(IDS_MASTER_U_TILING, 49, L"Master U Tiling")                      \
    QR_STRING(IDS_MASTER_V_TILING, 50, L"Master V Tiling")                      \
    QR_STRING(IDS_MASTER_U_OFFSET, 51, L"Master U Offset")                      \
    QR_STRING(IDS_MASTER_V_OFFSET, 52, L"Master V Offset")                      \
    QR_STRING(IDS_MASTER_ANGLE, 53, L"Master Angle")                            \
    QR_STRING(IDS_PROJECTION_MODE, 54, L"Projection Mode")                      \
    QR_STRING(IDS_MODE_SIMPLE, 55, L"Simple")                                   \
    QR_STRING(IDS_MODE_ACCURATE, 56, L"Accurate")                               \
    QR_STRING(IDS_RANDOM_FRAGMENT, 57, L"Random Texture Fragment")              \
    QR_STRING(IDS_FRAGMENT_SIZE, 58, L"Texture Fragment Size")                  \
    QR_STRING(IDS_BRICK_COLOR_2, 59, L"Brick Color 2")                          \
    QR_STRING(IDS_BRICK_MAP_2, 60, L"Brick 2 Map")                              \
    QR_STRING(IDS_BRICK_MAP_2_ON, 61, L"Brick 2 Map On")                        \
    QR_STRING(IDS_RANDOM_SECOND_COLOR, 62, L"Random 2nd Color")                 \
    QR_STRING(IDS_ROTATION_STEP, 63, L"Random Texture Rotation Step")           \
    QR_STRING(IDS_HUE_SHIFT, 64, L"Hue")                                        \
    QR_STRING(IDS_SEAMLESS_BRICKS, 65, L"Seamless Bricks")                      \
    QR_STRING(IDS_BEVEL_WIDTH, 66, L"Bevel Width")                              \
    QR_STRING(IDS_BEVEL_PROFILE, 67, L"Bevel Profile")                          \
    QR_STRING(IDS_CORNER_RADIUS, 68, L"Corner Radius")                          \
    QR_STRING(IDS_DIFFUSE_TITLE, 70, L"Diffuse Colors & Maps")                  \
    QR_STRING(IDS_BUMP_BRICK_COLOR, 72, L"Bump Brick 1 Color")                  \
    QR_STRING(IDS_BUMP_BRICK_COLOR_2, 73, L"Bump Brick 2 Color")                \
    QR_STRING(IDS_BUMP_GROUT_COLOR, 74, L"Bump Grout Color")                    \
    QR_STRING(IDS_NORMAL_BTN_TITLE, 76, L"Normal Bump")                         \
    QR_STRING(IDS_NORMAL_OUT_BTN, 77, L"Normal Bump Output")                    \
    QR_STRING(IDS_LEGACY_NORMAL_DEPTH, 78, L"Normal Depth")                     \
    QR_STRING(IDS_LEGACY_RELIEF_AMOUNT, 81, L"Texture Relief")                  \
    QR_STRING(IDS_NORMAL_INNER, 83, L"Normal Output")                           \
    QR_STRING(IDS_CARRIER_TITLE, 84, L"Normal Output")                          \
    QR_STRING(IDS_NORMAL_TITLE, 85, L"QuarelMap Normal \u2014 Relief Settings") \
    QR_STRING(IDS_NORMAL_DEPTH, 86, L"Normal Depth")                            \
    QR_STRING(IDS_RELIEF_AMOUNT, 87, L"Texture Relief")                         \
    QR_STRING(IDS_BUMP_BTN_TITLE, 88, L"Bump")                                  \
    QR_STRING(IDS_BUMP_OUT_BTN, 89, L"Bump Output")                             \
    QR_STRING(IDS_BUMPPROC_TITLE, 90, L"QuarelMap Bump \u2014 Settings")        \
    QR_STRING(IDS_BP_BRICK_COLOR, 91, L"Brick Color")                           \
    QR_STRING(IDS_BP_BRICK_COLOR_2, 92, L"Brick Color 2")                       \
    QR_STRING(IDS_BP_GROUT_COLOR, 93, L"Grout Color")                           \
    QR_STRING(IDS_BP_BUMP_MAP, 94, L"Bump Texture")                             \
    QR_STRING(IDS_BP_BUMP_MAP_ON, 95, L"Bump Texture On")                       \
    QR_STRING(IDS_BP_DEPTH, 96, L"Bump Depth")                                  \
    QR_STRING(IDS_BP_TEX_RELIEF, 97, L"Texture Relief Amount")                  \
    QR_STRING(IDS_BEVEL_LINEAR, 101, L"Linear")                                 \
    QR_STRING(IDS_BEVEL_ROUND, 102, L"Round")                                   \
    QR_STRING(IDS_BEVEL_SMOOTH, 103, L"Smooth")
