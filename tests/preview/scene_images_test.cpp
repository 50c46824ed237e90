// Scenes with images, as users move them: saved from one working folder, copied with their
// images elsewhere and loaded from a third, they render the same bytes; a missing or broken
// image is named with its map and slot and stops the render with its own exit code, unless
// --allow-missing, which renders the placeholder; --image-path finds images that moved.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "preview/cli/options.h"
#include "preview/common/image.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

namespace fs = std::filesystem;
using QuarelPreviewTest::ReadPng;
using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::SourceDir;
using QuarelPreviewTest::TestDir;

std::string FileBytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Runs the tool with `dir` as the working folder (and back).
int RunIn(const fs::path& dir, std::vector<std::string> args, std::string* err = nullptr) {
    const fs::path before = fs::current_path();
    fs::create_directories(dir);
    fs::current_path(dir);
    const int code = RunTool(std::move(args), "", nullptr, err);
    fs::current_path(before);
    return code;
}

class SceneImages : public ::testing::Test {
protected:
    // A project folder with the parquet preset and its image, and a scene saved from it with
    // paths as a user types them: relative to the working folder.
    void SetUp() override {
        dir = TestDir();
        fs::remove_all(dir);
        fs::create_directories(dir / "a/presets");
        for (const char* f : {"herringbone-parquet.json", "wood.png"})
            fs::copy_file(SourceDir() + "/presets/" + f, dir / "a/presets" / f);
        ASSERT_EQ(RunIn(dir / "a",
                        {"--preset", "presets/herringbone-parquet.json", "--save-scene",
                         "scenes/aged.qscene", "--size", "32", "-q", "--out", "preset.png"},
                        &err),
                  kExitOk)
            << err;
        want = FileBytes(dir / "a/preset.png");
        ASSERT_FALSE(want.empty());
    }
    void TearDown() override { fs::remove_all(dir); }

    int Render(const fs::path& cwd, const std::string& scene, const std::string& out,
               std::vector<std::string> more = {}) {
        std::vector<std::string> args{"--scene", scene, "--size", "32", "-q", "--out", out};
        args.insert(args.end(), more.begin(), more.end());
        err.clear();
        return RunIn(cwd, std::move(args), &err);
    }

    fs::path dir;
    std::string want, err;
};

TEST_F(SceneImages, ASceneCopiedWithItsImagesRendersTheSameFromAnotherFolder) {
    fs::copy(dir / "a", dir / "b", fs::copy_options::recursive);
    fs::remove_all(dir / "a");  // the stored absolute paths lead nowhere now
    ASSERT_EQ(Render(dir / "c", "../b/scenes/aged.qscene", "x.png"), kExitOk) << err;
    EXPECT_EQ(FileBytes(dir / "c/x.png"), want);
    EXPECT_EQ(err, "");
}

TEST_F(SceneImages, AMissingImageIsNamedWithItsMapAndSlotAndStopsTheRender) {
    fs::remove(dir / "a/presets/wood.png");
    ASSERT_EQ(Render(dir / "c", (dir / "a/scenes/aged.qscene").string(), "x.png"), kExitMissing);
    EXPECT_FALSE(fs::exists(dir / "c/x.png"));
    EXPECT_NE(err.find("cannot find 'wood.png'"), std::string::npos) << err;
    EXPECT_NE(err.find("wanted by QuarelMap 'herringbone-parquet', slot 'Tiles'"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("--allow-missing"), std::string::npos) << err;

    // Allowed, the image shows as the magenta and black checker.
    ASSERT_EQ(
        Render(dir / "c", (dir / "a/scenes/aged.qscene").string(), "x.png", {"--allow-missing"}),
        kExitOk)
        << err;
    EXPECT_NE(err.find("cannot find 'wood.png'"), std::string::npos) << err;
    Image image;
    ASSERT_TRUE(ReadPng((dir / "c/x.png").string(), image));
    std::size_t magenta = 0;
    // Magenta, or magenta and black mixed within a pixel where the squares are small.
    for (std::size_t i = 0; i + 2 < image.rgb.size(); i += 3)
        magenta += image.rgb[i] > 60 && image.rgb[i + 1] < 30 && image.rgb[i + 2] > 60 &&
                   std::abs(image.rgb[i] - image.rgb[i + 2]) < 30;
    EXPECT_GT(magenta, 20u);

    // Without a scene there is nothing to allow: a preset's missing image is refused.
    EXPECT_EQ(RunTool({"--allow-missing", "-q"}, ""), kExitRefused);
}

TEST_F(SceneImages, AnImageThatCannotBeDecodedIsReportedLikeAMissingOne) {
    std::ofstream(dir / "a/presets/wood.png") << "\x89PNG\r\n\x1a\nnot an image";
    ASSERT_EQ(Render(dir, "a/scenes/aged.qscene", "x.png"), kExitMissing);
    EXPECT_NE(err.find("wood.png"), std::string::npos) << err;
    EXPECT_NE(err.find("slot 'Tiles'"), std::string::npos) << err;
}

TEST_F(SceneImages, ImagePathFindsImagesThatMovedAway) {
    fs::create_directories(dir / "lib");
    fs::rename(dir / "a/presets/wood.png", dir / "lib/wood.png");
    ASSERT_EQ(Render(dir / "c", (dir / "a/scenes/aged.qscene").string(), "x.png",
                     {"--image-path", (dir / "nothing").string(), "--image-path",
                      (dir / "lib").string()}),
              kExitOk)
        << err;
    EXPECT_EQ(FileBytes(dir / "c/x.png"), want);
}

TEST_F(SceneImages, ALoadedSceneSavedElsewhereGetsPathsForItsNewPlace) {
    ASSERT_EQ(Render(dir / "c", (dir / "a/scenes/aged.qscene").string(), "x.png",
                     {"--save-scene", "deep/er/copy.qscene"}),
              kExitOk)
        << err;
    // The new scene and the project moved together: only the rewritten relative path works.
    fs::create_directories(dir / "moved");
    fs::rename(dir / "a", dir / "moved/a");
    fs::rename(dir / "c", dir / "moved/c");
    ASSERT_EQ(Render(dir, "moved/c/deep/er/copy.qscene", "y.png"), kExitOk) << err;
    EXPECT_EQ(FileBytes(dir / "y.png"), want);
}

TEST_F(SceneImages, APresetLooksForItsImagesAlongTheImagePathToo) {
    const std::string preset = FileBytes(dir / "a/presets/herringbone-parquet.json");
    fs::create_directories(dir / "lib");
    fs::rename(dir / "a/presets/wood.png", dir / "lib/wood.png");
    std::string e;
    EXPECT_EQ(RunIn(dir,
                    {"--preset", "a/presets/herringbone-parquet.json", "-q", "--size", "32",
                     "--out", "p.png"},
                    &e),
              kExitRefused);
    EXPECT_NE(e.find("wood.png"), std::string::npos) << e;
    ASSERT_EQ(RunIn(dir,
                    {"--preset", "a/presets/herringbone-parquet.json", "--image-path", "lib", "-q",
                     "--size", "32", "--out", "p.png"},
                    &e),
              kExitOk)
        << e;
    EXPECT_EQ(FileBytes(dir / "p.png"), want);
}

}  // namespace
}  // namespace QuarelPreview
