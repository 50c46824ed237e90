// An 8-bit RGB image held in memory, and PNG output through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QuarelPreview {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // row-major, top row first, 3 bytes a pixel

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0);
    // Colour as 0x00BBGGRR (red in the low byte), the convention of the swatch colours.
    void Set(int x, int y, std::uint32_t colour);
    std::uint32_t Get(int x, int y) const;
};

// Writes `image` as an 8-bit RGB PNG. On failure returns false and says why in `error`.
bool WritePng(const Image& image, const std::string& path, std::string& error);

}  // namespace QuarelPreview
