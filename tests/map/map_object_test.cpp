// QuarelMap as the host sees it: its shape, its sub-maps and slot guards, notifications,
// mapping queries, reset, rollouts and scene files.
#include <gtest/gtest.h>

#include <cmath>

#include "host/builtin_classes.h"
#include "map_support.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "stdmat.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

StdUVGen* StdGen(QuarelMap* map) {
    return dynamic_cast<StdUVGen*>(map->GetTheUVGen());
}

// Makes the snapshot valid at time 0, so that a test can see what empties it.
void MakeValid(QuarelMap* map) {
    Interval valid = FOREVER;
    map->Update(0, valid);
    ASSERT_TRUE(map->SnapshotValidity().InInterval(0));
}

TEST_F(MapTest, ANewMapIsCompleteAndParentsItsOwnOutputs) {
    Mark();
    QuarelMap* map = NewMap();
    const auto log = NewMessages();
    EXPECT_EQ(map->NumRefs(), 11);
    EXPECT_EQ(map->NumSubs(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(map->SubAnim(i), map->GetReference(i)) << i;
        EXPECT_EQ(map->SubNumToRefNum(i), i);
    }
    EXPECT_EQ(map->SubAnimName(0), L"Parameters");
    EXPECT_EQ(map->SubAnimName(5), L"Bump Map (legacy)");
    EXPECT_EQ(map->SubAnimName(10), L"Bump Button");
    EXPECT_EQ(map->SubAnimName(11), L"");
    EXPECT_EQ(map->SubAnimName(-1), L"");

    ASSERT_EQ(map->NumSubTexmaps(), 5);
    const wchar_t* slotNames[] = {L"Tiles", L"Grout", L"Brick 2", L"Normal Out", L""};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(map->GetSubTexmapSlotName(i), slotNames[i]);
        EXPECT_EQ(map->GetSubTexmapTVName(i), slotNames[i]);
        EXPECT_EQ(map->MapSlotType(i), 0);
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(map->GetSubTexmap(i), nullptr);

    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(bump, nullptr);
    EXPECT_EQ(map->GetSubTexmap(3), normal);
    EXPECT_EQ(map->GetSubTexmap(4), bump);
    EXPECT_EQ(normal->Parent(), map);
    EXPECT_EQ(bump->Parent(), map);
    EXPECT_NE(normal->GetParamBlockByID(100), nullptr);
    EXPECT_NE(bump->GetParamBlockByID(101), nullptr);

    EXPECT_EQ(map->NumParamBlocks(), 4);
    const int blockSlots[] = {0, 6, 8, 10};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(map->GetParamBlock(i), nullptr);
        EXPECT_EQ(map->GetParamBlock(i), map->GetReference(blockSlots[i]));
        EXPECT_EQ(map->GetParamBlockByID(static_cast<BlockID>(i)), map->GetParamBlock(i));
    }
    EXPECT_EQ(map->GetParamBlockByID(100), nullptr);

    // A standard generator measuring in real-world units of 1000.
    StdUVGen* gen = StdGen(map);
    ASSERT_NE(gen, nullptr);
    EXPECT_EQ(map->GetReference(1), gen);
    EXPECT_TRUE(gen->GetUseRealWorldScale());
    EXPECT_EQ(gen->GetUScl(0), 1000.f);
    EXPECT_EQ(gen->GetVScl(0), 1000.f);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_FALSE(map->SetDlgThing(nullptr));

    const std::string m = Ptr(map);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "QuarelMap::ctor [this=" + m + "] loading=0 createDefaultRefs=1");
    EXPECT_EQ(CountNew("QuarelNormalMap::SetParent [this=" + Ptr(normal) + ", p=" + m + "]"), 1);
    EXPECT_EQ(CountNew("QuarelBumpProcMap::SetParent [this=" + Ptr(bump) + ", p=" + m + "]"), 1);
    EXPECT_EQ(
        CountNew("QuarelMap::SetReference(this=" + m + ", i=7/normalOutMap, rtarg=" + Ptr(normal) +
                 ", rtargSuper=0xc10, rtargClassA=0x58d7c091, rtargClassB=0x3f4b8a14)"),
        1);
    EXPECT_EQ(CountNew("  after ReplaceReference(NormalOut): normalOutMap=" + Ptr(normal)), 1);
    EXPECT_EQ(CountNew("  after ReplaceReference(BumpOut): bumpOutMap=" + Ptr(bump)), 1);
    EXPECT_EQ(CountNew("  after MakeAutoParamBlocks: pblock=" + Ptr(map->GetReference(0)) +
                       " pblock_bump=" + Ptr(map->GetReference(6)) +
                       " pblock_normal_btn=" + Ptr(map->GetReference(8)) +
                       " pblock_bump_btn=" + Ptr(map->GetReference(10))),
              1);
    EXPECT_EQ(CountNew("  after ReplaceReference(UVGen): uvGen=" + Ptr(gen)), 1);
    EXPECT_EQ(log.back(), "QuarelMap::ctor done");

    // A map about to be loaded makes its outputs and blocks but leaves the generator to the file.
    QuarelMap* loading = NewMap(true);
    EXPECT_EQ(loading->GetTheUVGen(), nullptr);
    EXPECT_EQ(loading->NormalOut()->Parent(), loading);
    EXPECT_NE(loading->GetParamBlock(3), nullptr);
}

TEST_F(MapTest, NestedSubMapsAreStoredOnceAndNotifyTheirChange) {
    QuarelMap* map = NewMap();
    auto* checker = Keep(new CheckerMap);
    Watcher watcher(map);
    ParamDlg* dlg = map->CreateParamDlg(nullptr, nullptr);
    ASSERT_NE(dlg, nullptr);
    IParamMap2* rollout = map->GetParamBlock(0)->GetMap(0);
    ASSERT_NE(rollout, nullptr);
    MakeValid(map);
    watcher.changes = 0;

    Mark();
    const int redraws = rollout->InvalidateCount();
    map->SetSubTexmap(0, checker);
    EXPECT_EQ(map->GetReference(2), checker);
    EXPECT_EQ(map->GetSubTexmap(0), checker);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_GT(rollout->InvalidateCount(), redraws);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap(i=0, m=" + Ptr(checker) + ")"), 1);

    // The same map again, or null where there is none, changes nothing and tells nobody.
    MakeValid(map);
    Mark();
    map->SetSubTexmap(0, checker);
    map->SetSubTexmap(1, nullptr);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored unchanged map pointer"), 2);
    EXPECT_EQ(watcher.changes, 1);
    EXPECT_TRUE(map->SnapshotValidity().InInterval(0));

    // The map in one of its own sub-maps, or an index outside them, is ignored.
    Mark();
    map->SetSubTexmap(2, map);
    map->SetSubTexmap(5, checker);
    map->SetSubTexmap(-1, checker);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored self-reference request"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored invalid submap index 5"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap ignored invalid submap index -1"), 1);
    EXPECT_EQ(map->GetReference(4), nullptr);
    EXPECT_EQ(watcher.changes, 1);

    // Clearing a nested map is a change like any other.
    map->SetSubTexmap(0, nullptr);
    EXPECT_EQ(map->GetReference(2), nullptr);
    EXPECT_EQ(watcher.changes, 2);
    dlg->DeleteThis();
}

TEST_F(MapTest, TheOutputSlotsKeepOrRestoreTheMapsOwnOutputs) {
    QuarelMap* map = NewMap();
    auto* checker = Keep(new CheckerMap);
    Watcher watcher(map);
    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();

    // A foreign map or null is refused; the output stays, dependents still hear of it, and the
    // snapshot stays valid.
    MakeValid(map);
    Mark();
    map->SetSubTexmap(3, checker);
    map->SetSubTexmap(4, nullptr);
    EXPECT_EQ(map->NormalOut(), normal);
    EXPECT_EQ(map->BumpOut(), bump);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap rejecting normal-out replacement, restoring own"),
              1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap rejecting bump-out replacement, restoring own"), 1);
    EXPECT_EQ(watcher.changes, 2);
    EXPECT_TRUE(map->SnapshotValidity().InInterval(0));

    // The output already there is unchanged.
    Mark();
    map->SetSubTexmap(3, normal);
    map->SetSubTexmap(4, bump);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap normal-out unchanged"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap bump-out unchanged"), 1);
    EXPECT_EQ(watcher.changes, 2);

    // Another output of the right class is taken and parented; the old one goes with its slot.
    auto* other = Keep(new QuarelNormalMap(false));
    Mark();
    map->SetSubTexmap(3, other);
    EXPECT_EQ(map->NormalOut(), other);
    EXPECT_EQ(other->Parent(), map);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(watcher.changes, 3);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap accepting QuarelNormalMap replacement"), 1);
    EXPECT_EQ(CountNew("QuarelNormalMap::SetParent [this=" + Ptr(other) + ", p=" + Ptr(map) + "]"),
              1);
    EXPECT_EQ(CountNew("QuarelNormalMap::dtor [this=" + Ptr(normal) + "]"), 1);

    // With the slots empty, null counts as unchanged and creates nothing; a foreign map makes
    // the map create its own outputs again.
    map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
    map->ReplaceReference(QuarelMap::kRefBumpOutMap, nullptr);
    Mark();
    map->SetSubTexmap(3, nullptr);
    map->SetSubTexmap(4, nullptr);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap normal-out unchanged"), 1);
    EXPECT_EQ(CountNew("QuarelMap::SetSubTexmap bump-out unchanged"), 1);
    EXPECT_EQ(map->GetSubTexmap(3), nullptr);
    EXPECT_EQ(map->GetSubTexmap(4), nullptr);
    map->SetSubTexmap(3, checker);
    map->SetSubTexmap(4, checker);
    ASSERT_NE(map->NormalOut(), nullptr);
    ASSERT_NE(map->BumpOut(), nullptr);
    EXPECT_EQ(map->NormalOut()->Parent(), map);
    EXPECT_EQ(map->BumpOut()->Parent(), map);
    EXPECT_NE(map->BumpOut()->GetParamBlockByID(101), nullptr);
}

TEST_F(MapTest, SwitchesAndTheThinnedSubMapLog) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(map->SubTexmapOn(i), 1) << i;
    ASSERT_TRUE(pb->SetValue(MainParam::brick_map_on, 0, 0));
    ASSERT_TRUE(pb->SetValue(MainParam::grout_map_on, 0, 0));
    ASSERT_TRUE(pb->SetValue(MainParam::brick_map_2_on, 0, 0));
    EXPECT_EQ(map->SubTexmapOn(0), 0);
    EXPECT_EQ(map->SubTexmapOn(1), 0);
    EXPECT_EQ(map->SubTexmapOn(2), 0);
    EXPECT_EQ(map->SubTexmapOn(3), 1);
    EXPECT_EQ(map->SubTexmapOn(4), 1);
    EXPECT_EQ(map->SubTexmapOn(7), 1);
    // Without a main block every sub-map is on.
    map->ReplaceReference(QuarelMap::kRefPBlock, nullptr);
    EXPECT_EQ(map->SubTexmapOn(0), 1);

    // Every 32nd query is logged, whichever call the module-wide count starts from.
    Mark();
    for (int k = 0; k < 64; ++k) map->GetSubTexmap(4);
    EXPECT_EQ(
        CountNew("QuarelMap::GetSubTexmap(this=" + Ptr(map) + ", i=4) -> " + Ptr(map->BumpOut())),
        2);
}

// Slots 7 to 10 refuse foreign targets. The slot is left empty: the host lets go of the earlier
// target (deleting it, as nothing else held it) and the map must not use it any more; the
// repair then makes the map complete again.
TEST_F(MapTest, ARefusedTargetEmptiesTheSlotAndTheRepairRestoresIt) {
    struct Case {
        int slot;
        std::string line;
    };
    const Case cases[] = {
        {7, "QuarelMap::SetReference(7): ignoring non-QuarelNormalMap target (classID=(200,0))"},
        {8,
         "QuarelMap::SetReference(8): ignoring legacy non-pblock target (superclass=0xc10, "
         "classID=(200,0))"},
        {9, "QuarelMap::SetReference(9): ignoring non-QuarelBumpProcMap target (classID=(200,0))"},
        {10, "QuarelMap::SetReference(10): ignoring non-pblock target"},
    };
    const char* names[] = {"normalOutMap", "pblock_normal_btn", "bumpOutMap", "pblock_bump_btn"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        QuarelMap* map = NewMap();
        auto* checker = Keep(new CheckerMap);
        RefTargetHandle earlier = map->GetReference(c.slot);
        ASSERT_NE(earlier, nullptr);
        Mark();
        EXPECT_EQ(map->ReplaceReference(c.slot, checker), REF_FAIL);
        EXPECT_EQ(map->GetReference(c.slot), nullptr);
        EXPECT_EQ(map->HostCountedReference(c.slot), nullptr);
        EXPECT_FALSE(checker->HasDependent(map));
        EXPECT_EQ(
            CountNew("QuarelMap::SetReference(this=" + Ptr(map) + ", i=" + std::to_string(c.slot) +
                     "/" + names[c.slot - 7] + ", rtarg=" + Ptr(checker) +
                     ", rtargSuper=0xc10, rtargClassA=0x200, rtargClassB=0x0)"),
            1);
        EXPECT_EQ(CountNew(c.line), 1);
        // The earlier target is gone; the map answers without it.
        if (c.slot == 7) {
            EXPECT_EQ(CountNew("QuarelNormalMap::dtor [this=" + Ptr(earlier) + "]"), 1);
            EXPECT_EQ(map->GetSubTexmap(3), nullptr);
        }
        if (c.slot == 9) {
            EXPECT_EQ(CountNew("QuarelBumpProcMap::dtor [this=" + Ptr(earlier) + "]"), 1);
            EXPECT_EQ(map->GetSubTexmap(4), nullptr);
        }
        Interval valid = FOREVER;
        map->Update(0, valid);

        ParamDlg* dlg = map->CreateParamDlg(nullptr, nullptr);
        ASSERT_NE(dlg, nullptr);
        dlg->DeleteThis();
        ASSERT_NE(map->GetReference(c.slot), nullptr);
        EXPECT_NE(map->GetReference(c.slot), checker);
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

    // An animated value holds the snapshot to an instant; at another time a rebuild runs, and a
    // change announced from inside it (here by a nested map) does not discard the snapshot.
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 0, 0.f));
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 100, 1.f));
    auto* probe = Keep(new ProbeMap);
    map->SetSubTexmap(0, probe);
    MakeValid(map);
    EXPECT_EQ(map->SnapshotValidity(), Interval(0, 0));
    Interval during = FOREVER;
    probe->onUpdate = [&] {
        pb->SetValue(MainParam::seed, 0, 7);
        during = map->SnapshotValidity();
    };
    Interval valid = FOREVER;
    map->Update(50, valid);
    EXPECT_EQ(during, Interval(0, 0));
    EXPECT_EQ(map->SnapshotValidity(), Interval(50, 50));
    EXPECT_EQ(map->Snapshot().seed, 99);
}

TEST_F(MapTest, ANestedMapDeletedFromTwoSlotsLeavesBothEmpty) {
    QuarelMap* map = NewMap();
    auto* checker = new CheckerMap;
    map->SetSubTexmap(0, checker);
    map->SetSubTexmap(2, checker);
    EXPECT_EQ(checker->DependentCount(), 2);
    MakeValid(map);
    checker->DeleteMe();
    EXPECT_EQ(map->GetReference(2), nullptr);
    EXPECT_EQ(map->GetReference(4), nullptr);
    EXPECT_EQ(map->EvalSource().brickMap, nullptr);
    EXPECT_EQ(map->EvalSource().brickMap2, nullptr);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
}

TEST_F(MapTest, TheViewportTransformIsTheGeneratorsScaleOnly) {
    QuarelMap* map = NewMap();
    StdUVGen* gen = StdGen(map);
    ASSERT_NE(gen, nullptr);
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
    EXPECT_EQ(ours.GetRow(2), Point3(0.f, 0.f, 1.f));
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

TEST_F(MapTest, MappingQueriesComeFromTheGeneratorAndTheNestedMaps) {
    QuarelMap* map = NewMap();
    auto* probe = Keep(new ProbeMap);
    probe->requirements = MTLREQ_2SIDE;
    map->SetSubTexmap(1, probe);
    map->GetTheUVGen()->SetMapChannel(3);
    EXPECT_EQ(map->LocalRequirements(0), static_cast<ULONG>(MTLREQ_UV2 | MTLREQ_2SIDE));
    BitArray mapreq(10), bumpreq(10);
    map->LocalMappingsRequired(0, mapreq, bumpreq);
    EXPECT_TRUE(mapreq[3]);
    EXPECT_EQ(map->GetMapChannel(), 3);
    map->GetTheUVGen()->SetTextureTiling(U_MIRROR);
    EXPECT_EQ(map->GetTextureTiling(), U_MIRROR);

    map->ReplaceReference(QuarelMap::kRefUVGen, nullptr);
    EXPECT_EQ(map->LocalRequirements(0), static_cast<ULONG>(MTLREQ_2SIDE));
    EXPECT_EQ(map->GetTextureTiling(), U_WRAP | V_WRAP);
    EXPECT_EQ(map->GetUVWSource(), UVWSRC_EXPLICIT);
    EXPECT_EQ(map->GetMapChannel(), 1);
    map->InitSlotType(MAPSLOT_ENVIRON);  // nothing to pass it to
}

TEST_F(MapTest, ResetRestoresTheMainBlockAndTheGeneratorOnly) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::nx, 0, 17));
    ASSERT_TRUE(pb->SetValue(MainParam::brick_color, 0, Color(0.f, 1.f, 0.f)));
    ASSERT_TRUE(map->GetParamBlock(1)->SetValue(BumpParam::normal_depth, 0, 4.f));
    auto* legacy = new CheckerMap;
    for (int i = 0; i < 3; ++i) map->SetSubTexmap(i, new CheckerMap);
    map->ReplaceReference(QuarelMap::kRefLegacyBumpMap, legacy);
    UVGen* oldGen = map->GetTheUVGen();
    QuarelNormalMap* normal = map->NormalOut();
    MakeValid(map);

    Mark();
    map->Reset();
    EXPECT_EQ(pb->GetInt(MainParam::nx), 4);
    EXPECT_EQ(pb->GetColor(MainParam::brick_color), Color(0.7f, 0.35f, 0.25f));
    ASSERT_NE(StdGen(map), nullptr);
    EXPECT_NE(map->GetTheUVGen(), oldGen);
    EXPECT_EQ(StdGen(map)->GetUScl(0), 1000.f);
    for (int slot = 2; slot <= 4; ++slot) EXPECT_EQ(map->GetReference(slot), nullptr);
    EXPECT_EQ(map->GetReference(QuarelMap::kRefLegacyBumpMap), legacy);
    EXPECT_EQ(map->NormalOut(), normal);
    EXPECT_FLOAT_EQ(map->GetParamBlock(1)->GetFloat(BumpParam::normal_depth), 4.f);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    const auto log = NewMessages();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), "QuarelMap::Reset");
    EXPECT_EQ(log.back(), "QuarelMap::Reset done");
}

TEST_F(MapTest, TheRolloutsComeInRegistrationOrderWithTheCoordinatesLast) {
    QuarelMap* map = NewMap();
    std::vector<RefTargetHandle> before;
    for (int i = 0; i < 11; ++i) before.push_back(map->GetReference(i));
    Mark();
    auto* dlg = dynamic_cast<IAutoMParamDlg*>(map->CreateParamDlg(nullptr, nullptr));
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(dlg->NumMaps(), 4);
    const int templates[] = {100, 101, 103, 106};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg->GetMap(i)->DialogTemplateID(), templates[i]);
    ASSERT_EQ(dlg->NumDlgs(), 1);
    EXPECT_EQ(dlg->GetDlg(0)->GetThing(), map->GetTheUVGen());

    // A complete map is left as it was; the repair only reports.
    for (int i = 0; i < 11; ++i) EXPECT_EQ(map->GetReference(i), before[static_cast<size_t>(i)]);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating", true), 0);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs DONE for " + Ptr(map), true), 1);
    const auto log = NewMessages();
    EXPECT_EQ(log.front(), "QuarelMap::CreateParamDlg called, hwMtlEdit=" + Ptr(nullptr));
    EXPECT_EQ(CountNew("  master dlg = " + Ptr(static_cast<ParamDlg*>(dlg))), 1);
    EXPECT_EQ(CountNew("  calling uvGen->CreateParamDlg..."), 1);
    EXPECT_EQ(CountNew("  coord dlg = " + Ptr(dlg->GetDlg(0))), 1);
    EXPECT_EQ(log.back(), "QuarelMap::CreateParamDlg done");
    dlg->DeleteThis();
}

TEST_F(MapTest, AMapGoesThroughASceneFileWithItsValuesAndMaps) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::pattern, 0, 12));
    ASSERT_TRUE(pb->SetValue(MainParam::gap_u, 0, 0.2f));
    ASSERT_TRUE(pb->SetValue(MainParam::grout_color, 0, Color(0.1f, 0.2f, 0.3f)));
    ASSERT_TRUE(pb->SetValue(MainParam::grout_map_on, 0, 0));
    ASSERT_TRUE(map->NormalOut()->GetParamBlock(0)->SetValue(NormalParam::normal_depth, 0, 3.f));
    auto* checker = new CheckerMap;
    checker->color1 = Color(1.f, 0.f, 0.f);
    map->SetSubTexmap(0, checker);
    map->ReplaceReference(QuarelMap::kRefLegacyBumpMap, new CheckerMap);
    StdGen(map)->SetUOffs(0.25f, 0);

    LoadedScene scene;
    RoundTrip({map}, scene);
    ASSERT_EQ(scene.roots.size(), 1u);
    auto* loaded = dynamic_cast<QuarelMap*>(scene.roots[0]->GetRef());
    ASSERT_NE(loaded, nullptr);
    IParamBlock2* lpb = loaded->GetParamBlock(0);
    EXPECT_EQ(lpb->GetInt(MainParam::pattern), 12);
    EXPECT_FLOAT_EQ(lpb->GetFloat(MainParam::gap_u), 0.2f);
    EXPECT_EQ(lpb->GetColor(MainParam::grout_color), Color(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(loaded->SubTexmapOn(1), 0);
    auto* lchecker = dynamic_cast<CheckerMap*>(loaded->GetSubTexmap(0));
    ASSERT_NE(lchecker, nullptr);
    EXPECT_EQ(lchecker->color1, Color(1.f, 0.f, 0.f));
    EXPECT_NE(loaded->GetReference(QuarelMap::kRefLegacyBumpMap), nullptr);
    ASSERT_NE(StdGen(loaded), nullptr);
    EXPECT_TRUE(StdGen(loaded)->GetUseRealWorldScale());
    EXPECT_FLOAT_EQ(StdGen(loaded)->GetUOffs(0), 0.25f);

    // The file's outputs are parented while the slots are restored; the post-load repair finds
    // nothing missing.
    ASSERT_NE(loaded->NormalOut(), nullptr);
    EXPECT_EQ(loaded->NormalOut()->Parent(), loaded);
    EXPECT_EQ(loaded->BumpOut()->Parent(), loaded);
    EXPECT_FLOAT_EQ(loaded->NormalOut()->GetParamBlock(0)->GetFloat(NormalParam::normal_depth),
                    3.f);
    for (int i = 0; i < 4; ++i) EXPECT_NE(loaded->GetParamBlock(i), nullptr);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs DONE for " + Ptr(loaded), true), 1);
}

}  // namespace
}  // namespace QuarelTest
