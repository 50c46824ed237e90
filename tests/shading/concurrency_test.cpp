// Many render threads evaluating one source at once, with nested maps, see exactly what one
// thread sees. Runs under ThreadSanitizer too.
#include <host/builtin_classes.h>
#include <stdmat.h>

#include <thread>
#include <vector>

#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

TEST_F(ShadingTest, ThreadsAgreeWithOneThread) {
    auto* checker = new CheckerMap;
    SingleRefMaker holdChecker(checker);
    auto* multi = new MultiSubMap(7, MultiSubMap::kByFaceNumber);
    SingleRefMaker holdMulti(multi);
    UVGen* gen = GetNewDefaultUVGen();
    SingleRefMaker holdGen(gen);
    brickMap = checker;
    brickMap2 = multi;
    snap.random_second_color_on = 1;
    snap.color_variance = 0.4f;
    snap.hue_shift = 0.3f;
    snap.brick_angle = 3.14159265f;
    snap.random_texture_rotation_step = 90;
    snap.random_fragment_on = 1;
    snap.master_angle = 0.3f;
    const BrickEvalSource src = Src();

    constexpr int kSide = 64;
    auto render = [&](int first, int stride, std::vector<AColor>& out) {
        ScriptedShadeContext ctx;  // one context per thread, as a renderer has
        for (int i = first; i < kSide * kSide; i += stride) {
            const float u = static_cast<float>(i % kSide) / kSide * 3.f - 1.f;
            const float v = static_cast<float>(i / kSide) / kSide * 3.f - 1.f;
            ctx.SetUVW(Point3(u, v, 0.f), Point3(0.01f, 0.01f, 0.f));
            out[static_cast<std::size_t>(i)] = EvalMapColor(src, gen, 3, ctx);
        }
    };
    std::vector<AColor> single(kSide * kSide), shared(kSide * kSide);
    render(0, 1, single);
    constexpr int kThreads = 8;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { render(t, kThreads, shared); });
    for (std::thread& t : threads) t.join();
    for (std::size_t i = 0; i < single.size(); ++i) ASSERT_EQ(shared[i], single[i]) << i;
}

}  // namespace
}  // namespace QuarelTest
