#include "ui/pattern_combo.h"

#include <cwchar>

#include "base/diag_log.h"
#include "pattern/catalogue.h"
#include "ui/pattern_picker.h"
#include "ui/pattern_swatch.h"

namespace QuarelNS {
namespace {

// The combo box procedure replaced at the first subclassing in the process (user-interface
// thread only).
WNDPROC gPreviousComboProc = nullptr;

constexpr LONG kSwatchSide = 50;
constexpr wchar_t kNoText[] = L"Pattern";

}  // namespace

void DrawPatternComboItem(const DRAWITEMSTRUCT& dis) {
    if (dis.CtlType != ODT_COMBOBOX || dis.hwndItem == nullptr || dis.hDC == nullptr) return;
    if (dis.itemID == static_cast<UINT>(-1)) return;
    const LRESULT count = SendMessageW(dis.hwndItem, CB_GETCOUNT, 0, 0);
    if (count <= 0 || dis.itemID >= static_cast<UINT>(count)) return;

    const bool selected = (dis.itemState & ODS_SELECTED) != 0;
    const COLORREF back = GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF fore = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (HBRUSH brush = CreateSolidBrush(back)) {
        FillRect(dis.hDC, &dis.rcItem, brush);
        DeleteObject(brush);
    }

    wchar_t text[256] = {};
    const LRESULT length = SendMessageW(dis.hwndItem, CB_GETLBTEXTLEN, dis.itemID, 0);
    if (length >= 0 && length < 255 &&
        SendMessageW(dis.hwndItem, CB_GETLBTEXT, dis.itemID, reinterpret_cast<LPARAM>(text)) ==
            CB_ERR)
        text[0] = L'\0';
    text[255] = L'\0';
    if (text[0] == L'\0') std::wcsncpy(text, kNoText, 255);

    SetBkMode(dis.hDC, TRANSPARENT);
    SetTextColor(dis.hDC, fore);
    RECT textRect = dis.rcItem;
    if (dis.rcItem.bottom - dis.rcItem.top < kSwatchSide) {
        textRect.left += 3;
        textRect.right -= 3;
    } else {
        const int pattern =
            dis.itemID < static_cast<UINT>(kPatternCount) ? static_cast<int>(dis.itemID) : 0;
        const RECT swatch{dis.rcItem.left + 2, dis.rcItem.top + 2,
                          dis.rcItem.left + 2 + kSwatchSide, dis.rcItem.top + 2 + kSwatchSide};
        DrawPatternSwatch(dis.hDC, swatch, pattern);
        textRect.left += 58;
        textRect.right -= 4;
    }
    DrawTextW(dis.hDC, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (dis.itemState & ODS_FOCUS) DrawFocusRect(dis.hDC, &dis.rcItem);
}

LRESULT CALLBACK PatternComboProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_F4 || (wParam == VK_DOWN && GetKeyState(VK_MENU) < 0)) {
                PatternPicker::Show(hwnd);
                return 0;
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            PatternPicker::Show(hwnd);
            return 0;
        default:
            break;
    }
    // Without a stored procedure (the first subclassing failed) the default one answers,
    // rather than a call through a null procedure.
    if (gPreviousComboProc == nullptr) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return CallWindowProcW(gPreviousComboProc, hwnd, msg, wParam, lParam);
}

void SubclassPatternCombo(HWND combo) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PatternComboProc)));
    if (gPreviousComboProc != nullptr || previous == nullptr || previous == PatternComboProc)
        return;
    gPreviousComboProc = previous;
    DiagLog("Pattern combobox subclassed, origProc=0x%p", reinterpret_cast<void*>(previous));
}

}  // namespace QuarelNS
