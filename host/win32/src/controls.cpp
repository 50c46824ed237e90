// The built-in controls: combo boxes (drop-down lists, owner-drawn fixed included) and buttons
// (check boxes, radio buttons, push buttons, group boxes).
#include <algorithm>
#include <cwchar>

#include "window_table.h"

namespace w32 {
namespace {

bool HasStrings(DWORD style) {
    return !(style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (style & CBS_HASSTRINGS);
}

bool IsDropDown(DWORD style) {
    return (style & 0x3) == CBS_DROPDOWN || (style & 0x3) == CBS_DROPDOWNLIST;
}

// The closed combo box is its selection field with a 3-pixel border all round.
void FitToField(Window& w) {
    if (IsDropDown(w.style)) w.rect.bottom = w.rect.top + w.combo.fieldHeight + 6;
}

void MeasureItems(Window& w) {
    if (!(w.style & CBS_OWNERDRAWFIXED) || !w.parent) return;
    for (int item : {-1, 0}) {
        int& height = item < 0 ? w.combo.fieldHeight : w.combo.itemHeight;
        // Both are asked at the box's width, as user32 asks them.
        MEASUREITEMSTRUCT mis{ODT_COMBOBOX,
                              static_cast<UINT>(w.id),
                              static_cast<UINT>(item),
                              static_cast<UINT>(std::max<LONG>(0, w.rect.right - w.rect.left)),
                              static_cast<UINT>(height),
                              0};
        SendMessageW(w.parent, WM_MEASUREITEM, static_cast<WPARAM>(w.id),
                     reinterpret_cast<LPARAM>(&mis));
        if (mis.itemHeight >= 1 && mis.itemHeight <= 255) height = static_cast<int>(mis.itemHeight);
    }
}

// Closing the list without a choice (CB_SHOWDROPDOWN, F4) cancels the selection's end first,
// as Windows does.
LRESULT ShowDropDown(HWND hwnd, Window& w, bool show) {
    if (w.combo.dropped != show) {
        w.combo.dropped = show;
        if (!show) NotifyParent(hwnd, CBN_SELENDCANCEL);
        NotifyParent(hwnd, show ? CBN_DROPDOWN : CBN_CLOSEUP);
    }
    return TRUE;
}

LRESULT MoveSelection(HWND hwnd, Window& w, int step) {
    const int count = static_cast<int>(w.combo.items.size());
    if (count == 0) return 0;
    const int next = std::clamp(w.combo.curSel < 0 ? 0 : w.combo.curSel + step, 0, count - 1);
    if (next != w.combo.curSel) {
        w.combo.curSel = next;
        // With the list closed the arrow key also ends the selection, before the change.
        if (!w.combo.dropped) NotifyParent(hwnd, CBN_SELENDOK);
        NotifyParent(hwnd, CBN_SELCHANGE);
    }
    return 0;
}

LRESULT CopyText(const std::wstring& text, WPARAM size, LPARAM out) {
    auto* buf = reinterpret_cast<LPWSTR>(out);
    if (!buf || size == 0) return 0;
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::wmemcpy(buf, text.data(), n);
    buf[n] = L'\0';
    return static_cast<LRESULT>(n);
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto rec = FindWindowRecord(hwnd);
    if (!rec) return 0;
    Window& w = *rec;
    ComboState& c = w.combo;
    const int count = static_cast<int>(c.items.size());
    const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    const bool inRange = index >= 0 && index < count;
    switch (msg) {
        case WM_CREATE:
            MeasureItems(w);
            FitToField(w);
            return 0;
        case CB_ADDSTRING:
            // Owner-drawn lists without strings pass item data, not text.
            c.items.emplace_back(HasStrings(w.style) && lParam ? reinterpret_cast<LPCWSTR>(lParam)
                                                               : L"");
            return count;
        case CB_RESETCONTENT:
            c.items.clear();
            c.curSel = CB_ERR;
            return CB_OKAY;
        case CB_GETCOUNT:
            return count;
        case CB_GETCURSEL:
            return c.curSel;
        case CB_SETCURSEL:
            c.curSel = inRange ? index : CB_ERR;
            return c.curSel;
        case CB_GETLBTEXT:
            if (!inRange) return CB_ERR;
            return CopyText(c.items[index], static_cast<WPARAM>(-1), lParam);
        case CB_GETLBTEXTLEN:
            return inRange ? static_cast<LRESULT>(c.items[index].size()) : CB_ERR;
        case CB_SETITEMHEIGHT:
            if (lParam < 1 || lParam > 255 || index < -1) return CB_ERR;
            (index == -1 ? c.fieldHeight : c.itemHeight) = static_cast<int>(lParam);
            if (index == -1) FitToField(w);
            return CB_OKAY;
        case CB_GETITEMHEIGHT:
            return index == -1 ? c.fieldHeight : c.itemHeight;
        case CB_SETDROPPEDWIDTH:
            if (index < 0) return CB_ERR;
            c.droppedWidth = index;
            [[fallthrough]];
        case CB_GETDROPPEDWIDTH:
            return std::max<LONG>(c.droppedWidth, w.rect.right - w.rect.left);
        case CB_SHOWDROPDOWN:
            return ShowDropDown(hwnd, w, wParam != 0);
        case CB_GETDROPPEDSTATE:
            return c.dropped ? TRUE : FALSE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ShowDropDown(hwnd, w, !c.dropped);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DOWN && GetKeyState(VK_MENU) >= 0) return MoveSelection(hwnd, w, 1);
            if (wParam == VK_UP) return MoveSelection(hwnd, w, -1);
            if (wParam == VK_F4 || wParam == VK_DOWN) ShowDropDown(hwnd, w, !c.dropped);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_UP) ShowDropDown(hwnd, w, !c.dropped);
            return 0;
        case WM_GETTEXT:
            if ((w.style & 0x3) == CBS_DROPDOWNLIST)
                return CopyText(c.curSel >= 0 ? c.items[c.curSel] : L"", wParam, lParam);
            break;
        case WM_GETTEXTLENGTH:
            if ((w.style & 0x3) == CBS_DROPDOWNLIST)
                return c.curSel >= 0 ? static_cast<LRESULT>(c.items[c.curSel].size()) : 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto rec = FindWindowRecord(hwnd);
    if (!rec) return 0;
    Window& w = *rec;
    const DWORD type = w.style & 0xF;
    const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX ||
                           type == BS_AUTORADIOBUTTON || type == 0x4 /* BS_RADIOBUTTON */ ||
                           type == 0x5 /* BS_3STATE */ || type == 0x6 /* BS_AUTO3STATE */;
    switch (msg) {
        case BM_GETCHECK:
            return checkable ? w.check : BST_UNCHECKED;
        case BM_SETCHECK:
            if (checkable) w.check = static_cast<UINT>(wParam) & 0x3;
            return 0;
        case BM_CLICK:
            // A disabled button takes no clicks.
            if (w.style & WS_DISABLED) return 0;
            if (type == BS_AUTOCHECKBOX)
                w.check = w.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
            else if (type == BS_AUTORADIOBUTTON)
                w.check = BST_CHECKED;
            NotifyParent(hwnd, BN_CLICKED);
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace w32
