#include "preview/picture/label_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>

namespace QuarelPreview {

struct LabelFont::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Impl() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

const char* const* LabelFontPaths() {
    static const char* const kPaths[] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                         "/usr/share/fonts/dejavu/DejaVuSans.ttf",
                                         "/usr/local/share/fonts/DejaVuSans.ttf", nullptr};
    return kPaths;
}

std::unique_ptr<LabelFont> LabelFont::Open(int pixelHeight, std::string& error) {
    auto impl = std::make_unique<Impl>();
    if (FT_Init_FreeType(&impl->library) != 0) {
        error = "FreeType did not start";
        return nullptr;
    }
    for (const char* const* p = LabelFontPaths(); *p; ++p) {
        std::error_code ec;
        if (!std::filesystem::exists(*p, ec)) continue;
        if (FT_New_Face(impl->library, *p, 0, &impl->face) == 0) break;
        impl->face = nullptr;
    }
    if (impl->face == nullptr) {
        error = std::string("no DejaVu Sans font (looked for ") + LabelFontPaths()[0] +
                "; Debian package fonts-dejavu-core)";
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(impl->face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
        error = "the font has no size " + std::to_string(pixelHeight);
        return nullptr;
    }
    std::unique_ptr<LabelFont> font(new LabelFont);
    font->mImpl = std::move(impl);
    return font;
}

LabelFont::~LabelFont() = default;

int LabelFont::Ascent() const {
    return static_cast<int>(mImpl->face->size->metrics.ascender >> 6);
}

int LabelFont::Width(std::string_view text) const {
    long advance = 0;
    for (unsigned char ch : text) {
        if (FT_Load_Char(mImpl->face, ch, FT_LOAD_DEFAULT) != 0) continue;
        advance += mImpl->face->glyph->advance.x;
    }
    return static_cast<int>(advance >> 6);
}

void LabelFont::Draw(Image& image, int x, int baseline, std::string_view text,
                     std::uint32_t colour) const {
    FT_Face face = mImpl->face;
    long penX = static_cast<long>(x) << 6;
    const int cr = static_cast<int>(colour & 0xFF), cg = static_cast<int>((colour >> 8) & 0xFF),
              cb = static_cast<int>((colour >> 16) & 0xFF);
    for (unsigned char ch : text) {
        if (FT_Load_Char(face, ch, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot g = face->glyph;
        const FT_Bitmap& bm = g->bitmap;
        const int gx = static_cast<int>(penX >> 6) + g->bitmap_left;
        const int gy = baseline - g->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row) {
            for (unsigned col = 0; col < bm.width; ++col) {
                const int px = gx + static_cast<int>(col), py = gy + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
                const int a = bm.buffer[static_cast<long>(row) * bm.pitch + static_cast<long>(col)];
                if (a == 0) continue;
                const std::uint32_t under = image.Get(px, py);
                auto mix = [a](int fg, int bg) { return (fg * a + bg * (255 - a) + 127) / 255; };
                const int r = mix(cr, static_cast<int>(under & 0xFF));
                const int gg = mix(cg, static_cast<int>((under >> 8) & 0xFF));
                const int b = mix(cb, static_cast<int>((under >> 16) & 0xFF));
                image.Set(px, py,
                          static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(gg) << 8 |
                              static_cast<std::uint32_t>(b) << 16);
            }
        }
        penX += g->advance.x;
    }
}

}  // namespace QuarelPreview
