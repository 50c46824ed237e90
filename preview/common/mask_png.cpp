#include "preview/common/mask_png.h"

#include <png.h>

#include <csetjmp>

namespace QuarelPreview {
namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + size);
}

void FlushNothing(png_structp) {}

// libpng's errors unwind by longjmp: only plain data lives in this frame.
bool EncodeMask(const MaskImage& image, std::uint8_t* rows, std::vector<std::uint8_t>* out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, AppendBytes, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 16,
                 image.channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_gAMA_fixed(png, info, PNG_GAMMA_LINEAR);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(image.width) * image.channels * 2;
    for (int y = 0; y < image.height; ++y) png_write_row(png, rows + stride * y);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WriteMaskPng(const MaskImage& image, quarel_host::AtomicFile& file, std::string& error) {
    if (image.width <= 0 || image.height <= 0 || (image.channels != 3 && image.channels != 4)) {
        error = "cannot write " + file.Path() + ": empty image";
        return false;
    }
    // PNG stores 16-bit samples big-endian.
    std::vector<std::uint8_t> rows(image.values.size() * 2);
    for (std::size_t i = 0; i < image.values.size(); ++i) {
        rows[2 * i] = static_cast<std::uint8_t>(image.values[i] >> 8);
        rows[2 * i + 1] = static_cast<std::uint8_t>(image.values[i] & 0xFF);
    }
    std::vector<std::uint8_t> bytes;
    if (!EncodeMask(image, rows.data(), &bytes)) {
        error = "cannot write " + file.Path() + ": the PNG encoder failed";
        return false;
    }
    return file.Write(bytes.data(), bytes.size(), &error);
}

}  // namespace QuarelPreview
