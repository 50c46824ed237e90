// Dialogs built from a module's templates, the dialog class's procedure and the dialog-item
// helpers.
#include <string>

#include "text_convert.h"
#include "w32_module.h"
#include "window_table.h"

namespace {

// Dialog base units of the 8-point dialog font at 96 dpi.
constexpr LONG kBaseX = 6;
constexpr LONG kBaseY = 13;

LONG Scale(LONG v, LONG mul, LONG div) {
    const LONG n = v * mul;
    return n >= 0 ? (n + div / 2) / div : -((-n + div / 2) / div);
}

RECT DialogToPixels(LONG x, LONG y, LONG cx, LONG cy) {
    RECT r{x, y, x + cx, y + cy};
    MapDialogRect(nullptr, &r);
    return r;
}

}  // namespace

extern "C" {

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dlgProc,
                        LPARAM initParam) {
    if (!IS_INTRESOURCE(templateName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(templateName));
    const W32DialogResource* res = W32FindDialogResource(instance, id);
    if (!res) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if ((res->style & WS_CHILD) && !parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    const RECT dr = DialogToPixels(0, 0, res->cx, res->cy);
    HWND dlg = CreateWindowExW(0, L"#32770", res->caption, res->style, 0, 0, dr.right, dr.bottom,
                               parent, nullptr, instance, nullptr);
    if (!dlg) return nullptr;
    SetWindowLongPtrW(dlg, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(dlgProc));

    HWND firstTabStop = nullptr;
    for (std::uint32_t i = 0; i < res->itemCount; ++i) {
        const W32DialogItem& item = res->items[i];
        const std::wstring cls = w32::FromUtf8(item.windowClass);
        const RECT r = DialogToPixels(item.x, item.y, item.cx, item.cy);
        HWND ctl = CreateWindowExW(item.exStyle, cls.c_str(), item.text, item.style | WS_CHILD,
                                   r.left, r.top, r.right - r.left, r.bottom - r.top, dlg,
                                   reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(item.id)),
                                   instance, nullptr);
        if (!ctl) {  // a control of an unknown class fails the whole dialog, as on Windows
            const DWORD err = GetLastError();
            DestroyWindow(dlg);
            SetLastError(err);
            return nullptr;
        }
        if (!firstTabStop && (item.style & WS_TABSTOP)) firstTabStop = ctl;
    }
    SendMessageW(dlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), initParam);
    return IsWindow(dlg) ? dlg : nullptr;
}

LRESULT DefDlgProcW(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = w32::FindWindowRecord(hDlg);
    if (!w) return 0;
    if (w->dlgProc) {
        const INT_PTR r = w->dlgProc(hDlg, msg, wParam, lParam);
        // These messages answer the procedure's value itself; the others their message result.
        if (msg == WM_INITDIALOG) return r;
        if (r) return w32::FindWindowRecord(hDlg) ? w->dlgResult : 0;
    }
    switch (msg) {
        case WM_NCCREATE:
        case WM_SETTEXT:
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH:
            return DefWindowProcW(hDlg, msg, wParam, lParam);
        default:
            return 0;
    }
}

BOOL MapDialogRect(HWND, LPRECT rect) {
    if (!rect) return FALSE;
    rect->left = Scale(rect->left, kBaseX, 4);
    rect->right = Scale(rect->right, kBaseX, 4);
    rect->top = Scale(rect->top, kBaseY, 8);
    rect->bottom = Scale(rect->bottom, kBaseY, 8);
    return TRUE;
}

HWND GetDlgItem(HWND hDlg, int id) {
    auto w = w32::FindWindowRecord(hDlg);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND c : w->children)
        if (auto child = w32::FindWindowRecord(c); child && child->id == id) return c;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    auto w = w32::FindWindowRecord(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return (w->style & WS_CHILD) ? w->id : 0;
}

LRESULT SendDlgItemMessageW(HWND hDlg, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND ctl = GetDlgItem(hDlg, id);
    return ctl ? SendMessageW(ctl, msg, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND hDlg, int id, UINT check) {
    HWND ctl = GetDlgItem(hDlg, id);
    if (!ctl) return FALSE;
    SendMessageW(ctl, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int id) {
    HWND ctl = GetDlgItem(hDlg, id);
    return ctl ? static_cast<UINT>(SendMessageW(ctl, BM_GETCHECK, 0, 0)) : 0;
}

}  // extern "C"
