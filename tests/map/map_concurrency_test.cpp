// Render threads evaluate one map at once: colours agree with a single thread's, and the
// queries they make on the way (sub-maps, an Update inside the validity) change nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "host/builtin_classes.h"
#include "host/scripted_shade_context.h"
#include "map_support.h"
#include "params/main_params.h"

namespace QuarelTest {
namespace {

TEST_F(MapTest, ManyThreadsEvaluateOneMapAndAgreeWithOne) {
    QuarelMap* map = NewMap();
    IParamBlock2* pb = map->GetParamBlock(0);
    ASSERT_TRUE(pb->SetValue(MainParam::pattern, 0, 5));
    ASSERT_TRUE(pb->SetValue(MainParam::color_variance, 0, 0.3f));
    map->SetSubTexmap(0, new CheckerMap);
    MakeValid(map);

    constexpr int kPoints = 256;
    auto place = [](ScriptedShadeContext& sc, int i) {
        sc.SetUVW(Point3(0.013f * i, 0.029f * (i % 17), 0.f), Point3(0.001f, 0.001f, 0.f));
        sc.faceNumber = i;
    };
    std::vector<AColor> expected(kPoints);
    std::vector<float> mono(kPoints);
    {
        ScriptedShadeContext sc;
        for (int i = 0; i < kPoints; ++i) {
            place(sc, i);
            expected[std::size_t(i)] = map->EvalColor(sc);
            mono[std::size_t(i)] = map->EvalMono(sc);
        }
    }

    std::atomic<int> mismatches{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            ScriptedShadeContext sc;
            for (int k = 0; k < 4; ++k) {
                for (int i = 0; i < kPoints; ++i) {
                    const int p = (i + 31 * t) % kPoints;
                    place(sc, p);
                    const AColor c = map->EvalColor(sc);
                    if (!(c == expected[std::size_t(p)])) ++mismatches;
                    if (map->EvalMono(sc) != mono[std::size_t(p)]) ++mismatches;
                    if (map->GetSubTexmap(p % 5) == map) ++mismatches;
                    Interval valid = FOREVER;
                    map->Update(0, valid);
                    if (!valid.IsInfinite()) ++mismatches;
                }
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
}  // namespace QuarelTest
