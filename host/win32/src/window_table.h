// The stand-in's window records, shared by the window, dialog, control and drawing code.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "windows.h"

namespace w32 {

struct ComboState {
    std::vector<std::wstring> items;
    int curSel = CB_ERR;
    int fieldHeight = 15;  // the selection field (index -1)
    int itemHeight = 15;   // list items
    int droppedWidth = 0;  // 0: the combo box's own width
    bool dropped = false;
};

struct Window {
    HWND handle = nullptr;
    std::wstring className;  // as registered
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    std::vector<HWND> children;
    RECT rect{};  // in the parent's client coordinates, or the screen's
    LONG_PTR userData = 0;
    std::map<std::wstring, HANDLE> props;  // keys in lower case
    bool destroying = false;

    // Dialog windows.
    bool isDialog = false;
    DLGPROC dlgProc = nullptr;
    LONG_PTR dlgResult = 0;
    LONG_PTR dlgUser = 0;

    // Built-in controls.
    ComboState combo;
    UINT check = BST_UNCHECKED;
};

// The live window of a handle, or null (with ERROR_INVALID_WINDOW_HANDLE).
std::shared_ptr<Window> FindWindowRecord(HWND hwnd);

// Window procedures of the built-in control classes.
LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Sends WM_COMMAND with a notification code to a control's parent.
void NotifyParent(HWND control, WORD code);

// The drawing surface of a window goes with it.
void ForgetWindowSurface(HWND hwnd);

}  // namespace w32
