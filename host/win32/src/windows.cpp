// Window records behind opaque handles: classes, creation and destruction, message dispatch,
// window longs, the parent chain, rectangles, enabling, text and properties.
#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <mutex>
#include <unordered_map>

#include "w32_probes.h"
#include "window_table.h"

namespace w32 {
namespace {

// A class registered without CS_GLOBALCLASS is local to its module: windows of another module
// (a dialog template's controls carry the template's module) do not find it, as in Windows.
struct WindowClass {
    std::wstring name;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    bool global = true;
};

std::wstring Lower(LPCWSTR s) {
    std::wstring out = s ? s : L"";
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct State {
    std::mutex mutex;  // guards the tables, never held while a procedure runs
    std::unordered_map<std::wstring, WindowClass> classes;
    std::unordered_map<ULONG_PTR, std::shared_ptr<Window>> windows;
    ULONG_PTR nextHandle = 0x10000;
    bool keys[256] = {};

    State() {
        const std::pair<LPCWSTR, WNDPROC> builtin[] = {
            {L"BUTTON", ButtonProc}, {L"COMBOBOX", ComboBoxProc}, {L"STATIC", StaticProc},
            {L"EDIT", StaticProc},   {L"#32770", DefDlgProcW},
        };
        for (const auto& [name, proc] : builtin) classes[Lower(name)] = {name, proc, nullptr, true};
    }
};

State& S() {
    static State* s = new State;  // outlives every module's static destructors
    return *s;
}

ULONG_PTR Key(HWND h) {
    return reinterpret_cast<ULONG_PTR>(h);
}

void SendDestroyTree(const std::shared_ptr<Window>& w) {
    if (w->destroying) return;
    w->destroying = true;
    SendMessageW(w->handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children = w->children;
    for (HWND c : children)
        if (auto child = FindWindowRecord(c)) SendDestroyTree(child);
    SendMessageW(w->handle, WM_NCDESTROY, 0, 0);
    ForgetWindowSurface(w->handle);
    State& s = S();
    std::shared_ptr<Window> parent;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.windows.erase(Key(w->handle));
        auto it = s.windows.find(Key(w->parent));
        if (it != s.windows.end()) parent = it->second;
    }
    if (parent) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), w->handle), siblings.end());
    }
    w->props.clear();
}

// Screen position of a window's client origin.
POINT ClientOrigin(const std::shared_ptr<Window>& w) {
    POINT p{w->rect.left, w->rect.top};
    for (auto parent = FindWindowRecord(w->parent); parent;
         parent = FindWindowRecord(parent->parent)) {
        p.x += parent->rect.left;
        p.y += parent->rect.top;
    }
    return p;
}

}  // namespace

std::shared_ptr<Window> FindWindowRecord(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.windows.find(Key(hwnd));
    return it == s.windows.end() ? nullptr : it->second;
}

void NotifyParent(HWND control, WORD code) {
    auto w = FindWindowRecord(control);
    if (!w || !w->parent) return;
    SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(w->id, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace w32

using w32::FindWindowRecord;
using w32::Window;

namespace {

std::shared_ptr<Window> Valid(HWND hwnd) {
    auto w = FindWindowRecord(hwnd);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

}  // namespace

extern "C" {

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXW) || !wc->lpszClassName || !wc->lpfnWndProc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // No instance: the program's own, as Windows takes it.
    HINSTANCE owner = wc->hInstance ? wc->hInstance : GetModuleHandleW(nullptr);
    auto& s = w32::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    const std::wstring key = w32::Lower(wc->lpszClassName);
    if (s.classes.count(key)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    s.classes[key] = {wc->lpszClassName, wc->lpfnWndProc, owner, (wc->style & CS_GLOBALCLASS) != 0};
    return static_cast<ATOM>(0xC000 + s.classes.size());
}

BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wc) {
    if (!className || !wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& s = w32::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.classes.find(w32::Lower(className));
    if (it == s.classes.end() ||
        (!it->second.global && instance && instance != it->second.instance)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    const UINT size = wc->cbSize;
    *wc = WNDCLASSEXW{};
    wc->cbSize = size;
    wc->style = it->second.global && it->second.instance ? CS_GLOBALCLASS : 0;
    wc->lpfnWndProc = it->second.proc;
    wc->hInstance = it->second.instance;
    wc->lpszClassName = it->second.name.c_str();  // the table's entries stay
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    if (parent && !Valid(parent)) return nullptr;
    auto& s = w32::S();
    auto w = std::make_shared<Window>();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        auto it = s.classes.find(w32::Lower(className));
        if (it == s.classes.end() ||
            (!it->second.global && instance && instance != it->second.instance)) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        w->className = it->second.name;
        w->proc = it->second.proc;
        w->handle = reinterpret_cast<HWND>(s.nextHandle);
        s.nextHandle += 0x10;
        s.windows[w32::Key(w->handle)] = w;
    }
    const bool child = (style & WS_CHILD) != 0;
    w->instance = instance;
    w->style = style;
    w->exStyle = exStyle;
    w->parent = child ? parent : nullptr;
    w->owner = child ? nullptr : parent;
    w->id = child ? static_cast<int>(reinterpret_cast<ULONG_PTR>(menu)) : 0;
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->isDialog = w->proc == DefDlgProcW;
    if (child)
        if (auto p = FindWindowRecord(parent)) p->children.push_back(w->handle);

    CREATESTRUCTW cs{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    const LPARAM lp = reinterpret_cast<LPARAM>(&cs);
    if (!SendMessageW(w->handle, WM_NCCREATE, 0, lp) ||
        SendMessageW(w->handle, WM_CREATE, 0, lp) == -1) {
        DestroyWindow(w->handle);
        return nullptr;
    }
    return w->handle;
}

BOOL DestroyWindow(HWND hwnd) {
    auto w = Valid(hwnd);
    if (!w) return FALSE;
    w32::SendDestroyTree(w);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) {
    return FindWindowRecord(hwnd) ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The record stays alive while its procedure runs, even if the window is destroyed meanwhile.
    auto w = Valid(hwnd);
    if (!w || !w->proc) return 0;
    return w->proc(hwnd, msg, wParam, lParam);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto w = FindWindowRecord(hwnd);
    if (!w) return 0;
    switch (msg) {
        case WM_NCCREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
            return TRUE;
        }
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
            return TRUE;
        case WM_GETTEXT: {
            auto* out = reinterpret_cast<LPWSTR>(lParam);
            if (!out || wParam == 0) return 0;
            const std::size_t n = std::min<std::size_t>(w->text.size(), wParam - 1);
            std::wmemcpy(out, w->text.data(), n);
            out[n] = L'\0';
            return static_cast<LRESULT>(n);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        default:
            return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    auto w = Valid(hwnd);
    if (!w) return 0;
    LONG_PTR old = 0;
    auto swap = [&](auto& field, auto v) {
        old = reinterpret_cast<LONG_PTR>(field);
        field = v;
    };
    switch (index) {
        case GWLP_WNDPROC:
            swap(w->proc, reinterpret_cast<WNDPROC>(value));
            break;
        case GWLP_USERDATA:
            old = w->userData;
            w->userData = value;
            break;
        case GWLP_ID:
            old = w->id;
            w->id = static_cast<int>(value);
            break;
        case GWL_STYLE:
            old = static_cast<LONG_PTR>(w->style);
            w->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            old = static_cast<LONG_PTR>(w->exStyle);
            w->exStyle = static_cast<DWORD>(value);
            break;
        default:
            if (w->isDialog && index == DWLP_MSGRESULT) {
                old = w->dlgResult;
                w->dlgResult = value;
            } else if (w->isDialog && index == DWLP_DLGPROC) {
                swap(w->dlgProc, reinterpret_cast<DLGPROC>(value));
            } else if (w->isDialog && index == DWLP_USER) {
                old = w->dlgUser;
                w->dlgUser = value;
            } else {
                SetLastError(ERROR_INVALID_INDEX);
                return 0;
            }
    }
    return old;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    auto w = Valid(hwnd);
    if (!w) return 0;
    switch (index) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(w->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(w->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner);
        case GWLP_USERDATA:
            return w->userData;
        case GWLP_ID:
            return w->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exStyle);
        default:
            if (w->isDialog && index == DWLP_MSGRESULT) return w->dlgResult;
            if (w->isDialog && index == DWLP_DLGPROC) return reinterpret_cast<LONG_PTR>(w->dlgProc);
            if (w->isDialog && index == DWLP_USER) return w->dlgUser;
            SetLastError(ERROR_INVALID_INDEX);
            return 0;
    }
}

HWND GetParent(HWND hwnd) {
    auto w = Valid(hwnd);
    if (!w) return nullptr;
    return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
    auto w = Valid(hwnd);
    if (!w) return nullptr;
    switch (flags) {
        case GA_PARENT:
            return w->parent;
        case GA_ROOT: {
            while (w->parent)
                if (auto p = FindWindowRecord(w->parent))
                    w = p;
                else
                    break;
            return w->handle;
        }
        case GA_ROOTOWNER: {
            HWND h = hwnd;
            for (HWND up = GetParent(h); up; up = GetParent(h)) h = up;
            return h;
        }
        default:
            return nullptr;
    }
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    auto w = Valid(hwnd);
    if (!w || !rect) return FALSE;
    const POINT o = w32::ClientOrigin(w);
    *rect = {o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    auto w = Valid(hwnd);
    if (!w || !rect) return FALSE;
    *rect = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
    auto w = Valid(hwnd);
    if (!w) return FALSE;
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    return TRUE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    auto w = Valid(hwnd);
    if (!w) return FALSE;
    const BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable)
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    else
        w->style |= WS_DISABLED;
    if (wasDisabled == (enable ? TRUE : FALSE)) SendMessageW(hwnd, WM_ENABLE, enable ? 1 : 0, 0);
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
    auto w = Valid(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!Valid(hwnd)) return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
    if (text && maxCount > 0) text[0] = L'\0';
    if (!Valid(hwnd) || !text || maxCount <= 0) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthW(HWND hwnd) {
    if (!Valid(hwnd)) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
    auto w = Valid(hwnd);
    if (!w || !name || w->destroying) return FALSE;
    w->props[w32::Lower(name)] = data;
    return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
    auto w = Valid(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(w32::Lower(name));
    return it == w->props.end() ? nullptr : it->second;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
    auto w = Valid(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(w32::Lower(name));
    if (it == w->props.end()) return nullptr;
    HANDLE h = it->second;
    w->props.erase(it);
    return h;
}

SHORT GetKeyState(int virtKey) {
    auto& s = w32::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    return virtKey >= 0 && virtKey < 256 && s.keys[virtKey] ? static_cast<SHORT>(0x8000 - 0x10000)
                                                            : SHORT{0};
}

void W32SetKeyState(int virtKey, BOOL down) {
    auto& s = w32::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (virtKey >= 0 && virtKey < 256) s.keys[virtKey] = down != FALSE;
}

DWORD GetSysColor(int index) {
    switch (index) {
        case COLOR_WINDOW:
        case COLOR_HIGHLIGHTTEXT:
            return RGB(255, 255, 255);
        case COLOR_HIGHLIGHT:
            return RGB(0, 120, 215);
        case COLOR_MENU:
        case COLOR_BTNFACE:
            return RGB(240, 240, 240);
        case COLOR_GRAYTEXT:
            return RGB(109, 109, 109);
        case COLOR_BACKGROUND:
            return RGB(0, 0, 0);
        case COLOR_SCROLLBAR:
            return RGB(200, 200, 200);
        case COLOR_WINDOWFRAME:
            return RGB(100, 100, 100);
        default:  // the text colours
            return RGB(0, 0, 0);
    }
}

UINT W32LiveWindowCount() {
    auto& s = w32::S();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<UINT>(s.windows.size());
}

}  // extern "C"
