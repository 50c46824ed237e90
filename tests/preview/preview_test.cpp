// The preview renderer: command-line validation, thread-independent output, PNG files.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"
#include "preview/cell_map.h"
#include "preview/image.h"
#include "preview/options.h"

namespace QuarelPreview {
namespace {

int Parse(std::vector<std::string> args, PreviewOptions& o) {
    args.insert(args.begin(), "quarel-preview");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), o);
}

TEST(PreviewOptions, AcceptsIdsNamesAndRanges) {
    PreviewOptions o;
    EXPECT_EQ(
        Parse({"--pattern", "Herringbone", "--nx", "256", "--gap-u", "0.9", "--seed", "0"}, o), -1);
    EXPECT_EQ(o.settings.pattern, 5);
    EXPECT_EQ(o.settings.nx, 256);
    EXPECT_FLOAT_EQ(o.settings.gap_u, 0.9f);
    EXPECT_FALSE(o.sheet);
    PreviewOptions p;
    EXPECT_EQ(Parse({"--pattern", "29"}, p), -1);
    EXPECT_EQ(p.settings.pattern, 29);
    EXPECT_EQ(ParsePatternArgument("maple LEAF"), 24);
    EXPECT_EQ(ParsePatternArgument("30"), -1);
    EXPECT_EQ(ParsePatternArgument("-1"), -1);
    EXPECT_EQ(ParsePatternArgument("5x"), -1);
}

TEST(PreviewOptions, NoArgumentsMeansTheDefaultSheet) {
    PreviewOptions o;
    EXPECT_EQ(Parse({}, o), -1);
    EXPECT_TRUE(o.sheet);
    EXPECT_EQ(o.settings.nx, 4);
    EXPECT_EQ(o.settings.ny, 4);
}

TEST(PreviewOptions, RejectsValuesOutsideTheirRanges) {
    const std::vector<std::vector<std::string>> bad = {
        {"--nx", "0"},
        {"--nx", "257"},
        {"--ny", "-3"},
        {"--gap-u", "nan"},
        {"--gap-v", "0.95"},
        {"--gap-u", "1e40"},
        {"--random-shift", "inf"},
        {"--seed", "100001"},
        {"--pattern", "30"},
        {"--pattern", "Nope"},
        {"--size", "0"},
        {"--nx", "4x"},
        {"--unknown", "1"},
    };
    for (const auto& args : bad) {
        PreviewOptions o;
        EXPECT_GT(Parse(args, o), 0) << args[0] << " " << (args.size() > 1 ? args[1] : "");
    }
}

TEST(CellMap, BytesDoNotDependOnTheThreadCount) {
    CellMapRequest r;
    r.settings.pattern = 2;
    r.settings.random_shift = 0.3f;
    r.size = 96;
    r.repeat = 3;
    r.threads = 1;
    const Image one = RenderCellMap(r);
    r.threads = 7;
    const Image many = RenderCellMap(r);
    EXPECT_EQ(one.rgb, many.rgb);
}

TEST(CellMap, PixelsAreTheSwatchColoursOfTheirCells) {
    CellMapRequest r;
    r.size = 32;
    r.threads = 2;
    const Image img = RenderCellMap(r);
    for (int y = 0; y < 32; y += 5) {
        for (int x = 0; x < 32; x += 3) {
            QuarelNS::BrickCell c;
            QuarelNS::EvaluatePattern(r.settings, (static_cast<float>(x) + 0.5f) / 32.f,
                                      1.f - (static_cast<float>(y) + 0.5f) / 32.f, c);
            EXPECT_EQ(img.Get(x, y), QuarelNS::SwatchCellColour(c)) << x << "," << y;
        }
    }
}

TEST(Png, WrittenFilesReadBackIdentically) {
    Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.Set(x, y, static_cast<std::uint32_t>(x * 40 + y * 0x10200));
    const std::string path =
        (std::filesystem::temp_directory_path() / "quarel_preview_test.png").string();
    std::string error;
    ASSERT_TRUE(WritePng(img, path, error)) << error;

    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str()));
    png.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> back(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, back.data(), 0, nullptr));
    EXPECT_EQ(png.width, 5u);
    EXPECT_EQ(back, img.rgb);
    std::filesystem::remove(path);

    EXPECT_FALSE(WritePng(img, "/nonexistent-dir/x.png", error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace QuarelPreview
