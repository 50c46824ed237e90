// Parameter blocks: values by id, conversions, keys and validity, notifications, map routing,
// defaults, automatic construction and rollouts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/material_editor.h"
#include "test_classes.h"

namespace hosttest {
namespace {

class ParamBlockTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLiveMaps = 0;
        map = new TestMap;
        holder.SetRef(map);
        pb = map->Block();
        ASSERT_NE(pb, nullptr);
    }
    void TearDown() override {
        holder.SetRef(nullptr);
        EXPECT_EQ(gLiveMaps, 0);
    }
    SingleRefMaker holder;
    TestMap* map = nullptr;
    IParamBlock2* pb = nullptr;
};

TEST_F(ParamBlockTest, DefaultsAreFoundByIdWhateverTheDeclarationOrder) {
    EXPECT_EQ(pb->IDtoIndex(kAmount), 0);
    EXPECT_EQ(pb->IDtoIndex(kCount), 1);
    EXPECT_EQ(pb->GetInt(kCount), 4);
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount), 0.5f);
    EXPECT_EQ(pb->GetColor(kTint), Color(0.7f, 0.35f, 0.25f));
    EXPECT_EQ(pb->GetInt(kOn), TRUE);
    EXPECT_EQ(pb->GetParameterType(99), -1);
    EXPECT_EQ(map->GetParamBlockByID(kBlockExtra)->GetFloat(0), 1.f);
}

TEST_F(ParamBlockTest, UnknownIdsAndUnrelatedTypesLeaveTheOutputsAlone) {
    float f = 42.f;
    Texmap* tm = reinterpret_cast<Texmap*>(&f);
    Color c(1.f, 2.f, 3.f);
    Interval iv(10, 20);
    EXPECT_FALSE(pb->GetValue(99, 0, f, iv));
    EXPECT_FALSE(pb->GetValue(kAmount, 0, tm, iv));
    EXPECT_FALSE(pb->GetValue(kCount, 0, c, iv));
    EXPECT_EQ(f, 42.f);
    EXPECT_EQ(c, Color(1.f, 2.f, 3.f));
    EXPECT_EQ(iv, Interval(10, 20));
    EXPECT_FALSE(pb->SetValue(99, 0, 1.f));
    EXPECT_FALSE(pb->SetValue(kTint, 0, 1.f));
    EXPECT_FALSE(pb->SetValue(kAmount, 0, Color(1.f, 1.f, 1.f)));
    EXPECT_EQ(pb->GetInt(-5), 0);
}

TEST_F(ParamBlockTest, NumbersConvertSafelyAndRangesAreNotEnforcedByTheBlock) {
    EXPECT_TRUE(pb->SetValue(kAmount, 0, 7.5f));  // outside 0..1: stored as given
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount), 7.5f);
    EXPECT_EQ(pb->GetInt(kAmount), 8);
    EXPECT_TRUE(pb->SetValue(kCount, 0, std::numeric_limits<float>::quiet_NaN()));
    EXPECT_EQ(pb->GetInt(kCount), 0);
    EXPECT_TRUE(pb->SetValue(kCount, 0, 1e30f));
    EXPECT_EQ(pb->GetInt(kCount), std::numeric_limits<int>::max());
    EXPECT_TRUE(pb->SetValue(kAmount, 0, -3));
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount), -3.f);
    const float radians = 3.14159265f / 2.f;
    EXPECT_TRUE(pb->SetValue(kAngle, 0, radians));
    EXPECT_FLOAT_EQ(pb->GetFloat(kAngle), radians);
}

TEST_F(ParamBlockTest, KeysMakeValidityAnInstantAndInterpolateLinearly) {
    Interval iv = FOREVER;
    float v = 0.f;
    pb->GetValue(kAmount, 100, v, iv);
    EXPECT_EQ(iv, FOREVER);

    EXPECT_TRUE(pb->SetKey(kAmount, 0, 0.f));
    EXPECT_TRUE(pb->SetKey(kAmount, 1000, 1.f));
    EXPECT_TRUE(pb->IsAnimated(kAmount));
    iv = FOREVER;
    pb->GetValue(kAmount, 250, v, iv);
    EXPECT_FLOAT_EQ(v, 0.25f);
    EXPECT_EQ(iv, Interval(250, 250));
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount, -50), 0.f);   // before the first key
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount, 5000), 1.f);  // after the last

    // Animated colour and int; SetValue on an animated parameter sets a key at that time.
    EXPECT_TRUE(pb->SetKey(kTint, 0, Color(0.f, 0.f, 0.f)));
    EXPECT_TRUE(pb->SetValue(kTint, 100, Color(1.f, 0.5f, 0.f)));
    EXPECT_EQ(pb->NumKeys(kTint), 2);
    EXPECT_EQ(pb->GetColor(kTint, 50), Color(0.5f, 0.25f, 0.f));
    EXPECT_TRUE(pb->SetKey(kCount, 0, 0));
    EXPECT_TRUE(pb->SetKey(kCount, 100, 10));
    EXPECT_EQ(pb->GetInt(kCount, 44), 4);

    // Keys far apart in time do not overflow the interpolation.
    EXPECT_TRUE(pb->SetKey(kAmount, TIME_NegInfinity, 0.f));
    EXPECT_TRUE(pb->SetKey(kAmount, TIME_PosInfinity, 1.f));
    EXPECT_TRUE(std::isfinite(pb->GetFloat(kAmount, 12345)));

    // Only animatable numeric and colour parameters take keys.
    EXPECT_FALSE(pb->SetKey(kAngle, 0, 1.f));
    EXPECT_FALSE(pb->SetKey(kOn, 0, 1));
    EXPECT_FALSE(pb->SetKey(kTint, 0, 1.f));

    pb->DeleteKeys(kAmount);
    iv = FOREVER;
    pb->GetValue(kAmount, 5, v, iv);
    EXPECT_EQ(iv, FOREVER);
}

TEST_F(ParamBlockTest, MapParametersRouteToTheOwnerOrAreHeldByTheBlock) {
    auto* a = new TestMap;
    auto* b = new TestMap;
    auto* c = new TestMap;
    EXPECT_TRUE(pb->SetValue(kSubMap, 0, a));  // the owner's sub-map 1, its reference 3
    EXPECT_EQ(map->GetSubTexmap(1), a);
    EXPECT_EQ(map->GetReference(3), a);
    EXPECT_EQ(pb->GetTexmap(kSubMap), a);
    map->SetSubTexmap(1, nullptr);  // a goes with its last reference
    EXPECT_EQ(pb->GetTexmap(kSubMap), nullptr);

    EXPECT_TRUE(pb->SetValue(kOwnersMap, 0, b));
    EXPECT_EQ(map->GetReference(4), b);
    EXPECT_EQ(pb->GetTexmap(kOwnersMap), b);

    EXPECT_TRUE(pb->SetValue(kOwnMap, 0, c));
    EXPECT_EQ(pb->NumRefs(), 1);
    EXPECT_EQ(pb->GetReference(0), c);
    EXPECT_EQ(c->DependentCount(), 1);
    // A block refuses a target of the wrong superclass.
    EXPECT_FALSE(pb->SetValue(kOwnMap, 0, static_cast<ReferenceTarget*>(pb)));
    EXPECT_EQ(pb->GetTexmap(kOwnMap), c);
    EXPECT_EQ(gLiveMaps, 3);
    // Handed one by the host itself, as a loader does, the block lets go of c, which goes.
    ASSERT_NE(map->GetParamBlock(1), nullptr);
    pb->ReplaceReference(0, map->GetParamBlock(1));
    EXPECT_EQ(pb->GetTexmap(kOwnMap), nullptr);
    EXPECT_EQ(gLiveMaps, 2);
}

TEST_F(ParamBlockTest, ResetAllRestoresDefaultsAndClearsKeysAndHeldMaps) {
    pb->SetValue(kCount, 0, 77);
    pb->SetKey(kAmount, 0, 0.9f);
    pb->SetValue(kOwnMap, 0, new TestMap);
    pb->ResetAll();
    EXPECT_EQ(pb->GetInt(kCount), 4);
    EXPECT_FALSE(pb->IsAnimated(kAmount));
    EXPECT_FLOAT_EQ(pb->GetFloat(kAmount), 0.5f);
    EXPECT_EQ(pb->GetTexmap(kOwnMap), nullptr);
    EXPECT_EQ(gLiveMaps, 1);
}

TEST_F(ParamBlockTest, DescriptorsRegisterInOrderAndAutoBlocksAreMadeAfresh) {
    EXPECT_EQ(Desc().GetParamBlockDescByID(kBlockExtra)->ref_no, 1);
    EXPECT_EQ(Desc().GetParamBlockDescByID(7), nullptr);
    pb->SetValue(kCount, 0, 11);
    map->DeleteReference(1);
    ASSERT_EQ(map->GetReference(1), nullptr);
    Desc().MakeAutoParamBlocks(map);
    // Every automatic block is new, with its defaults; the replaced one went with its reference.
    pb = map->Block();
    EXPECT_EQ(pb->GetInt(kCount), 4);
    EXPECT_NE(map->GetReference(1), nullptr);

    // A block the owner refuses stays counted in its slot until the reference is deleted.
    map->refuseBlocks = true;
    Desc().MakeAutoParamBlocks(map);
    EXPECT_EQ(map->GetReference(1), nullptr);
    EXPECT_NE(map->HostCountedReference(1), nullptr);
    map->DeleteReference(1);
    EXPECT_EQ(map->HostCountedReference(1), nullptr);
    map->refuseBlocks = false;
}

TEST_F(ParamBlockTest,
       ParamDialogsRecordOneRolloutPerMapTakeAppendedDialogsAndDetachFromDeletedBlocks) {
    IAutoMParamDlg* dlg = Desc().CreateParamDlgs(nullptr, nullptr, map);
    ASSERT_NE(dlg, nullptr);
    ASSERT_EQ(RolloutMapCount(dlg), 2);  // the extra block has no automatic UI
    EXPECT_EQ(RolloutMap(dlg, 1)->TitleStringID(), 2);
    EXPECT_EQ(pb->GetMap(1), RolloutMap(dlg, 1));
    IParamMap2* m0 = RolloutMap(dlg, 0);
    const int before = m0->InvalidateCount();
    pb->SetValue(kAmount, 0, 0.1f);
    EXPECT_GT(m0->InvalidateCount(), before);

    // The coordinates rollout of a UV generator is appended once, and goes with the dialog.
    SingleRefMaker genHolder(GetNewDefaultUVGen());
    ParamDlg* coords = static_cast<UVGen*>(genHolder.GetRef())->CreateParamDlg(nullptr, nullptr);
    ASSERT_NE(coords, nullptr);
    dlg->AddDlg(coords);
    dlg->AddDlg(coords);
    EXPECT_EQ(dlg->NumDlgs(), 1);
    EXPECT_EQ(dlg->GetDlg(0), coords);

    map->DeleteReference(0);  // the block goes; the maps forget it
    EXPECT_EQ(m0->GetParamBlock(), nullptr);
    dlg->DeleteThis();
    EXPECT_EQ(Desc().CreateParamDlgs(nullptr, nullptr, nullptr), nullptr);
}

TEST_F(ParamBlockTest, ClonedBlockCopiesValuesKeysAndClonesHeldMaps) {
    pb->SetValue(kCount, 0, 3);
    pb->SetKey(kAmount, 0, 0.f);
    pb->SetKey(kAmount, 10, 1.f);
    pb->SetValue(kOwnMap, 0, new TestMap);
    auto* copy = static_cast<TestMap*>(CloneRefHierarchy(map));
    SingleRefMaker copyHolder(copy);
    IParamBlock2* cpb = copy->Block();
    ASSERT_NE(cpb, pb);
    EXPECT_EQ(cpb->GetInt(kCount), 3);
    EXPECT_FLOAT_EQ(cpb->GetFloat(kAmount, 5), 0.5f);
    EXPECT_NE(cpb->GetTexmap(kOwnMap), nullptr);
    EXPECT_NE(cpb->GetTexmap(kOwnMap), pb->GetTexmap(kOwnMap));
    EXPECT_EQ(cpb->GetOwner(), copy);
}

}  // namespace
}  // namespace hosttest
