// The pattern combo box (control 1001) of the parameters rollout: its picture items and the
// subclass procedure that opens the pattern picker in place of the drop-down list.
//
// The combo box carries the window property "QuarelMapParamMap" (its rollout's IParamMap2).
// The first combo box subclassed in the process keeps the procedure it replaced for all of
// them: every later one passes its unhandled messages to that same procedure.
#pragma once

#include <windows.h>

namespace QuarelNS {

// Name of the combo box's window property holding the rollout's IParamMap2.
constexpr const wchar_t* kParamMapProp = L"QuarelMapParamMap";

// Draws one item of the combo box for WM_DRAWITEM: a list item at least 50 pixels high shows a
// 50 x 50 swatch of the pattern whose id is the item index and the pattern's name; a lower one
// (the closed box) only the name. An item without text reads "Pattern". Anything but a combo
// box item with a window, a context and an index inside the list is ignored.
void DrawPatternComboItem(const DRAWITEMSTRUCT& dis);

// Window procedure of the combo box: a click, a double click, F4 or Alt+Down open the pattern
// picker; everything else goes to the procedure stored at the first subclassing.
LRESULT CALLBACK PatternComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Replaces the combo box's window procedure by PatternComboProc, keeping the replaced one only
// the first time in the process.
void SubclassPatternCombo(HWND combo);

}  // namespace QuarelNS
