#include "ui/rollout_procs.h"

#include "base/diag_log.h"
#include "custcont.h"
#include "params/main_params.h"
#include "pattern/catalogue.h"
#include "resources/resource_ids.h"
#include "ui/pattern_combo.h"
#include "ui/pattern_controls.h"

namespace QuarelNS {
namespace {

using namespace QuarelRes;

constexpr int kListItemHeight = 54;  // a 50-pixel swatch with a 2-pixel margin
constexpr int kDroppedWidth = 190;

IParamBlock2* BlockOf(IParamMap2* map) {
    return map != nullptr ? map->GetParamBlock() : nullptr;
}

void ShowGrout(HWND dialog, int spinnerId, IParamBlock2* pb, ParamID id, TimeValue t) {
    ISpinnerControl* spin = GetISpinner(GetDlgItem(dialog, spinnerId));
    if (spin == nullptr) return;
    spin->SetValue(static_cast<float>(pb->GetFloat(id, t) * 10.0), FALSE);
    ReleaseISpinner(spin);
}

}  // namespace

INT_PTR QuarelMapParamDlgProc::DlgProc(TimeValue t, IParamMap2* map, HWND hWnd, UINT msg,
                                       WPARAM wParam, LPARAM lParam) {
    // A window may still hear messages after its WM_DESTROY (WM_NCDESTROY, its children's last
    // notifications); its map is about to go, so such a call must not store it again.
    if (msg == WM_INITDIALOG && hWnd == mClosing) mClosing = nullptr;
    if (map != nullptr && hWnd != mClosing) mMap = map;
    switch (msg) {
        case WM_INITDIALOG: {
            if (HWND combo = GetDlgItem(hWnd, IDC_PATTERN)) {
                SendMessageW(combo, CB_SETITEMHEIGHT, 0, kListItemHeight);
                SendMessageW(combo, CB_SETDROPPEDWIDTH, kDroppedWidth, 0);
                if (map != nullptr) SetPropW(combo, kParamMapProp, map);
                SubclassPatternCombo(combo);
            }
            IParamBlock2* pb = BlockOf(map);
            SetupGroutSpinner(hWnd, IDC_GAP_U_EDIT, IDC_GAP_U_SPIN, pb, MainParam::gap_u, t);
            SetupGroutSpinner(hWnd, IDC_GAP_V_EDIT, IDC_GAP_V_SPIN, pb, MainParam::gap_v, t);
            UpdatePatternDependentControls(map, hWnd, t);
            return 0;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if ((id == IDC_PATTERN && code == CBN_SELCHANGE) ||
                (id == IDC_RANDOM_SECOND_COLOR && code == BN_CLICKED))
                UpdatePatternDependentControls(map, hWnd, t);
            return 0;
        }
        case WM_DRAWITEM: {
            const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (dis == nullptr || dis->CtlID != static_cast<UINT>(IDC_PATTERN)) return 0;
            DrawPatternComboItem(*dis);
            return 1;
        }
        case CC_SPINNER_CHANGE: {
            const int id = LOWORD(wParam);
            if (id != IDC_GAP_U_SPIN && id != IDC_GAP_V_SPIN) return 0;
            auto* spin = reinterpret_cast<ISpinnerControl*>(lParam);
            IParamBlock2* pb = BlockOf(map);
            if (spin != nullptr && pb != nullptr) {
                const ParamID param = id == IDC_GAP_U_SPIN ? MainParam::gap_u : MainParam::gap_v;
                pb->SetValue(param, t, static_cast<float>(spin->GetFVal() / 10.0), 0);
            }
            return 1;
        }
        case WM_DESTROY: {
            for (int id : {IDC_GAP_U_SPIN, IDC_GAP_V_SPIN})
                if (ISpinnerControl* spin = GetISpinner(GetDlgItem(hWnd, id)))
                    ReleaseISpinner(spin);
            // Windows wants a property removed before its window goes; the combo box is still
            // there while its dialog hears WM_DESTROY.
            if (HWND combo = GetDlgItem(hWnd, IDC_PATTERN)) RemovePropW(combo, kParamMapProp);
            if (mMap != nullptr && mMap->GetHWnd() == hWnd) mMap = nullptr;
            mClosing = hWnd;
            return 0;
        }
        default:
            return 0;
    }
}

void QuarelMapParamDlgProc::Update(TimeValue t) {
    if (mMap == nullptr) return;
    HWND hwnd = mMap->GetHWnd();
    IParamBlock2* pb = mMap->GetParamBlock();
    if (hwnd == nullptr || pb == nullptr) return;
    ShowGrout(hwnd, IDC_GAP_U_SPIN, pb, MainParam::gap_u, t);
    ShowGrout(hwnd, IDC_GAP_V_SPIN, pb, MainParam::gap_v, t);
}

INT_PTR QuarelMapDiffuseDlgProc::DlgProc(TimeValue t, IParamMap2* map, HWND, UINT msg, WPARAM,
                                         LPARAM) {
    if (msg != WM_INITDIALOG) return 0;
    DiagLog("QuarelMapDiffuseDlgProc::WM_INITDIALOG map=0x%p", static_cast<void*>(map));
    IParamBlock2* pb = BlockOf(map);
    if (pb == nullptr) return 0;
    const int pattern = pb->GetInt(MainParam::pattern, t);
    const int random2nd = pb->GetInt(MainParam::random_second_color_on, t);
    EnableSecondColorControls(pb, PatternInfoFor(pattern).usesBrick2 || random2nd != 0);
    return 0;
}

QuarelMapParamDlgProc& TheParamDlgProc() {
    static QuarelMapParamDlgProc proc;
    return proc;
}

QuarelMapDiffuseDlgProc& TheDiffuseDlgProc() {
    static QuarelMapDiffuseDlgProc proc;
    return proc;
}

QuarelMapNormalDlgProc& TheNormalDlgProc() {
    static QuarelMapNormalDlgProc proc;
    return proc;
}

}  // namespace QuarelNS
