#include "preview/editor/swatch_picture.h"

#include <w32_probes.h>
#include <windows.h>

#include <vector>

#include "ui/pattern_swatch.h"

namespace QuarelPreview {

namespace {

// The screen context, a memory context and a bitmap selected into it; released in reverse.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height) {
        mScreen = GetDC(nullptr);
        if (mScreen == nullptr) return;
        mDc = CreateCompatibleDC(mScreen);
        // Compatible with the screen: a memory context's own default bitmap is monochrome.
        if (mDc != nullptr) mBitmap = CreateCompatibleBitmap(mScreen, width, height);
        if (mBitmap != nullptr) mPrevious = SelectObject(mDc, mBitmap);
    }
    ~MemoryCanvas() {
        if (mPrevious != nullptr) SelectObject(mDc, mPrevious);
        if (mBitmap != nullptr) DeleteObject(mBitmap);
        if (mDc != nullptr) DeleteDC(mDc);
        if (mScreen != nullptr) ReleaseDC(nullptr, mScreen);
    }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // What could not be made, or null when the canvas is ready.
    const char* Failure() const {
        if (mScreen == nullptr) return "no screen device context";
        if (mDc == nullptr) return "no memory device context";
        if (mBitmap == nullptr) return "no bitmap";
        if (mPrevious == nullptr) return "the bitmap cannot be selected";
        return nullptr;
    }
    HDC Dc() const { return mDc; }
    HBITMAP Bitmap() const { return mBitmap; }

private:
    HDC mScreen = nullptr;
    HDC mDc = nullptr;
    HBITMAP mBitmap = nullptr;
    HGDIOBJ mPrevious = nullptr;
};

}  // namespace

bool DrawSwatchPicture(int pattern, int size, Image& out, std::string& error) {
    if (size < kMinSwatchSize || size > kMaxSwatchSize) {
        error = "a swatch is " + std::to_string(kMinSwatchSize) + " to " +
                std::to_string(kMaxSwatchSize) + " pixels square";
        return false;
    }
    MemoryCanvas canvas(size, size);
    if (const char* failure = canvas.Failure()) {
        error = std::string("cannot draw the swatch: ") + failure;
        return false;
    }
    QuarelNS::DrawPatternSwatch(canvas.Dc(), RECT{0, 0, size, size}, pattern);

    BITMAP bm{};
    if (GetObjectW(canvas.Bitmap(), sizeof bm, &bm) != static_cast<int>(sizeof bm) ||
        bm.bmWidth != size || bm.bmHeight != size) {
        error = "cannot read the swatch bitmap back";
        return false;
    }
    std::vector<COLORREF> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    if (W32CopyBitmapPixels(canvas.Bitmap(), pixels.data(), static_cast<UINT>(pixels.size())) !=
        pixels.size()) {
        error = "cannot read the swatch bitmap back";
        return false;
    }
    out = Image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.Set(x, y,
                    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                           static_cast<std::size_t>(x)]);
    return true;
}

}  // namespace QuarelPreview
