// Repair, legacy migration, the post-load callback, cloning, and the relief outputs' parent
// pointer when parents go.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/builtin_classes.h"
#include "map/map_post_load.h"
#include "map/map_repair.h"
#include "map_support.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "stdmat.h"

namespace QuarelTest {
namespace {

// A loader that only collects the callbacks registered with it.
class CollectingLoad : public ILoad {
public:
    IOResult OpenChunk() override { return IO_END; }
    USHORT CurChunkID() override { return 0; }
    ULONGLONG CurChunkLength() override { return 0; }
    ULONGLONG CurChunkRemaining() override { return 0; }
    int CurChunkDepth() override { return 0; }
    IOResult CloseChunk() override { return IO_OK; }
    IOResult Read(void*, ULONG, ULONG*) override { return IO_ERROR; }
    IOResult ReadWStringChunk(MCHAR**) override { return IO_ERROR; }
    IOResult ReadCStringChunk(char**) override { return IO_ERROR; }
    void RegisterPostLoadCallback(PostLoadCallback* cb) override { callbacks.push_back(cb); }
    ReferenceTarget* GetObjRef(int) override { return nullptr; }
    std::vector<PostLoadCallback*> callbacks;
};

struct Pair {
    float depth, relief;
};

Pair Legacy(QuarelMap* map) {
    IParamBlock2* pb = map->GetParamBlock(1);
    return {pb->GetFloat(BumpParam::normal_depth), pb->GetFloat(BumpParam::relief_tex_amount)};
}
Pair Current(QuarelMap* map) {
    IParamBlock2* pb = map->NormalOut()->GetParamBlock(0);
    return {pb->GetFloat(NormalParam::normal_depth), pb->GetFloat(NormalParam::relief_tex_amount)};
}
void SetLegacy(QuarelMap* map, Pair p) {
    ASSERT_TRUE(map->GetParamBlock(1)->SetValue(BumpParam::normal_depth, 0, p.depth));
    ASSERT_TRUE(map->GetParamBlock(1)->SetValue(BumpParam::relief_tex_amount, 0, p.relief));
}
void SetCurrent(QuarelMap* map, Pair p) {
    IParamBlock2* pb = map->NormalOut()->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(NormalParam::normal_depth, 0, p.depth));
    ASSERT_TRUE(pb->SetValue(NormalParam::relief_tex_amount, 0, p.relief));
}
void ExpectPair(Pair got, Pair want) {
    EXPECT_FLOAT_EQ(got.depth, want.depth);
    EXPECT_FLOAT_EQ(got.relief, want.relief);
}

TEST_F(MapTest, AMapLoadedWithoutOutputsGetsNewParentedOnes) {
    QuarelMap* map = NewMap();
    map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
    map->ReplaceReference(QuarelMap::kRefBumpOutMap, nullptr);
    Mark();
    LoadedScene scene;
    RoundTrip({map}, scene);
    auto* loaded = dynamic_cast<QuarelMap*>(scene.roots[0]->GetRef());
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->NormalOut(), nullptr);
    ASSERT_NE(loaded->BumpOut(), nullptr);
    EXPECT_EQ(loaded->NormalOut()->Parent(), loaded);
    EXPECT_EQ(loaded->BumpOut()->Parent(), loaded);
    EXPECT_NE(loaded->NormalOut()->GetParamBlockByID(100), nullptr);
    EXPECT_NE(loaded->BumpOut()->GetParamBlockByID(101), nullptr);
    const std::string m = Ptr(loaded);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing QuarelNormalMap for " + m), 1);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing QuarelBumpProcMap for " + m), 1);
    EXPECT_EQ(
        CountNew("QMEnsureEditorSafeRefs DONE for " + m + ": pblock=" +
                 Ptr(loaded->GetReference(0)) + " pblock_bump=" + Ptr(loaded->GetReference(6)) +
                 " pblock_normal_btn=" + Ptr(loaded->GetReference(8)) +
                 " uvGen=" + Ptr(loaded->GetReference(1)) +
                 " normalOutMap=" + Ptr(loaded->NormalOut()) + " (class=(58d7c091,3f4b8a14))"),
        1);
}

TEST_F(MapTest, TheRepairRestoresBlocksGeneratorAndOutputBlocks) {
    QuarelMap* map = NewMap();
    map->ReplaceReference(QuarelMap::kRefPBlock, nullptr);
    map->ReplaceReference(QuarelMap::kRefUVGen, nullptr);
    map->NormalOut()->ReplaceReference(QuarelNormalMap::kRefPBlock, nullptr);
    map->BumpOut()->ReplaceReference(QuarelBumpProcMap::kRefPBlock, nullptr);
    IParamBlock2* kept = map->GetParamBlock(1);
    Mark();
    QMEnsureEditorSafeRefs(map);
    QMEnsureEditorSafeRefs(nullptr);
    for (int i = 0; i < 4; ++i) EXPECT_NE(map->GetParamBlock(i), nullptr);
    EXPECT_EQ(map->GetParamBlock(1), kept);
    EXPECT_NE(map->GetTheUVGen(), nullptr);
    EXPECT_NE(map->NormalOut()->GetParamBlockByID(100), nullptr);
    EXPECT_NE(map->BumpOut()->GetParamBlockByID(101), nullptr);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing UVGen for " + Ptr(map)), 1);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing pblock for QuarelBumpProcMap " +
                       Ptr(map->BumpOut())),
              1);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing ", true), 4);
}

// A damaged file: every slot of a map holds a checker. Foreign targets are refused where the
// slot guards, ignored where the map reads a slot through its kind, and the repair after loading
// makes the map complete.
TEST_F(MapTest, AMapLoadedWithForeignTargetsEverywhereEndsUpComplete) {
    auto* stand = new MultiSubMap(QuarelMap::kNumRefs);
    for (int i = 0; i < QuarelMap::kNumRefs; ++i) stand->SetSubTexmap(i, new CheckerMap);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(SaveSceneBytes({Keep(stand)}, bytes));
    // The stand-in takes the map's class id: the same superclass, data the map does not read.
    const std::uint32_t from[2] = {0x3A52C5E1, 0x1F0B7D44}, to[2] = {0x58D7C091, 0x3F4B8A12};
    auto at = std::search(bytes.begin(), bytes.end(), reinterpret_cast<const std::uint8_t*>(from),
                          reinterpret_cast<const std::uint8_t*>(from) + 8);
    ASSERT_NE(at, bytes.end());
    std::memcpy(&*at, to, 8);

    Mark();
    LoadedScene scene;
    std::string error;
    ASSERT_TRUE(LoadSceneBytes(bytes.data(), bytes.size(), scene, &error)) << error;
    auto* map = dynamic_cast<QuarelMap*>(scene.roots.at(0)->GetRef());
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(CountNew("QuarelMap::SetReference(7): ignoring", true), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetReference(10): ignoring non-pblock target"), 1);
    for (int i = 0; i < 4; ++i) EXPECT_NE(map->GetParamBlock(i), nullptr);
    EXPECT_NE(dynamic_cast<StdUVGen*>(map->GetTheUVGen()), nullptr);
    EXPECT_EQ(map->NormalOut()->Parent(), map);
    EXPECT_EQ(map->BumpOut()->Parent(), map);
    EXPECT_NE(dynamic_cast<CheckerMap*>(map->GetSubTexmap(0)), nullptr);
    EXPECT_NE(map->GetReference(QuarelMap::kRefLegacyBumpMap), nullptr);
    EXPECT_TRUE(map->Validity(0).IsInfinite());
}

TEST_F(MapTest, LegacyReliefMovesOnceAndOnlyOntoAnOutputAtTheLegacyPair) {
    struct Case {
        const char* what;
        Pair legacy, current;
        bool migrates;
    };
    const Case cases[] = {
        {"legacy values over an output at (1, 0)", {2.5f, 0.3f}, {1.f, 0.f}, true},
        {"an output at its own defaults (5, 0)", {2.5f, 0.3f}, {5.f, 0.f}, false},
        {"an output with values of its own", {2.5f, 0.3f}, {1.f, 0.2f}, false},
        {"a legacy block at (1, 0)", {1.f, 0.f}, {1.f, 0.f}, false},
        {"a legacy block at (1, 0) over other values", {1.f, 0.f}, {3.f, 0.4f}, false},
        {"only the legacy relief set", {1.f, 0.6f}, {1.f, 0.f}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QuarelMap* map = NewMap();
        SetLegacy(map, c.legacy);
        SetCurrent(map, c.current);
        Mark();
        QMEnsureEditorSafeRefs(map);
        QMEnsureEditorSafeRefs(map);
        if (c.migrates) {
            ExpectPair(Current(map), c.legacy);
            ExpectPair(Legacy(map), {1.f, 0.f});
            char line[200];
            std::snprintf(line, sizeof line,
                          "QMEnsureEditorSafeRefs: migrating depth=%.3f relief=%.3f from legacy "
                          "pblock_bump to QuarelNormalMap pblock for %s",
                          double(c.legacy.depth), double(c.legacy.relief), Ptr(map).c_str());
            EXPECT_EQ(CountNew(line), 1);
        } else {
            ExpectPair(Current(map), c.current);
            ExpectPair(Legacy(map), c.legacy);
            EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: migrating", true), 0);
        }
    }
}

TEST_F(MapTest, AnOlderSceneIsMigratedWhenItLoads) {
    QuarelMap* map = NewMap();
    SetLegacy(map, {2.5f, 0.3f});
    SetCurrent(map, {1.f, 0.f});
    LoadedScene scene;
    RoundTrip({map}, scene);
    auto* loaded = dynamic_cast<QuarelMap*>(scene.roots[0]->GetRef());
    ASSERT_NE(loaded, nullptr);
    ExpectPair(Current(loaded), {2.5f, 0.3f});
    ExpectPair(Legacy(loaded), {1.f, 0.f});
    loaded->Validity(0);
    EXPECT_FLOAT_EQ(loaded->Snapshot().relief_tex_amount, 0.3f);
}

// The callback and its map know each other: whichever goes first, the other never reaches it.
TEST_F(MapTest, ThePostLoadCallbackNeverReachesAMapThatIsGone) {
    CollectingLoad loader;
    QuarelMap* map = NewMap();
    EXPECT_EQ(map->Load(nullptr), IO_OK);
    EXPECT_EQ(map->Load(&loader), IO_OK);
    ASSERT_EQ(loader.callbacks.size(), 1u);
    auto* cb = dynamic_cast<QMPostLoadCallback*>(loader.callbacks[0]);
    ASSERT_NE(cb, nullptr);
    EXPECT_EQ(cb->Priority(), 5);
    EXPECT_EQ(cb->Map(), map);

    // The map deleted first: the callback runs without repairing anything.
    Release(map);
    EXPECT_EQ(cb->Map(), nullptr);
    Mark();
    cb->proc(&loader);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs", true), 0);

    // The callback deleted unrun first (a failed load), then the map.
    QuarelMap* second = NewMap();
    second->Load(&loader);
    delete loader.callbacks.back();
    Release(second);

    // Loaded twice: the earlier callback is left with nothing; the later one repairs once.
    QuarelMap* third = NewMap();
    third->Load(&loader);
    third->Load(&loader);
    auto* early = dynamic_cast<QMPostLoadCallback*>(loader.callbacks[loader.callbacks.size() - 2]);
    auto* late = dynamic_cast<QMPostLoadCallback*>(loader.callbacks.back());
    EXPECT_EQ(early->Map(), nullptr);
    EXPECT_EQ(late->Map(), third);
    Mark();
    early->proc(&loader);
    late->proc(&loader);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs DONE for " + Ptr(third), true), 1);
    Release(third);
}

TEST_F(MapTest, ACloneHasCopiesOfTheOutputsParentedToItAndNewButtonBlocks) {
    QuarelMap* map = NewMap();
    ASSERT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::seed, 0, 4321));
    SetLegacy(map, {2.f, 0.5f});
    auto* checker = new CheckerMap;
    map->SetSubTexmap(1, checker);
    map->ReplaceReference(QuarelMap::kRefLegacyBumpMap, new CheckerMap);
    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();
    ASSERT_TRUE(normal->GetParamBlock(0)->SetValue(NormalParam::normal_depth, 0, 3.f));

    Mark();
    auto* copy = Keep(dynamic_cast<QuarelMap*>(CloneRefHierarchy(map)));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetParamBlock(0)->GetInt(MainParam::seed), 4321);
    EXPECT_NE(copy->GetSubTexmap(1), checker);
    EXPECT_NE(copy->GetReference(QuarelMap::kRefLegacyBumpMap), nullptr);
    EXPECT_NE(copy->GetTheUVGen(), map->GetTheUVGen());
    EXPECT_TRUE(copy->SnapshotValidity().Empty());

    // Copies of the outputs, parented to the copy; the source keeps its own.
    ASSERT_NE(copy->NormalOut(), nullptr);
    ASSERT_NE(copy->BumpOut(), nullptr);
    EXPECT_NE(copy->NormalOut(), normal);
    EXPECT_NE(copy->BumpOut(), bump);
    EXPECT_EQ(copy->NormalOut()->Parent(), copy);
    EXPECT_EQ(copy->BumpOut()->Parent(), copy);
    EXPECT_EQ(normal->Parent(), map);
    EXPECT_EQ(bump->Parent(), map);
    // The copied output carries the source's own values, so no legacy relief moves.
    ExpectPair(Current(copy), {3.f, 0.f});
    ExpectPair(Legacy(copy), {2.f, 0.5f});

    // Button blocks are the copy's own new ones, owned by it.
    for (int slot : {8, 10}) {
        auto* pb = dynamic_cast<IParamBlock2*>(copy->GetReference(slot));
        ASSERT_NE(pb, nullptr);
        EXPECT_NE(pb, map->GetReference(slot));
        EXPECT_EQ(pb->GetOwner(), copy);
    }
    const std::string c = Ptr(copy);
    EXPECT_EQ(CountNew("QuarelMap::Clone [this=" + Ptr(map) + "]"), 1);
    EXPECT_EQ(
        CountNew("QuarelNormalMap::SetParent [this=" + Ptr(copy->NormalOut()) + ", p=" + c + "]"),
        2);
    EXPECT_EQ(CountNew("QuarelMap::Clone done, new=" + c + " pblock=" + Ptr(copy->GetReference(0)) +
                       " uvGen=" + Ptr(copy->GetTheUVGen())),
              1);
}

TEST_F(MapTest, ACloneMigratesLegacyReliefAndReplacesAForeignOutput) {
    QuarelMap* map = NewMap();
    SetLegacy(map, {2.f, 0.5f});
    SetCurrent(map, {1.f, 0.f});
    // The directory hands out a checker for the source's normal output.
    auto* foreign = Keep(new CheckerMap);
    RemapDir* remap = NewRemapDir();
    remap->AddEntry(map->NormalOut(), foreign);
    auto* copy = Keep(dynamic_cast<QuarelMap*>(map->Clone(*remap)));
    remap->DeleteThis();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->NormalOut(), nullptr);
    EXPECT_NE(copy->NormalOut(), map->NormalOut());
    EXPECT_EQ(copy->NormalOut()->Parent(), copy);
    EXPECT_FALSE(foreign->HasDependent(copy));
    // The fresh output starts at its defaults (5, 0), so the copied legacy pair stays put.
    ExpectPair(Current(copy), {5.f, 0.f});
    ExpectPair(Legacy(copy), {2.f, 0.5f});

    // With the source's own output copied at (1, 0), the copy migrates.
    QuarelMap* plain = Keep(dynamic_cast<QuarelMap*>(CloneRefHierarchy(map)));
    ExpectPair(Current(plain), {2.f, 0.5f});
    ExpectPair(Legacy(plain), {1.f, 0.f});
    ExpectPair(Legacy(map), {2.f, 0.5f});
}

// An output's parent pointer never outlives the parent: outputs held elsewhere, and copies of
// outputs that no parent holds, are cleared when the parent goes.
TEST_F(MapTest, AnOutputsParentPointerIsClearedWhenTheParentGoes) {
    QuarelMap* map = NewMap();
    QuarelNormalMap* normal = Keep(map->NormalOut());
    QuarelBumpProcMap* bump = Keep(map->BumpOut());
    RemapDir* remap = NewRemapDir();
    auto* copy = Keep(dynamic_cast<QuarelNormalMap*>(remap->CloneRef(normal)));
    auto* bumpCopy = Keep(dynamic_cast<QuarelBumpProcMap*>(remap->CloneRef(bump)));
    remap->DeleteThis();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(bumpCopy, nullptr);
    EXPECT_EQ(copy->Parent(), map);
    EXPECT_EQ(bumpCopy->Parent(), map);
    EXPECT_NE(map->NormalOut(), copy);

    // A copy that dies first leaves the parent's list.
    auto* shortLived = dynamic_cast<QuarelNormalMap*>(CloneRefHierarchy(normal));
    EXPECT_EQ(shortLived->Parent(), map);
    shortLived->DeleteMe();

    Release(map);
    EXPECT_EQ(normal->Parent(), nullptr);
    EXPECT_EQ(bump->Parent(), nullptr);
    EXPECT_EQ(copy->Parent(), nullptr);
    EXPECT_EQ(bumpCopy->Parent(), nullptr);

    // An output another map took over keeps that living parent when its first parent goes.
    QuarelMap* first = NewMap();
    QuarelMap* second = NewMap();
    QuarelNormalMap* moved = Keep(first->NormalOut());
    second->SetSubTexmap(3, moved);
    EXPECT_EQ(moved->Parent(), second);
    Release(first);
    EXPECT_EQ(moved->Parent(), second);
    Release(second);
    EXPECT_EQ(moved->Parent(), nullptr);
}

}  // namespace
}  // namespace QuarelTest
