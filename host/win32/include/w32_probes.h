// Queries and settings of the Win32 stand-in that Windows itself does not offer, for tests and
// the preview tool: the user's side of a popup menu, the keyboard, the text drawn, the pixels of
// a bitmap and the count of live drawing objects. Never included by the plug-in.
#pragma once

#include "windows.h"

// One item of a menu as the user sees it.
struct W32MenuItemView {
    UINT id;         // command id (0 for headers and separators)
    UINT flags;      // MF_* bits: MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_MENUBARBREAK, ...
    LPCWSTR text;    // valid while the chooser runs
    HBITMAP bitmap;  // the item's picture (hbmpItem), or null
};

struct W32PopupMenuRequest {
    HMENU menu;
    UINT flags;  // TPM_* of the call
    int x;
    int y;
    HWND owner;
    const W32MenuItemView* items;
    UINT itemCount;
};

// Answers the command the user chooses, or 0 to dismiss the menu. It runs inside
// TrackPopupMenuEx, so it may do whatever a user can do meanwhile (close a window, ...).
typedef UINT (*W32PopupMenuChooser)(void* context, const W32PopupMenuRequest* request);

// A record of one DrawTextW call.
struct W32DrawnText {
    HDC hdc;
    RECT rect;
    UINT format;
    COLORREF color;
    int bkMode;
    WCHAR text[256];  // the first 255 characters
};

extern "C" {
// Installs the chooser (null: every menu is dismissed); answers the previous one.
W32PopupMenuChooser W32SetPopupMenuChooser(W32PopupMenuChooser chooser, void* context);

// Presses (TRUE) or releases a key of the stand-in's keyboard, as GetKeyState reports it.
void W32SetKeyState(int virtKey, BOOL down);

// The text drawn since the last W32ClearDrawnText, oldest first; null past the end.
const W32DrawnText* W32GetDrawnText(UINT index);
UINT W32DrawnTextCount();
void W32ClearDrawnText();

// Copies a bitmap's pixels as COLORREF values, row by row from the top; answers the number of
// pixels of the bitmap (0 for an invalid handle), copying at most `capacity`.
UINT W32CopyBitmapPixels(HBITMAP bitmap, COLORREF* out, UINT capacity);

// Live GDI objects that were created and not yet deleted (bitmaps, brushes) and live device
// contexts, and the number of device contexts ever obtained (GetDC and CreateCompatibleDC).
UINT W32LiveBitmapCount();
UINT W32LiveBrushCount();
UINT W32LiveDeviceContextCount();
UINT W32DeviceContextsObtained();

// Live windows.
UINT W32LiveWindowCount();
}
