// Text for the contact sheet's labels, drawn with FreeType from a DejaVu font of the system
// (Debian's fonts-dejavu-core), grey-scale anti-aliased and blended into an Image.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "preview/common/image.h"

namespace QuarelPreview {

// Pixel height of the preview's labels: the sheet's and the picker's text.
constexpr int kLabelPixels = 13;

class LabelFont {
public:
    // The font at `pixelHeight`, or null with `error` saying why (no font file, no FreeType).
    static std::unique_ptr<LabelFont> Open(int pixelHeight, std::string& error);
    ~LabelFont();
    LabelFont(const LabelFont&) = delete;
    LabelFont& operator=(const LabelFont&) = delete;

    // Width in pixels of `text` (ASCII).
    int Width(std::string_view text) const;
    // Draws `text` with its baseline at y, starting at x; pixels outside the image are skipped.
    // Colours are 0x00BBGGRR.
    void Draw(Image& image, int x, int baseline, std::string_view text, std::uint32_t colour) const;
    int Ascent() const;

private:
    LabelFont() = default;
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};

// Where the font is looked for, in order.
const char* const* LabelFontPaths();

}  // namespace QuarelPreview
