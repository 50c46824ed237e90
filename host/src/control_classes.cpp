// Window procedures of the host's custom controls. A spinner or colour swatch window creates its
// control state when it is created and drops it when it goes; the control reports changes to the
// window's parent. An edit field hands the text entered (Return) to the spinner linked to it; a
// map button reports clicks as a push button does.
#include "control_classes.h"

#include <mutex>

#include "host/custom_controls.h"

namespace quarel_host {
namespace {

void NotifyParentOf(void* context, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND self = static_cast<HWND>(context);
    if (HWND parent = GetParent(self)) SendMessageW(parent, msg, wParam, lParam);
}

LRESULT CALLBACK SpinnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) CreateSpinnerControl(hwnd, GetDlgCtrlID(hwnd), NotifyParentOf, hwnd);
    if (msg == WM_NCDESTROY) DestroyCustomControl(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SwatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) CreateColorSwatchControl(hwnd, GetDlgCtrlID(hwnd), NotifyParentOf, hwnd);
    if (msg == WM_NCDESTROY) DestroyCustomControl(hwnd);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        CommitSpinnerEdit(hwnd);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == BM_CLICK) {
        if (IsWindowEnabled(hwnd))
            if (HWND parent = GetParent(hwnd))
                SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void RegisterCustomControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        const std::pair<LPCWSTR, WNDPROC> classes[] = {
            {L"CustEdit", EditProc},
            {L"SpinnerControl", SpinnerProc},
            {L"ColorSwatch", SwatchProc},
            {L"CustButton", ButtonProc},
        };
        for (const auto& [name, proc] : classes) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof(wc);
            // Global: the controls are made for dialog templates of the plug-in modules, whose
            // instance is not the host's.
            wc.style = CS_GLOBALCLASS;
            wc.lpfnWndProc = proc;
            wc.lpszClassName = name;
            RegisterClassExW(&wc);
        }
    });
}

}  // namespace quarel_host
