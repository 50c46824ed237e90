// The editor's pictures in the preview: the swatch command against the editor's drawing.
#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>

#include "preview/options.h"
#include "preview/swatch_picture.h"
#include "preview_support.h"
#include "ui/pattern_swatch.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;

constexpr std::uint32_t kFrame = 0x505050u;

std::string TempPng(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("quarel_editor_" + name + ".png")).string();
}

bool ReadPng(const std::string& path, Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    image = Image(static_cast<int>(png.width), static_cast<int>(png.height));
    return png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

// DrawPatternSwatch straight into a bitmap of this test, read back with GetPixel.
Image DirectSwatch(int pattern, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    QuarelNS::DrawPatternSwatch(dc, RECT{0, 0, size, size}, pattern);
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image.Set(x, y, GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return image;
}

TEST(SwatchCommand, PngIsTheEditorsDrawingPixelForPixel) {
    for (const char* pattern : {"Common Flemish", "24"}) {
        for (int size : {20, 50}) {
            SCOPED_TRACE(std::string(pattern) + " at " + std::to_string(size));
            const std::string path = TempPng("swatch");
            std::string out, err;
            ASSERT_EQ(RunTool({"swatch", "--pattern", pattern, "--size", std::to_string(size),
                               "--out", path},
                              "", &out, &err),
                      0)
                << err;
            EXPECT_EQ(out, path + "\n");
            Image png;
            ASSERT_TRUE(ReadPng(path, png));
            std::filesystem::remove(path);
            ASSERT_EQ(png.width, size);
            ASSERT_EQ(png.height, size);
            const Image direct = DirectSwatch(pattern[0] == 'C' ? 2 : 24, size);
            EXPECT_EQ(png.rgb, direct.rgb);
            std::set<std::uint32_t> inside;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    if (x == 0 || y == 0 || x == size - 1 || y == size - 1) {
                        ASSERT_EQ(png.Get(x, y), kFrame) << x << "," << y;
                    } else {
                        inside.insert(png.Get(x, y));
                    }
                }
            }
            EXPECT_GE(inside.size(), 3u);  // bricks of their own shades, not an empty frame
        }
    }
}

// Runs the tool with standard error caught, for the messages of the option parser.
int RunCatching(const std::vector<std::string>& args, std::string& message) {
    std::ostringstream caught;
    std::streambuf* old = std::cerr.rdbuf(caught.rdbuf());
    std::string err;
    const int code = RunTool(args, "", nullptr, &err);
    std::cerr.rdbuf(old);
    message = caught.str() + err;
    return code;
}

TEST(EditorCommands, RefuseBadValuesNamingWhatIsAllowed) {
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const Case cases[] = {
        {{"swatch", "--size", "7"}, "not in range 8 to 1024"},
        {{"swatch", "--size", "1025"}, "not in range 8 to 1024"},
        {{"swatch", "--pattern", "30"}, "from 0 to 29"},
        {{"swatch", "--pattern", "Cobblestone"}, "from 0 to 29"},
        {{"swatch", "--nx", "6"}, "a swatch shows the pattern alone"},
        {{"swatch", "--samples", "4"}, "does not apply to swatch"},
        {{"--size", "9000"}, "not in range 8 to 8192"},  // the render's range is its own
    };
    for (const Case& c : cases) {
        std::string line, message;
        for (const std::string& a : c.args) line += a + " ";
        EXPECT_EQ(RunCatching(c.args, message), kExitRefused) << line;
        EXPECT_NE(message.find(c.says), std::string::npos) << line << ": " << message;
    }
}

}  // namespace
}  // namespace QuarelPreview
