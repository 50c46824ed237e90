// An RGB image held in memory, 8 bits a channel or 16 (for normal and height maps, whose slopes
// 8 bits would band), and PNG output through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/atomic_file.h"

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
// marked linear, the values as they are. The file is replaced whole or not at all: on failure
// it is as it was, and `error` names it and says why.
bool WritePng(const Image& image, const std::string& path, std::string& error);

// Writes the first channel of `image` as a grey PNG of its depth (8 bits, or 16 bits marked
// linear): for pictures of one value a pixel, such as heights. Replaced whole, as above.
bool WriteGreyPng(const Image& image, const std::string& path, std::string& error);

// Either of them into a file being written, as a writer of a file set.
bool WritePng(const Image& image, quarel_host::AtomicFile& file, std::string& error,
              bool grey = false);

// One picture of several written together.
struct PngFile {
    const Image& image;
    std::string path;
    bool grey = false;  // a grey PNG of the first channel
};
// Writes them all or none, creating missing folders: if one cannot be written, every file named
// keeps what it had (or stays absent).
bool WritePngFiles(const std::vector<PngFile>& files, std::string& error);

}  // namespace QuarelPreview
