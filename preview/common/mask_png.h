// Packed mask pictures for game engines (occlusion, roughness, metallic, smoothness... one in
// each channel): 16-bit RGB or RGBA PNGs marked linear. RGBA goes through libpng's own writer
// rather than its simplified one, which takes 16-bit alpha as premultiplied and would divide
// the other channels by it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/atomic_file.h"

namespace QuarelPreview {

struct MaskImage {
    int width = 0, height = 0;
    int channels = 3;                   // 3 or 4
    std::vector<std::uint16_t> values;  // row-major, top row first, `channels` a pixel

    MaskImage() = default;
    MaskImage(int w, int h, int c)
        : width(w), height(h), channels(c), values(static_cast<std::size_t>(w) * h * c, 0) {}
};

// Writes `image` into a file being written; on failure `error` names the file and says why.
bool WriteMaskPng(const MaskImage& image, quarel_host::AtomicFile& file, std::string& error);

}  // namespace QuarelPreview
