// Maps from and to scene files: a preset saved as a scene renders to the same bytes from the
// scene, the search picks the map the module's own search would, and a damaged scene is a
// clear error with a non-zero exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/builtin_classes.h"
#include "maxapi.h"
#include "preview/cli/options.h"
#include "preview/setup/scene_io.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Host;
using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::SourceDir;
using QuarelPreviewTest::TestDir;

std::string Bytes(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

TEST(PreviewScene, APresetSavedAsASceneRendersTheSameFromTheScene) {
    const auto dir = TestDir();
    const std::string scene = (dir / "wall.qscene").string();
    // Its planks show windows of a bitmap: the nested map goes through the scene file too.
    const std::string preset = SourceDir() + "/presets/herringbone-parquet.json";
    std::string err;
    ASSERT_EQ(RunTool({"--preset", preset, "--save-scene", scene, "--size", "48", "-q", "--out",
                       (dir / "preset.png").string()},
                      "", nullptr, &err),
              kExitOk)
        << err;
    ASSERT_EQ(
        RunTool({"--scene", scene, "--size", "48", "-q", "--out", (dir / "scene.png").string()}, "",
                nullptr, &err),
        kExitOk)
        << err;
    const std::string a = Bytes(dir / "preset.png"), b = Bytes(dir / "scene.png");
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b);

    // Values set on top of a scene's map apply to it, and a sample reads the same either way.
    std::string fromPreset, fromScene;
    const std::string points = "0.3 0.06\n0.71 0.4\n";
    ASSERT_EQ(RunTool({"sample", "--preset", preset, "--set", "seed=5"}, points, &fromPreset),
              kExitOk);
    ASSERT_EQ(RunTool({"sample", "--scene", scene, "--set", "seed=5"}, points, &fromScene),
              kExitOk);
    EXPECT_EQ(fromPreset, fromScene);
    EXPECT_EQ(GetCOREInterface()->GetRootNode()->NumberOfChildren(), 0);
    std::filesystem::remove_all(dir);
}

TEST(PreviewScene, ADamagedSceneIsAClearErrorAndANonZeroExit) {
    const auto dir = TestDir();
    const auto scene = dir / "wall.qscene";
    ASSERT_EQ(RunTool({"sample", "--save-scene", scene.string()}, ""), kExitOk);
    const std::string bytes = Bytes(scene);
    ASSERT_GT(bytes.size(), 100u);

    struct Case {
        const char* what;
        std::string bytes;
        const char* says;
    };
    std::string flipped = bytes;
    flipped[8] = '\x7F';  // the format version
    const Case cases[] = {
        {"truncated", bytes.substr(0, bytes.size() / 2), "truncated"},
        {"cut in the header", bytes.substr(0, 5), "not a scene file"},
        {"not a scene", "{\"pattern\": 3}", "not a scene file"},
        {"another version", flipped, "unsupported scene format version"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto damaged = dir / "damaged.qscene";
        QuarelPreviewTest::WriteFile(damaged, c.bytes);
        std::string err;
        EXPECT_EQ(RunTool({"--scene", damaged.string(), "-q", "--out", (dir / "x.png").string()},
                          "", nullptr, &err),
                  kExitRefused);
        EXPECT_NE(err.find("cannot load scene " + damaged.string() + ": "), std::string::npos)
            << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
    }
    std::string err;
    EXPECT_EQ(RunTool({"sample", "--scene", (dir / "missing.qscene").string()}, "", nullptr, &err),
              kExitRefused);
    EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
    EXPECT_EQ(RunTool({"sample", "--map", "Wall"}, ""), kExitRefused);  // --map needs --scene
    // Missing folders are made; a file where a folder should be is a failure.
    const std::string blocker = QuarelPreviewTest::WriteFile(dir / "file", "x");
    EXPECT_EQ(RunTool({"sample", "--save-scene", blocker + "/sub/dir.q"}, "", nullptr, &err),
              kExitFailed);
    EXPECT_NE(err.find("cannot save scene"), std::string::npos) << err;
    EXPECT_EQ(GetCOREInterface()->GetRootNode()->NumberOfChildren(), 0);
    std::filesystem::remove_all(dir);
}

// Two maps named in the scene, one only on the root: the first of the search by default, or
// the one of the name asked for.
TEST(PreviewScene, TheMapIsTheFirstOfTheSearchOrTheOneNamed) {
    const Class_ID cls = Host().MapClass()->ClassID();
    auto make = [&](const wchar_t* name) {
        auto* m = dynamic_cast<Texmap*>(static_cast<Animatable*>(Host().MapClass()->Create(FALSE)));
        m->SetName(name);
        return m;
    };
    INode* root = GetCOREInterface()->GetRootNode();
    auto* multi = new MultiMtl(2);
    auto* inner = new StdMtl;
    inner->SetSubTexmap(0, make(L"Floor"));
    multi->SetSubMtl(1, inner);
    INode* a = root->CreateChild(L"A");
    a->SetMtl(multi);
    auto* wall = new StdMtl;
    wall->SetSubTexmap(1, make(L"Wall"));
    a->CreateChild(L"A1")->SetMtl(wall);
    root->SetMtl(new StdMtl);
    root->GetMtl()->SetSubTexmap(0, make(L"Root"));

    std::string error;
    ASSERT_EQ(SceneMaps(cls).size(), 2u);
    Texmap* first = PickSceneMap(cls, "", error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_EQ(first->GetName(), L"Floor");
    Texmap* named = PickSceneMap(cls, "Wall", error);
    ASSERT_NE(named, nullptr) << error;
    EXPECT_EQ(named->GetName(), L"Wall");
    EXPECT_EQ(PickSceneMap(cls, "Root", error), nullptr);
    EXPECT_EQ(error,
              "the scene has no QuarelMap named 'Root'; its QuarelMaps, in order: 'Floor', "
              "'Wall'");

    root->SetMtl(nullptr);
    GetCOREInterface()->ResetScene();
    EXPECT_EQ(PickSceneMap(cls, "", error), nullptr);
    EXPECT_EQ(error, "the scene has no QuarelMap in the materials of its nodes");
}

}  // namespace
}  // namespace QuarelPreview
