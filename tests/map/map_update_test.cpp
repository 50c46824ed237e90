// The snapshot rebuild: what it reads and clamps, when it runs, which dependants it updates,
// and where the relief depth comes from.
#include <gtest/gtest.h>

#include "map_support.h"
#include "params/main_params.h"
#include "params/relief_params.h"

namespace QuarelTest {
namespace {

const EvalSnapshot& Rebuilt(QuarelMap* map, TimeValue t = 0) {
    Interval valid = FOREVER;
    map->Update(t, valid);
    return map->Snapshot();
}

TEST_F(MapTest, TheSnapshotClampsWhatTheBlockHolds) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    using S = const EvalSnapshot&;
    struct Case {
        ParamID id;
        float stored;
        float (*member)(S);
        float expected;
    };
    const Case cases[] = {
        {MainParam::nx, 0, [](S s) { return float(s.nx); }, 1},
        {MainParam::nx, 300, [](S s) { return float(s.nx); }, 256},
        {MainParam::pattern, 35, [](S s) { return float(s.pattern); }, 29},
        {MainParam::pattern, -1, [](S s) { return float(s.pattern); }, 0},
        {MainParam::projection_mode, 4, [](S s) { return float(s.projection_mode); }, 1},
        {MainParam::fragment_size, 0, [](S s) { return s.fragment_size; }, 0.001f},
        {MainParam::hue_shift, 2, [](S s) { return s.hue_shift; }, 1},
        {MainParam::random_texture_rotation_step, 400,
         [](S s) { return float(s.random_texture_rotation_step); }, 360},
        {MainParam::gap_u, 0.95f, [](S s) { return s.gap_u; }, 0.9f},
        {MainParam::gap_v, -0.1f, [](S s) { return s.gap_v; }, 0},
        // Unclamped values pass as stored; angles stay radians.
        {MainParam::master_u_tiling, 5000, [](S s) { return s.master_u_tiling; }, 5000},
        {MainParam::brick_angle, 7.5f, [](S s) { return s.brick_angle; }, 7.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "id " << c.id << " = " << c.stored);
        const bool isInt = pb->GetParameterType(c.id) == TYPE_INT;
        ASSERT_TRUE(isInt ? pb->SetValue(c.id, 0, int(c.stored)) : pb->SetValue(c.id, 0, c.stored));
        EXPECT_FLOAT_EQ(c.member(Rebuilt(map)), c.expected);
        EXPECT_FLOAT_EQ(isInt ? float(pb->GetInt(c.id)) : pb->GetFloat(c.id), c.stored);
    }
}

TEST_F(MapTest, ARebuildRunsOnlyOutsideTheValidityAndAlwaysNarrowsTheCaller) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    auto* probe = Keep(new ProbeMap);
    map->SetSubTexmap(0, probe);

    // Constant values: one rebuild, valid for ever, the caller's interval left alone.
    Interval valid(10, 20);
    map->Update(15, valid);
    map->Update(1000, valid);
    EXPECT_EQ(valid, Interval(10, 20));
    EXPECT_EQ(probe->updates, 1);

    // An animated count holds for an instant, interpolated at that time. Inside it nothing is
    // read again, but the caller's interval still narrows.
    ASSERT_TRUE(pb->SetKey(MainParam::nx, 0, 2));
    ASSERT_TRUE(pb->SetKey(MainParam::nx, 100, 12));
    EXPECT_EQ(map->Validity(50), Interval(50, 50));
    EXPECT_EQ(map->Snapshot().nx, 7);
    Interval caller = FOREVER;
    map->Update(50, caller);
    EXPECT_EQ(caller, Interval(50, 50));
    EXPECT_EQ(probe->updates, 2);
    EXPECT_EQ(Rebuilt(map, 100).nx, 12);

    // A dependant's own validity narrows the snapshot's.
    pb->DeleteKeys(MainParam::nx);
    probe->validity = Interval(0, 30);
    EXPECT_EQ(map->Validity(10), Interval(0, 30));
}

TEST_F(MapTest, DependantsUpdateInOrderAndOnlyWhenSwitchedOn) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    std::string order;
    for (int i = 0; i < 3; ++i) {
        auto* probe = Keep(new ProbeMap);
        probe->onUpdate = [&order, i] { order += char('0' + i); };
        map->SetSubTexmap(i, probe);
    }
    Rebuilt(map);
    EXPECT_EQ(order, "012");
    ASSERT_TRUE(pb->SetValue(MainParam::brick_map_on, 0, 0));
    ASSERT_TRUE(pb->SetValue(MainParam::brick_map_2_on, 0, 0));
    order.clear();
    Rebuilt(map);
    EXPECT_EQ(order, "1");
}

TEST_F(MapTest, TheReliefAmountComesFromTheNormalOutputWhenThereIsOne) {
    QuarelMap* map = NewMap();
    IParamBlock2* legacy = map->GetParamBlock(1);
    ASSERT_TRUE(legacy->SetValue(BumpParam::relief_tex_amount, 0, 0.5f));
    ASSERT_TRUE(legacy->SetValue(BumpParam::bump_grout_color, 0, Color(0.5f, 0.f, 0.f)));
    IParamBlock2* own = map->NormalOut()->GetParamBlock(0);
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 0.f);  // the output's, not the legacy 0.5

    // The output's value is clamped; the legacy block's is ignored.
    ASSERT_TRUE(own->SetValue(NormalParam::relief_tex_amount, 0, 2.f));
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 1.f);
    EXPECT_EQ(map->Snapshot().bump_grout_color, Color(0.5f, 0.f, 0.f));
    ASSERT_TRUE(own->SetValue(NormalParam::relief_tex_amount, 0, -1.f));
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 0.f);

    // An output without its block gives 0.
    map->NormalOut()->ReplaceReference(QuarelNormalMap::kRefPBlock, nullptr);
    ASSERT_TRUE(legacy->SetValue(BumpParam::relief_tex_amount, 0, 2.f));
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 0.f);

    // Without an output the legacy block's value is taken as it is.
    map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
    ASSERT_TRUE(legacy->SetValue(BumpParam::relief_tex_amount, 0, 3.f));
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 3.f);
}

// Removing or replacing a slot's target is a change of what the snapshot reads: the next
// update rebuilds without any other edit.
TEST_F(MapTest, ANewTargetInASlotRebuildsTheSnapshot) {
    QuarelMap* map = NewMap();
    IParamBlock2* legacy = map->GetParamBlock(1);
    ASSERT_TRUE(legacy->SetValue(BumpParam::relief_tex_amount, 0, 3.f));
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 0.f);  // the normal output's
    map->ReplaceReference(QuarelMap::kRefNormalOutMap, nullptr);
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_FLOAT_EQ(Rebuilt(map).relief_tex_amount, 3.f);  // the legacy block's
}

// The map's validity covers the depth of its normal output, as it always has, though the map
// itself does not use it.
TEST_F(MapTest, TheValidityCoversTheNormalOutputsDepth) {
    QuarelMap* map = NewMap();
    IParamBlock2* own = map->NormalOut()->GetParamBlock(0);
    ASSERT_TRUE(own->SetKey(NormalParam::normal_depth, 0, 1.f));
    ASSERT_TRUE(own->SetKey(NormalParam::normal_depth, 100, 9.f));
    EXPECT_EQ(map->Validity(50), Interval(50, 50));
}

TEST_F(MapTest, MissingBlocksAtARebuild) {
    // No relief block: the repair runs first, then the rebuild.
    QuarelMap* map = NewMap();
    map->ReplaceReference(QuarelMap::kRefPBlockBump, nullptr);
    Mark();
    EXPECT_TRUE(map->Validity(0).IsInfinite());
    EXPECT_NE(map->GetParamBlock(1), nullptr);
    EXPECT_EQ(CountNew("QMEnsureEditorSafeRefs: recreating missing ParamBlock2 for " + Ptr(map)),
              1);

    // No main block: never valid, and nothing is repaired here.
    map->ReplaceReference(QuarelMap::kRefPBlock, nullptr);
    Interval valid = FOREVER;
    map->Update(0, valid);
    EXPECT_TRUE(valid.Empty());
    EXPECT_TRUE(map->SnapshotValidity().Empty());
    EXPECT_EQ(map->GetParamBlock(0), nullptr);
}

TEST_F(MapTest, EveryTwoHundredFiftySixthRebuildLogsItsValues) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::pattern, 0, 40));
    ASSERT_TRUE(pb->SetValue(MainParam::projection_mode, 0, 1));
    ASSERT_TRUE(pb->SetValue(MainParam::hue_shift, 0, 0.25f));
    ASSERT_TRUE(pb->SetValue(MainParam::master_v_offset, 0, -0.5f));
    auto* probe = Keep(new ProbeMap);
    map->SetSubTexmap(1, probe);
    Mark();
    for (int k = 0; k < 256; ++k) {
        Rebuilt(map);
        ASSERT_TRUE(pb->SetValue(MainParam::seed, 0, 1234));  // a change: rebuild again
    }
    EXPECT_EQ(CountNew("QuarelMap::Update values: mode=1 pat=29 nx=4 ny=8 gapU=0.050 gapV=0.050 "
                       "frag=0 size=0.250 texRotStep=0 hue=0.250 masterT=1.000,1.000 "
                       "masterO=0.000,-0.500 masterA=0.000 tilesMap=" +
                       Ptr(nullptr) + " groutMap=" + Ptr(probe) + " tilesMap2=" + Ptr(nullptr) +
                       " uvGen=" + Ptr(map->GetTheUVGen())),
              1);
}

// A nested map may update its parent from its own Update (an output of the map used as one of
// its nested maps does so). That must not start the same rebuild again and again.
TEST_F(MapTest, ANestedMapThatUpdatesTheParentDoesNotRecurse) {
    QuarelMap* map = NewMap();
    auto* probe = Keep(new ProbeMap);
    Interval inner = FOREVER;
    probe->onUpdate = [&] { map->Update(0, inner); };
    map->SetSubTexmap(0, probe);
    Rebuilt(map);
    EXPECT_EQ(probe->updates, 1);
    EXPECT_TRUE(map->SnapshotValidity().IsInfinite());
}

}  // namespace
}  // namespace QuarelTest
