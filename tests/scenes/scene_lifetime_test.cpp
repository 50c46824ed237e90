// Lifetimes across a scene: every order in which a map, its outputs, copies of them and the
// classes that point at a map can be deleted; scenes closed in any node order; loads that fail
// half way; and a long create, edit, save, load, copy and delete cycle that leaves nothing behind.
// The sanitizers of the dev build turn any dangling pointer here into a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <numeric>

#include "base/diag_log.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "scene_support.h"

#if defined(__SANITIZE_ADDRESS__)
// From the address sanitizer's runtime: the bytes the program holds right now.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#define QUAREL_TEST_COUNTS_BYTES 1
#endif

namespace QuarelTest {
namespace {

// Everything that can point at one map: its outputs, copies of them that it does not hold, a
// legacy bump map and a carrier. Each is held by a holder of its own, like an editor slot.
struct Family {
    enum Member { kMap, kNormal, kNormalCopy, kBumpCopy, kLegacy, kCarrier, kBump, kCount };
    std::array<ReferenceTarget*, kCount> at{};
    std::array<std::unique_ptr<SingleRefMaker>, kCount> holders;

    Family() {
        QuarelMap* map = PlainMap();
        at[kMap] = map;
        at[kNormal] = map->NormalOut();
        at[kBump] = map->BumpOut();
        at[kNormalCopy] = CloneRefHierarchy(map->NormalOut());
        at[kBumpCopy] = CloneRefHierarchy(map->BumpOut());
        auto* legacy = Create<QuarelBumpMap>(QuarelClass::BumpMap, true);
        legacy->ReplaceReference(QuarelBumpMap::kRefParent, map);
        at[kLegacy] = legacy;
        auto* carrier = Create<QuarelNormalCarrierMtl>(QuarelClass::NormalCarrierMtl);
        carrier->ReplaceReference(QuarelNormalCarrierMtl::kRefParent, map);
        carrier->SetSubTexmap(0, map->NormalOut());
        at[kCarrier] = carrier;
        for (int i = 0; i < kCount; ++i) holders[i] = std::make_unique<SingleRefMaker>(at[i]);
    }
    bool Alive(int i) const { return holders[i]->GetRef() != nullptr; }
};

// Touches every living member the way the editor and a renderer do, reading every parent
// pointer there is.
void TouchAll(Family& f, ScriptedShadeContext& sc) {
    auto* map = f.Alive(Family::kMap) ? static_cast<QuarelMap*>(f.at[Family::kMap]) : nullptr;
    sc.SetUVW(Point3(kBrickU, kBrickV, 0.f), Point3(0.001f, 0.001f, 0.f));
    for (int i = 0; i < Family::kCount; ++i) {
        if (!f.Alive(i)) continue;
        auto* mtlBase = dynamic_cast<MtlBase*>(f.at[i]);
        ASSERT_NE(mtlBase, nullptr);
        MSTR name;
        mtlBase->GetClassName(name);
        (void)mtlBase->GetFullName();
        Interval valid = FOREVER;
        mtlBase->Update(0, valid);
        if (auto* tex = dynamic_cast<Texmap*>(mtlBase)) {
            (void)tex->EvalColor(sc);
            (void)tex->EvalMono(sc);
            (void)tex->EvalNormalPerturb(sc);
            (void)tex->GetTheUVGen();
        } else if (auto* mtl = dynamic_cast<Mtl*>(mtlBase)) {
            mtl->Shade(sc);
        }
    }
    auto parentOf = [&](int i) -> QuarelMap* {
        switch (i) {
            case Family::kNormal:
            case Family::kNormalCopy:
                return static_cast<QuarelNormalMap*>(f.at[i])->Parent();
            case Family::kBump:
            case Family::kBumpCopy:
                return static_cast<QuarelBumpProcMap*>(f.at[i])->Parent();
            case Family::kLegacy:
                return static_cast<QuarelBumpMap*>(f.at[i])->Parent();
            default:
                return static_cast<QuarelNormalCarrierMtl*>(f.at[i])->Parent();
        }
    };
    for (int i = 0; i < Family::kCount; ++i) {
        if (i != Family::kMap && f.Alive(i)) {
            EXPECT_EQ(parentOf(i), map) << i;
        }
    }
}

class SceneLifetimeTest : public SceneTest {
protected:
    // Every object of the module's classes made since the last Mark was also deleted.
    void ExpectAllMadeWereDeleted(int atLeast) {
        for (const char* cls : {"QuarelMap", "QuarelNormalMap", "QuarelBumpProcMap",
                                "QuarelBumpMap", "QuarelNormalCarrierMtl"}) {
            const int made = CountNew(std::string(cls) + "::ctor [this=", true);
            EXPECT_GE(made, atLeast) << cls;
            EXPECT_EQ(CountNew(std::string(cls) + "::dtor [this=", true), made) << cls;
        }
    }
};

// 720 orders of deleting six members; the map's own bump output goes last, with its holder.
TEST_F(SceneLifetimeTest,
       DeletingAMapAndEverythingThatPointsAtItInAnyOrderLeavesNoDanglingPointer) {
    DiagLogClose();  // hundreds of families: the log would only slow this down
    std::array<int, 6> order;
    std::iota(order.begin(), order.end(), 0);
    int orders = 0;
    do {
        SCOPED_TRACE(::testing::Message() << "order " << orders);
        Family f;
        TouchAll(f, sc);
        for (int i : order) {
            f.at[i]->DeleteMe();
            ASSERT_FALSE(f.Alive(i));
            TouchAll(f, sc);
            if (HasFatalFailure()) return;
        }
        ++orders;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(orders, 720);
}

// A scene of four nodes: the map, copies of its outputs, a legacy bump map and a carrier that
// point at it, each in its own node. Closing the scene deletes the nodes in index order, so
// every arrangement of the nodes is every order of closing.
TEST_F(SceneLifetimeTest, ClosingASceneInAnyNodeOrderLeavesNoDanglingPointer) {
    std::array<int, 4> order{0, 1, 2, 3};
    do {
        Family f;
        Mtl* mtls[4] = {Material(static_cast<Texmap*>(f.at[Family::kMap])),
                        Material(static_cast<Texmap*>(f.at[Family::kNormalCopy]),
                                 static_cast<Texmap*>(f.at[Family::kBumpCopy])),
                        Material(nullptr, static_cast<Texmap*>(f.at[Family::kLegacy])),
                        static_cast<Mtl*>(f.at[Family::kCarrier])};
        for (int i : order) AddNode(L"Node", mtls[i]);
        // Only the scene holds them now; the map's own outputs go with the map.
        for (auto& h : f.holders) h->SetRef(nullptr);
        GetCOREInterface()->ResetScene();
    } while (std::next_permutation(order.begin(), order.end()));

    // After a load as well: the loaded outputs and copies hold the loaded map.
    Family f;
    AddNode(L"Copies", Material(static_cast<Texmap*>(f.at[Family::kNormalCopy]),
                                static_cast<Texmap*>(f.at[Family::kBumpCopy])));
    AddNode(L"Map", Material(static_cast<Texmap*>(f.at[Family::kMap]),
                             static_cast<Texmap*>(f.at[Family::kLegacy])));
    AddNode(L"Carrier", static_cast<Mtl*>(f.at[Family::kCarrier]));
    for (auto& h : f.holders) h->SetRef(nullptr);
    LoadedScene scene;
    RoundTrip({}, scene);
    auto* copy = dynamic_cast<QuarelNormalMap*>(LoadedMap(0, 0));
    ASSERT_NE(copy, nullptr);
    SingleRefMaker keepCopy(copy);
    GetCOREInterface()->ResetScene();
    EXPECT_EQ(copy->Parent(), nullptr);
    sc.SetUVW(Point3(kBrickU, kBrickV, 0.f), Point3(0.001f, 0.001f, 0.f));
    EXPECT_EQ(copy->EvalColor(sc), AColor(0.5f, 0.5f, 1.f, 1.f));
}

// A load that fails after every object was made: the callbacks registered by the map and its
// outputs are dropped unrun with them, and the scene stays as it was.
TEST_F(SceneLifetimeTest, ALoadThatFailsHalfWayLeavesTheSceneAndNothingElse) {
    Family f;
    AddNode(L"Map", Material(static_cast<Texmap*>(f.at[Family::kMap]),
                             static_cast<Texmap*>(f.at[Family::kNormalCopy])));
    AddNode(L"Carrier", static_cast<Mtl*>(f.at[Family::kCarrier]));
    AddNode(L"Broken", Material(new UnloadableMap, static_cast<Texmap*>(f.at[Family::kLegacy])));
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(SaveSceneBytes({}, bytes, &error)) << error;

    Mark();
    LoadedScene scene;
    EXPECT_FALSE(LoadSceneBytes(bytes.data(), bytes.size(), scene, &error));
    EXPECT_EQ(GetCOREInterface()->GetRootNode()->NumberOfChildren(), 3);
    ExpectAllMadeWereDeleted(1);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs", true), 0);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene", true), 0);
    TouchAll(f, sc);
}

// One round: a map made and edited, placed in a scene with copies of its outputs, a legacy
// bump map and a carrier; the scene saved and loaded; the loaded material copied; all deleted.
std::size_t OneRound(ScriptedShadeContext& sc, int round) {
    Family f;
    auto* map = static_cast<QuarelMap*>(f.at[Family::kMap]);
    EXPECT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::seed, 0, round));
    map->SetSubTexmap(QuarelMap::kSubTiles, new CheckerMap);
    map->SetSubTexmap(QuarelMap::kSubNormalOut, static_cast<Texmap*>(f.at[Family::kNormalCopy]));
    INode* root = GetCOREInterface()->GetRootNode();
    root->CreateChild(L"Wall")->SetMtl(Material(map, static_cast<Texmap*>(f.at[Family::kLegacy])));
    root->CreateChild(L"Copies")->SetMtl(Material(static_cast<Texmap*>(f.at[Family::kBumpCopy])));
    root->CreateChild(L"Carrier")->SetMtl(static_cast<Mtl*>(f.at[Family::kCarrier]));
    for (auto& h : f.holders) h->SetRef(nullptr);

    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(SaveSceneBytes({}, bytes));
    LoadedScene scene;
    EXPECT_TRUE(LoadSceneBytes(bytes.data(), bytes.size(), scene));
    Mtl* wall = root->GetChildNode(0)->GetMtl();
    SingleRefMaker copy(CloneRefHierarchy(wall));
    auto* copied = dynamic_cast<Mtl*>(copy.GetRef());
    EXPECT_NE(copied, nullptr);
    if (copied != nullptr) {
        Interval valid = FOREVER;
        copied->Update(0, valid);
        sc.SetUVW(Point3(kBrickU, kBrickV, 0.f), Point3(0.001f, 0.001f, 0.f));
        for (int i = 0; i < copied->NumSubTexmaps(); ++i) {
            if (Texmap* m = copied->GetSubTexmap(i)) (void)m->EvalColor(sc);
        }
    }
    copy.SetRef(nullptr);
    GetCOREInterface()->ResetScene();
    return bytes.size();
}

TEST_F(SceneLifetimeTest, ALongCycleOfEditingSavingLoadingAndCopyingLeavesNothingBehind) {
    Mark();
    const std::size_t size = OneRound(sc, 0);
#ifdef QUAREL_TEST_COUNTS_BYTES
    const std::size_t before = __sanitizer_get_current_allocated_bytes();
#endif
    for (int round = 1; round < 100; ++round) {
        // The seed is stored as a 32-bit value: the file does not grow with it.
        EXPECT_EQ(OneRound(sc, round), size);
    }
#ifdef QUAREL_TEST_COUNTS_BYTES
    // Some slack for the test's own bookkeeping; a map family left behind each round would
    // be tens of kilobytes a round.
    EXPECT_LT(__sanitizer_get_current_allocated_bytes(), before + 64 * 1024);
#endif
    ExpectAllMadeWereDeleted(100);
}

}  // namespace
}  // namespace QuarelTest
