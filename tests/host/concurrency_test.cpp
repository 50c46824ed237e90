// Render threads read blocks and evaluate maps at once; none of it may write shared state.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include <host/builtin_classes.h>
#include <host/scripted_shade_context.h>

#include "test_classes.h"

namespace hosttest {
namespace {

TEST(ConcurrencyTest, BlockReadsAndMapEvaluationRunOnManyThreads) {
    auto* map = new TestMap;
    SingleRefMaker holder(map);
    IParamBlock2* pb = map->Block();
    pb->SetKey(kAmount, 0, 0.f);
    pb->SetKey(kAmount, 100, 1.f);
    auto* checker = new CheckerMap;
    pb->SetValue(kSubMap, 0, checker);
    auto* multi = new MultiSubMap(5, MultiSubMap::kByFaceNumber);
    multi->SetSubTexmap(2, new CheckerMap);
    map->SetSubTexmap(0, multi);

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            ScriptedShadeContext sc;
            for (int i = 0; i < 2000; ++i) {
                sc.SetUVW(Point3(0.001f * i, 0.37f * t, 0.f), Point3(0.01f, 0.01f, 0.f));
                sc.faceNumber = i;
                Interval iv = FOREVER;
                float amount = 0.f;
                pb->GetValue(kAmount, i % 100, amount, iv);
                if (iv != Interval(i % 100, i % 100)) ++mismatches;
                Texmap* sub = pb->GetTexmap(kSubMap);
                if (sub != checker) ++mismatches;
                sub->EvalColor(sc);
                multi->EvalColor(sc);
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace hosttest
