// Window procedures of the host's custom controls. A spinner or colour swatch window creates its
// control state when it is created and drops it when it goes; the control reports changes to the
// window's parent. An edit field is the system's edit control that hands the text entered
// (Return) to the spinner linked to it; a map button is the system's push button. On Windows the
// spinners and swatches paint themselves; the stand-in has no screen to paint on.
#include "control_classes.h"

#include <mutex>

#include "custcont.h"
#include "host/custom_controls.h"

namespace quarel_host {
namespace {

// The system classes the edit field and the map button are made from.
WNDPROC gSystemEditProc = nullptr;
WNDPROC gSystemButtonProc = nullptr;

void NotifyParentOf(void* context, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND self = static_cast<HWND>(context);
    if (HWND parent = GetParent(self)) SendMessageW(parent, msg, wParam, lParam);
}

#ifdef _WIN32
// Two arrow buttons, the upper half up and the lower down, greyed while disabled.
void PaintSpinner(HWND hwnd, HDC dc) {
    RECT r{};
    GetClientRect(hwnd, &r);
    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (ISpinnerControl* spin = GetISpinner(hwnd)) {
        enabled = enabled && spin->IsEnabled();
        ReleaseISpinner(spin);
    }
    const UINT state = enabled ? 0 : DFCS_INACTIVE;
    const LONG middle = (r.top + r.bottom) / 2;
    RECT up{r.left, r.top, r.right, middle}, down{r.left, middle, r.right, r.bottom};
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | state);
    DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | state);
}

// The colour in a sunken frame; a disabled swatch shows the face colour.
void PaintSwatch(HWND hwnd, HDC dc) {
    RECT r{};
    GetClientRect(hwnd, &r);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    COLORREF colour = GetSysColor(COLOR_BTNFACE);
    if (IColorSwatch* swatch = GetIColorSwatch(hwnd)) {
        if (swatch->IsEnabled() && IsWindowEnabled(hwnd)) colour = swatch->GetColor();
        ReleaseIColorSwatch(swatch);
    }
    if (HBRUSH brush = CreateSolidBrush(colour)) {
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

bool Paint(HWND hwnd, void (*painter)(HWND, HDC)) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return false;
    painter(hwnd, dc);
    EndPaint(hwnd, &ps);
    return true;
}
#endif

LRESULT CALLBACK SpinnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) CreateSpinnerControl(hwnd, GetDlgCtrlID(hwnd), NotifyParentOf, hwnd);
    if (msg == WM_NCDESTROY) DestroyCustomControl(hwnd);
    // The upper arrow steps up, the lower one down.
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
        RECT r{};
        GetClientRect(hwnd, &r);
        const int y = static_cast<short>(HIWORD(lParam));
        if (IsWindowEnabled(hwnd)) StepSpinner(hwnd, y < (r.top + r.bottom) / 2 ? 1 : -1);
        return 0;
    }
#ifdef _WIN32
    if (msg == WM_PAINT && Paint(hwnd, PaintSpinner)) return 0;
#endif
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SwatchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) CreateColorSwatchControl(hwnd, GetDlgCtrlID(hwnd), NotifyParentOf, hwnd);
    if (msg == WM_NCDESTROY) DestroyCustomControl(hwnd);
#ifdef _WIN32
    if (msg == WM_PAINT && Paint(hwnd, PaintSwatch)) return 0;
#endif
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // A rollout is a modeless dialog: the host's loop shows each key to IsDialogMessage, which
    // would take Return as the dialog's default button unless the field asks for it.
    if (msg == WM_GETDLGCODE) {
        LRESULT code = gSystemEditProc ? CallWindowProcW(gSystemEditProc, hwnd, msg, wParam, lParam)
                                       : DefWindowProcW(hwnd, msg, wParam, lParam);
        if (const auto* m = reinterpret_cast<const MSG*>(lParam))
            if ((m->message == WM_KEYDOWN || m->message == WM_CHAR) && m->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
        return code;
    }
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        CommitSpinnerEdit(hwnd);
        return 0;
    }
    if (msg == WM_CHAR && wParam == VK_RETURN) return 0;  // a one-line edit would only beep
    return gSystemEditProc ? CallWindowProcW(gSystemEditProc, hwnd, msg, wParam, lParam)
                           : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // One notification a click, and none while disabled, whatever the system button does.
    if (msg == BM_CLICK) {
        if (IsWindowEnabled(hwnd))
            if (HWND parent = GetParent(hwnd))
                SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                             reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return gSystemButtonProc ? CallWindowProcW(gSystemButtonProc, hwnd, msg, wParam, lParam)
                             : DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A class of `name` on the system class `base` (null: a class of its own), with `proc` in
// front of the base's procedure, which goes to `baseProc`.
void Register(LPCWSTR name, WNDPROC proc, LPCWSTR base, WNDPROC* baseProc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (base && GetClassInfoExW(nullptr, base, &wc) && baseProc) *baseProc = wc.lpfnWndProc;
    wc.cbSize = sizeof(wc);
    // Global: the controls are made for dialog templates of the plug-in modules, whose
    // instance is not the host's. The base's own extra bytes and cursor come along.
    wc.style = (wc.style & ~static_cast<UINT>(CS_GLOBALCLASS)) | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.hInstance = nullptr;
    wc.lpszClassName = name;
    wc.lpszMenuName = nullptr;
#ifdef _WIN32
    if (!wc.hCursor) wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
#endif
    RegisterClassExW(&wc);
}

}  // namespace

void RegisterCustomControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        Register(L"CustEdit", EditProc, L"EDIT", &gSystemEditProc);
        Register(L"SpinnerControl", SpinnerProc, nullptr, nullptr);
        Register(L"ColorSwatch", SwatchProc, nullptr, nullptr);
        Register(L"CustButton", ButtonProc, L"BUTTON", &gSystemButtonProc);
    });
}

}  // namespace quarel_host
