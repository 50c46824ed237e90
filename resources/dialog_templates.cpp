#include "resources/dialog_templates.h"

#include <algorithm>
#include <iterator>

#include "resources/dialog_styles.h"
#include "resources/resource_ids.h"

namespace QuarelRes {
namespace {

using namespace Style;

static_assert(kDialogStyle == (kChild | kVisible | kClipSiblings | kSetFont));

struct Rect {
    std::int16_t x, y, cx, cy;
};

constexpr std::uint32_t kVisibleChild = kChild | kVisible;
constexpr auto kStatic = static_cast<std::uint32_t>(IDC_STATIC);
constexpr auto Id(int id) {
    return static_cast<std::uint32_t>(id);
}

// Labels draw '&' as itself: the UV-source note contains one.
constexpr W32DialogItem Label(const wchar_t* text, Rect r) {
    return {kStatic, "STATIC", text, kVisibleChild | kStaticLeft | kStaticNoPrefix, 0, r.x,
            r.y,     r.cx,     r.cy};
}
constexpr W32DialogItem Group(const wchar_t* text, Rect r) {
    return {kStatic, "BUTTON", text, kVisibleChild | kGroupBox, 0, r.x, r.y, r.cx, r.cy};
}
// Sunken like the system's edit fields.
constexpr W32DialogItem Edit(int id, Rect r) {
    return {Id(id), "CustEdit", L"", kVisibleChild | kEditAutoHScroll | kTabStop, kClientEdge, r.x,
            r.y,    r.cx,       r.cy};
}
constexpr W32DialogItem Spinner(int id, Rect r) {
    return {Id(id), "SpinnerControl", L"", kVisibleChild, 0, r.x, r.y, r.cx, r.cy};
}
constexpr W32DialogItem Swatch(int id, Rect r) {
    return {Id(id), "ColorSwatch", L"", kVisibleChild, 0, r.x, r.y, r.cx, r.cy};
}
constexpr W32DialogItem MapButton(int id, Rect r) {
    return {Id(id), "CustButton", L"None", kVisibleChild | kTabStop, 0, r.x, r.y, r.cx, r.cy};
}
constexpr W32DialogItem Check(int id, const wchar_t* text, Rect r) {
    return {Id(id), "BUTTON", text, kVisibleChild | kAutoCheckBox | kTabStop, 0, r.x,
            r.y,    r.cx,     r.cy};
}
constexpr W32DialogItem Combo(int id, std::uint32_t style, Rect r) {
    return {Id(id), "COMBOBOX", L"", kVisibleChild | style, 0, r.x, r.y, r.cx, r.cy};
}

// Parameters rollout of the main map: pattern, counts, grout, UV transform, variations and the
// transform of nested maps on a brick.
constexpr W32DialogItem kParams[] = {
    Label(L"Pattern:", {7, 8, 38, 10}),
    Combo(IDC_PATTERN,
          kComboDropDownList | kComboOwnerDrawFixed | kComboHasStrings | kVScroll | kTabStop,
          {47, 6, 76, 340}),
    Label(L"Mode:", {130, 8, 28, 10}),
    Combo(IDC_PROJECTION_MODE, kComboDropDownList | kVScroll | kTabStop, {160, 6, 50, 40}),
    Label(L"Horiz. Count:", {7, 26, 55, 10}),
    Edit(IDC_NX_EDIT, {65, 24, 30, 12}),
    Spinner(IDC_NX_SPIN, {97, 24, 7, 12}),
    Label(L"Vert. Count:", {115, 26, 50, 10}),
    Edit(IDC_NY_EDIT, {170, 24, 30, 12}),
    Spinner(IDC_NY_SPIN, {202, 24, 7, 12}),
    Label(L"Vert. Grout:", {7, 42, 55, 10}),
    Edit(IDC_GAP_U_EDIT, {65, 40, 30, 12}),
    Spinner(IDC_GAP_U_SPIN, {97, 40, 7, 12}),
    Label(L"Horiz. Grout:", {115, 42, 55, 10}),
    Edit(IDC_GAP_V_EDIT, {170, 40, 30, 12}),
    Spinner(IDC_GAP_V_SPIN, {202, 40, 7, 12}),

    Group(L"Quarel UV Transform", {4, 59, 209, 86}),
    Label(L"U Tiling:", {10, 75, 55, 10}),
    Edit(IDC_MASTER_U_TILING_EDIT, {65, 73, 35, 12}),
    Spinner(IDC_MASTER_U_TILING_SPIN, {102, 73, 7, 12}),
    Label(L"V Tiling:", {115, 75, 50, 10}),
    Edit(IDC_MASTER_V_TILING_EDIT, {170, 73, 35, 12}),
    Spinner(IDC_MASTER_V_TILING_SPIN, {207, 73, 7, 12}),
    Label(L"U Offset:", {10, 91, 55, 10}),
    Edit(IDC_MASTER_U_OFFSET_EDIT, {65, 89, 35, 12}),
    Spinner(IDC_MASTER_U_OFFSET_SPIN, {102, 89, 7, 12}),
    Label(L"V Offset:", {115, 91, 50, 10}),
    Edit(IDC_MASTER_V_OFFSET_EDIT, {170, 89, 35, 12}),
    Spinner(IDC_MASTER_V_OFFSET_SPIN, {207, 89, 7, 12}),
    Label(L"Angle:", {10, 107, 55, 10}),
    Edit(IDC_MASTER_ANGLE_EDIT, {65, 105, 35, 12}),
    Spinner(IDC_MASTER_ANGLE_SPIN, {102, 105, 7, 12}),
    Label(L"UV source & channel: see Coordinates rollup", {10, 125, 195, 10}),

    Group(L"Variations", {4, 151, 209, 98}),
    Label(L"Color Variance:", {10, 167, 60, 10}),
    Edit(IDC_COLOR_VARIANCE_EDIT, {75, 165, 30, 12}),
    Spinner(IDC_COLOR_VARIANCE_SPIN, {107, 165, 7, 12}),
    Label(L"HUE:", {130, 167, 25, 10}),
    Edit(IDC_HUE_SHIFT_EDIT, {160, 165, 42, 12}),
    Spinner(IDC_HUE_SHIFT_SPIN, {204, 165, 7, 12}),
    Label(L"Random Shift:", {10, 183, 60, 10}),
    Edit(IDC_RANDOM_SHIFT_EDIT, {75, 181, 30, 12}),
    Spinner(IDC_RANDOM_SHIFT_SPIN, {107, 181, 7, 12}),
    Label(L"Seed:", {130, 183, 25, 10}),
    Edit(IDC_SEED_EDIT, {160, 181, 42, 12}),
    Spinner(IDC_SEED_SPIN, {204, 181, 7, 12}),
    Check(IDC_RANDOM_FRAGMENT, L"Random Fragment", {10, 199, 80, 10}),
    Label(L"Frag. Size:", {115, 199, 50, 10}),
    Edit(IDC_FRAGMENT_SIZE_EDIT, {170, 197, 35, 12}),
    Spinner(IDC_FRAGMENT_SIZE_SPIN, {207, 197, 7, 12}),
    Check(IDC_RANDOM_SECOND_COLOR, L"Random 2nd Color", {10, 215, 100, 10}),
    Label(L"Rot. Step:", {115, 215, 50, 10}),
    Edit(IDC_ROTATION_STEP_EDIT, {170, 213, 35, 12}),
    Spinner(IDC_ROTATION_STEP_SPIN, {207, 213, 7, 12}),
    Check(IDC_SEAMLESS_BRICKS, L"Seamless Bricks", {10, 231, 100, 10}),

    Group(L"Brick Map Transform (for nested map)", {4, 255, 209, 66}),
    Label(L"U Tiling:", {10, 271, 55, 10}),
    Edit(IDC_BRICK_U_TILING_EDIT, {65, 269, 35, 12}),
    Spinner(IDC_BRICK_U_TILING_SPIN, {102, 269, 7, 12}),
    Label(L"V Tiling:", {115, 271, 50, 10}),
    Edit(IDC_BRICK_V_TILING_EDIT, {170, 269, 35, 12}),
    Spinner(IDC_BRICK_V_TILING_SPIN, {207, 269, 7, 12}),
    Label(L"U Offset:", {10, 287, 55, 10}),
    Edit(IDC_BRICK_U_OFFSET_EDIT, {65, 285, 35, 12}),
    Spinner(IDC_BRICK_U_OFFSET_SPIN, {102, 285, 7, 12}),
    Label(L"V Offset:", {115, 287, 50, 10}),
    Edit(IDC_BRICK_V_OFFSET_EDIT, {170, 285, 35, 12}),
    Spinner(IDC_BRICK_V_OFFSET_SPIN, {207, 285, 7, 12}),
    Label(L"Angle:", {10, 303, 55, 10}),
    Edit(IDC_BRICK_ANGLE_EDIT, {65, 301, 35, 12}),
    Spinner(IDC_BRICK_ANGLE_SPIN, {102, 301, 7, 12}),

    Group(L"Relief Shape", {4, 327, 209, 50}),
    Label(L"Bevel Width:", {10, 343, 55, 10}),
    Edit(IDC_BEVEL_WIDTH_EDIT, {65, 341, 35, 12}),
    Spinner(IDC_BEVEL_WIDTH_SPIN, {102, 341, 7, 12}),
    Label(L"Profile:", {115, 343, 35, 10}),
    Combo(IDC_BEVEL_PROFILE, kComboDropDownList | kVScroll | kTabStop, {155, 341, 52, 50}),
    Label(L"Corner Radius:", {10, 359, 55, 10}),
    Edit(IDC_CORNER_RADIUS_EDIT, {65, 357, 35, 12}),
    Spinner(IDC_CORNER_RADIUS_SPIN, {102, 357, 7, 12}),
};

constexpr W32DialogItem kDiffuse[] = {
    Label(L"Brick 1:", {7, 10, 34, 10}),
    Swatch(IDC_BRICK_COLOR, {42, 8, 30, 12}),
    Label(L"Brick 2:", {78, 10, 34, 10}),
    Swatch(IDC_BRICK_COLOR_2, {113, 8, 30, 12}),
    Label(L"Grout:", {149, 10, 28, 10}),
    Swatch(IDC_GROUT_COLOR, {180, 8, 30, 12}),
    Label(L"Brick 1 Map:", {7, 26, 55, 10}),
    Check(IDC_BRICK_MAP_ON, L"Use", {65, 25, 28, 10}),
    MapButton(IDC_BRICK_MAP, {95, 24, 115, 13}),
    Label(L"Brick 2 Map:", {7, 42, 55, 10}),
    Check(IDC_BRICK_MAP_2_ON, L"Use", {65, 41, 28, 10}),
    MapButton(IDC_BRICK_MAP_2, {95, 40, 115, 13}),
    Label(L"Grout Map:", {7, 58, 55, 10}),
    Check(IDC_GROUT_MAP_ON, L"Use", {65, 57, 28, 10}),
    MapButton(IDC_GROUT_MAP, {95, 56, 115, 13}),
};

// The main map's relief colours, laid out like the colour row of the diffuse rollout. No block
// binds this template; it is kept for layouts that show the bump colours.
constexpr W32DialogItem kBumpColors[] = {
    Label(L"Brick 1:", {7, 10, 34, 10}),  Swatch(IDC_BUMP_BRICK_COLOR, {42, 8, 30, 12}),
    Label(L"Brick 2:", {78, 10, 34, 10}), Swatch(IDC_BUMP_BRICK_COLOR_2, {113, 8, 30, 12}),
    Label(L"Grout:", {149, 10, 28, 10}),  Swatch(IDC_BUMP_GROUT_COLOR, {180, 8, 30, 12}),
};

constexpr W32DialogItem kNormalButton[] = {
    Label(L"Normal Bump:", {7, 8, 60, 10}),
    MapButton(IDC_NORMAL_OUT_BTN, {70, 6, 140, 13}),
};

// The carrier material's one map slot, laid out like the button rollouts.
constexpr W32DialogItem kCarrier[] = {
    Label(L"Normal Output:", {7, 8, 60, 10}),
    MapButton(IDC_NORMAL_INNER, {70, 6, 140, 13}),
};

constexpr W32DialogItem kNormal[] = {
    Label(L"Depth:", {7, 8, 28, 10}),
    Edit(IDC_NORMAL_DEPTH_EDIT, {38, 6, 36, 12}),
    Spinner(IDC_NORMAL_DEPTH_SPIN, {76, 6, 7, 12}),
    Label(L"Texture Relief:", {95, 8, 60, 10}),
    Edit(IDC_RELIEF_AMOUNT_EDIT, {158, 6, 36, 12}),
    Spinner(IDC_RELIEF_AMOUNT_SPIN, {196, 6, 7, 12}),
};

constexpr W32DialogItem kBumpButton[] = {
    Label(L"Bump:", {7, 8, 60, 10}),
    MapButton(IDC_BUMP_OUT_BTN, {70, 6, 140, 13}),
};

constexpr W32DialogItem kBumpProc[] = {
    Label(L"Brick Color:", {7, 9, 50, 10}),
    Swatch(IDC_BP_BRICK_COLOR, {60, 7, 30, 12}),
    Label(L"Brick Color 2:", {100, 9, 50, 10}),
    Swatch(IDC_BP_BRICK_COLOR_2, {158, 7, 30, 12}),
    Label(L"Grout Color:", {7, 25, 50, 10}),
    Swatch(IDC_BP_GROUT_COLOR, {60, 23, 30, 12}),
    Check(IDC_BP_BUMP_MAP_ON, L"Use", {7, 43, 30, 10}),
    Label(L"Bump Texture:", {40, 44, 55, 10}),
    MapButton(IDC_BP_BUMP_MAP, {100, 42, 110, 13}),
    Label(L"Depth:", {7, 65, 28, 10}),
    Edit(IDC_BP_DEPTH_EDIT, {38, 63, 36, 12}),
    Spinner(IDC_BP_DEPTH_SPIN, {76, 63, 7, 12}),
    Label(L"Texture Relief:", {95, 65, 60, 10}),
    Edit(IDC_BP_TEX_RELIEF_EDIT, {158, 63, 36, 12}),
    Spinner(IDC_BP_TEX_RELIEF_SPIN, {196, 63, 7, 12}),
};

template <std::size_t N>
constexpr W32DialogResource Dialog(int id, std::int16_t height, const W32DialogItem (&items)[N]) {
    return {Id(id), L"", kDialogStyle, kDialogWidth, height, items, static_cast<std::uint32_t>(N)};
}

constexpr W32DialogResource kDialogs[] = {
    Dialog(IDD_QUAREL_PARAMS, 381, kParams),
    Dialog(IDD_QUAREL_DIFFUSE, 75, kDiffuse),
    Dialog(IDD_QUAREL_BUMP_COLORS, 26, kBumpColors),
    Dialog(IDD_QUAREL_NORMAL_BTN, 26, kNormalButton),
    Dialog(IDD_QUAREL_CARRIER, 26, kCarrier),
    Dialog(IDD_QUAREL_NORMAL, 30, kNormal),
    Dialog(IDD_QUAREL_BUMP_BTN, 26, kBumpButton),
    Dialog(IDD_QUAREL_BUMPPROC, 110, kBumpProc),
};

static_assert(std::is_sorted(std::begin(kDialogs), std::end(kDialogs),
                             [](const W32DialogResource& a, const W32DialogResource& b) {
                                 return a.id < b.id;
                             }));

}  // namespace

std::span<const W32DialogResource> DialogTemplates() {
    return kDialogs;
}

const W32DialogResource* FindDialog(std::uint32_t id) {
    for (const W32DialogResource& d : kDialogs)
        if (d.id == id) return &d;
    return nullptr;
}

const W32DialogItem* FindDialogItem(const W32DialogResource& dialog, std::uint32_t controlId) {
    if (controlId == kStatic) return nullptr;
    for (std::uint32_t i = 0; i < dialog.itemCount; ++i)
        if (dialog.items[i].id == controlId) return &dialog.items[i];
    return nullptr;
}

}  // namespace QuarelRes
