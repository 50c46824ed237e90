#include "preview/common/image.h"

#include <png.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

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

namespace {

// Encodes in memory, then writes through the file: the bound is what libpng gives for
// incompressible pixels, so one pass does; a second is there should libpng ask for more.
bool Encode(png_image& png, const void* pixels, quarel_host::AtomicFile& file, std::string& error) {
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(png);
    std::unique_ptr<std::uint8_t[]> bytes;
    for (int pass = 0; pass < 2; ++pass) {
        bytes.reset(new std::uint8_t[size]);
        png_alloc_size_t used = size;
        if (png_image_write_to_memory(&png, bytes.get(), &used, 0, pixels, 0, nullptr)) {
            size = used;
            break;
        }
        if (used <= size || pass == 1) {
            error = "cannot write " + file.Path() + ": " +
                    (png.message[0] ? png.message : "the PNG encoder failed");
            png_image_free(&png);
            return false;
        }
        size = used;
        png_image_free(&png);
    }
    return file.Write(bytes.get(), size, &error);
}

bool WriteAtomically(const Image& image, const std::string& path, bool grey, std::string& error) {
    quarel_host::AtomicFile file;
    return file.Open(path, &error) && WritePng(image, file, error, grey) && file.Commit(&error);
}

}  // namespace

bool WritePng(const Image& image, quarel_host::AtomicFile& file, std::string& error, bool grey) {
    if (image.width <= 0 || image.height <= 0) {
        error = "cannot write " + file.Path() + ": empty image";
        return false;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    if (!grey) {
        png.format = image.IsDeep() ? PNG_FORMAT_LINEAR_RGB : PNG_FORMAT_RGB;
        return Encode(png,
                      image.IsDeep() ? static_cast<const void*>(image.rgb16.data())
                                     : static_cast<const void*>(image.rgb.data()),
                      file, error);
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
    png.format = image.IsDeep() ? PNG_FORMAT_LINEAR_Y : PNG_FORMAT_GRAY;
    return Encode(png,
                  image.IsDeep() ? static_cast<const void*>(deep.data())
                                 : static_cast<const void*>(shallow.data()),
                  file, error);
}

bool WritePng(const Image& image, const std::string& path, std::string& error) {
    return WriteAtomically(image, path, false, error);
}

bool WriteGreyPng(const Image& image, const std::string& path, std::string& error) {
    return WriteAtomically(image, path, true, error);
}

bool WritePngFiles(const std::vector<PngFile>& files, std::string& error) {
    quarel_host::AtomicFileSet set;
    for (const PngFile& f : files) {
        std::error_code ec;
        const std::filesystem::path parent = std::filesystem::path(f.path).parent_path();
        if (!parent.empty()) std::filesystem::create_directories(parent, ec);
        if (ec) {
            error = "cannot create " + parent.string() + ": " + ec.message();
            return false;
        }
        const Image& image = f.image;
        const bool grey = f.grey;
        set.Add(f.path, [&image, grey](quarel_host::AtomicFile& file, std::string& why) {
            return WritePng(image, file, why, grey);
        });
    }
    return set.Commit(&error);
}

}  // namespace QuarelPreview
