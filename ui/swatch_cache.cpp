#include "ui/swatch_cache.h"

#include "pattern/catalogue.h"
#include "ui/pattern_swatch.h"

namespace QuarelNS {
namespace {

constexpr int kSwatchSize = 20;

// User-interface thread only: a plain module-wide array.
HBITMAP gSwatchBitmaps[kPatternCount] = {};

HBITMAP DrawSwatchBitmap(int id) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HDC memory = CreateCompatibleDC(screen);
    // Compatible with the screen, not with the memory context, whose default bitmap is
    // monochrome.
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(screen, kSwatchSize, kSwatchSize) : nullptr;
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (previous != nullptr) {
            DrawPatternSwatch(memory, RECT{0, 0, kSwatchSize, kSwatchSize}, id);
            SelectObject(memory, previous);
        } else {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
    }
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

HBITMAP PatternSwatchBitmap(int id) {
    if (id < 0 || id >= kPatternCount) return nullptr;
    HBITMAP& entry = gSwatchBitmaps[id];
    if (entry == nullptr) entry = DrawSwatchBitmap(id);
    return entry;
}

void ReleasePatternSwatchBitmaps() {
    for (HBITMAP& entry : gSwatchBitmaps) {
        if (entry != nullptr) DeleteObject(entry);
        entry = nullptr;
    }
}

}  // namespace QuarelNS
