// QuarelMap as the host sees it: its shape, sub-maps and slot guards, notifications, the
// viewport transform, reset and rollouts.
#include <gtest/gtest.h>

#include <cmath>

#include "host/builtin_classes.h"
#include "map_support.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "stdmat.h"

namespace QuarelTest {
namespace {

StdUVGen* StdGen(QuarelMap* map) {
    return dynamic_cast<StdUVGen*>(map->GetTheUVGen());
}

TEST_F(MapTest, ANewMapIsCompleteAndParentsItsOwnOutputs) {
    Mark();
    QuarelMap* map = NewMap();
    const std::string m = Ptr(map);
    EXPECT_EQ(CountNew("QuarelMap::ctor [this=" + m + "] loading=0 createDefaultRefs=1"), 1);
    EXPECT_EQ(CountNew("QuarelMap::ctor done"), 1);

    ASSERT_EQ(map->NumSubs(), 11);
    for (int i = 0; i < 11; ++i) EXPECT_EQ(map->SubAnim(i), map->GetReference(i)) << i;
    EXPECT_EQ(map->GetParamBlockByID(2), map->GetReference(8));

    // Sub-maps 3 and 4 are the map's own outputs, with their blocks, parented to it.
    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(map->GetSubTexmap(3), normal);
    EXPECT_EQ(map->GetSubTexmap(4), bump);
    EXPECT_EQ(normal->Parent(), map);
    EXPECT_EQ(bump->Parent(), map);
    EXPECT_EQ(CountNew("QuarelNormalMap::SetParent [this=" + Ptr(normal) + ", p=" + m + "]"), 1);
    EXPECT_EQ(CountNew("  after ReplaceReference(BumpOut): bumpOutMap=" + Ptr(bump)), 1);

    // A standard generator measuring in real-world units of 1000.
    StdUVGen* gen = StdGen(map);
    ASSERT_NE(gen, nullptr);
    EXPECT_TRUE(gen->GetUseRealWorldScale());
    EXPECT_EQ(gen->GetUScl(0), 1000.f);
    EXPECT_EQ(gen->GetVScl(0), 1000.f);
    EXPECT_EQ(CountNew("  after ReplaceReference(UVGen): uvGen=" + Ptr(gen)), 1);

    // A map about to be loaded leaves the generator to the file.
    QuarelMap* loading = NewMap(true);
    EXPECT_EQ(loading->GetTheUVGen(), nullptr);
    EXPECT_EQ(loading->NormalOut()->Parent(), loading);
}

TEST_F(MapTest, NestedSubMapsAreStoredOnceAndNotifyTheirChange) {
    QuarelMap* map = NewMap();
    auto* checker = Keep(new CheckerMap);
    Watcher watcher(map);
    ParamDlg* dlg = map->CreateParamDlg(nullptr, nullptr);
    IParamMap2* rollout = map->GetParamBlock(0)->GetMap(0);
    ASSERT_NE(rollout, nullptr);
    MakeValid(map);
    watcher.changes = 0;
    const int redraws = rollout->InvalidateCount();

    map->SetSubTexmap(0, checker);
    EXPECT_EQ(map->GetReference(2), checker);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_GT(rollout->InvalidateCount(), redraws);

    // The same map again, null where there is none, the map itself or an unknown index: nothing
    // changes and nobody is told.
    MakeValid(map);
    Mark();
    map->SetSubTexmap(0, checker);
    map->SetSubTexmap(1, nullptr);
    map->SetSubTexmap(2, map);
    map->SetSubTexmap(5, checker);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap(i=0, m=" + Ptr(checker) + ")"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored unchanged map pointer"), 2);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored self-reference request"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored invalid submap index 5"), 1);
    EXPECT_EQ(map->GetReference(4), nullptr);
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_TRUE(map->SnapshotValidity().InInterval(0));
    dlg->DeleteThis();
}

TEST_F(MapTest, TheOutputSubMapsKeepOrRestoreTheMapsOwnOutputs) {
    QuarelMap* map = NewMap();
    auto* checker = Keep(new CheckerMap);
    Watcher watcher(map);
    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();

    // A foreign map or null is refused: the outputs stay, dependents hear of it, the snapshot
    // stays valid. The same output again is unchanged and tells nobody.
    MakeValid(map);
    Mark();
    map->SetSubTexmap(3, checker);
    map->SetSubTexmap(4, nullptr);
    map->SetSubTexmap(3, normal);
    map->SetSubTexmap(4, bump);
    EXPECT_EQ(map->NormalOut(), normal);
    EXPECT_EQ(map->BumpOut(), bump);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap rejecting normal-out replacement, restoring own"),
              1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap rejecting bump-out replacement, restoring own"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap normal-out unchanged"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap bump-out unchanged"), 1);
    EXPECT_EQ(watcher.changes, 2);
    EXPECT_TRUE(map->SnapshotValidity().InInterval(0));

    // Another output of the right class is taken and parented; the old one goes with its slot.
    auto* other = Keep(new QuarelNormalMap(false));
    Mark();
    map->SetSubTexmap(3, other);
    EXPECT_EQ(map->NormalOut(), other);
    EXPECT_EQ(other->Parent(), map);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap accepting QuarelNormalMap replacement"), 1);
    EXPECT_EQ(CountNew("QuarelNormalMap::dtor [this=" + Ptr(normal) + "]"), 1);

    // With the slots empty, null counts as unchanged and creates nothing; a foreign map makes
    // the map create its own output again.
    map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
    map->ReplaceReference(QuarelMap::kRefBumpOutMap, nullptr);
    Mark();
    map->SetSubTexmap(3, nullptr);
    map->SetSubTexmap(4, nullptr);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap normal-out unchanged"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap bump-out unchanged"), 1);
    EXPECT_EQ(map->GetSubTexmap(4), nullptr);
    map->SetSubTexmap(4, checker);
    ASSERT_NE(map->BumpOut(), nullptr);
    EXPECT_EQ(map->BumpOut()->Parent(), map);
}

TEST_F(MapTest, SubMapSwitches) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    for (ParamID id : {MainParam::brick_map_on, MainParam::grout_map_on, MainParam::brick_map_2_on})
        ASSERT_TRUE(pb->SetValue(id, 0, 0));
    const int expected[] = {0, 0, 0, 1, 1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(map->SubTexmapOn(i), expected[i]) << i;
}

// Slots 7 to 10 refuse foreign targets and are left empty: the host lets go of the earlier
// target (deleting it, as nothing else held it) and the map must not use it any more. The
// repair then makes the map complete again.
TEST_F(MapTest, ARefusedTargetEmptiesTheSlotAndTheRepairRestoresIt) {
    const std::string lines[] = {
        "QuarelMap::SetReference(7): ignoring non-QuarelNormalMap target (classID=(200,0))",
        "QuarelMap::SetReference(8): ignoring legacy non-pblock target (superclass=0xc10, "
        "classID=(200,0))",
        "QuarelMap::SetReference(9): ignoring non-QuarelBumpProcMap target (classID=(200,0))",
        "QuarelMap::SetReference(10): ignoring non-pblock target"};
    for (int slot = 7; slot <= 10; ++slot) {
        SCOPED_TRACE(slot);
        QuarelMap* map = NewMap();
        auto* checker = Keep(new CheckerMap);
        RefTargetHandle earlier = map->GetReference(slot);
        Mark();
        EXPECT_EQ(map->ReplaceReference(slot, checker), REF_FAIL);
        EXPECT_EQ(map->GetReference(slot), nullptr);
        EXPECT_EQ(map->HostCountedReference(slot), nullptr);
        EXPECT_FALSE(checker->HasDependent(map));
        EXPECT_EQ(CountNew(lines[slot - 7]), 1);
        EXPECT_EQ(CountNew("QuarelMap::SetReference(this=" + Ptr(map) +
                               ", i=" + std::to_string(slot) + "/",
                           true),
                  1);
        if (slot == 7 || slot == 9) {
            const char* cls = slot == 7 ? "QuarelNormalMap" : "QuarelBumpProcMap";
            EXPECT_EQ(CountNew(std::string(cls) + "::dtor [this=" + Ptr(earlier) + "]"), 1);
            EXPECT_EQ(map->GetSubTexmap(slot == 7 ? 3 : 4), nullptr);
        }
        Interval valid = FOREVER;
        map->Update(0, valid);

        ParamDlg* dlg = map->CreateParamDlg(nullptr, nullptr);
        ASSERT_NE(dlg, nullptr);
        dlg->DeleteThis();
        EXPECT_NE(map->GetReference(slot), nullptr);
        EXPECT_EQ(map->NormalOut()->Parent(), map);
        EXPECT_EQ(map->BumpOut()->Parent(), map);
        for (int i = 0; i < 4; ++i) EXPECT_NE(map->GetParamBlock(i), nullptr);
    }
}

TEST_F(MapTest, NotificationsEmptyTheValidityExceptDuringARebuild) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    MakeValid(map);
    ASSERT_TRUE(pb->SetValue(MainParam::seed, 0, 99));
    EXPECT_TRUE(map->SnapshotValidity().Empty());

    // An animated value holds the snapshot to an instant. At another time a rebuild runs, and
    // a change announced from inside it (here by a nested map) does not discard the snapshot.
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 0, 0.f));
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 100, 1.f));
    auto* probe = Keep(new ProbeMap);
    map->SetSubTexmap(0, probe);
    MakeValid(map);
    Interval during = FOREVER;
    probe->onUpdate = [&] {
        pb->SetValue(MainParam::seed, 0, 7);
        during = map->SnapshotValidity();
    };
    EXPECT_EQ(map->Validity(50), Interval(50, 50));
    EXPECT_EQ(during, Interval(0, 0));
    EXPECT_EQ(map->SnapshotValidity(), Interval(50, 50));
    EXPECT_EQ(map->Snapshot().seed, 99);

    // A nested map deleted from two slots leaves both empty and the snapshot invalid.
    auto* shared = new CheckerMap;
    map->SetSubTexmap(0, shared);
    map->SetSubTexmap(2, shared);
    MakeValid(map);
    shared->DeleteMe();
    EXPECT_EQ(map->GetReference(2), nullptr);
    EXPECT_EQ(map->GetReference(4), nullptr);
    EXPECT_EQ(map->EvalSource().brickMap2, nullptr);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
}

TEST_F(MapTest, TheViewportTransformIsTheGeneratorsScaleOnly) {
    QuarelMap* map = NewMap();
    StdUVGen* gen = StdGen(map);
    gen->SetUseRealWorldScale(FALSE);
    gen->SetUScl(2.f, 0);
    gen->SetVScl(3.f, 0);
    gen->SetUOffs(0.3f, 0);
    gen->SetVOffs(-0.7f, 0);
    gen->SetWAng(0.6f, 0);
    Matrix3 theirs, ours;
    gen->GetUVTransform(theirs);
    map->GetUVTransform(ours);
    const Point3 r0 = theirs.GetRow(0), r1 = theirs.GetRow(1);
    EXPECT_FLOAT_EQ(ours.GetRow(0).x, std::sqrt(r0.x * r0.x + r0.y * r0.y));
    EXPECT_FLOAT_EQ(ours.GetRow(1).y, std::sqrt(r1.x * r1.x + r1.y * r1.y));
    EXPECT_EQ(ours.GetRow(0).y, 0.f);
    EXPECT_EQ(ours.GetRow(1).x, 0.f);
    EXPECT_EQ(ours.GetTrans(), Point3(0.f, 0.f, 0.f));

    // A degenerate scale reads as 1; no generator gives the identity.
    gen->SetWAng(0.f, 0);
    gen->SetUScl(0.f, 0);
    map->GetUVTransform(ours);
    EXPECT_EQ(ours.GetRow(0), Point3(1.f, 0.f, 0.f));
    EXPECT_EQ(ours.GetRow(1), Point3(0.f, 3.f, 0.f));
    map->ReplaceReference(QuarelMap::kRefUVGen, nullptr);
    map->GetUVTransform(ours);
    EXPECT_EQ(ours.GetRow(1), Point3(0.f, 1.f, 0.f));
}

TEST_F(MapTest, ResetRestoresTheMainBlockTheGeneratorAndTheNestedMapsOnly) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::nx, 0, 17));
    ASSERT_TRUE(map->GetParamBlock(1)->SetValue(BumpParam::normal_depth, 0, 4.f));
    for (int i = 0; i < 3; ++i) map->SetSubTexmap(i, new CheckerMap);
    auto* legacy = new CheckerMap;
    map->ReplaceReference(QuarelMap::kRefLegacyBumpMap, legacy);
    UVGen* oldGen = map->GetTheUVGen();
    StdGen(map)->SetUScl(5.f, 0);
    MakeValid(map);

    Mark();
    map->Reset();
    EXPECT_EQ(pb->GetInt(MainParam::nx), 4);
    EXPECT_NE(map->GetTheUVGen(), oldGen);
    EXPECT_EQ(StdGen(map)->GetUScl(0), 1000.f);
    for (int slot = 2; slot <= 4; ++slot) EXPECT_EQ(map->GetReference(slot), nullptr);
    EXPECT_EQ(map->GetReference(QuarelMap::kRefLegacyBumpMap), legacy);
    EXPECT_FLOAT_EQ(map->GetParamBlock(1)->GetFloat(BumpParam::normal_depth), 4.f);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(CountNew("QuarelMap::Reset"), 1);
    EXPECT_EQ(CountNew("QuarelMap::Reset done"), 1);
}

// The rollouts' templates and order are the editor tests'; here the coordinates' dialog and the
// repair that runs first.
TEST_F(MapTest, TheRolloutsEndWithTheCoordinatesAndLeaveACompleteMapAsItWas) {
    QuarelMap* map = NewMap();
    std::vector<RefTargetHandle> before;
    for (int i = 0; i < 11; ++i) before.push_back(map->GetReference(i));
    Mark();
    auto* dlg = dynamic_cast<IAutoMParamDlg*>(map->CreateParamDlg(nullptr, nullptr));
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->NumDlgs(), 1);
    EXPECT_EQ(dlg->GetDlg(0)->GetThing(), map->GetTheUVGen());

    // A complete map is left as it was; the repair only reports.
    for (int i = 0; i < 11; ++i) EXPECT_EQ(map->GetReference(i), before[std::size_t(i)]);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: ", true), 0);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs DONE for " + Ptr(map), true), 1);
    EXPECT_EQ(CountNew("QuarelMap::CreateParamDlg called, hwMtlEdit=" + Ptr(nullptr)), 1);
    EXPECT_EQ(CountNew("  coord dlg = " + Ptr(dlg->GetDlg(0))), 1);
    EXPECT_EQ(CountNew("QuarelMap::CreateParamDlg done"), 1);
    dlg->DeleteThis();
}

}  // namespace
}  // namespace QuarelTest
