// The two classes older scenes carry: the legacy bump map and the normal carrier material,
// loaded from scene files, rendered, guarded, copied and deleted.
#include <gtest/gtest.h>

#include "maxapi.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/parent_resolution.h"
#include "scene_support.h"

namespace QuarelTest {
namespace {

const Color kBumpBrick(0.8f, 0.6f, 0.4f), kBumpGrout(0.1f, 0.2f, 0.3f);

// A map in red and green whose relief colours differ from both, with a nested map on its bricks.
QuarelMap* ReliefMap() {
    QuarelMap* map = PlainMap();
    EXPECT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::brick_color, 0, Color(1.f, 0.f, 0.f)));
    EXPECT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::grout_color, 0, Color(0.f, 1.f, 0.f)));
    IParamBlock2* relief = map->GetParamBlock(1);
    EXPECT_TRUE(relief->SetValue(BumpParam::bump_brick_color, 0, kBumpBrick));
    EXPECT_TRUE(relief->SetValue(BumpParam::bump_grout_color, 0, kBumpGrout));
    map->SetSubTexmap(QuarelMap::kSubTiles, new CheckerMap);
    return map;
}

QuarelBumpMap* NewLegacy(QuarelMap* parent) {
    auto* legacy = Create<QuarelBumpMap>(QuarelClass::BumpMap, true);
    if (parent != nullptr) legacy->ReplaceReference(QuarelBumpMap::kRefParent, parent);
    return legacy;
}

MSTR ClassName(ReferenceTarget* t) {
    MSTR s;
    t->GetClassName(s);
    return s;
}

TEST_F(SceneTest, ALoadedLegacyBumpMapShowsItsParentsReliefColours) {
    QuarelMap* map = ReliefMap();
    AddNode(L"Wall", Material(map, NewLegacy(map)));
    LoadedScene scene;
    RoundTrip({}, scene);
    auto* map2 = dynamic_cast<QuarelMap*>(LoadedMap(0, 0));
    auto* legacy = dynamic_cast<QuarelBumpMap*>(LoadedMap(0, 1));
    ASSERT_TRUE(map2 && legacy);
    EXPECT_EQ(legacy->Parent(), map2);
    EXPECT_EQ(legacy->GetTheUVGen(), map2->GetTheUVGen());

    // Its Update refreshes the parent's snapshot; nested maps and the diffuse colours stay out.
    EXPECT_TRUE(legacy->Validity(0).IsInfinite());
    EXPECT_EQ(At(legacy, kBrickU, kBrickV), AColor(kBumpBrick, 1.f));
    EXPECT_EQ(At(legacy, kJointU, kJointV), AColor(kBumpGrout, 1.f));
    EXPECT_FLOAT_EQ(legacy->EvalMono(sc), (0.1f + 0.2f + 0.3f) * 0.33333334f);
    EXPECT_EQ(At(legacy, kBrickU, kBrickV, false), AColor(0.f, 0.f, 0.f, 0.f));

    // The perturbation is the parent's own, across a joint and on the bricks beside it.
    sc.doMaps = TRUE;
    int tilted = 0;
    for (float v = kJointV; v < kBrickV; v += 0.0001f) {
        sc.SetUVW(Point3(kBrickU, v, 0.f), Point3(0.001f, 0.001f, 0.f));
        const Point3 p = legacy->EvalNormalPerturb(sc);
        EXPECT_EQ(p, map2->EvalNormalPerturb(sc));
        if (p != Point3(0.f, 0.f, 0.f)) ++tilted;
    }
    EXPECT_GT(tilted, 0);
    sc.doMaps = FALSE;
    EXPECT_EQ(legacy->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));
}

TEST_F(SceneTest, TheLegacyBumpMapPassesChangesOnAndLetsGoOfADeletedParent) {
    QuarelMap* map = Keep(ReliefMap());
    QuarelBumpMap* legacy = Keep(NewLegacy(map));
    EXPECT_EQ(ClassName(legacy), L"QuarelMapBump");
    EXPECT_EQ(legacy->CreateParamDlg(nullptr, nullptr), nullptr);

    // A change of the parent reaches the legacy map's own dependents.
    Watcher watcher(legacy);
    ASSERT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::seed, 0, 7));
    EXPECT_GE(watcher.changes, 1);

    map->DeleteMe();
    EXPECT_EQ(legacy->Parent(), nullptr);
    EXPECT_EQ(legacy->GetTheUVGen(), nullptr);
    EXPECT_EQ(At(legacy, kBrickU, kBrickV), AColor(0.5f, 0.5f, 0.5f, 1.f));
    EXPECT_EQ(legacy->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));
    Interval valid(0, 10);
    legacy->Update(0, valid);
    EXPECT_EQ(valid, Interval(0, 10));
}

// Copied alone, the legacy map brings a copy of its parent; copied with a material that holds
// the parent too, both copies share the one copied parent.
TEST_F(SceneTest, CopiesOfTheLegacyBumpMapGoThroughTheRemap) {
    QuarelMap* map = ReliefMap();
    map->SetName(L"Wall");
    QuarelBumpMap* legacy = NewLegacy(map);
    StdMtl* mtl = Keep(Material(map, legacy));
    legacy->SetName(L"Old relief");

    auto* alone = Keep(dynamic_cast<QuarelBumpMap*>(CloneRefHierarchy(legacy)));
    ASSERT_NE(alone, nullptr);
    ASSERT_NE(alone->Parent(), nullptr);
    EXPECT_NE(alone->Parent(), map);
    EXPECT_EQ(alone->Parent()->GetName(), L"Wall");
    EXPECT_EQ(alone->GetName(), L"Old relief");
    EXPECT_EQ(alone->Parent()->NormalOut()->Parent(), alone->Parent());

    auto* mtlCopy = Keep(dynamic_cast<StdMtl*>(CloneRefHierarchy(mtl)));
    ASSERT_NE(mtlCopy, nullptr);
    auto* copied = dynamic_cast<QuarelBumpMap*>(mtlCopy->GetSubTexmap(1));
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->Parent(), mtlCopy->GetSubTexmap(0));
    EXPECT_NE(copied->Parent(), map);

    auto* orphanCopy =
        Keep(dynamic_cast<QuarelBumpMap*>(CloneRefHierarchy(Keep(NewLegacy(nullptr)))));
    ASSERT_NE(orphanCopy, nullptr);
    EXPECT_EQ(orphanCopy->Parent(), nullptr);
}

TEST_F(SceneTest, ALoadedCarrierRendersOpaqueBlackWhateverItCarries) {
    QuarelMap* map = ReliefMap();
    auto* carrier = Create<QuarelNormalCarrierMtl>(QuarelClass::NormalCarrierMtl);
    ASSERT_NE(carrier, nullptr);
    carrier->ReplaceReference(QuarelNormalCarrierMtl::kRefParent, map);
    ASSERT_TRUE(carrier->GetParamBlock(0)->SetValue(CarrierParam::normal_inner, 0,
                                                    static_cast<Texmap*>(map->NormalOut())));
    AddNode(L"Carried", carrier);

    LoadedScene scene;
    RoundTrip({}, scene);
    auto* carrier2 = dynamic_cast<QuarelNormalCarrierMtl*>(
        GetCOREInterface()->GetRootNode()->GetChildNode(0)->GetMtl());
    ASSERT_NE(carrier2, nullptr);
    auto* map2 = carrier2->Parent();
    ASSERT_NE(map2, nullptr);
    EXPECT_NE(map2, map);
    EXPECT_EQ(carrier2->GetSubTexmap(0), map2->NormalOut());
    // The carrier is named after its parent (or the parent's class), as the parent is named now.
    EXPECT_EQ(ClassName(carrier2), L"NormalBump:QuarelMap");
    map2->SetName(L"Wall");
    EXPECT_EQ(carrier2->GetParamBlock(0)->GetTexmap(CarrierParam::normal_inner), map2->NormalOut());
    EXPECT_EQ(carrier2->GetFullName(), L"NormalBump:Wall");

    sc.out.c = Color(0.3f, 0.4f, 0.5f);
    sc.out.t = Color(1.f, 1.f, 1.f);
    sc.out.ior = 1.5f;
    sc.SetUVW(Point3(kBrickU, kBrickV, 0.f), Point3(0.001f, 0.001f, 0.f));
    carrier2->Shade(sc);
    EXPECT_EQ(sc.out.c, Color(0.f, 0.f, 0.f));
    EXPECT_EQ(sc.out.t, Color(0.f, 0.f, 0.f));
    EXPECT_EQ(sc.out.ior, 1.f);

    // The carrier's parent is no sub-map: a scene whose only map hangs off a carrier has none
    // for an output to find.
    EXPECT_EQ(FindAnyQuarelMapInScene(), nullptr);
}

TEST_F(SceneTest, TheCarrierAnswersAsAFlatNormalAndKeepsItsSlots) {
    auto* carrier = Keep(Create<QuarelNormalCarrierMtl>(QuarelClass::NormalCarrierMtl));
    EXPECT_EQ(carrier->GetFullName(), L"QuarelMap NormalBump Carrier");
    // Light blue in the viewport whatever it is told.
    Mtl* mtl = carrier;
    mtl->SetDiffuse(Color(1.f, 0.f, 0.f), 0);
    EXPECT_EQ(mtl->GetDiffuse(), Color(0.5f, 0.5f, 1.f));
    EXPECT_TRUE(mtl->GetSelfIllumColorOn());
    EXPECT_EQ(mtl->VPDisplaySubMtl(), -1);

    QuarelMap* map = NewMap();
    carrier->ReplaceReference(QuarelNormalCarrierMtl::kRefParent, map);

    // The carried texture: set without a message, updated with the carrier, never the parent.
    auto* probe = new ProbeMap;
    probe->validity = Interval(0, 100);
    Watcher watcher(carrier);
    carrier->SetSubTexmap(0, probe);
    carrier->SetSubTexmap(5, Keep(new CheckerMap));
    EXPECT_EQ(watcher.changes, 0);
    EXPECT_EQ(carrier->GetReference(QuarelNormalCarrierMtl::kRefTexture), probe);
    EXPECT_EQ(carrier->Validity(0), Interval(0, 100));
    EXPECT_EQ(carrier->Validity(50), Interval(0, 100));
    EXPECT_EQ(probe->updates, 1);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    probe->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    EXPECT_GE(watcher.changes, 1);
    carrier->Validity(0);
    EXPECT_EQ(probe->updates, 2);

    // Deleted targets leave their slots empty; the carrier still answers.
    probe->DeleteMe();
    EXPECT_EQ(carrier->GetSubTexmap(0), nullptr);
    map->DeleteMe();
    EXPECT_EQ(carrier->Parent(), nullptr);
    carrier->GetParamBlock(0)->DeleteMe();
    EXPECT_EQ(carrier->GetParamBlock(0), nullptr);
    EXPECT_EQ(ClassName(carrier), L"QuarelMap NormalBump Carrier");
    EXPECT_EQ(carrier->Validity(0), Interval(0, 100));  // a deletion leaves the validity as it was
}

TEST_F(SceneTest, ACopiedCarrierCopiesItsParentAndTexture) {
    QuarelMap* map = NewMap();
    auto* carrier = Keep(Create<QuarelNormalCarrierMtl>(QuarelClass::NormalCarrierMtl));
    carrier->ReplaceReference(QuarelNormalCarrierMtl::kRefParent, map);
    carrier->SetSubTexmap(0, map->NormalOut());
    carrier->SetName(L"Carrier");

    auto* copy = Keep(dynamic_cast<QuarelNormalCarrierMtl*>(CloneRefHierarchy(carrier)));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), L"Carrier");
    ASSERT_NE(copy->Parent(), nullptr);
    EXPECT_NE(copy->Parent(), map);
    // The texture is the copied parent's own output: the remap copied it once.
    EXPECT_EQ(copy->GetSubTexmap(0), copy->Parent()->NormalOut());
    EXPECT_EQ(copy->Parent()->NormalOut()->Parent(), copy->Parent());
    ASSERT_NE(copy->GetParamBlock(0), nullptr);
    EXPECT_NE(copy->GetParamBlock(0), carrier->GetParamBlock(0));
    EXPECT_EQ(copy->GetParamBlock(0)->GetTexmap(CarrierParam::normal_inner), copy->GetSubTexmap(0));
}

}  // namespace
}  // namespace QuarelTest
