// The relief blocks: three more blocks of QuarelMap (relief values without a rollout, and the two
// one-button rollouts of its relief outputs) and the blocks of QuarelNormalMap,
// QuarelBumpProcMap and QuarelNormalCarrierMtl. Rows are in declaration order; ids are stored in
// scene files.
#pragma once

#include "params/param_decl.h"
#include "params/snapshots.h"
#include "resources/resource_ids.h"

namespace QuarelNS {

// Block 1 of QuarelMap, "bumpparams". Id 4 was never declared.
namespace BumpParam {
enum : ParamID {
    bump_brick_color = 0,
    bump_brick_color_2 = 1,
    bump_grout_color = 2,
    normal_depth = 3,
    relief_tex_amount = 5,
};
}
// Block 2 of QuarelMap, "normalbtnparams".
namespace NormalButtonParam {
enum : ParamID { normal_out_btn = 0 };
}
// Block 3 of QuarelMap, "bumpbtnparams".
namespace BumpButtonParam {
enum : ParamID { bump_out_btn = 0 };
}
// Block 100 of QuarelNormalMap, "normalparams".
namespace NormalParam {
enum : ParamID { normal_depth = 0, relief_tex_amount = 1 };
}
// Block 101 of QuarelBumpProcMap, "bumpparams".
namespace BumpProcParam {
enum : ParamID {
    brick_color = 0,
    brick_color_2 = 1,
    grout_color = 2,
    bump_map = 3,
    bump_map_on = 4,
    depth = 5,
    tex_relief = 6,
};
}
// Block 0 of QuarelNormalCarrierMtl, "normalcarrier".
namespace CarrierParam {
enum : ParamID { normal_inner = 0 };
}

// Relief values of the main map: its bump colours and the legacy depth and amount, which the
// load fix-up moves into the normal output map. No rollout, so no controls.
inline constexpr ParamDecl kBumpParams[] = {
    Rgba(BumpParam::bump_brick_color, L"bump_brick_color", kAnimatable,
         QuarelRes::IDS_BUMP_BRICK_COLOR, Rgb{1.f, 1.f, 1.f})
        .Into<&EvalSnapshot::bump_brick_color>(),
    Rgba(BumpParam::bump_brick_color_2, L"bump_brick_color_2", kAnimatable,
         QuarelRes::IDS_BUMP_BRICK_COLOR_2, Rgb{1.f, 1.f, 1.f})
        .Into<&EvalSnapshot::bump_brick_color_2>(),
    Rgba(BumpParam::bump_grout_color, L"bump_grout_color", kAnimatable,
         QuarelRes::IDS_BUMP_GROUT_COLOR, Rgb{0.f, 0.f, 0.f})
        .Into<&EvalSnapshot::bump_grout_color>(),
    Float(BumpParam::normal_depth, L"normal_depth", kAnimatable, QuarelRes::IDS_LEGACY_NORMAL_DEPTH,
          1.f, 0.01f, 100.f)
        .Into<&LegacyReliefValues::normal_depth>(),
    Float(BumpParam::relief_tex_amount, L"relief_tex_amount", kAnimatable,
          QuarelRes::IDS_LEGACY_RELIEF_AMOUNT, 0.f, 0.f, 1.f)
        .Into<&LegacyReliefValues::relief_tex_amount>(),
};

// Each button stands for a relief output in one of the main map's sub-maps (3: normal, 4: bump).
inline constexpr ParamDecl kNormalButtonParams[] = {
    SubTexmap(NormalButtonParam::normal_out_btn, L"normal_out_btn", QuarelRes::IDS_NORMAL_OUT_BTN,
              3)
        .MapButton(0, QuarelRes::IDC_NORMAL_OUT_BTN),
};
inline constexpr ParamDecl kBumpButtonParams[] = {
    SubTexmap(BumpButtonParam::bump_out_btn, L"bump_out_btn", QuarelRes::IDS_BUMP_OUT_BTN, 4)
        .MapButton(0, QuarelRes::IDC_BUMP_OUT_BTN),
};

inline constexpr ParamDecl kNormalParams[] = {
    Float(NormalParam::normal_depth, L"normal_depth", kAnimatable, QuarelRes::IDS_NORMAL_DEPTH, 5.f,
          0.01f, 100.f)
        .Spinner(0, QuarelRes::IDC_NORMAL_DEPTH_EDIT, QuarelRes::IDC_NORMAL_DEPTH_SPIN, 0.05f)
        .Into<&NormalOutputValues::normal_depth>()
        .ClampedAtLeast(0.0001f),
    Float(NormalParam::relief_tex_amount, L"relief_tex_amount", kAnimatable,
          QuarelRes::IDS_RELIEF_AMOUNT, 0.f, 0.f, 1.f)
        .Spinner(0, QuarelRes::IDC_RELIEF_AMOUNT_EDIT, QuarelRes::IDC_RELIEF_AMOUNT_SPIN, 0.01f)
        .Into<&NormalOutputValues::relief_tex_amount>()
        .Clamped(),
};

inline constexpr ParamDecl kBumpProcParams[] = {
    Rgba(BumpProcParam::brick_color, L"brick_color", kAnimatable, QuarelRes::IDS_BP_BRICK_COLOR,
         Rgb{1.f, 1.f, 1.f})
        .Swatch(0, QuarelRes::IDC_BP_BRICK_COLOR)
        .Into<&BumpOutputValues::brick_color>(),
    Rgba(BumpProcParam::brick_color_2, L"brick_color_2", kAnimatable,
         QuarelRes::IDS_BP_BRICK_COLOR_2, Rgb{1.f, 1.f, 1.f})
        .Swatch(0, QuarelRes::IDC_BP_BRICK_COLOR_2)
        .Into<&BumpOutputValues::brick_color_2>(),
    Rgba(BumpProcParam::grout_color, L"grout_color", kAnimatable, QuarelRes::IDS_BP_GROUT_COLOR,
         Rgb{0.f, 0.f, 0.f})
        .Swatch(0, QuarelRes::IDC_BP_GROUT_COLOR)
        .Into<&BumpOutputValues::grout_color>(),
    SubTexmap(BumpProcParam::bump_map, L"bump_map", QuarelRes::IDS_BP_BUMP_MAP, 0)
        .MapButton(0, QuarelRes::IDC_BP_BUMP_MAP),
    Bool(BumpProcParam::bump_map_on, L"bump_map_on", QuarelRes::IDS_BP_BUMP_MAP_ON, true)
        .Check(0, QuarelRes::IDC_BP_BUMP_MAP_ON)
        .Into<&BumpOutputValues::bump_map_on>(),
    Float(BumpProcParam::depth, L"depth", kAnimatable, QuarelRes::IDS_BP_DEPTH, 5.f, 0.f, 100.f)
        .Spinner(0, QuarelRes::IDC_BP_DEPTH_EDIT, QuarelRes::IDC_BP_DEPTH_SPIN, 0.05f)
        .Into<&BumpOutputValues::depth>(),
    Float(BumpProcParam::tex_relief, L"tex_relief", kAnimatable, QuarelRes::IDS_BP_TEX_RELIEF, 1.f,
          0.f, 1.f)
        .Spinner(0, QuarelRes::IDC_BP_TEX_RELIEF_EDIT, QuarelRes::IDC_BP_TEX_RELIEF_SPIN, 0.01f)
        .Into<&BumpOutputValues::tex_relief>(),
};

// The carried texture lives in the carrier's own reference 1.
inline constexpr ParamDecl kCarrierParams[] = {
    OwnersRefTexmap(CarrierParam::normal_inner, L"normal_inner", QuarelRes::IDS_NORMAL_INNER, 1)
        .MapButton(0, QuarelRes::IDC_NORMAL_INNER),
};

inline constexpr RolloutDecl kNormalButtonRollouts[] = {
    {0, QuarelRes::IDD_QUAREL_NORMAL_BTN, QuarelRes::IDS_NORMAL_BTN_TITLE}};
inline constexpr RolloutDecl kBumpButtonRollouts[] = {
    {0, QuarelRes::IDD_QUAREL_BUMP_BTN, QuarelRes::IDS_BUMP_BTN_TITLE}};
inline constexpr RolloutDecl kNormalRollouts[] = {
    {0, QuarelRes::IDD_QUAREL_NORMAL, QuarelRes::IDS_NORMAL_TITLE}};
inline constexpr RolloutDecl kBumpProcRollouts[] = {
    {0, QuarelRes::IDD_QUAREL_BUMPPROC, QuarelRes::IDS_BUMPPROC_TITLE}};
inline constexpr RolloutDecl kCarrierRollouts[] = {
    {0, QuarelRes::IDD_QUAREL_CARRIER, QuarelRes::IDS_CARRIER_TITLE}};

constexpr USHORT kOneRolloutBlock = P_AUTO_CONSTRUCT | P_AUTO_UI;

// Declared like the main block (version 2, several parameter maps) but with none, so the
// block has no rollout. Reference 6 (`pblock_bump`) of the map.
inline constexpr BlockDecl kBumpBlock = {
    1, L"bumpparams", P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP | P_VERSION, 2, 6, {}, kBumpParams};
// Reference 8 (`pblock_normal_btn`) of the map.
inline constexpr BlockDecl kNormalButtonBlock = {2, L"normalbtnparams",    kOneRolloutBlock,   0,
                                                 8, kNormalButtonRollouts, kNormalButtonParams};
// Reference 10 (`pblock_bump_btn`) of the map.
inline constexpr BlockDecl kBumpButtonBlock = {3,  L"bumpbtnparams",    kOneRolloutBlock, 0,
                                               10, kBumpButtonRollouts, kBumpButtonParams};
// Reference 0 of QuarelNormalMap.
inline constexpr BlockDecl kNormalBlock = {100, L"normalparams", kOneRolloutBlock, 0,
                                           0,   kNormalRollouts, kNormalParams};
// Reference 0 of QuarelBumpProcMap; the same internal name as block 1 of the main map.
inline constexpr BlockDecl kBumpProcBlock = {101, L"bumpparams",     kOneRolloutBlock, 0,
                                             0,   kBumpProcRollouts, kBumpProcParams};
// Reference 2 of QuarelNormalCarrierMtl.
inline constexpr BlockDecl kCarrierBlock = {0, L"normalcarrier", kOneRolloutBlock, 0,
                                            2, kCarrierRollouts, kCarrierParams};

}  // namespace QuarelNS
