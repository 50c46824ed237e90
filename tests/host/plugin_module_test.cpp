// Loading a module through the six exports, and refusing modules that do not fit the host.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <host/class_directory.h>
#include <host/plugin_module.h>
#include <maxapi.h>
#include <w32_module.h>

namespace {

template <class Fn>
Fn Query(PluginModule& m, const char* name) {
    return reinterpret_cast<Fn>(dlsym(W32ModuleDlHandle(m.Instance()), name));
}

TEST(PluginModuleTest, LoadsThroughTheSixExportsAndUnloadsCleanly) {
    std::string error;
    auto module = PluginModule::Load(QUAREL_TEST_MODULE, &error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(module->Version(), ULONG{VERSION_3DSMAX});
    EXPECT_EQ(module->Description(), MSTR(L"Test Module"));  // read from its string table
    ASSERT_EQ(module->NumClasses(), 1);
    ClassDesc* cd = module->GetClassDesc(0);
    ASSERT_NE(cd, nullptr);
    EXPECT_EQ(module->FindClass(L"ModuleMap"), cd);
    EXPECT_EQ(cd->HInstance(), module->Instance());
    EXPECT_EQ(FindClassDesc(TEXMAP_CLASS_ID, cd->ClassID()), cd);
    EXPECT_EQ(Query<int (*)()>(*module, "TestModuleAttachCount")(), 1);
    EXPECT_EQ(Query<int (*)()>(*module, "TestModuleInitCount")(), 1);
    EXPECT_EQ(Query<HINSTANCE (*)()>(*module, "TestModuleInstance")(), module->Instance());

    // Its class works through the host: blocks, values, evaluation.
    auto* map = static_cast<Texmap*>(static_cast<Animatable*>(cd->Create(FALSE)));
    {
        SingleRefMaker holder(map);
        ASSERT_NE(map->GetParamBlock(0), nullptr);
        EXPECT_EQ(map->GetParamBlock(0)->GetColor(0), Color(0.2f, 0.4f, 0.6f));
        EXPECT_EQ(static_cast<ClassDesc2*>(cd)->NumParamBlockDescs(), 1);
    }

    module->Unload();
    EXPECT_FALSE(module->IsLoaded());
    EXPECT_EQ(FindClassDesc(TEXMAP_CLASS_ID, Class_ID(0x7E570002, 0x2)), nullptr);
    module->Unload();  // twice is harmless
}

TEST(PluginModuleTest, WrongVersionIsRefusedAndDetached) {
    std::string error;
    auto module = PluginModule::Load(QUAREL_TEST_MODULE_WRONG_VERSION, &error);
    EXPECT_EQ(module, nullptr);
    EXPECT_NE(error.find("version 0x65904001"), std::string::npos) << error;
    EXPECT_NE(error.find("0x65904000"), std::string::npos) << error;
    EXPECT_EQ(FindClassDesc(TEXMAP_CLASS_ID, Class_ID(0x7E570002, 0x2)), nullptr);
}

TEST(PluginModuleTest, MissingExportIsRefusedByName) {
    std::string error;
    EXPECT_EQ(PluginModule::Load(QUAREL_TEST_MODULE_NO_SHUTDOWN, &error), nullptr);
    EXPECT_NE(error.find("lacks the export LibShutdown"), std::string::npos) << error;
    EXPECT_EQ(PluginModule::Load("/no/such/module.dlt", &error), nullptr);
    EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
}

}  // namespace
