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
    FileBuilder& Begin(std::uint16_t id) {
        open.push_back(bytes.size());
        bytes.push_back(static_cast<std::uint8_t>(id));
        bytes.push_back(static_cast<std::uint8_t>(id >> 8));
        return U32(0);
    }
    FileBuilder& End() {
        const std::size_t at = open.back();
        open.pop_back();
        const auto len = static_cast<std::uint32_t>(bytes.size() - at - 6);
        std::memcpy(&bytes[at + 2], &len, 4);
        return *this;
    }
    FileBuilder& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return *this;
    }
    FileBuilder& List(std::vector<std::int32_t> v) {
        U32(static_cast<std::uint32_t>(v.size()));
        for (auto r : v) U32(static_cast<std::uint32_t>(r));
        return *this;
    }
    // One test map with the given reference indices and no data.
    FileBuilder& Object(std::vector<std::int32_t> refs, std::uint32_t classB = 1) {
        Begin(0x0021).Begin(0x0022).U32(TEXMAP_CLASS_ID).U32(0x7E570001).U32(classB).End();
        return Begin(0x0024).List(std::move(refs)).End().End();
    }
    // The objects chunk around the given objects, then the roots.
    FileBuilder& Scene(std::vector<std::vector<std::int32_t>> objects,
                       std::vector<std::int32_t> roots) {
        Begin(0x0020);
        for (auto& refs : objects) Object(std::move(refs));
        return End().Begin(0x0040).List(std::move(roots)).End();
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
        scene = LoadedScene{};
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
        EXPECT_TRUE(SaveSceneBytes({a, b}, bytes, &error)) << error;
        return bytes;
    }

    // Replaces `scene` with what `bytes` load to; on failure `error` says why.
    bool Load(const std::vector<std::uint8_t>& bytes) {
        scene = LoadedScene{};
        error.clear();
        return LoadSceneBytes(bytes.data(), bytes.size(), scene, &error);
    }
    TestMap* Root(std::size_t i) { return static_cast<TestMap*>(scene.roots.at(i)->GetRef()); }

    LoadedScene scene;
    std::string error;
};

TEST_F(SceneFileTest, SharedTargetsValuesAndDataSurviveARoundTrip) {
    const auto bytes = SaveSharedGraph();
    ASSERT_EQ(gLiveMaps, 0);
    ASSERT_TRUE(Load(bytes)) << error;
    ASSERT_EQ(scene.roots.size(), 2u);
    TestMap* a = Root(0);
    TestMap* b = Root(1);
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
    EXPECT_TRUE(b->GetName().isNull());
    // Routed map parameters read the restored slots.
    EXPECT_EQ(pb->GetTexmap(kSubMap), nullptr);
    EXPECT_EQ(b->Block()->GetTexmap(kSubMap), b->GetSubTexmap(1));
    // Post-load callbacks run by priority; the one registered twice runs once, and the one
    // registered while they ran comes after them.
    EXPECT_EQ(a->loadOrder, (std::vector<int>{2, 5, 7, 1}));
}

TEST_F(SceneFileTest, TruncatedOrFlippedFilesLoadOrFailButNeverCrashOrLeak) {
    const auto bytes = SaveSharedGraph();
    for (std::size_t len = 0; len < bytes.size(); ++len) {
        EXPECT_FALSE(Load({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(len)}))
            << "length " << len;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(scene.roots.empty());
        ASSERT_EQ(gLiveMaps, 0) << "length " << len << ": " << error;
    }
    int refused = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        for (std::uint8_t mask : {0x01, 0x80, 0xFF}) {
            auto bad = bytes;
            bad[i] ^= mask;
            if (!Load(bad)) {
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
    ASSERT_TRUE(Load(bytes)) << error;
    EXPECT_EQ(Root(0)->Block()->GetInt(kCount), 4);
    EXPECT_EQ(Root(0)->Block()->GetColor(kTint), Color(0.f, 1.f, 0.5f));
}

TEST_F(SceneFileTest, HostileFilesAreRefusedWithAReason) {
    auto patched = [](std::size_t at, std::uint8_t v) {
        auto b = FileBuilder().bytes;
        b[at] = v;
        return b;
    };
    const std::pair<const char*, std::vector<std::uint8_t>> cases[] = {
        {"bad magic", patched(0, 'X')},
        {"version 9", patched(8, 9)},
        {"unknown class",
         FileBuilder().Begin(0x0020).Object({}, 0xBAD).End().Begin(0x0040).List({0}).End().bytes},
        {"names object 5", FileBuilder().Scene({{-1, -1, 5}}, {0}).bytes},
        {"loop", FileBuilder().Scene({{-1, -1, 1}, {-1, -1, 0}}, {0}).bytes},
        // A count far beyond the data.
        {"exceeds its data", FileBuilder()
                                 .Begin(0x0020)
                                 .Begin(0x0021)
                                 .Begin(0x0024)
                                 .U32(0xFFFFFFF0u)
                                 .End()
                                 .End()
                                 .End()
                                 .Begin(0x0040)
                                 .List({})
                                 .End()
                                 .bytes},
        {"out of range", FileBuilder().Scene({}, {3}).bytes},
        // A chunk header whose length runs past the end.
        {"corrupt", FileBuilder()
                        .Begin(0x0020)
                        .U32(0xFFFFFFFFu)
                        .U32(0xFFFFFFFFu)
                        .End()
                        .Begin(0x0040)
                        .List({})
                        .End()
                        .bytes},
    };
    SingleRefMaker keep(new TestMap);  // a scene that must survive every refusal
    GetCOREInterface()->GetRootNode()->CreateChild(L"Kept");
    for (const auto& [expect, bytes] : cases) {
        EXPECT_FALSE(Load(bytes)) << expect;
        EXPECT_NE(error.find(expect), std::string::npos) << error;
        EXPECT_EQ(gLiveMaps, 1);
        EXPECT_EQ(GetCOREInterface()->GetRootNode()->NumberOfChildren(), 1);
    }
}

TEST_F(SceneFileTest, ReferenceChainsAreBoundedInDepth) {
    auto chain = [](int length) {
        std::vector<std::vector<std::int32_t>> objects;
        for (int i = 0; i < length; ++i) objects.push_back({-1, -1, i + 1 < length ? i + 1 : -1});
        return FileBuilder().Scene(objects, {0}).bytes;
    };
    ASSERT_TRUE(Load(chain(1000))) << error;
    EXPECT_EQ(gLiveMaps, 1000);
    EXPECT_FALSE(Load(chain(1001)));
    EXPECT_EQ(gLiveMaps, 0);  // the earlier chain went with its root
    EXPECT_NE(error.find("deeper than 1000"), std::string::npos) << error;
}

TEST_F(SceneFileTest, ARefusedObjectLivesWhileTheHostCountsIt) {
    // Object 1 sits in slot 0 of object 0, which only takes parameter blocks there.
    // The host counts the file's target in that slot whether or not the maker kept it; the
    // block the constructor made there went with its reference, and the refused map lives
    // until the reference goes.
    ASSERT_TRUE(Load(FileBuilder().Scene({{1}, {}}, {0}).bytes)) << error;
    EXPECT_EQ(gLiveMaps, 2);
    EXPECT_EQ(Root(0)->GetReference(0), nullptr);
    RefTargetHandle refused = Root(0)->HostCountedReference(0);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(refused->SuperClassID(), ULONG{TEXMAP_CLASS_ID});
    Root(0)->DeleteReference(0);
    EXPECT_EQ(gLiveMaps, 1);
}

TEST_F(SceneFileTest, NodeTreeWithMaterialsAndSubMaterialsRoundTrips) {
    INode* root = GetCOREInterface()->GetRootNode();
    INode* wall = root->CreateChild(L"Wall");
    auto* multi = new MultiMtl(2);
    auto* std1 = new StdMtl;
    std1->SetSubTexmap(0, new TestMap);
    multi->SetSubMtl(1, std1);
    wall->SetMtl(multi);
    wall->CreateChild(L"Brick")->SetMtl(std1);  // shared between a node and a sub-material
    GetCOREInterface()->SetTime(320);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(SaveSceneBytes({}, bytes, &error)) << error;
    GetCOREInterface()->ResetScene();
    GetCOREInterface()->SetTime(0);
    EXPECT_EQ(gLiveMaps, 0);

    ASSERT_TRUE(Load(bytes)) << error;
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

}  // namespace
}  // namespace hosttest
