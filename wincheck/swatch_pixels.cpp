#include "wincheck/swatch_pixels.h"

#include <windows.h>

#include "pattern/catalogue.h"
#include "ui/pattern_swatch.h"

namespace QuarelWin {
namespace {

// Neither a swatch colour nor black, the colour of a new bitmap.
constexpr COLORREF kMarker = RGB(0x12, 0x34, 0x56);
constexpr int kMargin = 2;

bool PrintOne(std::FILE* out, HDC screen, int id, int size, int width) {
    const int side = size + 2 * kMargin;
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, side, side) : nullptr;
    HGDIOBJ previous = bitmap ? SelectObject(memory, bitmap) : nullptr;
    const bool ok = previous != nullptr;
    if (ok) {
        const RECT all{0, 0, side, side};
        HBRUSH marker = CreateSolidBrush(kMarker);
        FillRect(memory, &all, marker);
        DeleteObject(marker);
        const RECT swatch{kMargin, kMargin, kMargin + width, kMargin + size};
        QuarelNS::DrawPatternSwatch(memory, swatch, id);
        std::fprintf(out, "swatch %d %d%s\n", id, size, width == 0 ? " empty" : "");
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x)
                std::fprintf(out, x == 0 ? "%06lX" : " %06lX",
                             static_cast<unsigned long>(GetPixel(memory, x, y)));
            std::fputc('\n', out);
        }
        SelectObject(memory, previous);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    return ok;
}

}  // namespace

bool PrintSwatchPixels(std::FILE* out) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return false;
    bool ok = true;
    for (int size : {20, 50}) {
        for (int id = 0; id <= QuarelNS::kPatternCount && ok; ++id)
            ok = PrintOne(out, screen, id, size, size);
    }
    if (ok) ok = PrintOne(out, screen, 3, 20, 0);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace QuarelWin
