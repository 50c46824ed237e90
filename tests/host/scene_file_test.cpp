// Scene files: round trips of shared graphs, block values by id, post-load order, and
// rejection of truncated, corrupt and hostile files without leaks or half-loaded scenes.
#include <gtest/gtest.h>

#include <host/builtin_classes.h>
#include <host/scene_file.h>
#include <maxapi.h>

#include <cstring>
#include <string>

#include "test_classes.h"

namespace hosttest {
namespace {

// Writes scene files by hand, for inputs the saver would never produce.
class FileBuilder {
public:
    FileBuilder() : bytes{'Q', 'R', 'L', 'S', 'C', 'E', 'N', 'E'} { U32(kSceneFormatVersion); }
    void Begin(std::uint16_t id) {
        open.push_back(bytes.size());
        bytes.push_back(static_cast<std::uint8_t>(id));
        bytes.push_back(static_cast<std::uint8_t>(id >> 8));
        U32(0);
    }
    void End() {
        const std::size_t at = open.back();
        open.pop_back();
        const auto len = static_cast<std::uint32_t>(bytes.size() - at - 6);
        std::memcpy(&bytes[at + 2], &len, 4);
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    // One test map with the given reference indices and no data.
    void Object(std::vector<std::int32_t> refs, std::uint32_t classB = 1) {
        Begin(0x0021);
        Begin(0x0022);
        U32(TEXMAP_CLASS_ID);
        U32(0x7E570001);
        U32(classB);
        End();
        Begin(0x0024);
        U32(static_cast<std::uint32_t>(refs.size()));
        for (auto r : refs) U32(static_cast<std::uint32_t>(r));
        End();
        End();
    }
    void Roots(std::vector<std::int32_t> roots) {
        Begin(0x0040);
        U32(static_cast<std::uint32_t>(roots.size()));
        for (auto r : roots) U32(static_cast<std::uint32_t>(r));
        End();
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::size_t> open;
};

class SceneFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        GetCOREInterface()->ResetScene();
        gLiveMaps = 0;
    }
    void TearDown() override {
        GetCOREInterface()->ResetScene();
        EXPECT_EQ(gLiveMaps, 0) << "maps leaked";
    }

    // Two roots sharing one nested map; the first root's block holds values and keys.
    std::vector<std::uint8_t> SaveSharedGraph() {
        auto* a = new TestMap;
        auto* b = new TestMap;
        auto* shared = new TestMap;
        SingleRefMaker ha(a), hb(b);
        a->SetSubTexmap(0, shared);
        b->SetSubTexmap(1, shared);
        shared->color = AColor(0.1f, 0.2f, 0.3f, 0.4f);
        a->Block()->SetValue(kCount, 0, 17);
        a->Block()->SetValue(kTint, 0, Color(0.f, 1.f, 0.5f));
        a->Block()->SetKey(kAmount, 0, 0.f);
        a->Block()->SetKey(kAmount, 100, 1.f);
        a->SetName(L"Wall");
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(SaveSceneBytes({a, b}, bytes, &error)) << error;
        return bytes;
    }

    bool Load(const std::vector<std::uint8_t>& bytes, LoadedScene& scene, std::string& error) {
        return LoadSceneBytes(bytes.data(), bytes.size(), scene, &error);
    }
};

TEST_F(SceneFileTest, SharedTargetsValuesAndDataSurviveARoundTrip) {
    const auto bytes = SaveSharedGraph();
    ASSERT_EQ(gLiveMaps, 0);
    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(Load(bytes, scene, error)) << error;
    ASSERT_EQ(scene.roots.size(), 2u);
    auto* a = static_cast<TestMap*>(scene.roots[0]->GetRef());
    auto* b = static_cast<TestMap*>(scene.roots[1]->GetRef());
    ASSERT_TRUE(a && b);
    EXPECT_EQ(gLiveMaps, 3);  // the constructor-made blocks were replaced, not kept
    ASSERT_NE(a->GetSubTexmap(0), nullptr);
    EXPECT_EQ(a->GetSubTexmap(0), b->GetSubTexmap(1));
    EXPECT_EQ(a->GetSubTexmap(0)->DependentCount(), 2);
    EXPECT_EQ(static_cast<TestMap*>(a->GetSubTexmap(0))->color, AColor(0.1f, 0.2f, 0.3f, 0.4f));
    IParamBlock2* pb = a->Block();
    ASSERT_NE(pb, nullptr);
    EXPECT_EQ(pb->GetOwner(), a);
    EXPECT_EQ(pb->GetInt(kCount), 17);
    EXPECT_EQ(pb->GetColor(kTint), Color(0.f, 1.f, 0.5f));
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount, 50), 0.5f);
    EXPECT_EQ(b->Block()->GetInt(kCount), 4);
    // Names are the host's to keep, as the material editor shows them.
    EXPECT_EQ(a->GetName(), L"Wall");
    EXPECT_TRUE(b->GetName().empty());
    // Routed map parameters read the restored slots.
    EXPECT_EQ(pb->GetTexmap(kSubMap), nullptr);
    EXPECT_EQ(b->Block()->GetTexmap(kSubMap), b->GetSubTexmap(1));
}

TEST_F(SceneFileTest, PostLoadCallbacksRunByPriorityEachOnce) {
    const auto bytes = SaveSharedGraph();
    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(Load(bytes, scene, error)) << error;
    auto* a = static_cast<TestMap*>(scene.roots[0]->GetRef());
    // The one registered twice runs once; the one registered while they ran comes after them.
    EXPECT_EQ(a->loadOrder, (std::vector<int>{2, 5, 7, 1}));
}

TEST_F(SceneFileTest, TruncationAtEveryLengthIsRefusedCleanly) {
    const auto bytes = SaveSharedGraph();
    for (std::size_t len = 0; len < bytes.size(); ++len) {
        LoadedScene scene;
        std::string error;
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + len);
        EXPECT_FALSE(Load(cut, scene, error)) << "length " << len;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(scene.roots.empty());
        ASSERT_EQ(gLiveMaps, 0) << "length " << len << ": " << error;
    }
}

TEST_F(SceneFileTest, FlippedBytesLoadOrFailButNeverCrashOrLeak) {
    const auto bytes = SaveSharedGraph();
    int refused = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (std::uint8_t mask : {0x01, 0x80, 0xFF}) {
            auto bad = bytes;
            bad[i] ^= mask;
            LoadedScene scene;
            std::string error;
            if (!Load(bad, scene, error)) {
                ++refused;
                EXPECT_FALSE(error.empty());
                ASSERT_EQ(gLiveMaps, 0) << "byte " << i << ": " << error;
            }
        }
    }
    EXPECT_GT(refused, 0);
}

// A stored parameter type that names no type at all (here the bits of a flag word) is skipped
// like a parameter of another kind: the value keeps its default.
TEST_F(SceneFileTest, AStoredParameterOfNoKnownTypeIsSkipped) {
    auto bytes = SaveSharedGraph();
    // The count's chunk: id 0x0100, a length, parameter id kCount, type TYPE_INT, the value 17.
    const std::uint8_t head[] = {0x00, 0x01};
    const std::uint8_t body[] = {kCount, 0, TYPE_INT, 0, 17, 0, 0, 0};
    std::size_t at = 0;
    for (std::size_t i = 0; i + 14 <= bytes.size(); ++i) {
        if (std::memcmp(&bytes[i], head, 2) == 0 && std::memcmp(&bytes[i + 6], body, 8) == 0) {
            at = i + 8;
            break;
        }
    }
    ASSERT_NE(at, 0u);
    bytes[at] = 0x00;
    bytes[at + 1] = 0x42;  // 0x4200
    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(Load(bytes, scene, error)) << error;
    auto* a = static_cast<TestMap*>(scene.roots[0]->GetRef());
    EXPECT_EQ(a->Block()->GetInt(kCount), 4);
    EXPECT_EQ(a->Block()->GetColor(kTint), Color(0.f, 1.f, 0.5f));
}

TEST_F(SceneFileTest, HostileFilesAreRefusedWithAReason) {
    struct Case {
        const char* expect;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        FileBuilder f;
        f.bytes[0] = 'X';
        cases.push_back({"bad magic", f.bytes});
    }
    {
        FileBuilder f;
        f.bytes[8] = 9;
        cases.push_back({"version 9", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.Object({}, 0xBAD);
        f.End();
        f.Roots({0});
        cases.push_back({"unknown class", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.Object({-1, -1, 5});
        f.End();
        f.Roots({0});
        cases.push_back({"names object 5", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.Object({-1, -1, 1});
        f.Object({-1, -1, 0});
        f.End();
        f.Roots({0});
        cases.push_back({"loop", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.Begin(0x0021);
        f.Begin(0x0024);
        f.U32(0xFFFFFFF0u);  // a count far beyond the data
        f.End();
        f.End();
        f.End();
        f.Roots({});
        cases.push_back({"exceeds its data", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.End();
        f.Roots({3});
        cases.push_back({"out of range", f.bytes});
    }
    {
        FileBuilder f;
        f.Begin(0x0020);
        f.U32(0xFFFFFFFFu);  // a chunk header whose length runs past the end
        f.U32(0xFFFFFFFFu);
        f.End();
        f.Roots({});
        cases.push_back({"corrupt", f.bytes});
    }
    auto* keep = new TestMap;  // a scene that must survive every refusal
    GetCOREInterface()->GetRootNode()->CreateChild(L"Kept");
    SingleRefMaker holder(keep);
    for (const Case& c : cases) {
        LoadedScene scene;
        std::string error;
        EXPECT_FALSE(Load(c.bytes, scene, error)) << c.expect;
        EXPECT_NE(error.find(c.expect), std::string::npos) << error;
        EXPECT_EQ(gLiveMaps, 1);
        EXPECT_EQ(GetCOREInterface()->GetRootNode()->NumberOfChildren(), 1);
    }
    holder.SetRef(nullptr);
}

TEST_F(SceneFileTest, ReferenceChainsAreBoundedInDepth) {
    auto chain = [](int length) {
        FileBuilder f;
        f.Begin(0x0020);
        for (int i = 0; i < length; ++i) f.Object({-1, -1, i + 1 < length ? i + 1 : -1});
        f.End();
        f.Roots({0});
        return f.bytes;
    };
    {
        LoadedScene scene;
        std::string error;
        ASSERT_TRUE(Load(chain(1000), scene, error)) << error;
        EXPECT_EQ(gLiveMaps, 1000);
    }  // the whole chain goes with its root
    EXPECT_EQ(gLiveMaps, 0);
    LoadedScene scene;
    std::string error;
    EXPECT_FALSE(Load(chain(1001), scene, error));
    EXPECT_NE(error.find("deeper than 1000"), std::string::npos) << error;
}

TEST_F(SceneFileTest, ObjectsThatNoMakerKeepsAreNotLeaked) {
    // Object 1 sits in slot 0 of object 0, which only takes parameter blocks there.
    FileBuilder f;
    f.Begin(0x0020);
    f.Object({1});
    f.Object({});
    f.End();
    f.Roots({0});
    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(Load(f.bytes, scene, error)) << error;
    EXPECT_EQ(gLiveMaps, 1);
    auto* m = static_cast<TestMap*>(scene.roots[0]->GetRef());
    // It kept the block its constructor made; the refused map was deleted.
    ASSERT_NE(m->GetReference(0), nullptr);
    EXPECT_EQ(m->GetReference(0)->SuperClassID(), ULONG{PARAMETER_BLOCK2_CLASS_ID});
}

TEST_F(SceneFileTest, NodeTreeWithMaterialsAndSubMaterialsRoundTrips) {
    INode* root = GetCOREInterface()->GetRootNode();
    INode* wall = root->CreateChild(L"Wall");
    INode* brick = wall->CreateChild(L"Brick");
    auto* multi = new MultiMtl(2);
    auto* std1 = new StdMtl;
    auto* map = new TestMap;
    std1->SetSubTexmap(0, map);
    multi->SetSubMtl(1, std1);
    wall->SetMtl(multi);
    brick->SetMtl(std1);  // shared between a node and a sub-material
    GetCOREInterface()->SetTime(320);
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(SaveSceneBytes({}, bytes, &error)) << error;
    GetCOREInterface()->ResetScene();
    GetCOREInterface()->SetTime(0);
    EXPECT_EQ(gLiveMaps, 0);

    LoadedScene scene;
    ASSERT_TRUE(Load(bytes, scene, error)) << error;
    EXPECT_EQ(GetCOREInterface()->GetTime(), 320);
    ASSERT_EQ(root->NumberOfChildren(), 1);
    INode* w = root->GetChildNode(0);
    EXPECT_STREQ(w->GetName(), L"Wall");
    ASSERT_EQ(w->NumberOfChildren(), 1);
    INode* b = w->GetChildNode(0);
    ASSERT_NE(w->GetMtl(), nullptr);
    EXPECT_TRUE(w->GetMtl()->IsMultiMtl());
    EXPECT_EQ(w->GetMtl()->GetSubMtl(1), b->GetMtl());
    ASSERT_NE(b->GetMtl(), nullptr);
    EXPECT_EQ(b->GetMtl()->GetSubTexmap(0)->ClassID(), Desc().ClassID());
    EXPECT_EQ(gLiveMaps, 1);
}

TEST_F(SceneFileTest, CloningASharedHierarchyCopiesEachTargetOnce) {
    auto* multi = new MultiMtl(3);
    SingleRefMaker holder(multi);
    auto* std1 = new StdMtl;
    auto* std2 = new StdMtl;
    auto* shared = new TestMap;
    std1->SetSubTexmap(0, shared);
    std2->SetSubTexmap(1, shared);
    shared->Block()->SetValue(kCount, 0, 9);
    multi->SetSubMtl(0, std1);
    multi->SetSubMtl(1, std2);
    multi->SetSubMtl(2, std1);

    auto* copy = static_cast<Mtl*>(CloneRefHierarchy(multi));
    SingleRefMaker copyHolder(copy);
    EXPECT_EQ(gLiveMaps, 2);
    ASSERT_NE(copy->GetSubMtl(0), std1);
    EXPECT_EQ(copy->GetSubMtl(0), copy->GetSubMtl(2));
    Texmap* m1 = copy->GetSubMtl(0)->GetSubTexmap(0);
    Texmap* m2 = copy->GetSubMtl(1)->GetSubTexmap(1);
    ASSERT_NE(m1, nullptr);
    EXPECT_EQ(m1, m2);
    EXPECT_NE(m1, shared);
    EXPECT_EQ(static_cast<TestMap*>(m1)->Block()->GetInt(kCount), 9);
    EXPECT_NE(static_cast<TestMap*>(m1)->Block(), shared->Block());
}

}  // namespace
}  // namespace hosttest
