// Many render threads shading one map at once: its colour, mono value and perturbation with
// every per-brick variation and nested maps that choose by brick, both outputs' colours, mono
// values and perturbations, at shading times inside and outside the validity of the last Update,
// and Updates within that validity; meanwhile the main thread keeps asking for validities and
// names. Every thread sees what one thread sees, and evaluation never rebuilds anything. Runs
// under ThreadSanitizer too.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "host/builtin_classes.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief_support.h"

namespace QuarelTest {
namespace {

// Everything the map and its outputs answer at one point, one number after another.
std::vector<float> Shade(QuarelMap* map, ShadeContext& sc) {
    std::vector<float> v;
    for (Texmap* m : {static_cast<Texmap*>(map), static_cast<Texmap*>(map->NormalOut()),
                      static_cast<Texmap*>(map->BumpOut())}) {
        const AColor c = m->EvalColor(sc);
        const Point3 p = m->EvalNormalPerturb(sc);
        v.insert(v.end(), {c.r, c.g, c.b, c.a, m->EvalMono(sc), p.x, p.y, p.z});
    }
    return v;
}

TEST_F(ReliefTest, ManyRenderThreadsShadeReliefAndAgreeWithOne) {
    QuarelMap* map = NewPlainMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::random_second_color_on, 0, 1));
    ASSERT_TRUE(pb->SetValue(MainParam::hue_shift, 0, 0.3f));
    ASSERT_TRUE(pb->SetValue(MainParam::brick_angle, 0, 3.14159265f));
    ASSERT_TRUE(pb->SetValue(MainParam::random_texture_rotation_step, 0, 90));
    ASSERT_TRUE(pb->SetValue(MainParam::random_fragment_on, 0, 1));
    // Animated: the snapshot holds for time 0 only, so half the samples below are shaded at
    // a time outside it.
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 0, 0.2f));
    ASSERT_TRUE(pb->SetKey(MainParam::color_variance, 100, 0.6f));
    map->SetSubTexmap(0, new MultiSubMap(7, MultiSubMap::kByFaceNumber));
    auto* second = new CountingMap;
    second->color = AColor(0.9f, 0.5f, 0.1f, 1.f);
    map->SetSubTexmap(2, second);
    IParamBlock2* normalBlock = map->NormalOut()->GetParamBlock(0);
    ASSERT_TRUE(normalBlock->SetValue(NormalParam::relief_tex_amount, 0, 0.5f));
    ASSERT_TRUE(normalBlock->SetKey(NormalParam::normal_depth, 0, 1.f));
    ASSERT_TRUE(normalBlock->SetKey(NormalParam::normal_depth, 100, 9.f));
    IParamBlock2* bumpBlock = map->BumpOut()->GetParamBlock(0);
    ASSERT_TRUE(bumpBlock->SetValue(BumpProcParam::tex_relief, 0, 0.7f));
    map->BumpOut()->SetSubTexmap(0, new CheckerMap);

    // What the host does before rendering: every map used is updated on the main thread.
    auto* probe = new ProbeMap;
    map->SetSubTexmap(1, probe);  // counts the parent's rebuilds through its updates
    map->Validity(0);
    map->NormalOut()->Validity(0);
    map->BumpOut()->Validity(0);
    const Interval validity = map->SnapshotValidity();
    ASSERT_EQ(validity, Interval(0, 0));
    const int rebuilds = probe->updates;

    constexpr int kPoints = 192;
    const float edge = RisingEdge(map->Snapshot(), 0.06f, 0.25f, 0.3f);
    auto place = [edge](ScriptedShadeContext& ctx, int i) {
        // Every third point close to a joint-to-brick edge, where the relief tilts.
        const float k = static_cast<float>(i % 7) - 3.f;
        const bool nearEdge = i % 3 == 0;
        Place(ctx, nearEdge ? edge + 0.00002f * k : 0.0137f * static_cast<float>(i),
              nearEdge ? 0.06f : 0.031f * static_cast<float>(i % 23),
              0.0002f * static_cast<float>(i % 5), i % 2 == 0 ? 0 : 40);
        ctx.faceNumber = i;
    };
    std::vector<std::vector<float>> expected(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        place(sc, i);
        expected[std::size_t(i)] = Shade(map, sc);
    }
    int tilted = 0;
    for (const std::vector<float>& v : expected) tilted += v[5] != 0.f || v[6] != 0.f;
    EXPECT_GT(tilted, 10);

    std::atomic<int> mismatches{0};
    std::atomic<int> running{0};
    std::vector<std::thread> threads;
    constexpr int kThreads = 8;
    for (int t = 0; t < kThreads; ++t) {
        running.fetch_add(1);
        threads.emplace_back([&, t] {
            ScriptedShadeContext ctx;  // one context per thread, as a renderer has
            for (int k = 0; k < 3; ++k) {
                for (int i = 0; i < kPoints; ++i) {
                    const int p = (i + 29 * t) % kPoints;
                    place(ctx, p);
                    if (Shade(map, ctx) != expected[std::size_t(p)]) ++mismatches;
                    Interval valid = FOREVER;
                    map->Update(0, valid);
                    if (valid != validity) ++mismatches;
                }
            }
            running.fetch_sub(1);
        });
    }
    // Meanwhile the main thread only asks: validities at the updated time, slots, names.
    int asked = 0;
    while (running.load() > 0) {
        if (!map->Validity(0).InInterval(0)) ++mismatches;
        if (!map->NormalOut()->Validity(0).InInterval(0)) ++mismatches;
        if (!map->BumpOut()->Validity(0).InInterval(0)) ++mismatches;
        if (map->GetSubTexmap(3) != map->NormalOut()) ++mismatches;
        MSTR name;
        map->BumpOut()->GetClassName(name);
        if (name != MSTR(L"BumpMap:QuarelMap")) ++mismatches;
        ++asked;
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_GT(asked, 0);
    // Evaluation at time 40 rebuilt nothing.
    EXPECT_EQ(map->SnapshotValidity(), validity);
    EXPECT_EQ(probe->updates, rebuilds);
    EXPECT_GT(second->calls.load(), 0);
}

}  // namespace
}  // namespace QuarelTest
