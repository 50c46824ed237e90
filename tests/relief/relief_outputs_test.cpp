// The relief outputs as host objects with their parent: orphans, names, slots, updates,
// notifications, cloning, loading, and their answers at known points of the parent's pattern.
#include <gtest/gtest.h>

#include <cmath>

#include "host/builtin_classes.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/output_post_load.h"
#include "relief_support.h"
#include "shading/bump_relief.h"
#include "shading/relief_height.h"

namespace QuarelTest {
namespace {

const AColor kFlat(0.5f, 0.5f, 1.f, 1.f);

class ReliefOutputTest : public ReliefTest {
protected:
    QuarelNormalMap* NewNormal() { return Keep(Create<QuarelNormalMap>(QuarelClass::NormalMap)); }
    QuarelBumpProcMap* NewBump() {
        return Keep(Create<QuarelBumpProcMap>(QuarelClass::BumpProcMap));
    }
};

TEST_F(ReliefOutputTest, OrphansAnswerTheFlatNormalAndOpaqueBlack) {
    QuarelNormalMap* normal = NewNormal();
    QuarelBumpProcMap* bump = NewBump();
    Place(0.3f, 0.06f);
    for (const BOOL doMaps : {TRUE, FALSE}) {
        sc.doMaps = doMaps;
        EXPECT_EQ(normal->EvalColor(sc), doMaps ? kFlat : AColor(0.f, 0.f, 0.f, 0.f));
        EXPECT_EQ(normal->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));
        // The bump output's colour does not look at doMaps.
        EXPECT_EQ(bump->EvalColor(sc), AColor(0.f, 0.f, 0.f, 1.f));
        EXPECT_EQ(bump->EvalMono(sc), 0.f);
        EXPECT_EQ(bump->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));
    }
    sc.doMaps = TRUE;
    EXPECT_FLOAT_EQ(normal->EvalMono(sc), Grey(Color(kFlat)));
    EXPECT_EQ(normal->GetTheUVGen(), nullptr);
    EXPECT_EQ(bump->GetTheUVGen(), nullptr);

    // An orphan's Update leaves the caller's interval as it is.
    Interval valid(0, 10);
    normal->Update(0, valid);
    bump->Update(0, valid);
    EXPECT_EQ(valid, Interval(0, 10));
}

// Outputs are named after their parent (orphans after their class: the module tests).
TEST_F(ReliefOutputTest, NamesFollowTheParent) {
    QuarelMap* map = NewMap();
    map->SetName(MSTR(L"Wall"));
    MSTR name;
    map->NormalOut()->GetClassName(name);
    EXPECT_EQ(name, MSTR(L"NormalMap:Wall"));
    EXPECT_EQ(map->NormalOut()->GetFullName(), MSTR(L"NormalBump:Wall"));
    map->BumpOut()->GetClassName(name);
    EXPECT_EQ(name, MSTR(L"BumpMap:Wall"));
    EXPECT_EQ(map->BumpOut()->GetFullName(), MSTR(L"BumpMap:Wall"));
}

TEST_F(ReliefOutputTest, BlocksAndTheBumpTextureAsSubMapZero) {
    QuarelNormalMap* normal = NewNormal();
    QuarelBumpProcMap* bump = NewBump();
    IParamBlock2* normalBlock = normal->GetParamBlock(0);
    IParamBlock2* bumpBlock = bump->GetParamBlock(0);
    ASSERT_NE(normalBlock, nullptr);
    ASSERT_NE(bumpBlock, nullptr);
    EXPECT_EQ(normal->GetParamBlockByID(kNormalBlock.id), normalBlock);
    EXPECT_EQ(normal->GetParamBlockByID(kBumpProcBlock.id), nullptr);
    EXPECT_EQ(bump->GetParamBlockByID(kBumpProcBlock.id), bumpBlock);

    // A new texture notifies the dependents; the same one again changes nothing. The block's
    // map parameter stands for the sub-map. (Each slot's refusal of a foreign target is the
    // parameter tests'.)
    auto* checker = Keep(new CheckerMap);
    Watcher watcher(bump);
    bump->SetSubTexmap(0, checker);
    EXPECT_EQ(bump->GetSubTexmap(0), checker);
    EXPECT_EQ(bump->GetReference(1), checker);
    EXPECT_GT(watcher.changes, 0);
    EXPECT_EQ(bumpBlock->GetTexmap(BumpProcParam::bump_map), checker);
    const int changes = watcher.changes;
    bump->SetSubTexmap(0, checker);
    EXPECT_EQ(watcher.changes, changes);

    // A deleted texture or block leaves its slot empty.
    Release(checker);
    checker->DeleteMe();
    EXPECT_EQ(bump->GetSubTexmap(0), nullptr);
    normalBlock->DeleteMe();
    EXPECT_EQ(normal->GetParamBlock(0), nullptr);
    EXPECT_EQ(normal->NumParamBlocks(), 0);
}

// A change in an output's block reaches its parent, whose snapshot reads the normal output's
// depth and relief; the outputs' Update brings the parent up to date.
TEST_F(ReliefOutputTest, UpdatesGoThroughToTheParent) {
    QuarelMap* map = NewPlainMap();
    QuarelNormalMap* normal = map->NormalOut();
    QuarelBumpProcMap* bump = map->BumpOut();
    EXPECT_FALSE(map->SnapshotValidity().InInterval(0));
    EXPECT_TRUE(normal->Validity(0).InInterval(0));
    EXPECT_TRUE(map->SnapshotValidity().InInterval(0));

    ASSERT_TRUE(normal->GetParamBlock(0)->SetValue(NormalParam::relief_tex_amount, 0, 0.25f));
    EXPECT_FALSE(map->SnapshotValidity().InInterval(0));
    Interval valid = FOREVER;
    normal->Update(0, valid);
    EXPECT_FLOAT_EQ(map->Snapshot().relief_tex_amount, 0.25f);

    // The bump output updates the parent even while its own values are still valid.
    MakeValid(map);
    bump->Validity(0);
    ASSERT_TRUE(map->GetParamBlock(0)->SetValue(MainParam::nx, 0, 3));
    EXPECT_FALSE(map->SnapshotValidity().InInterval(0));
    bump->Update(0, valid);
    EXPECT_EQ(map->Snapshot().nx, 3);

    // Animated values narrow the validity to the instant.
    ASSERT_TRUE(bump->GetParamBlock(0)->SetKey(BumpProcParam::depth, 0, 1.f));
    ASSERT_TRUE(bump->GetParamBlock(0)->SetKey(BumpProcParam::depth, 100, 2.f));
    EXPECT_EQ(bump->Validity(0), Interval(0, 0));
    ASSERT_TRUE(map->GetParamBlock(0)->SetKey(MainParam::gap_u, 0, 0.1f));
    ASSERT_TRUE(map->GetParamBlock(0)->SetKey(MainParam::gap_u, 100, 0.2f));
    EXPECT_EQ(normal->Validity(50), Interval(50, 50));
    EXPECT_FLOAT_EQ(map->Snapshot().gap_u, 0.15f);
}

TEST_F(ReliefOutputTest, TheBumpCacheHoldsTheBlockAsOfTheLastUpdate) {
    QuarelMap* map = NewPlainMap();
    QuarelBumpProcMap* bump = map->BumpOut();
    IParamBlock2* pb = bump->GetParamBlock(0);
    const Color grout(0.2f, 0.3f, 0.4f), brick(0.6f, 0.5f, 0.4f);
    ASSERT_TRUE(pb->SetValue(BumpProcParam::grout_color, 0, grout));
    ASSERT_TRUE(pb->SetValue(BumpProcParam::brick_color, 0, brick));
    ASSERT_TRUE(pb->SetValue(BumpProcParam::tex_relief, 0, 0.f));
    bump->Validity(0);
    Place(0.3f, 0.f);
    EXPECT_EQ(bump->EvalColor(sc), AColor(grout, 1.f));
    Place(0.3f, 0.06f);
    EXPECT_EQ(bump->EvalColor(sc), AColor(brick, 1.f));
    EXPECT_FLOAT_EQ(bump->EvalMono(sc), Grey(brick));

    // Evaluation reads the cache: a change shows after the next Update only.
    ASSERT_TRUE(pb->SetValue(BumpProcParam::brick_color, 0, Color(1.f, 0.f, 0.f)));
    EXPECT_EQ(bump->EvalColor(sc), AColor(brick, 1.f));
    bump->Validity(0);
    EXPECT_EQ(bump->EvalColor(sc), AColor(1.f, 0.f, 0.f, 1.f));

    // Without a block the cache keeps what it had.
    pb->DeleteMe();
    ASSERT_EQ(bump->GetParamBlock(0), nullptr);
    bump->Validity(0);
    EXPECT_EQ(bump->EvalColor(sc), AColor(1.f, 0.f, 0.f, 1.f));

    // A fresh output without a block keeps the defaults: white bricks, black grout, relief 1.
    QuarelMap* other = NewPlainMap();
    other->BumpOut()->GetParamBlock(0)->DeleteMe();
    auto* texture = Keep(new CountingMap);
    texture->color = AColor(0.3f, 0.3f, 0.3f, 1.f);
    other->BumpOut()->SetSubTexmap(0, texture);
    other->BumpOut()->Validity(0);
    EXPECT_EQ(other->BumpOut()->EvalColor(sc), AColor(0.3f, 0.3f, 0.3f, 1.f));
    Place(0.3f, 0.f);
    EXPECT_EQ(other->BumpOut()->EvalColor(sc), AColor(0.f, 0.f, 0.f, 1.f));
}

// At an edge of the parent's pattern the output's colour is the shading layer's normal colour at
// the block's depth (the shading tests cover the colour itself: flat away from edges, less tilted
// when deeper); as a bump map the output is the parent's perturbation.
TEST_F(ReliefOutputTest, TheNormalOutputIsTheShadingLayersAtTheBlocksDepth) {
    QuarelMap* map = NewPlainMap();
    QuarelNormalMap* normal = map->NormalOut();
    IParamBlock2* pb = normal->GetParamBlock(0);
    MakeValid(map);
    const float edge = RisingEdge(map->Snapshot(), 0.06f, 0.25f, 0.3f);
    Place(0.1f, 0.06f, 0.f);
    EXPECT_EQ(normal->EvalColor(sc), kFlat);
    Place(edge - 0.5f * kMinStep, 0.06f, 0.f);
    NormalSlopes g;
    for (const float depth : {0.f, 1000.f, 100000.f}) {
        ASSERT_TRUE(pb->SetValue(NormalParam::normal_depth, 0, depth));
        g = EvalNormalSlopes(map->EvalSource(), map->GetTheUVGen(), sc, 0.f);
        EXPECT_FLOAT_EQ(g.gx, -0.5f / kMinStep);
        EXPECT_EQ(normal->EvalColor(sc), NormalColorFromSlopes(g, depth)) << depth;
    }
    MakeValid(map);

    // As a bump map it is the parent's perturbation.
    EXPECT_EQ(normal->GetTheUVGen(), map->GetTheUVGen());
    const Point3 p = map->EvalNormalPerturb(sc);
    EXPECT_FLOAT_EQ(p.x, 0.5f / kMinStep * 5.f);
    EXPECT_EQ(normal->EvalNormalPerturb(sc), p);
    sc.doMaps = FALSE;
    EXPECT_EQ(normal->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));
    EXPECT_EQ(normal->EvalColor(sc), AColor(0.f, 0.f, 0.f, 0.f));
    EXPECT_EQ(map->EvalNormalPerturb(sc), Point3(0.f, 0.f, 0.f));

    // The output's own texture relief decides whether the parent's nested maps run at all; the
    // block is read at the shading time.
    sc.doMaps = TRUE;
    auto* nested = new CountingMap;
    map->SetSubTexmap(0, nested);
    MakeValid(map);
    Place(0.3f, 0.06f);
    normal->EvalColor(sc);
    EXPECT_EQ(nested->calls.load(), 0);
    ASSERT_TRUE(pb->SetValue(NormalParam::relief_tex_amount, 0, 0.5f));
    normal->EvalColor(sc);
    EXPECT_EQ(nested->calls.load(), 4);
    ASSERT_TRUE(pb->SetValue(NormalParam::relief_tex_amount, 0, 0.f));
    ASSERT_TRUE(pb->SetKey(NormalParam::normal_depth, 0, 1.f));
    ASSERT_TRUE(pb->SetKey(NormalParam::normal_depth, 100, 30001.f));
    Place(sc, edge - 0.5f * kMinStep, 0.06f, 0.f, 50);
    g = EvalNormalSlopes(map->EvalSource(), map->GetTheUVGen(), sc, 0.f);
    EXPECT_EQ(normal->EvalColor(sc), NormalColorFromSlopes(g, 15001.f));
}

// The output's values are copied by its Update and serve every shading time over which they
// hold; an animated value is read at the shading time, and a clone keeps to its own block.
TEST_F(ReliefOutputTest, TheNormalOutputsValuesAreThoseAtTheShadingTime) {
    QuarelMap* map = NewPlainMap();
    QuarelNormalMap* normal = map->NormalOut();
    IParamBlock2* pb = normal->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(NormalParam::normal_depth, 0, 2.f));
    auto* clone = Keep(dynamic_cast<QuarelNormalMap*>(CloneRefHierarchy(normal)));
    ASSERT_TRUE(clone->GetParamBlock(0)->SetValue(NormalParam::normal_depth, 0, 50.f));
    normal->Validity(0);
    clone->Validity(0);
    const float edge = RisingEdge(map->Snapshot(), 0.06f, 0.25f, 0.3f);
    auto colourAt = [&](QuarelNormalMap* m, TimeValue t) {
        Place(sc, edge - 0.5f * kMinStep, 0.06f, 0.f, t);
        return m->EvalColor(sc);
    };
    Place(sc, edge - 0.5f * kMinStep, 0.06f, 0.f);
    const NormalSlopes g = EvalNormalSlopes(map->EvalSource(), map->GetTheUVGen(), sc, 0.f);
    EXPECT_EQ(colourAt(normal, 70), NormalColorFromSlopes(g, 2.f));
    EXPECT_EQ(colourAt(clone, 70), NormalColorFromSlopes(g, 50.f));

    // Animated after the Update: read at each shading time, the copy's time included.
    ASSERT_TRUE(pb->SetKey(NormalParam::normal_depth, 0, 1.f));
    ASSERT_TRUE(pb->SetKey(NormalParam::normal_depth, 100, 101.f));
    normal->Validity(0);
    EXPECT_EQ(colourAt(normal, 0), NormalColorFromSlopes(g, 1.f));
    EXPECT_EQ(colourAt(normal, 50), NormalColorFromSlopes(g, 51.f));
    // A block that goes leaves the values of a map without one.
    normal->ReplaceReference(QuarelNormalMap::kRefPBlock, nullptr);
    EXPECT_EQ(colourAt(normal, 50), NormalColorFromSlopes(g, 1.f));
}

// Tools that bake get the height field the normals are the slopes of.
TEST_F(ReliefOutputTest, TheNormalOutputHandsOutItsHeightField) {
    QuarelMap* map = NewPlainMap();
    QuarelNormalMap* normal = map->NormalOut();
    ASSERT_TRUE(map->GetParamBlockByID(kBumpBlock.id)
                    ->SetValue(BumpParam::bump_grout_color, 0, Color(0.3f, 0.3f, 0.3f)));
    MakeValid(map);
    auto* height = static_cast<IQuarelReliefHeight*>(normal->GetInterface(kQuarelReliefHeightId));
    ASSERT_NE(height, nullptr);
    EXPECT_EQ(normal->GetInterface(kQuarelReliefHeightId + 1), nullptr);
    Place(0.3f, 0.06f);
    EXPECT_FLOAT_EQ(height->ReliefHeight(sc), 1.f);
    Place(0.3f, 0.f);
    EXPECT_FLOAT_EQ(height->ReliefHeight(sc), 0.3f);

    // With texture relief the nested map's grey takes part, as in the output's slopes.
    auto* nested = new CountingMap;
    nested->color = AColor(0.5f, 0.5f, 0.5f, 1.f);
    map->SetSubTexmap(0, nested);
    ASSERT_TRUE(normal->GetParamBlock(0)->SetValue(NormalParam::relief_tex_amount, 0, 0.5f));
    MakeValid(map);
    Place(0.3f, 0.06f);
    EXPECT_FLOAT_EQ(height->ReliefHeight(sc), 0.75f);

    sc.doMaps = FALSE;
    EXPECT_EQ(height->ReliefHeight(sc), 0.f);
    auto* orphan = static_cast<IQuarelReliefHeight*>(
        Keep(static_cast<QuarelNormalMap*>(CloneRefHierarchy(normal)))
            ->GetInterface(kQuarelReliefHeightId));
    Release(map);
    sc.doMaps = TRUE;
    EXPECT_EQ(orphan->ReliefHeight(sc), 0.f);
}

TEST_F(ReliefOutputTest, TheBumpOutputAtKnownPoints) {
    QuarelMap* map = NewPlainMap();
    QuarelBumpProcMap* bump = map->BumpOut();
    IParamBlock2* pb = bump->GetParamBlock(0);
    auto* texture = new CountingMap;
    texture->color = AColor(0.6f, 0.3f, 0.3f, 1.f);
    bump->SetSubTexmap(0, texture);
    bump->Validity(0);
    ASSERT_TRUE(map->SnapshotValidity().InInterval(0));

    // Defaults: relief 1 with the texture on, so bricks show the texture's grey.
    Place(0.3f, 0.f);
    EXPECT_EQ(bump->EvalColor(sc), AColor(0.f, 0.f, 0.f, 1.f));
    Place(0.3f, 0.06f);
    const AColor onBrick = bump->EvalColor(sc);
    EXPECT_NEAR(onBrick.r, 0.4f, 1e-6f);
    EXPECT_NEAR(onBrick.b, 0.4f, 1e-6f);

    // The perturbation at an edge: depth 5 by default, scaled by the block's depth.
    const float edge = RisingEdge(map->Snapshot(), 0.06f, 0.25f, 0.3f);
    Place(edge - 0.5f * kMinStep, 0.06f, 0.f);
    const Point3 p5 = bump->EvalNormalPerturb(sc);
    // On the brick side the texture's grey replaces white: a jump of 0.4 over the step.
    EXPECT_NEAR(p5.x, 0.4f * 0.5f / kMinStep * 5.f * 5.f, 1.f);
    ASSERT_TRUE(pb->SetValue(BumpProcParam::depth, 0, 2.5f));
    bump->Validity(0);
    EXPECT_FLOAT_EQ(bump->EvalNormalPerturb(sc).x, 0.5f * p5.x);
    Place(0.3f, 0.06f);
    sc.doMaps = FALSE;
    EXPECT_EQ(bump->EvalColor(sc), onBrick);  // the colour does not look at doMaps
}

TEST_F(ReliefOutputTest, ClonesShareTheParentButAreNotItsOutputs) {
    QuarelMap* map = NewMap();
    map->BumpOut()->SetSubTexmap(0, new CheckerMap);
    Mark();
    auto* normalClone = Keep(dynamic_cast<QuarelNormalMap*>(CloneRefHierarchy(map->NormalOut())));
    auto* bumpClone = Keep(dynamic_cast<QuarelBumpProcMap*>(CloneRefHierarchy(map->BumpOut())));
    ASSERT_NE(normalClone, nullptr);
    ASSERT_NE(bumpClone, nullptr);
    EXPECT_EQ(normalClone->Parent(), map);
    EXPECT_EQ(bumpClone->Parent(), map);
    EXPECT_NE(map->NormalOut(), normalClone);
    EXPECT_NE(map->BumpOut(), bumpClone);
    EXPECT_NE(normalClone->GetParamBlock(0), map->NormalOut()->GetParamBlock(0));
    ASSERT_NE(bumpClone->GetSubTexmap(0), nullptr);
    EXPECT_NE(bumpClone->GetSubTexmap(0), map->BumpOut()->GetSubTexmap(0));
    EXPECT_EQ(CountNew("QuarelBumpProcMap::Clone src=", true), 1);
    EXPECT_EQ(CountNew("QuarelBumpProcMap::Clone done new=" + Ptr(bumpClone) + " new.mParent=" +
                       Ptr(map) + " new.mPBlock=" + Ptr(bumpClone->GetParamBlock(0))),
              1);
}

// The callbacks a load registers to find outputs their parent (the scene tests load them) never
// reach an output that is gone.
TEST_F(ReliefOutputTest, PendingCallbacksNeverReachAnOutputThatIsGone) {
    QuarelNormalMap* normal = NewNormal();
    QuarelBumpProcMap* bump = NewBump();
    auto* first = new QuarelNormalMapPostLoad(normal);
    auto* second = new QuarelNormalMapPostLoad(normal);  // the first is left with nothing
    EXPECT_EQ(first->Map(), nullptr);
    EXPECT_EQ(second->Map(), normal);
    auto* bumpCallback = new QuarelBumpProcMapPostLoad(bump);
    Release(normal);
    Release(bump);
    EXPECT_EQ(second->Map(), nullptr);
    EXPECT_EQ(bumpCallback->Map(), nullptr);
    first->proc(nullptr);
    second->proc(nullptr);
    bumpCallback->proc(nullptr);

    // A callback deleted unrun (a load that failed) is forgotten by its output.
    QuarelNormalMap* kept = NewNormal();
    delete new QuarelNormalMapPostLoad(kept);
    Release(kept);
}

// A relief output nested in its own parent would evaluate itself without end; the nesting is
// cut after one level and every answer stays finite.
TEST_F(ReliefOutputTest, AnOutputNestedInItsOwnParentEndsItsCycle) {
    QuarelMap* map = NewPlainMap();
    ASSERT_TRUE(
        map->NormalOut()->GetParamBlock(0)->SetValue(NormalParam::relief_tex_amount, 0, 1.f));
    map->SetSubTexmap(0, map->BumpOut());
    map->SetSubTexmap(1, map->NormalOut());
    ASSERT_EQ(map->GetSubTexmap(0), map->BumpOut());
    Interval valid = FOREVER;
    map->Update(0, valid);
    map->BumpOut()->Update(0, valid);
    for (const float u : {0.3f, 0.251f, 0.f}) {
        Place(u, 0.06f, 0.f);
        const AColor colours[] = {map->EvalColor(sc), map->NormalOut()->EvalColor(sc),
                                  map->BumpOut()->EvalColor(sc)};
        const Point3 perturbs[] = {map->EvalNormalPerturb(sc),
                                   map->NormalOut()->EvalNormalPerturb(sc),
                                   map->BumpOut()->EvalNormalPerturb(sc)};
        for (const AColor& c : colours)
            EXPECT_TRUE(std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b));
        for (const Point3& p : perturbs)
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
    }
}

}  // namespace
}  // namespace QuarelTest
