// The module as the host meets it: entry point, the six exports, the descriptors they hand out,
// the log they write and the resources the stand-in reads through the instance handle.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "commctrl.h"
#include "host/wide_text.h"
#include "loaded_module.h"
#include "log_fixture.h"
#include "w32_module.h"

namespace {

using QuarelTest::LineMessage;
using QuarelTest::LoadedModule;
using QuarelTest::ScopedEnv;

class ModuleTest : public QuarelTest::LogDirTest {
protected:
    void SetUp() override {
        LogDirTest::SetUp();
        mModule.emplace(mDir);
        ASSERT_TRUE(mModule->ok());
    }
    void TearDown() override {
        mModule.reset();
        LogDirTest::TearDown();
    }
    LoadedModule& M() { return *mModule; }
    bool Attach() { return M().DllMain(M().instance(), DLL_PROCESS_ATTACH, nullptr) == TRUE; }
    bool Detach() { return M().DllMain(M().instance(), DLL_PROCESS_DETACH, nullptr) == TRUE; }

    std::optional<ScopedEnv> mSwitch{std::in_place, "QUARELMAP_LOG", nullptr};
    std::optional<LoadedModule> mModule;
};

struct ExpectedClass {
    const wchar_t* name;
    const wchar_t* internalName;
    SClass_ID superClass;
    ULONG idB;
    int isPublic;
};

const ExpectedClass kExpected[] = {
    {L"QuarelMap", L"QuarelMap", 0xC10, 0x3F4B8A12, 1},
    {L"QuarelMapBump", L"QuarelMapBump", 0xC10, 0x3F4B8A13, 0},
    {L"QuarelMap Normal", L"QuarelMapNormal", 0xC10, 0x3F4B8A14, 0},
    {L"QuarelMap NormalBump Carrier", L"QuarelMapNormalCarrier", 0xC00, 0x3F4B8A15, 0},
    {L"QuarelMap Bump", L"QuarelMapBump", 0xC10, 0x3F4B8A16, 0},
};

TEST_F(ModuleTest, ExportsAnswerTheClassTable) {
    ASSERT_TRUE(Attach());
    EXPECT_EQ(M().LibNumberClasses(), 5);
    EXPECT_EQ(M().LibVersion(), 0x65904000ul);
    EXPECT_EQ(std::wstring(M().LibDescription()),
              L"QuarelMap - per-brick projection texture with VRayMultiSubTex support");
    EXPECT_EQ(M().LibInitialize(), TRUE);
    for (int i = 0; i < 5; ++i) {
        ClassDesc* cd = M().LibClassDesc(i);
        ASSERT_NE(cd, nullptr) << i;
        const ExpectedClass& e = kExpected[i];
        EXPECT_EQ(std::wstring(cd->ClassName()), e.name);
        EXPECT_EQ(std::wstring(cd->NonLocalizedClassName()), e.name);
        EXPECT_EQ(std::wstring(cd->InternalName()), e.internalName);
        EXPECT_EQ(cd->SuperClassID(), e.superClass);
        EXPECT_EQ(cd->ClassID(), Class_ID(0x58D7C091, e.idB));
        EXPECT_EQ(cd->IsPublic(), e.isPublic);
        EXPECT_EQ(std::wstring(cd->Category()), L"QuarelMap");
        EXPECT_EQ(cd->HInstance(), M().instance());
        EXPECT_EQ(M().LibClassDesc(i), cd) << "answers never change";
    }
    for (int i : {-1, 5, 6, INT_MIN, INT_MAX}) EXPECT_EQ(M().LibClassDesc(i), nullptr) << i;
    EXPECT_EQ(M().LibShutdown(), TRUE);
    EXPECT_EQ(W32RegisteredCommonControls() & ICC_WIN95_CLASSES, DWORD{ICC_WIN95_CLASSES});
    EXPECT_TRUE(Detach());
}

TEST_F(ModuleTest, TheLogTracesTheModuleOnceForFirstCallExports) {
    ASSERT_TRUE(Attach());
    for (int k = 0; k < 2; ++k) {
        M().LibNumberClasses();
        M().LibDescription();
        M().LibVersion();
    }
    M().LibClassDesc(-1);
    M().LibClassDesc(5);
    M().LibClassDesc(0);
    M().LibInitialize();
    M().LibShutdown();
    ASSERT_TRUE(Detach());
    M().LibClassDesc(1);  // after detach: nothing more reaches the file
    M().LibInitialize();

    const std::vector<std::string> expected = {
        "DllMain: PROCESS_ATTACH, hInstance=" + QuarelTest::Ptr(M().instance()),
        "LibNumberClasses called",
        "LibDescription called",
        "LibVersion called, returning 1703952384",
        "LibClassDesc(-1) called",
        "LibClassDesc(5) called",
        "LibClassDesc(0) called",
        "LibInitialize called",
        "LibShutdown called",
        "DllMain: PROCESS_DETACH",
    };
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), expected.size() + 2) << LogText();
    EXPECT_TRUE(QuarelTest::IsOpenBanner(lines.front()));
    EXPECT_TRUE(QuarelTest::IsCloseBanner(lines.back()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(QuarelTest::LinePrefixLength(lines[i + 1]), 0u) << lines[i + 1];
        EXPECT_EQ(LineMessage(lines[i + 1]), expected[i]);
    }
}

TEST_F(ModuleTest, DetachWithoutAttachAndOtherReasonsDoNothing) {
    EXPECT_TRUE(M().DllMain(M().instance(), DLL_THREAD_ATTACH, nullptr));
    EXPECT_TRUE(M().DllMain(M().instance(), DLL_THREAD_DETACH, nullptr));
    EXPECT_TRUE(Detach());
    EXPECT_EQ(M().LibNumberClasses(), 5);
    EXPECT_FALSE(LogExists());
}

TEST_F(ModuleTest, TheStandInReadsStringsAndTemplatesThroughTheInstance) {
    ASSERT_TRUE(Attach());
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(M().instance(), 3105, text, 64), 0);
    EXPECT_EQ(std::wstring(text), L"Hexagons");
    EXPECT_EQ(LoadStringW(M().instance(), 4, text, 64), 0);
    for (UINT id : {100u, 101u, 102u, 103u, 104u, 105u, 106u, 107u})
        EXPECT_NE(W32FindDialogResource(M().instance(), id), nullptr) << id;
    EXPECT_EQ(W32FindDialogResource(M().instance(), 108), nullptr);
    EXPECT_TRUE(Detach());
}

TEST_F(ModuleTest, DescriptorsCreateObjectsOfTheirClass) {
    ASSERT_TRUE(Attach());
    for (int i = 0; i < 5; ++i) {
        ClassDesc* cd = M().LibClassDesc(i);
        for (BOOL loading : {FALSE, TRUE}) {
            auto* object = static_cast<Animatable*>(cd->Create(loading));
            ASSERT_NE(object, nullptr);
            EXPECT_EQ(object->ClassID(), cd->ClassID());
            EXPECT_EQ(object->SuperClassID(), cd->SuperClassID());
            MSTR name;
            object->GetClassName(name);
            EXPECT_EQ(host::Wide(name), std::wstring(kExpected[i].name));
            SingleRefMaker holder(dynamic_cast<ReferenceTarget*>(object));
        }
    }
    EXPECT_TRUE(Detach());
}

}  // namespace
