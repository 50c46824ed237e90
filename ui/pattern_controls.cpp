#include "ui/pattern_controls.h"

#include "params/main_params.h"
#include "pattern/catalogue.h"
#include "resources/resource_ids.h"

namespace QuarelNS {
namespace {

HWND Item(HWND dialog, int id) {
    return dialog != nullptr ? GetDlgItem(dialog, id) : nullptr;
}

}  // namespace

int CurrentPatternOf(IParamMap2* map, HWND dialog, TimeValue t) {
    if (HWND combo = Item(dialog, QuarelRes::IDC_PATTERN)) {
        const LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (sel >= 0 && sel < kPatternCount) return static_cast<int>(sel);
    }
    IParamBlock2* pb = map != nullptr ? map->GetParamBlock() : nullptr;
    return pb != nullptr ? pb->GetInt(MainParam::pattern, t) : 0;
}

void EnableSecondColorControls(IParamBlock2* pb, bool on) {
    if (pb == nullptr) return;
    IParamMap2* diffuse = pb->GetMap(kDiffuseMap);
    if (diffuse == nullptr) return;
    const BOOL enable = on ? TRUE : FALSE;
    for (ParamID id : {MainParam::brick_color_2, MainParam::brick_map_2, MainParam::brick_map_2_on})
        diffuse->Enable(id, enable);
    if (HWND hwnd = diffuse->GetHWnd()) {
        for (int id : {QuarelRes::IDC_BRICK_COLOR_2, QuarelRes::IDC_BRICK_MAP_2,
                       QuarelRes::IDC_BRICK_MAP_2_ON})
            if (HWND control = GetDlgItem(hwnd, id)) EnableWindow(control, enable);
    }
}

void UpdatePatternDependentControls(IParamMap2* map, HWND dialog, TimeValue t) {
    const bool natural = PatternInfoFor(CurrentPatternOf(map, dialog, t)).usesBrick2;
    IParamBlock2* pb = map != nullptr ? map->GetParamBlock() : nullptr;
    HWND random2nd = Item(dialog, QuarelRes::IDC_RANDOM_SECOND_COLOR);
    bool random = false;
    if (random2nd != nullptr)
        random = SendMessageW(random2nd, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else if (pb != nullptr)
        random = pb->GetInt(MainParam::random_second_color_on, t) != 0;
    if (map != nullptr) map->Enable(MainParam::random_second_color_on, natural ? FALSE : TRUE);
    if (random2nd != nullptr) EnableWindow(random2nd, natural ? FALSE : TRUE);
    EnableSecondColorControls(pb, natural || random);
}

void SetupGroutSpinner(HWND dialog, int editId, int spinnerId, IParamBlock2* pb, ParamID id,
                       TimeValue t) {
    ISpinnerControl* spin = GetISpinner(Item(dialog, spinnerId));
    if (spin == nullptr) return;
    spin->SetLimits(0.0f, 9.0f, FALSE);
    spin->SetScale(0.1f);
    spin->LinkToEdit(Item(dialog, editId), EDITTYPE_FLOAT);
    if (pb != nullptr) spin->SetValue(static_cast<float>(pb->GetFloat(id, t) * 10.0), FALSE);
    ReleaseISpinner(spin);
}

}  // namespace QuarelNS
