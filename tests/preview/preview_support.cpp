#include "preview_support.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "preview/cli/options.h"
#include "preview/commands/run.h"
#include "preview/setup/map_setup.h"
#include "preview/setup/preset.h"

namespace QuarelPreviewTest {

namespace {

std::unique_ptr<QuarelPreview::PluginHost> gHost;
QuarelPreview::ParamTable gTable;

class HostEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("QUARELMAP_LOG", "0", 1);
        std::string error;
        gHost = QuarelPreview::PluginHost::Load(QuarelPreview::DefaultModulePath(), error);
        ASSERT_TRUE(gHost) << error;
        QuarelPreview::AddMapParams(*gHost, gTable);
    }
    void TearDown() override { gHost.reset(); }
};

const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new HostEnvironment);

std::string ReadAll(std::FILE* f) {
    std::string s;
    std::rewind(f);
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

}  // namespace

QuarelPreview::PluginHost& Host() {
    return *gHost;
}

const QuarelPreview::ParamTable& Table() {
    return gTable;
}

int RunTool(std::vector<std::string> args, const std::string& input, std::string* out,
            std::string* err) {
    args.insert(args.begin(), "quarel-preview");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    std::FILE* in = std::tmpfile();
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in);
    std::rewind(in);
    QuarelPreview::PreviewOptions options;
    int code = QuarelPreview::ParseOptions(static_cast<int>(argv.size()), argv.data(), options);
    if (code < 0) {
        code = options.module.empty() ? QuarelPreview::RunWithHost(options, *gHost, in, o, e)
                                      : QuarelPreview::RunPreview(options, in, o, e);
    }
    if (out) *out = ReadAll(o);
    if (err) *err = ReadAll(e);
    std::fclose(in);
    std::fclose(o);
    std::fclose(e);
    return code;
}

std::string SourceDir() {
    return QUAREL_SOURCE_DIR;
}

std::filesystem::path TestDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const auto dir =
        std::filesystem::temp_directory_path() /
        (std::string("quarel_preview_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::create_directories(dir);
    return dir;
}

std::string WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

namespace {

std::unique_ptr<QuarelPreview::MapSlot> Updated(
    std::unique_ptr<QuarelPreview::MapSlot> slot,
    const std::vector<QuarelPreview::Assignment>& values, std::string& error) {
    if (!slot || !QuarelPreview::ApplyAssignments(slot->Get(), values, error)) return nullptr;
    Interval valid = FOREVER;
    slot->Get()->Update(0, valid);
    return slot;
}

}  // namespace

std::unique_ptr<QuarelPreview::MapSlot> MapFromPreset(const std::string& text) {
    std::string error;
    std::vector<QuarelPreview::Assignment> values;
    EXPECT_TRUE(QuarelPreview::ParsePreset(text, gTable, "test", "", values, error)) << error;
    auto slot = Updated(gHost->NewMap(error), values, error);
    EXPECT_TRUE(slot) << error;
    return slot;
}

std::unique_ptr<QuarelPreview::MapSlot> MapFromPresetFile(const std::string& path,
                                                          std::string& error) {
    std::vector<QuarelPreview::Assignment> values;
    if (!QuarelPreview::LoadPresetFile(path, gTable, values, error)) return nullptr;
    return Updated(gHost->NewMap(error), values, error);
}

bool ReadPng(const std::string& path, QuarelPreview::Image& image) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    image = QuarelPreview::Image(static_cast<int>(png.width), static_cast<int>(png.height));
    return png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

std::size_t PixelsBeyond(const QuarelPreview::Image& got, const QuarelPreview::Image& want,
                         int tolerance) {
    std::size_t beyond = 0;
    for (std::size_t i = 0; i + 2 < got.rgb.size() && i + 2 < want.rgb.size(); i += 3) {
        int worst = 0;
        for (std::size_t k = 0; k < 3; ++k)
            worst = std::max(worst, std::abs(int{got.rgb[i + k]} - int{want.rgb[i + k]}));
        beyond += worst > tolerance;
    }
    return beyond;
}

}  // namespace QuarelPreviewTest
