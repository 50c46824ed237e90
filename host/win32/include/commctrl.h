// Common controls: class registration.
#pragma once

#include "w32_types.h"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;  // sizeof(INITCOMMONCONTROLSEX)
    DWORD dwICC;   // ICC_* classes to register
};
typedef INITCOMMONCONTROLSEX* LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_ANIMATE_CLASS 0x00000080
#define ICC_WIN95_CLASSES 0x000000FF

extern "C" {
// Fails (FALSE, ERROR_INVALID_PARAMETER) for a null structure or a wrong dwSize.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc);
// The classes registered so far in this process (a stand-in query for tests).
DWORD W32RegisteredCommonControls();
}
