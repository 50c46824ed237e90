#include "ui/pattern_picker.h"

#include <string>

#include "base/diag_log.h"
#include "base/module_instance.h"
#include "iparamm2.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "pattern/catalogue.h"
#include "ui/pattern_combo.h"
#include "ui/pattern_controls.h"
#include "ui/swatch_cache.h"

namespace QuarelNS {
namespace {

constexpr UINT kFirstCommand = 0x8000;
constexpr int kNameCapacity = 64;
constexpr std::size_t kHeaderCapacity = 80;

std::wstring LoadName(int stringId) {
    wchar_t name[kNameCapacity] = {};
    if (LoadStringW(ModuleInstance(), static_cast<UINT>(stringId), name, kNameCapacity) <= 0)
        name[0] = L'\0';
    return name;
}

// "-- name --", cut to what the 80-character header buffer holds.
std::wstring Header(const std::wstring& name) {
    std::wstring header = L"-- " + name + L" --";
    if (header.size() > kHeaderCapacity - 1) header.resize(kHeaderCapacity - 1);
    return header;
}

void AppendCategory(HMENU menu, const PatternCategoryInfo& category, bool first, int current) {
    const std::wstring header = Header(LoadName(category.nameStringId));
    // Each category after the first opens a new column.
    AppendMenuW(menu, MF_STRING | MF_GRAYED | MF_DISABLED | (first ? 0 : MF_MENUBARBREAK), 0,
                header.c_str());
    for (int i = 0; i < category.memberCount; ++i) {
        const int id = category.members[static_cast<std::size_t>(i)];
        const std::wstring name = LoadName(PatternInfoFor(id).nameStringId);
        const UINT command = kFirstCommand + static_cast<UINT>(id);
        AppendMenuW(menu, MF_STRING | (id == current ? MF_CHECKED : MF_UNCHECKED), command,
                    name.c_str());
        if (id >= kPatternCount) continue;
        if (HBITMAP bitmap = PatternSwatchBitmap(id)) {
            MENUITEMINFOW mii{};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_BITMAP;
            mii.hbmpItem = bitmap;
            SetMenuItemInfoW(menu, command, FALSE, &mii);
        }
    }
}

// Stores the chosen pattern in the block of the combo box's rollout at the host's time.
void QMApplyPatternToPblock(HWND combo, int pattern) {
    auto* map = static_cast<IParamMap2*>(GetPropW(combo, kParamMapProp));
    if (map == nullptr) {
        DiagLog("QMApplyPatternToPblock: no IParamMap2 prop on combo=0x%p",
                static_cast<void*>(combo));
        return;
    }
    IParamBlock2* pb = map->GetParamBlock();
    if (pb == nullptr) {
        DiagLog("QMApplyPatternToPblock: no pblock from map=0x%p", static_cast<void*>(map));
        return;
    }
    Interface* ip = GetCOREInterface();
    const TimeValue t = ip != nullptr ? ip->GetTime() : 0;
    pb->SetValue(MainParam::pattern, t, pattern, 0);
    DiagLog("QMApplyPatternToPblock: pblock SetValue(prm_pattern, %d) on map=0x%p, t=%d", pattern,
            static_cast<void*>(map), t);
    if (HWND hwnd = map->GetHWnd()) UpdatePatternDependentControls(map, hwnd, t);
}

}  // namespace

#if defined(_WIN64)
static_assert(sizeof(MENUITEMINFOW) == 80);
#endif

void PatternPicker::Show(HWND combo) {
    DiagLog("PatternPicker::Show: combo=0x%p", static_cast<void*>(combo));
    if (combo == nullptr) return;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        DiagLog("PatternPicker::Show: CreatePopupMenu failed, GetLastError=%lu",
                static_cast<unsigned long>(GetLastError()));
        return;
    }
    const int current = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    bool first = true;
    for (const PatternCategoryInfo& category : kPatternCategories) {
        AppendCategory(menu, category, first, current);
        first = false;
    }

    RECT rect{};
    GetWindowRect(combo, &rect);
    HWND owner = GetAncestor(combo, GA_ROOTOWNER);
    if (owner == nullptr) owner = combo;
    DiagLog("PatternPicker::Show: tracking menu, owner=0x%p, at (%d,%d)", static_cast<void*>(owner),
            static_cast<int>(rect.left), static_cast<int>(rect.bottom));
    const UINT cmd = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY,
                                                        rect.left, rect.bottom, owner, nullptr));
    DestroyMenu(menu);
    DiagLog("PatternPicker::Show: TrackPopupMenuEx returned %u", cmd);
    if (cmd < kFirstCommand || cmd >= kFirstCommand + kPatternCount) return;
    // The menu is modal: the rollout may have been closed while it was open. Its combo box is
    // gone then, and so is everything the choice would go to.
    if (!IsWindow(combo)) {
        DiagLog("PatternPicker::Show: combo=0x%p was destroyed while the menu was open",
                static_cast<void*>(combo));
        return;
    }

    const int pattern = static_cast<int>(cmd - kFirstCommand);
    DiagLog("PatternPicker::Show: chose pattern=%d", pattern);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(pattern), 0);
    QMApplyPatternToPblock(combo, pattern);
    if (HWND parent = GetParent(combo)) {
        SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }
}

}  // namespace QuarelNS
