// An RGB image held in memory, 8 bits a channel or 16 (for normal and height maps, whose slopes
// 8 bits would band), and PNG output through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QuarelPreview {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;     // row-major, top row first, 3 bytes a pixel
    std::vector<std::uint16_t> rgb16;  // the same, 16 bits a channel; used instead when filled

    Image() = default;
    Image(int w, int h, std::uint32_t fill = 0);
    // A black 16-bit image.
    static Image Deep(int w, int h);
    bool IsDeep() const { return !rgb16.empty(); }
    // Colour as 0x00BBGGRR (red in the low byte), the convention of the swatch colours.
    void Set(int x, int y, std::uint32_t colour);
    std::uint32_t Get(int x, int y) const;
};

// Writes `image` as an RGB PNG of its depth: 8 bits a channel (sRGB), or 16 bits a channel
// marked linear, the values as they are. On failure returns false and says why in `error`.
bool WritePng(const Image& image, const std::string& path, std::string& error);

// Writes the first channel of `image` as a grey PNG of its depth (8 bits, or 16 bits marked
// linear): for pictures of one value a pixel, such as heights.
bool WriteGreyPng(const Image& image, const std::string& path, std::string& error);

}  // namespace QuarelPreview
