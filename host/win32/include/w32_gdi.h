// Drawing in the Win32 stand-in (GDI32) over 32-bit pixel buffers.
//
// Every device context draws into a bitmap: a memory context into the bitmap selected into it
// (a 1 x 1 stock bitmap until one is selected), a window's context (GetDC) into a surface the
// size of the window's client area that lives with the window, the screen's context
// (GetDC(NULL)) into a screen surface. Pixels outside the target are clipped. Bitmaps are 32 bits
// per pixel, black when created. A bitmap is selected into one memory context at a time and
// cannot be deleted while it is; deleting a memory context leaves its bitmap alive. Text is
// drawn as one filled box per visible character in a 6 x 13 pixel cell, so layout and colours
// can be checked; the text itself can be read back through w32_probes.h. Handles are never
// reused. User-interface thread only.
#pragma once

#include "w32_user.h"

#define CLR_INVALID 0xFFFFFFFFul
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1)))

#define TRANSPARENT 1
#define OPAQUE 2

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_SINGLELINE 0x00000020
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

extern "C" {

HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// A bitmap of the context's format: 32 bits per pixel here. Zero or negative sizes give 1 x 1.
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH GetSysColorBrush(int index);
// Bitmaps into memory contexts only; brushes and fonts into any. Answers the object it
// replaced, or null when the object cannot be selected.
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int size, LPVOID out);

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);
// A brush of (HBRUSH)(COLOR_x + 1) paints that system colour.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL DrawFocusRect(HDC hdc, const RECT* rect);

int SetBkMode(HDC hdc, int mode);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF SetBkColor(HDC hdc, COLORREF color);
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
}

#define GetObject GetObjectW
#define DrawText DrawTextW
