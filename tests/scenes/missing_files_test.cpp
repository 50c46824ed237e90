// A loaded map whose slots hold images that cannot be used says so in the log, once a file,
// with the map and every slot that leads to it, however deep; images it can use and maps without
// files are not mentioned.
#include <filesystem>
#include <fstream>

#include "scene_support.h"

namespace QuarelTest {
namespace {

using MissingFilesTest = SceneTest;

TEST_F(MissingFilesTest, EachUnusableImageIsLoggedOnceWithTheMapAndItsSlots) {
    QuarelMap* map = NewMap();
    map->SetName(L"wall");
    auto* gone = new BitmapMap;
    gone->SetFileName((mDir / "gone.png").string());
    map->SetSubTexmap(QuarelMap::kSubTiles, gone);
    map->SetSubTexmap(QuarelMap::kSubTiles2, gone);
    const std::filesystem::path brokenPath = mDir / "broken.png";
    std::ofstream(brokenPath) << "\x89PNG\r\n\x1a\nnot an image";
    auto* broken = new BitmapMap;
    broken->SetFileName(brokenPath.string());
    map->SetSubTexmap(QuarelMap::kSubGrout, broken);

    Mark();
    LoadedScene loaded;
    RoundTrip({map}, loaded);
    ASSERT_EQ(loaded.roots.size(), 1u);
    const std::string head =
        "QuarelMap::PostLoad [this=" + Ptr(loaded.roots[0]->GetRef()) + "] 'wall': file '";
    EXPECT_EQ(CountNew(head + (mDir / "gone.png").string() +
                       "' cannot be used; wanted by 'Tiles', 'Brick 2'"),
              1)
        << LogText();
    EXPECT_EQ(CountNew(head + brokenPath.string() + "' cannot be used; wanted by 'Grout'"), 1)
        << LogText();
    EXPECT_EQ(CountNew("QuarelMap::PostLoad [", true), 2) << LogText();
}

TEST_F(MissingFilesTest, AnImageNestedDeeperIsLoggedOnceWithEverySlotThatLeadsToIt) {
    QuarelMap* map = NewMap();
    map->SetName(L"wall");
    auto* gone = new BitmapMap;
    gone->SetFileName((mDir / "gone.png").string());
    auto* inner = new CheckerMap;  // reached twice from the brick slot, once from the joint
    inner->SetSubTexmap(0, gone);
    auto* outer = new CheckerMap;
    outer->SetSubTexmap(0, inner);
    outer->SetSubTexmap(1, inner);
    map->SetSubTexmap(QuarelMap::kSubTiles, outer);
    map->SetSubTexmap(QuarelMap::kSubGrout, inner);

    Mark();
    LoadedScene loaded;
    RoundTrip({map}, loaded);
    ASSERT_EQ(loaded.roots.size(), 1u);
    EXPECT_EQ(CountNew("QuarelMap::PostLoad [this=" + Ptr(loaded.roots[0]->GetRef()) +
                       "] 'wall': file '" + (mDir / "gone.png").string() +
                       "' cannot be used; wanted by 'Tiles', 'Grout'"),
              1)
        << LogText();
    EXPECT_EQ(CountNew("QuarelMap::PostLoad [", true), 1) << LogText();
}

TEST_F(MissingFilesTest, AMapWhoseImagesAreAllThereLogsNone) {
    QuarelMap* map = NewMap();
    map->SetSubTexmap(QuarelMap::kSubTiles, new CheckerMap);
    map->SetSubTexmap(QuarelMap::kSubGrout, new BitmapMap);  // names no file
    Mark();
    LoadedScene loaded;
    RoundTrip({map}, loaded);
    EXPECT_EQ(CountNew("QuarelMap::PostLoad [", true), 0) << LogText();
}

}  // namespace
}  // namespace QuarelTest
