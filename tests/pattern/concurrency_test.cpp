// Many threads evaluating the engine at once get exactly the single-threaded answers; run under
// ThreadSanitizer as well, which watches for any shared state written behind the scenes.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "pattern/catalogue.h"
#include "support.h"

namespace QuarelNS {
namespace {

TEST(Concurrency, ThreadsAgreeWithASingleThread) {
    constexpr int kSide = 48;
    std::vector<BrickCell> expected;
    auto point = [](int i) {
        return std::pair{static_cast<float>(i % kSide) / kSide * 3.f - 1.f,
                         static_cast<float>(i / kSide) / kSide * 3.f - 1.f};
    };
    for (int id = 0; id < kPatternCount; ++id) {
        const PatternSettings ps = testing::Settings(id, 3, 6, 0.08f, 0.06f, 0.2f, 77);
        for (int i = 0; i < kSide * kSide; ++i) {
            const auto [u, v] = point(i);
            expected.push_back(testing::Eval(ps, u, v));
        }
    }
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int id = 0; id < kPatternCount; ++id) {
                const PatternSettings ps = testing::Settings(id, 3, 6, 0.08f, 0.06f, 0.2f, 77);
                for (int i = 0; i < kSide * kSide; ++i) {
                    const auto [u, v] = point((i + t * 97) % (kSide * kSide));
                    const std::size_t at = static_cast<std::size_t>(id) * kSide * kSide +
                                           static_cast<std::size_t>((i + t * 97) % (kSide * kSide));
                    mismatches[static_cast<std::size_t>(t)] +=
                        testing::Eval(ps, u, v) != expected[at];
                }
            }
        });
    }
    for (std::thread& th : threads) th.join();
    for (int m : mismatches) EXPECT_EQ(m, 0);
}

}  // namespace
}  // namespace QuarelNS
