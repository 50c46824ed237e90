// Device contexts, bitmaps and brushes over 32-bit pixel buffers.
#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "w32_probes.h"
#include "window_table.h"

namespace {

// Glyph boxes: one 6 x 13 cell per character, the box inset by one pixel across and three from
// the top, like the ink of a capital letter.
constexpr LONG kCellWidth = 6;
constexpr LONG kCellHeight = 13;
constexpr std::size_t kTextLogLimit = 4096;

struct Surface {
    LONG width = 1;
    LONG height = 1;
    std::vector<std::uint32_t> pixels;  // 0x00BBGGRR; allocated on the first write

    bool Contains(LONG x, LONG y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t Get(LONG x, LONG y) const {
        return pixels.empty() ? 0u : pixels[static_cast<std::size_t>(y * width + x)];
    }
    void Set(LONG x, LONG y, COLORREF c) {
        if (pixels.empty()) pixels.assign(static_cast<std::size_t>(width * height), 0u);
        pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint32_t>(c & 0xFFFFFF);
    }
};

struct Bitmap {
    std::shared_ptr<Surface> surface;
    ULONG_PTR selectedIn = 0;
    bool stock = false;
};

struct Brush {
    COLORREF color = 0;
    bool stock = false;
};

enum class DcKind { Memory, Window, Screen };

struct Dc {
    DcKind kind = DcKind::Memory;
    ULONG_PTR bitmap = 0;  // memory contexts
    std::shared_ptr<Surface> surface;
    ULONG_PTR brush = 0;
    int bkMode = OPAQUE;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
};

struct GdiState {
    std::mutex mutex;
    std::unordered_map<ULONG_PTR, Bitmap> bitmaps;
    std::unordered_map<ULONG_PTR, Brush> brushes;
    std::unordered_map<ULONG_PTR, Dc> dcs;
    std::unordered_map<ULONG_PTR, std::shared_ptr<Surface>> windowSurfaces;
    std::shared_ptr<Surface> screen = std::make_shared<Surface>(Surface{1920, 1080, {}});
    std::deque<W32DrawnText> texts;
    ULONG_PTR next = 0x40000;
    ULONG_PTR stockBitmap = 0;
    ULONG_PTR stockBrush = 0;
    UINT dcsObtained = 0;

    GdiState() {
        stockBitmap = NewHandle();
        bitmaps[stockBitmap] = {std::make_shared<Surface>(), 0, true};
        stockBrush = NewHandle();
        brushes[stockBrush] = {RGB(255, 255, 255), true};
    }
    ULONG_PTR NewHandle() {
        const ULONG_PTR h = next;
        next += 0x10;
        return h;
    }
    Dc* FindDc(HDC hdc) {
        auto it = dcs.find(reinterpret_cast<ULONG_PTR>(hdc));
        if (it == dcs.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return &it->second;
    }
    Surface* Target(Dc& dc) {
        if (dc.kind != DcKind::Memory) return dc.surface.get();
        auto it = bitmaps.find(dc.bitmap);
        return it == bitmaps.end() ? nullptr : it->second.surface.get();
    }
    bool BrushColor(HBRUSH brush, COLORREF& out) {
        const auto h = reinterpret_cast<ULONG_PTR>(brush);
        if (h >= 1 && h <= 31) {  // (HBRUSH)(COLOR_x + 1)
            out = GetSysColor(static_cast<int>(h - 1));
            return true;
        }
        auto it = brushes.find(h);
        if (it == brushes.end()) return false;
        out = it->second.color;
        return true;
    }
};

GdiState& Gdi() {
    static GdiState* s = new GdiState;  // outlives every module's static destructors
    return *s;
}

void Fill(Surface& target, LONG left, LONG top, LONG right, LONG bottom, COLORREF c) {
    left = std::max<LONG>(left, 0);
    top = std::max<LONG>(top, 0);
    right = std::min(right, target.width);
    bottom = std::min(bottom, target.height);
    for (LONG y = top; y < bottom; ++y)
        for (LONG x = left; x < right; ++x) target.Set(x, y, c);
}

// Drops '&' mnemonics: "&&" shows one '&'.
std::wstring WithoutPrefixes(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// Stores `value` in one attribute of the device context; the previous value, or `failed` for an
// unknown context.
template <typename T>
T SwapDcAttribute(HDC hdc, T Dc::*attribute, std::type_identity_t<T> value,
                  std::type_identity_t<T> failed) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    if (!dc) return failed;
    const T old = dc->*attribute;
    dc->*attribute = value;
    return old;
}

}  // namespace

namespace w32 {

void ForgetWindowSurface(HWND hwnd) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.windowSurfaces.erase(reinterpret_cast<ULONG_PTR>(hwnd));
}

}  // namespace w32

extern "C" {

HDC GetDC(HWND hwnd) {
    RECT client{0, 0, 1, 1};
    if (hwnd && !GetClientRect(hwnd, &client)) return nullptr;
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc dc;
    dc.brush = s.stockBrush;
    if (!hwnd) {
        dc.kind = DcKind::Screen;
        dc.surface = s.screen;
    } else {
        dc.kind = DcKind::Window;
        auto& surface = s.windowSurfaces[reinterpret_cast<ULONG_PTR>(hwnd)];
        if (!surface)
            surface = std::make_shared<Surface>(
                Surface{std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1), {}});
        dc.surface = surface;
    }
    const ULONG_PTR h = s.NewHandle();
    s.dcs[h] = dc;
    ++s.dcsObtained;
    return reinterpret_cast<HDC>(h);
}

int ReleaseDC(HWND, HDC hdc) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    if (!dc || dc->kind == DcKind::Memory) return 0;
    s.dcs.erase(reinterpret_cast<ULONG_PTR>(hdc));
    return 1;
}

HDC CreateCompatibleDC(HDC hdc) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (hdc && !s.FindDc(hdc)) return nullptr;
    Dc dc;
    dc.bitmap = s.stockBitmap;
    dc.brush = s.stockBrush;
    const ULONG_PTR h = s.NewHandle();
    s.dcs[h] = dc;
    ++s.dcsObtained;
    return reinterpret_cast<HDC>(h);
}

BOOL DeleteDC(HDC hdc) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    if (!dc || dc->kind != DcKind::Memory) return FALSE;
    auto it = s.bitmaps.find(dc->bitmap);
    if (it != s.bitmaps.end() && !it->second.stock) it->second.selectedIn = 0;
    s.dcs.erase(reinterpret_cast<ULONG_PTR>(hdc));
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (!s.FindDc(hdc)) return nullptr;
    if (width <= 0 || height <= 0) width = height = 1;
    auto surface = std::make_shared<Surface>();
    surface->width = width;
    surface->height = height;
    surface->pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0u);
    const ULONG_PTR h = s.NewHandle();
    s.bitmaps[h] = {std::move(surface), 0, false};
    return reinterpret_cast<HBITMAP>(h);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    const ULONG_PTR h = s.NewHandle();
    s.brushes[h] = {color & 0xFFFFFF, false};
    return reinterpret_cast<HBRUSH>(h);
}

HBRUSH GetSysColorBrush(int index) {
    // The system-colour form of a brush handle, which FillRect and FrameRect accept.
    return index >= 0 && index < 31 ? reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(index + 1))
                                    : nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    if (!dc) return nullptr;
    const auto h = reinterpret_cast<ULONG_PTR>(object);
    if (auto it = s.bitmaps.find(h); it != s.bitmaps.end()) {
        Bitmap& bm = it->second;
        const ULONG_PTR self = reinterpret_cast<ULONG_PTR>(hdc);
        if (dc->kind != DcKind::Memory || (!bm.stock && bm.selectedIn && bm.selectedIn != self))
            return nullptr;
        const ULONG_PTR old = dc->bitmap;
        if (auto o = s.bitmaps.find(old); o != s.bitmaps.end() && !o->second.stock)
            o->second.selectedIn = 0;
        if (!bm.stock) bm.selectedIn = self;
        dc->bitmap = h;
        return reinterpret_cast<HGDIOBJ>(old);
    }
    if (s.brushes.count(h)) {
        const ULONG_PTR old = dc->brush;
        dc->brush = h;
        return reinterpret_cast<HGDIOBJ>(old);
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    const auto h = reinterpret_cast<ULONG_PTR>(object);
    if (auto it = s.bitmaps.find(h); it != s.bitmaps.end()) {
        if (it->second.stock) return TRUE;
        if (it->second.selectedIn) return FALSE;  // still selected into a context
        s.bitmaps.erase(it);
        return TRUE;
    }
    if (auto it = s.brushes.find(h); it != s.brushes.end()) {
        if (it->second.stock) return TRUE;
        for (const auto& [handle, dc] : s.dcs)
            if (dc.brush == h) return FALSE;
        s.brushes.erase(it);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID out) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.bitmaps.find(reinterpret_cast<ULONG_PTR>(object));
    if (it == s.bitmaps.end()) return 0;
    if (!out) return static_cast<int>(sizeof(BITMAP));
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    const Surface& sf = *it->second.surface;
    BITMAP bm{0, sf.width, sf.height, sf.width * 4, 1, 32, nullptr};
    *static_cast<BITMAP*>(out) = bm;
    return static_cast<int>(sizeof(BITMAP));
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    Surface* t = dc ? s.Target(*dc) : nullptr;
    if (!t || !t->Contains(x, y)) return FALSE;
    t->Set(x, y, color);
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    Surface* t = dc ? s.Target(*dc) : nullptr;
    if (!t || !t->Contains(x, y)) return CLR_INVALID;
    return t->Get(x, y);
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    Surface* t = dc ? s.Target(*dc) : nullptr;
    COLORREF c = 0;
    if (!t || !rect || !s.BrushColor(brush, c)) return 0;
    Fill(*t, rect->left, rect->top, rect->right, rect->bottom, c);
    return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    Surface* t = dc ? s.Target(*dc) : nullptr;
    COLORREF c = 0;
    if (!t || !rect || !s.BrushColor(brush, c)) return 0;
    const RECT& r = *rect;
    if (r.right <= r.left || r.bottom <= r.top) return 1;
    Fill(*t, r.left, r.top, r.right, r.top + 1, c);
    Fill(*t, r.left, r.bottom - 1, r.right, r.bottom, c);
    Fill(*t, r.left, r.top, r.left + 1, r.bottom, c);
    Fill(*t, r.right - 1, r.top, r.right, r.bottom, c);
    return 1;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    Surface* t = dc ? s.Target(*dc) : nullptr;
    if (!t || !rect) return FALSE;
    // A dotted outline drawn by inverting every other pixel, so drawing it twice removes it.
    const RECT& r = *rect;
    auto invert = [&](LONG x, LONG y) {
        if (t->Contains(x, y) && ((x + y) & 1) == 0) t->Set(x, y, t->Get(x, y) ^ 0xFFFFFFu);
    };
    for (LONG x = r.left; x < r.right; ++x) {
        invert(x, r.top);
        if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
    }
    for (LONG y = r.top + 1; y < r.bottom - 1; ++y) {
        invert(r.left, y);
        if (r.right - 1 > r.left) invert(r.right - 1, y);
    }
    return TRUE;
}

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return SwapDcAttribute(hdc, &Dc::bkMode, mode, 0);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return SwapDcAttribute(hdc, &Dc::textColor, color & 0xFFFFFF, CLR_INVALID);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return SwapDcAttribute(hdc, &Dc::bkColor, color & 0xFFFFFF, CLR_INVALID);
}

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    Dc* dc = s.FindDc(hdc);
    if (!dc || !text || !rect) return 0;
    std::wstring str(text, count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count));
    if (!(format & DT_NOPREFIX)) str = WithoutPrefixes(str);
    str = str.substr(0, str.find_first_of(L"\r\n"));  // one line

    const LONG width = static_cast<LONG>(str.size()) * kCellWidth;
    LONG x = rect->left;
    if (format & DT_CENTER)
        x = rect->left + (rect->right - rect->left - width) / 2;
    else if (format & DT_RIGHT)
        x = rect->right - width;
    LONG y = rect->top;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        y = rect->top + (rect->bottom - rect->top - kCellHeight) / 2;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        y = rect->bottom - kCellHeight;
    if (format & DT_CALCRECT) {
        rect->right = rect->left + width;
        rect->bottom = rect->top + kCellHeight;
        return kCellHeight;
    }

    W32DrawnText record{hdc, *rect, format, dc->textColor, dc->bkMode, {}};
    str.copy(record.text, std::min<std::size_t>(str.size(), 255));
    if (s.texts.size() == kTextLogLimit) s.texts.pop_front();
    s.texts.push_back(record);

    Surface* t = s.Target(*dc);
    if (!t) return kCellHeight;
    const bool clip = !(format & DT_NOCLIP);
    auto put = [&](LONG px, LONG py, COLORREF c) {
        if (clip && (px < rect->left || px >= rect->right || py < rect->top || py >= rect->bottom))
            return;
        if (t->Contains(px, py)) t->Set(px, py, c);
    };
    if (dc->bkMode == OPAQUE)
        for (LONG py = y; py < y + kCellHeight; ++py)
            for (LONG px = x; px < x + width; ++px) put(px, py, dc->bkColor);
    for (std::size_t i = 0; i < str.size(); ++i) {
        if (str[i] == L' ') continue;
        const LONG cx = x + static_cast<LONG>(i) * kCellWidth;
        for (LONG py = y + 3; py < y + kCellHeight - 2; ++py)
            for (LONG px = cx + 1; px < cx + kCellWidth - 1; ++px) put(px, py, dc->textColor);
    }
    return kCellHeight;
}

const W32DrawnText* W32GetDrawnText(UINT index) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return index < s.texts.size() ? &s.texts[index] : nullptr;
}

UINT W32DrawnTextCount() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<UINT>(s.texts.size());
}

void W32ClearDrawnText() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.texts.clear();
}

UINT W32CopyBitmapPixels(HBITMAP bitmap, COLORREF* out, UINT capacity) {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    auto it = s.bitmaps.find(reinterpret_cast<ULONG_PTR>(bitmap));
    if (it == s.bitmaps.end()) return 0;
    const Surface& sf = *it->second.surface;
    const UINT n = static_cast<UINT>(sf.width * sf.height);
    for (UINT i = 0; out && i < std::min(n, capacity); ++i)
        out[i] = sf.Get(static_cast<LONG>(i % static_cast<UINT>(sf.width)),
                        static_cast<LONG>(i / static_cast<UINT>(sf.width)));
    return n;
}

UINT W32LiveBitmapCount() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<UINT>(s.bitmaps.size() - 1);  // less the stock bitmap
}

UINT W32LiveBrushCount() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<UINT>(s.brushes.size() - 1);  // less the stock brush
}

UINT W32LiveDeviceContextCount() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return static_cast<UINT>(s.dcs.size());
}

UINT W32DeviceContextsObtained() {
    GdiState& s = Gdi();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.dcsObtained;
}

}  // extern "C"
