// Parent resolution after load: the walk over the scene's node materials, and outputs that no
// main map holds finding the first QuarelMap of a loaded scene.
#include <gtest/gtest.h>

#include "maxapi.h"
#include "relief/parent_resolution.h"
#include "scene_support.h"

namespace QuarelTest {
namespace {

using Maps = std::vector<QuarelMap*>;

Maps WalkScene() {
    QuarelMapList list;
    INode* root = GetCOREInterface()->GetRootNode();
    for (int i = 0; i < root->NumberOfChildren(); ++i)
        CollectQuarelMapsUnderNode(root->GetChildNode(i), list);
    return list.maps;
}

// Node A: a material with two sub-maps and a sub-material; its child A1 a standard material
// over a multi-sub map; node B without a material, whose grandchild has a multi-material. The
// root's own material and the material editor hold maps that are not part of the scene.
TEST_F(SceneTest, TheWalkIsDepthFirstPreOrderOverNodeMaterials) {
    QuarelMap *a1 = PlainMap(), *a2 = PlainMap(), *c = PlainMap(), *a3 = PlainMap();
    QuarelMap *a4 = PlainMap(), *b = PlainMap(), *inRoot = PlainMap();
    QuarelMap* inEditor = NewMap();
    a1->SetSubTexmap(QuarelMap::kSubTiles, a2);
    INode* A = AddNode(L"A", new MixMtl(a1, c, Material(a3)));
    auto* perFace = new MultiSubMap(2);
    perFace->SetSubTexmap(0, a4);
    perFace->SetSubTexmap(1, a1);  // met again: listed once
    AddNode(L"A1", Material(perFace), A);
    INode* B1 = AddNode(L"B1", nullptr, AddNode(L"B", nullptr));
    auto* multi = new MultiMtl(2);
    multi->SetSubMtl(1, Material(nullptr, b));
    AddNode(L"B11", multi, B1);
    GetCOREInterface()->GetRootNode()->SetMtl(Material(inRoot));

    // A map before its sub-maps (a1, a2), sub-maps before the sub-material (c, a3), a node's
    // material before its children (a3, a4), children at any depth (b).
    EXPECT_EQ(WalkScene(), (Maps{a1, a2, c, a3, a4, b}));

    Mark();
    EXPECT_EQ(FindAnyQuarelMapInScene(), a1);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene: found 6 QuarelMap(s), using first " + Ptr(a1)), 1);
    (void)inEditor;

    // Without nodes' maps, or from nothing, there is none.
    GetCOREInterface()->GetRootNode()->SetMtl(nullptr);
    GetCOREInterface()->ResetScene();
    AddNode(L"Bare", nullptr);
    AddNode(L"Plain", Material(new CheckerMap));
    Mark();
    EXPECT_EQ(FindAnyQuarelMapInScene(), nullptr);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene: no QuarelMap found in scene"), 1);
    QuarelMapList list;
    CollectQuarelMaps(nullptr, list);
    CollectQuarelMapsUnderNode(nullptr, list);
    EXPECT_TRUE(list.maps.empty());
}

// Forty levels of multi-sub maps whose two slots both hold the next level: each object is
// walked once, where walking every path would take 2^40 steps.
TEST_F(SceneTest, SharedSubMapsAreWalkedOnce) {
    QuarelMap* bottom = PlainMap();
    Texmap* level = bottom;
    for (int i = 0; i < 40; ++i) {
        auto* m = new MultiSubMap(2);
        m->SetSubTexmap(0, level);
        m->SetSubTexmap(1, level);
        level = m;
    }
    AddNode(L"Lattice", Material(level));
    QuarelMapList list;
    CollectQuarelMapsUnderNode(GetCOREInterface()->GetRootNode()->GetChildNode(0), list);
    EXPECT_EQ(list.maps, Maps{bottom});
    EXPECT_EQ(list.walked.size(), 44u);  // the material, 40 levels, the map and its two outputs
}

// Outputs after loading: those a main map holds came back with their parent and cost no search;
// a copy in a material goes to the first map of the walk, not the one it was copied from.
TEST_F(SceneTest, ALoadedOutputCopyGoesToTheFirstMapOfTheWalk) {
    QuarelMap *first = PlainMap(), *second = PlainMap();
    auto* copy = dynamic_cast<QuarelNormalMap*>(CloneRefHierarchy(second->NormalOut()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Parent(), second);
    AddNode(L"One", Material(first));
    AddNode(L"Two", Material(second, copy));

    Mark();
    LoadedScene scene;
    RoundTrip({}, scene);
    auto* first2 = dynamic_cast<QuarelMap*>(LoadedMap(0, 0));
    auto* second2 = dynamic_cast<QuarelMap*>(LoadedMap(1, 0));
    auto* copy2 = dynamic_cast<QuarelNormalMap*>(LoadedMap(1, 1));
    ASSERT_TRUE(first2 && second2 && copy2);
    EXPECT_EQ(first2->NormalOut()->Parent(), first2);
    EXPECT_EQ(second2->BumpOut()->Parent(), second2);
    EXPECT_EQ(copy2->Parent(), first2);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene: found 2 QuarelMap(s), using first " + Ptr(first2)),
              1);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene", true), 1);
    EXPECT_EQ(CountNew("QuarelNormalMapPostLoad: resolved mParent for " + Ptr(copy2) + " -> " +
                       Ptr(first2)),
              1);
    EXPECT_EQ(
        CountNew("QuarelNormalMap::SetParent [this=" + Ptr(copy2) + ", p=" + Ptr(first2) + "]"), 1);
    // It renders through its new parent, and lets go of it when that parent goes.
    Interval valid = FOREVER;
    copy2->Update(0, valid);
    bool tilted = false;
    for (float v = kJointV; v < kBrickV && !tilted; v += 0.0001f)
        tilted = At(copy2, kBrickU, v) != AColor(0.5f, 0.5f, 1.f, 1.f);
    EXPECT_TRUE(tilted);
    SingleRefMaker keep(copy2);
    GetCOREInterface()->ResetScene();
    EXPECT_EQ(copy2->Parent(), nullptr);
}

// Output copies in a scene without any QuarelMap stay orphans, the bump output saying so and the
// normal output silently; once a map sits in a multi-material, they find it there.
TEST_F(SceneTest, AnOrphanBumpOutputLogsItsLine) {
    QuarelMap* source = NewMap();
    auto* copy = dynamic_cast<QuarelBumpProcMap*>(CloneRefHierarchy(source->BumpOut()));
    auto* normalCopy = dynamic_cast<QuarelNormalMap*>(CloneRefHierarchy(source->NormalOut()));
    AddNode(L"Lonely", Material(normalCopy, copy));
    Release(source);
    EXPECT_EQ(copy->Parent(), nullptr);

    Mark();
    LoadedScene scene;
    RoundTrip({}, scene);
    auto* copy2 = dynamic_cast<QuarelBumpProcMap*>(LoadedMap(0, 1));
    auto* normal2 = dynamic_cast<QuarelNormalMap*>(LoadedMap(0, 0));
    ASSERT_TRUE(copy2 && normal2);
    EXPECT_EQ(copy2->Parent(), nullptr);
    EXPECT_EQ(normal2->Parent(), nullptr);
    EXPECT_EQ(CountNew("FindAnyQuarelMapInScene: no QuarelMap found in scene"), 2);
    EXPECT_EQ(CountNew("QuarelNormalMapPostLoad", true), 0);
    EXPECT_EQ(CountNew("QuarelBumpProcMapPostLoad: no QuarelMap in the scene for " + Ptr(copy2) +
                       ", it stays without a parent"),
              1);
    EXPECT_EQ(At(copy2, kBrickU, kBrickV), AColor(0.f, 0.f, 0.f, 1.f));
    EXPECT_EQ(At(normal2, kBrickU, kBrickV), AColor(0.5f, 0.5f, 1.f, 1.f));

    auto* multi = new MultiMtl(2);
    multi->SetSubMtl(1, Material(PlainMap()));
    AddNode(L"Multi", multi);
    LoadedScene again;
    RoundTrip({}, again);
    auto* copy3 = dynamic_cast<QuarelBumpProcMap*>(LoadedMap(0, 1));
    auto* normal3 = dynamic_cast<QuarelNormalMap*>(LoadedMap(0, 0));
    ASSERT_TRUE(copy3 && normal3);
    Mtl* multi3 = GetCOREInterface()->GetRootNode()->GetChildNode(1)->GetMtl();
    ASSERT_NE(copy3->Parent(), nullptr);
    EXPECT_EQ(copy3->Parent(), multi3->GetSubMtl(1)->GetSubTexmap(0));
    EXPECT_EQ(normal3->Parent(), copy3->Parent());
}

}  // namespace
}  // namespace QuarelTest
