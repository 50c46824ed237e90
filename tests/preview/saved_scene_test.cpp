// A scene saved before seamless bricks existed: it loads with them off and renders as it did.
// The fixture is brick-wall.json saved as a scene; its golden image was rendered when it was
// saved, with the tolerance of the other golden images.
#include <gtest/gtest.h>

#include "preview/cli/options.h"
#include "preview/common/image.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::SourceDir;
using QuarelPreviewTest::TestDir;

TEST(SavedScene, AnOlderSceneRendersAsItDid) {
    const auto dir = TestDir();
    const std::string scene = SourceDir() + "/tests/preview/scenes/brick-wall-saved.qscene";
    const std::string got = (dir / "scene.png").string();
    std::string err;
    ASSERT_EQ(RunTool({"--scene", scene, "--size", "64", "--repeat", "2", "-q", "--out", got}, "",
                      nullptr, &err),
              kExitOk)
        << err;
    Image image, want;
    ASSERT_TRUE(QuarelPreviewTest::ReadPng(got, image));
    ASSERT_TRUE(QuarelPreviewTest::ReadPng(
        SourceDir() + "/tests/preview/golden/brick-wall-saved-scene.png", want));
    ASSERT_EQ(image.width, want.width);
    ASSERT_EQ(image.height, want.height);
    EXPECT_LE(QuarelPreviewTest::PixelsBeyond(image, want, 2), image.rgb.size() / 3 / 200);

    // The parameter it was saved without reads as off.
    std::string shown;
    ASSERT_EQ(RunTool({"show", "--scene", scene}, "", &shown, &err), kExitOk) << err;
    EXPECT_NE(shown.find("\"seamless_bricks\": false"), std::string::npos) << shown;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace QuarelPreview
