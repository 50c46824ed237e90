// The editor's pictures in the preview: the swatch command against the editor's drawing, the
// pattern picker recorded through the module, and the menu picture made of it.
#include <gtest/gtest.h>
#include <w32_probes.h>
#include <windows.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "preview/cli/options.h"
#include "preview/editor/menu_picture.h"
#include "preview/editor/picker_record.h"
#include "preview/editor/swatch_picture.h"
#include "preview/picture/label_font.h"
#include "preview/setup/map_setup.h"
#include "preview_support.h"
#include "ui/pattern_swatch.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Host;
using QuarelPreviewTest::MapFromPreset;
using QuarelPreviewTest::ReadPng;
using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::Table;

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

int PatternOf(Texmap* map) {
    ParamValue v;
    EXPECT_TRUE(ReadParam(map, *Table().Find("pattern"), v));
    return v.i;
}

TEST(SwatchCommand, PngIsTheEditorsDrawingPixelForPixel) {
    for (const char* pattern : {"Common Flemish", "24"}) {
        for (int size : {20, 50}) {
            SCOPED_TRACE(std::string(pattern) + " at " + std::to_string(size));
            const std::string path = (QuarelPreviewTest::TestDir() / "swatch.png").string();
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
            // What the drawing itself shows (frame, brick colours) is the editor tests'.
            EXPECT_EQ(png.rgb, DirectSwatch(pattern[0] == 'C' ? 2 : 24, size).rgb);
        }
    }
}

// The menu's columns, texts and flags are the editor tests'; here the recording of it.
TEST(PickerRecord, ModuleShowsFiveColumnsWithTheMapsPatternTicked) {
    auto slot = MapFromPreset(R"({"pattern": "Herringbone"})");
    const UINT windows = W32LiveWindowCount();
    std::vector<MenuEntry> items;
    std::string error;
    ASSERT_TRUE(RecordPatternPicker(Host(), slot->Get(), items, error)) << error;

    Image herringbone;
    ASSERT_TRUE(DrawSwatchPicture(5, 20, herringbone, error)) << error;
    ASSERT_EQ(items.size(), 35u);
    std::vector<int> ticked;
    for (const MenuEntry& e : items) {
        if (e.flags & MF_CHECKED) ticked.push_back(static_cast<int>(e.id - 0x8000u));
        if (e.id != 0x8005u) continue;
        // The module's menu bitmap is the swatch command's picture at 20.
        ASSERT_EQ(e.pixels.size(), 400u);
        for (int i = 0; i < 400; ++i)
            ASSERT_EQ(e.pixels[static_cast<std::size_t>(i)], herringbone.Get(i % 20, i / 20));
    }
    EXPECT_EQ(ticked, std::vector<int>{5});

    // Dismissed: the map keeps its pattern; the rollouts, the editor and the chooser are gone.
    EXPECT_EQ(PatternOf(slot->Get()), 5);
    EXPECT_EQ(W32LiveWindowCount(), windows);
    EXPECT_EQ(W32SetPopupMenuChooser(nullptr, nullptr), nullptr);
}

TEST(PickerCommand, PngIsTheRecordedMenuAsLaidOut) {
    const std::string path = (QuarelPreviewTest::TestDir() / "picker.png").string();
    std::string out, err;
    ASSERT_EQ(RunTool({"picker", "--set", "pattern=Maple Leaf", "--out", path}, "", &out, &err), 0)
        << err;
    Image png;
    ASSERT_TRUE(ReadPng(path, png));
    std::filesystem::remove(path);

    auto slot = MapFromPreset(R"({"pattern": "Maple Leaf"})");
    std::vector<MenuEntry> items;
    std::string error;
    ASSERT_TRUE(RecordPatternPicker(Host(), slot->Get(), items, error)) << error;
    std::unique_ptr<LabelFont> font = LabelFont::Open(kLabelPixels, error);
    const MenuLayout layout = LayOutMenu(items, font.get());
    ASSERT_EQ(png.width, layout.width);
    // Nine rows in the longest columns, a bitmap and its margins high each.
    ASSERT_EQ(png.height, 2 * kMenuEdge + 9 * 24);
    EXPECT_EQ(layout.rules.size(), 4u);

    auto darkIn = [&](const MenuItemBox& box) {
        int dark = 0;
        for (int y = box.y; y < box.y + box.height; ++y)
            for (int x = box.tickX; x < box.tickX + kMenuTick; ++x)
                dark += (png.Get(x, y) & 0xFF) < 0x80;
        return dark;
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuEntry& e = items[i];
        const MenuItemBox& box = layout.items[i];
        SCOPED_TRACE(e.text);
        for (int y = 0; y < e.bitmapHeight; ++y)
            for (int x = 0; x < e.bitmapWidth; ++x)
                ASSERT_EQ(png.Get(box.bitmapX + x, box.bitmapY + y),
                          e.pixels[static_cast<std::size_t>(y * e.bitmapWidth + x)]);
        if (e.id == 0x8000u + 24u)
            EXPECT_GT(darkIn(box), 10);  // the tick
        else
            EXPECT_EQ(darkIn(box), 0);
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
        {{"swatch", "--size", "1025"}, "1025 is out of range; give 8 to 1024"},
        {{"swatch", "--pattern", "Cobblestone"}, "from 0 to 29"},
        {{"swatch", "--nx", "6"}, "a swatch shows the pattern alone"},
        {{"swatch", "--samples", "4"}, "does not apply to swatch"},
        {{"swatch", "--scene", "wall.qscene"}, "does not apply to swatch"},
        {{"picker", "--size", "64"}, "does not apply to picker"},
        {{"picker", "--projection", "box"}, "does not apply to picker"},
        {{"picker", "--pattern", "-1"}, "from 0 to 29"},
        {{"picker", "--set", "nx=0"}, "nx"},
        {{"--size", "9000"},
         "9000 is out of range; give 8 to 8192"},  // the render's range is its own
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
