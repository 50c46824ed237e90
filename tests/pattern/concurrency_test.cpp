// Many threads evaluating the engine at once get exactly the single-threaded answers; run under
// ThreadSanitizer as well, which watches for any shared state written behind the scenes.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "pattern/catalogue.h"
#include "support.h"

namespace QuarelNS {
namespace {

TEST(Concurrency, ThreadsAgreeWithASingleThread) {
    constexpr int kSide = 48;
    constexpr int kPoints = kSide * kSide;
    auto cellAt = [](int id, int i) {
        return testing::Eval(testing::Settings(id, 3, 6, 0.08f, 0.06f, 0.2f, 77),
                             static_cast<float>(i % kSide) / kSide * 3.f - 1.f,
                             static_cast<float>(i / kSide) / kSide * 3.f - 1.f);
    };
    std::vector<BrickCell> expected;
    for (int id = 0; id < kPatternCount; ++id) {
        for (int i = 0; i < kPoints; ++i) expected.push_back(cellAt(id, i));
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        // Each thread starts at a point of its own, so that the threads meet everywhere.
        threads.emplace_back([&, t] {
            for (int id = 0; id < kPatternCount; ++id) {
                for (int i = 0; i < kPoints; ++i) {
                    const int at = (i + t * 97) % kPoints;
                    mismatches[static_cast<std::size_t>(t)] +=
                        cellAt(id, at) != expected[static_cast<std::size_t>(id * kPoints + at)];
                }
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

// Some patterns build search tables on first use. Threads that all make their first call at once
// must wait for one build and then read it: run alone (as ctest runs each test), this is the
// first use in the process, and ThreadSanitizer watches the build.
TEST(Concurrency, TablesBuiltOnFirstUseServeEveryThread) {
    constexpr int kIds[] = {20, 24, 28, 29};
    constexpr int kSide = 24;
    std::atomic<int> waiting{4};
    std::vector<std::vector<BrickCell>> got(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            waiting.fetch_sub(1);
            while (waiting.load() > 0) std::this_thread::yield();
            for (int id : kIds) {
                for (int i = 0; i < kSide * kSide; ++i) {
                    got[static_cast<std::size_t>(t)].push_back(
                        testing::Eval(testing::Settings(id, 3, 2, 0.05f, 0.05f),
                                      (static_cast<float>(i % kSide) + 0.5f) / kSide,
                                      (static_cast<float>(i / kSide) + 0.5f) / kSide));
                }
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int t = 1; t < 4; ++t) EXPECT_TRUE(got[static_cast<std::size_t>(t)] == got[0]);
}

}  // namespace
}  // namespace QuarelNS
