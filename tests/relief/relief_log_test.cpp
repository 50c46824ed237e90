// The relief evaluators' first-call log lines: each written once per process, with its values,
// however many render threads make their first calls at once. A program of its own.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "relief_support.h"

namespace QuarelTest {
namespace {

TEST_F(ReliefTest, FirstCallsAreLoggedOnceWhateverTheThreads) {
    QuarelMap* map = NewPlainMap();
    map->Validity(0);
    map->BumpOut()->Validity(0);
    Mark();
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([map, t] {
            ScriptedShadeContext ctx;
            ctx.doMaps = t % 2 == 0 ? TRUE : FALSE;
            for (int i = 0; i < 20; ++i) {
                Place(ctx, 0.01f * static_cast<float>(i), 0.06f);
                map->BumpOut()->EvalColor(ctx);
                map->EvalNormalPerturb(ctx);
                map->NormalOut()->EvalNormalPerturb(ctx);
            }
        });
    }
    for (std::thread& th : threads) th.join();
    EXPECT_EQ(CountNew("QuarelMap::EvalNormalPerturb FIRST CALL, this=" + Ptr(map)), 1);
    const std::string bump =
        "QuarelBumpProcMap::EvalColor FIRST CALL [this=" + Ptr(map->BumpOut()) +
        "] mParent=" + Ptr(map) + " mPBlock=" + Ptr(map->BumpOut()->GetParamBlock(0)) + " doMaps=";
    EXPECT_EQ(CountNew(bump + "1") + CountNew(bump + "0"), 1);
    EXPECT_EQ(CountNew("QuarelBumpProcMap::EvalColor FIRST CALL", true), 1);
    EXPECT_EQ(CountNew("QuarelMap::EvalNormalPerturb FIRST CALL", true), 1);
}

}  // namespace
}  // namespace QuarelTest
