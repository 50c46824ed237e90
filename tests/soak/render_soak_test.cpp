// Sixteen render threads shade, frame after frame, two maps that share nested maps (one nests
// the other, both nest one checker and one multi-sub map): colour, mono and perturbation of
// each map, of both its relief outputs and of a legacy bump map of it. Between frames the main
// thread edits the rendered maps and updates them, as a host does before a frame; during a
// frame it works on other maps: copies of the rendered ones, edited and updated, a scene with
// both saved to a file and loaded back, and everything it made deleted again. Every render
// thread must see what the main thread computed for the frame. Bounded in time: a few seconds
// under ThreadSanitizer, one under AddressSanitizer (whose leak check then sees that all that
// was made was freed); QUAREL_SOAK_SECONDS sets another length.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "host/scene_file.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "scene_support.h"

namespace QuarelTest {
namespace {

constexpr int kThreads = 16;
constexpr int kPoints = 40;
constexpr int kMinFrames = 4;

double SoakSeconds() {
    if (const char* s = std::getenv("QUAREL_SOAK_SECONDS")) return std::atof(s);
#if defined(__SANITIZE_THREAD__)
    return 3.0;
#elif defined(__SANITIZE_ADDRESS__)
    return 1.0;
#else
    return 0.5;
#endif
}

// Frames: the main thread opens one and waits until every render thread has finished it; in
// between, the render threads wait. The lock orders the main thread's edits before the frame
// and after it.
class FrameGate {
public:
    // A render thread: waits for a frame after `seen`; false when the soak is over.
    bool Next(int& seen) {
        std::unique_lock<std::mutex> hold(mLock);
        mChanged.wait(hold, [&] { return mStop || mFrame != seen; });
        seen = mFrame;
        return !mStop;
    }
    void Done() {
        std::lock_guard<std::mutex> hold(mLock);
        if (--mBusy == 0) mChanged.notify_all();
    }
    void Open() {
        std::lock_guard<std::mutex> hold(mLock);
        ++mFrame;
        mBusy = kThreads;
        mChanged.notify_all();
    }
    void AwaitEnd() {
        std::unique_lock<std::mutex> hold(mLock);
        mChanged.wait(hold, [&] { return mBusy == 0; });
    }
    void Stop() {
        std::lock_guard<std::mutex> hold(mLock);
        mStop = true;
        mChanged.notify_all();
    }

private:
    std::mutex mLock;
    std::condition_variable mChanged;
    int mFrame = 0;
    int mBusy = 0;
    bool mStop = false;
};

// Point i of a frame: spread over several tiles, every fifth one close to a joint, half of them
// with a filter wide enough for the relief slopes to reach across a joint.
void Place(ScriptedShadeContext& sc, int i) {
    const float u = i % 5 == 0 ? 0.3f : 0.0731f * static_cast<float>(i);
    const float v =
        i % 5 == 0 ? 0.0005f * static_cast<float>(i % 3) : 0.047f * static_cast<float>(i);
    const float filter = i % 2 == 0 ? 0.004f : 0.0002f;
    sc.SetUVW(Point3(u, v, 0.f), Point3(filter, filter, 0.f));
    sc.faceNumber = i;
    sc.time = 0;
}

// Everything the rendered maps answer at the context's point, one number after another.
void Shade(const std::vector<Texmap*>& maps, ScriptedShadeContext& sc, std::vector<float>& out) {
    out.clear();
    for (Texmap* m : maps) {
        const AColor c = m->EvalColor(sc);
        const Point3 p = m->EvalNormalPerturb(sc);
        out.insert(out.end(), {c.r, c.g, c.b, c.a, m->EvalMono(sc), p.x, p.y, p.z});
    }
}

class RenderSoakTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        mScenePath = (mDir / "soak.qscene").string();
        a = NewPlainMap();
        b = NewPlainMap();
        multi = new MultiSubMap(5, MultiSubMap::kByFaceNumber);
        multi->SetSubTexmap(1, new CheckerMap);
        a->SetSubTexmap(QuarelMap::kSubGrout, b);
        a->SetSubTexmap(QuarelMap::kSubTiles2, multi);
        b->SetSubTexmap(QuarelMap::kSubTiles2, multi);
        ShareNewChecker();
        for (QuarelMap* m : {a, b}) {
            IParamBlock2* pb = m->GetParamBlock(0);
            pb->SetValue(MainParam::brick_map_2_on, 0, 1);
            pb->SetValue(MainParam::random_second_color_on, 0, 1);
            pb->SetValue(MainParam::random_fragment_on, 0, 1);
            pb->SetValue(MainParam::random_texture_rotation_step, 0, 90);
            auto* legacy = Create<QuarelBumpMap>(QuarelClass::BumpMap);
            legacy->ReplaceReference(QuarelBumpMap::kRefParent, m);
            Keep(legacy);
            for (Texmap* t : {static_cast<Texmap*>(m), static_cast<Texmap*>(m->NormalOut()),
                              static_cast<Texmap*>(m->BumpOut()), static_cast<Texmap*>(legacy)})
                rendered.push_back(t);
        }
        mLegacyA = rendered[3];
    }

    // One new checker in both maps' brick slots; the one before goes with its last reference.
    void ShareNewChecker() {
        auto* checker = new CheckerMap;
        a->SetSubTexmap(QuarelMap::kSubTiles, checker);
        b->SetSubTexmap(QuarelMap::kSubTiles, checker);
        shared = checker;
    }

    // Between frames: what a user changes while the renderer waits, then the host's Update of
    // everything it renders.
    void EditAndUpdate(int frame) {
        IParamBlock2* pa = a->GetParamBlock(0);
        pa->SetValue(MainParam::seed, 0, frame);
        pa->SetValue(MainParam::pattern, 0, frame % 30);
        pa->SetValue(MainParam::hue_shift, 0, 0.1f * static_cast<float>(frame % 5));
        pa->SetValue(MainParam::color_variance, 0, 0.05f * static_cast<float>(frame % 7));
        pa->SetValue(MainParam::brick_angle, 0, 0.3f * static_cast<float>(frame % 4));
        IParamBlock2* pb = b->GetParamBlock(0);
        pb->SetValue(MainParam::pattern, 0, (frame * 7 + 3) % 30);
        pb->SetValue(MainParam::master_angle, 0, 0.2f * static_cast<float>(frame % 3));
        a->NormalOut()->GetParamBlock(0)->SetValue(NormalParam::normal_depth, 0,
                                                   1.f + static_cast<float>(frame % 5));
        b->BumpOut()->GetParamBlock(0)->SetValue(BumpProcParam::tex_relief, 0,
                                                 0.25f * static_cast<float>(frame % 4));
        a->GetParamBlock(1)->SetValue(BumpParam::bump_grout_color, 0,
                                      Color(0.1f * static_cast<float>(frame % 3), 0.f, 0.f));
        if (frame % 4 == 3) ShareNewChecker();
        shared->color1 = Color(0.1f * static_cast<float>(frame % 10), 0.2f, 0.3f);
        for (Texmap* t : rendered) {
            Interval valid = FOREVER;
            t->Update(0, valid);
        }
    }

    // During a frame: other maps. A copy of a rendered map, edited, updated and shaded; a scene
    // with the rendered map and the copy saved to a file and loaded back, the loaded copy edited
    // and shaded; then all of it deleted.
    void OtherMaps(int frame) {
        ScriptedShadeContext own;
        Place(own, frame);
        SingleRefMaker copy(CloneRefHierarchy(a));
        auto* clone = dynamic_cast<QuarelMap*>(copy.GetRef());
        ASSERT_NE(clone, nullptr);
        clone->GetParamBlock(0)->SetValue(MainParam::seed, 0, frame + 1000);
        clone->GetParamBlock(0)->SetValue(MainParam::pattern, 0, (frame * 11) % 30);
        Interval valid = FOREVER;
        clone->Update(0, valid);
        (void)clone->EvalColor(own);
        (void)clone->BumpOut()->EvalNormalPerturb(own);

        AddNode(L"Rendered", Material(a, mLegacyA));
        AddNode(L"Copy", Material(clone, clone->NormalOut()));
        std::string error;
        ASSERT_TRUE(SaveSceneFile(mScenePath, {}, &error)) << error;
        LoadedScene loaded;
        ASSERT_TRUE(LoadSceneFile(mScenePath, loaded, &error)) << error;
        auto* loadedCopy = dynamic_cast<QuarelMap*>(LoadedMap(1, 0));
        ASSERT_NE(loadedCopy, nullptr);
        loadedCopy->GetParamBlock(0)->SetValue(MainParam::nx, 0, 2 + frame % 5);
        valid = FOREVER;
        loadedCopy->Update(0, valid);
        (void)loadedCopy->EvalColor(own);
        (void)loadedCopy->NormalOut()->EvalColor(own);
        copy.SetRef(nullptr);
        GetCOREInterface()->ResetScene();
    }

    QuarelMap* a = nullptr;
    QuarelMap* b = nullptr;
    CheckerMap* shared = nullptr;
    MultiSubMap* multi = nullptr;
    std::vector<Texmap*> rendered;  // per map: itself, its normal and bump outputs, its legacy map
    Texmap* mLegacyA = nullptr;
    std::string mScenePath;
};

TEST_F(RenderSoakTest, SixteenRenderThreadsSeeEachFrameAsTheMainThreadLeftIt) {
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(SoakSeconds());
    std::vector<std::vector<float>> expected(kPoints);
    FrameGate gate;
    std::atomic<int> mismatches{0};
    std::atomic<long> shaded{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ScriptedShadeContext ctx;  // one context per thread, as a renderer has
            std::vector<float> got;
            int seen = 0;
            while (gate.Next(seen)) {
                for (int i = 0; i < kPoints; ++i) {
                    const int p = (i + 7 * t) % kPoints;
                    Place(ctx, p);
                    Shade(rendered, ctx, got);
                    if (got != expected[static_cast<std::size_t>(p)]) ++mismatches;
                }
                shaded.fetch_add(kPoints, std::memory_order_relaxed);
                gate.Done();
            }
        });
    }

    int frames = 0;
    for (; frames < kMinFrames || std::chrono::steady_clock::now() < end; ++frames) {
        EditAndUpdate(frames);
        for (int i = 0; i < kPoints; ++i) {
            Place(sc, i);
            Shade(rendered, sc, expected[static_cast<std::size_t>(i)]);
        }
        gate.Open();
        OtherMaps(frames);
        gate.AwaitEnd();
        if (HasFatalFailure()) break;
    }
    gate.Stop();
    for (std::thread& th : threads) th.join();

    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_GE(frames, kMinFrames);
    EXPECT_EQ(shaded.load(), static_cast<long>(frames) * kThreads * kPoints);
    // The frames were not all alike: the edits reached the rendered maps.
    std::vector<float> last = expected[1];
    EditAndUpdate(frames);
    Place(sc, 1);
    std::vector<float> next;
    Shade(rendered, sc, next);
    EXPECT_NE(next, last);
    RecordProperty("frames", frames);
}

}  // namespace
}  // namespace QuarelTest
