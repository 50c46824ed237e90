#include "preview/picture/image.h"

#include <png.h>

#include <cstring>

namespace QuarelPreview {

Image::Image(int w, int h, std::uint32_t fill)
    : width(w), height(h), rgb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3) {
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Set(x, y, fill);
}

Image Image::Deep(int w, int h) {
    Image image;
    image.width = w;
    image.height = h;
    image.rgb16.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 3, 0);
    return image;
}

void Image::Set(int x, int y, std::uint32_t colour) {
    std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) *
                           3];
    p[0] = static_cast<std::uint8_t>(colour & 0xFF);
    p[1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    p[2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
}

std::uint32_t Image::Get(int x, int y) const {
    const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                  static_cast<std::size_t>(x)) *
                                 3];
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16;
}

bool WritePng(const Image& image, const std::string& path, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = "empty image";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = image.IsDeep() ? PNG_FORMAT_LINEAR_RGB : PNG_FORMAT_RGB;
    const void* pixels = image.IsDeep() ? static_cast<const void*>(image.rgb16.data())
                                        : static_cast<const void*>(image.rgb.data());
    if (!png_image_write_to_file(&png, path.c_str(), 0, pixels, 0, nullptr)) {
        error = png.message[0] ? png.message : "cannot write the file";
        png_image_free(&png);
        return false;
    }
    return true;
}

bool WriteGreyPng(const Image& image, const std::string& path, std::string& error) {
    if (image.width <= 0 || image.height <= 0) {
        error = "empty image";
        return false;
    }
    const std::size_t pixels = static_cast<std::size_t>(image.width) * image.height;
    std::vector<std::uint16_t> deep;
    std::vector<std::uint8_t> shallow;
    if (image.IsDeep()) {
        deep.resize(pixels);
        for (std::size_t i = 0; i < pixels; ++i) deep[i] = image.rgb16[i * 3];
    } else {
        shallow.resize(pixels);
        for (std::size_t i = 0; i < pixels; ++i) shallow[i] = image.rgb[i * 3];
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = image.IsDeep() ? PNG_FORMAT_LINEAR_Y : PNG_FORMAT_GRAY;
    const void* data = image.IsDeep() ? static_cast<const void*>(deep.data())
                                      : static_cast<const void*>(shallow.data());
    if (!png_image_write_to_file(&png, path.c_str(), 0, data, 0, nullptr)) {
        error = png.message[0] ? png.message : "cannot write the file";
        png_image_free(&png);
        return false;
    }
    return true;
}

}  // namespace QuarelPreview
