// `sample` and the shading contexts behind it: points handed to the map exactly in tile units
// whatever the UV generator does, sample output equal to EvalColor called directly, bad input
// lines and a module that is not there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

#include "host/scripted_shade_context.h"
#include "preview/cli/options.h"
#include "preview/render/point_context.h"
#include "preview/render/sample.h"
#include "preview_support.h"
#include "stdmat.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;

// A map that is nothing but a UV generator, to probe the context builder with.
class GeneratorOnly : public Texmap {
public:
    explicit GeneratorOnly(UVGen* gen) : mHolder(gen) {}
    UVGen* GetTheUVGen() override { return static_cast<UVGen*>(mHolder.GetRef()); }
    AColor EvalColor(ShadeContext&) override { return AColor(); }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

private:
    SingleRefMaker mHolder;
};

StdUVGen* RealWorldGenerator(float size, float angle = 0.f, float offset = 0.f) {
    auto* gen = static_cast<StdUVGen*>(GetNewDefaultUVGen());
    gen->SetUseRealWorldScale(TRUE);
    gen->SetUScl(size, 0);
    gen->SetVScl(size, 0);
    gen->SetWAng(angle, 0);
    gen->SetUOffs(offset, 0);
    return gen;
}

TEST(ShadeContextBuilder, HandsTheMapExactlyTheRequestedPoint) {
    // A new map's generator: real-world scale 1000. Points the generator can produce come back
    // exactly (where none exists the next test's tolerance applies).
    for (float offset : {0.f, 0.37f}) {
        GeneratorOnly map(RealWorldGenerator(1000.f, 0.f, offset));
        UVGen* gen = map.GetTheUVGen();
        const ShadeContextBuilder builder(&map);
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> src(-20000.f, 20000.f), unit(0.f, 1.f);
        PointShadeContext probe, sc;
        for (int i = 0; i < 2000; ++i) {
            probe.mUVW = Point3(src(rng), src(rng), 0.f);
            probe.mDUVW = Point3(unit(rng) * 10.f, (i % 3) ? unit(rng) * 10.f : 0.f, 0.f);
            Point2 want, dwant, uv, duv;
            gen->GetUV(probe, want, dwant);
            builder.SetPlanePoint(sc, want.x, want.y, dwant.x, dwant.y);
            gen->GetUV(sc, uv, duv);
            ASSERT_EQ(uv.x, want.x) << i;
            ASSERT_EQ(uv.y, want.y) << i;
            ASSERT_EQ(duv.x, dwant.x) << i;
            ASSERT_EQ(duv.y, dwant.y) << i;
        }
    }
}

TEST(ShadeContextBuilder, ComesClosestWhereNoExactPointExists) {
    // A turned generator mixes both coordinates: no float preimage need exist.
    GeneratorOnly map(RealWorldGenerator(250.f, 0.3f));
    const ShadeContextBuilder builder(&map);
    PointShadeContext sc;
    for (float u : {0.125f, 3.7f, -12.25f}) {
        builder.SetPlanePoint(sc, u, 0.5f * u, 0.001f, 0.002f);
        Point2 uv, duv;
        map.GetTheUVGen()->GetUV(sc, uv, duv);
        EXPECT_NEAR(uv.x, u, 4e-6f * (1.f + std::fabs(u)));
        EXPECT_NEAR(uv.y, 0.5f * u, 4e-6f * (1.f + std::fabs(u)));
        EXPECT_NEAR(duv.x, 0.001f, 1e-6f);
    }
}

TEST(Sample, AgreesWithEvalColorCalledDirectly) {
    auto slot = QuarelPreviewTest::MapFromPreset(R"({"pattern": "Hexagons", "color_variance": 0.6,
        "hue_shift": 0.2, "master_angle": 15, "random_shift": 0.2})");
    ASSERT_TRUE(slot);
    Texmap* map = slot->Get();

    // Points the map's own generator produces from source points, so each has a preimage; the
    // map is then evaluated directly on a context built here by hand.
    UVGen* gen = map->GetTheUVGen();
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> src(-3.f, 3.f);
    std::string input, want;
    char line[128];
    for (int i = 0; i < 200; ++i) {
        ScriptedShadeContext sc;
        const Point3 p = gen ? Point3(src(rng) * 1000.f, src(rng) * 1000.f, 0.f)
                             : Point3(src(rng), src(rng), 0.f);
        sc.SetUVW(p, Point3(0.f, 0.f, 0.f));
        Point2 uv(p.x, p.y), duv;
        if (gen) gen->GetUV(sc, uv, duv);
        std::snprintf(line, sizeof line, "%.9g %.9g\n", double(uv.x), double(uv.y));
        input += line;
        const AColor c = map->EvalColor(sc);
        std::snprintf(line, sizeof line, "%.9g %.9g %.9g %.9g\n", double(c.r), double(c.g),
                      double(c.b), double(c.a));
        want += line;
    }
    std::string got;
    ASSERT_EQ(RunTool({"sample", "--pattern", "Hexagons", "--set", "color_variance=0.6", "--set",
                       "hue_shift=0.2", "--set", "master_angle=15", "--set", "random_shift=0.2"},
                      input, &got),
              kExitOk);
    EXPECT_EQ(got, want);
}

TEST(Sample, ReadsPointsAndRefusesMalformedLines) {
    SamplePoint p;
    std::string error;
    EXPECT_EQ(ParseSamplePoint("  0.25 -1.5e1\n", p, error), 1);
    EXPECT_EQ(p.u, 0.25f);
    EXPECT_EQ(p.v, -15.f);
    EXPECT_EQ(p.du, 0.f);
    EXPECT_EQ(ParseSamplePoint("1 2 0.01 +0.02", p, error), 1);
    EXPECT_EQ(p.dv, 0.02f);
    EXPECT_EQ(ParseSamplePoint("   ", p, error), 0);
    EXPECT_EQ(ParseSamplePoint("# u v", p, error), 0);
    for (const char* bad : {"1", "1 2 3", "1 2 3 4 5", "1,2", "u v", "1 2 -0.1 0"})
        EXPECT_EQ(ParseSamplePoint(bad, p, error), -1) << bad;

    std::string out, err;
    EXPECT_EQ(
        RunTool({"sample", "--output", "mono"}, "0.1 0.1\n\n0.2 0.3 0 0\nbad\n0 0\n", &out, &err),
        kExitRefused);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);  // the points before the bad line
    EXPECT_NE(err.find("standard input line 4: 'bad' is not a number"), std::string::npos) << err;
}

TEST(Module, APathThatDoesNotExistIsAClearError) {
    std::string err;
    EXPECT_EQ(RunTool({"--module", "/nonexistent/QuarelMap.dlt", "--out", "/dev/null"}, "", nullptr,
                      &err),
              kExitFailed);
    EXPECT_NE(err.find("cannot load module '/nonexistent/QuarelMap.dlt'"), std::string::npos)
        << err;
}

}  // namespace
}  // namespace QuarelPreview
