// The host's own module loader takes QuarelMap.dlt as it takes any plug-in: one public class in
// its lists, the five classes in its directory while loaded, and maps that survive a scene file.
#include <gtest/gtest.h>

#include "host/class_directory.h"
#include "host/plugin_module.h"
#include "host/scene_file.h"
#include "log_fixture.h"

namespace {

class PluginLoaderTest : public QuarelTest::LogDirTest {};

TEST_F(PluginLoaderTest, TheHostListsExactlyOnePublicClass) {
    std::string error;
    auto module = PluginModule::Load(QUAREL_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    ASSERT_EQ(module->NumClasses(), 5);
    int publicClasses = 0;
    for (int i = 0; i < module->NumClasses(); ++i) {
        ClassDesc* cd = module->GetClassDesc(i);
        ASSERT_NE(cd, nullptr) << i;
        EXPECT_EQ(FindClassDesc(cd->SuperClassID(), cd->ClassID()), cd) << i;
        if (cd->IsPublic()) {
            ++publicClasses;
            EXPECT_EQ(std::wstring(cd->ClassName()), L"QuarelMap");
        }
    }
    EXPECT_EQ(publicClasses, 1);
    const Class_ID mapId(0x58D7C091, 0x3F4B8A12);
    module->Unload();
    EXPECT_EQ(FindClassDesc(TEXMAP_CLASS_ID, mapId), nullptr);

    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(QuarelTest::IsOpenBanner(lines.front()));
    EXPECT_TRUE(QuarelTest::IsCloseBanner(lines.back()));
}

TEST_F(PluginLoaderTest, MapsOfTheLoadedModuleGoThroughASceneFile) {
    std::string error;
    auto module = PluginModule::Load(QUAREL_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
    ClassDesc* cd = module->FindClass(L"QuarelMap");
    ASSERT_NE(cd, nullptr);
    std::vector<std::uint8_t> bytes;
    {
        auto* map = dynamic_cast<ReferenceTarget*>(static_cast<Animatable*>(cd->Create()));
        ASSERT_NE(map, nullptr);
        SingleRefMaker holder(map);
        ASSERT_TRUE(map->GetParamBlockByID(0)->SetValue(13, 0, 777));  // seed
        ASSERT_TRUE(SaveSceneBytes({map}, bytes, &error)) << error;
    }
    {
        LoadedScene scene;
        ASSERT_TRUE(LoadSceneBytes(bytes.data(), bytes.size(), scene, &error)) << error;
        ASSERT_EQ(scene.roots.size(), 1u);
        ReferenceTarget* loaded = scene.roots[0]->GetRef();
        EXPECT_EQ(loaded->ClassID(), cd->ClassID());
        EXPECT_EQ(loaded->GetParamBlockByID(0)->GetInt(13), 777);
    }
    // Without the module its classes are unknown to a scene file.
    module->Unload();
    LoadedScene scene;
    EXPECT_FALSE(LoadSceneBytes(bytes.data(), bytes.size(), scene, &error));
    EXPECT_NE(error.find("unknown"), std::string::npos) << error;
}

}  // namespace
