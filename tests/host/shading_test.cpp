// Shading services: the scripted context, the standard UV generator and the host's own maps
// and materials.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include <host/builtin_classes.h>
#include <host/scripted_shade_context.h>
#include <inode.h>
#include <stdmat.h>

namespace {

constexpr float kPi = 3.14159265f;

void ExpectNear(const Point3& a, const Point3& b, float tol = 1e-5f) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(ScriptedShadeContextTest, ChannelsAndFrames) {
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(0.25f, 0.5f, 0.f), Point3(0.01f, 0.02f, 0.f), 1);
    sc.SetUVW(Point3(3.f, 4.f, 5.f), Point3(), 2);
    EXPECT_EQ(sc.UVW(1), Point3(0.25f, 0.5f, 0.f));
    EXPECT_EQ(sc.UVW(2), Point3(3.f, 4.f, 5.f));
    EXPECT_EQ(sc.UVW(150), Point3());  // no such channel

    Matrix3 toObj = ScaleMatrix(Point3(2.f, 2.f, 2.f));
    toObj.Translate(Point3(1.f, 0.f, 0.f));
    sc.SetObjectTransform(toObj);
    ExpectNear(sc.PointTo(Point3(1.f, 1.f, 1.f), REF_OBJECT), Point3(3.f, 2.f, 2.f));
    ExpectNear(sc.PointFrom(Point3(3.f, 2.f, 2.f), REF_OBJECT), Point3(1.f, 1.f, 1.f));
    ExpectNear(sc.VectorTo(Point3(0.f, 0.f, 1.f), REF_OBJECT), Point3(0.f, 0.f, 2.f));
    sc.SetNormal(Point3(1.f, 0.f, 0.f));
    EXPECT_EQ(sc.OrigNormal(), Point3(0.f, 0.f, 1.f));
}

// Answers only what a shading context must; everything else is the base's, which a wrapper
// context inherits and which must reach the wrapper's own answers.
class MinimalContext : public ShadeContext {
public:
    BOOL InMtlEditor() override { return FALSE; }
    LightDesc* Light(int) override { return nullptr; }
    TimeValue CurTime() override { return 0; }
    int FaceNumber() override { return 0; }
    Point3 Normal() override { return Point3(0.f, 1.f, 0.f); }
    Point3 GNormal() override { return Point3(0.f, 0.f, 1.f); }
    Point3 V() override { return Point3(1.f, 0.f, 0.f); }
    void SetView(Point3) override {}
    Point3 ReflectVector() override { return Point3(); }
    Point3 RefractVector(float) override { return Point3(); }
    Point3 CamPos() override { return Point3(); }
    Point3 P() override { return Point3(); }
    Point3 DP() override { return Point3(0.f, 3.f, 4.f); }
    Point3 PObj() override { return Point3(); }
    Point3 DPObj() override { return Point3(); }
    Box3 ObjectBox() override { return Box3(); }
    Point3 PObjRelBox() override { return Point3(); }
    Point3 DPObjRelBox() override { return Point3(); }
    void ScreenUV(Point2&, Point2&) override {}
    IPoint2 ScreenCoord() override { return IPoint2(); }
    Point3 UVW(int) override { return Point3(); }
    Point3 DUVW(int) override { return Point3(); }
    void DPdUVW(Point3 dP[3], int) override { dP[0] = dP[1] = dP[2] = Point3(); }
    void GetBGColor(Color&, Color&, BOOL) override {}
    Point3 PointTo(const Point3& p, RefFrame) override { return p; }
    Point3 PointFrom(const Point3& p, RefFrame) override { return p; }
    // Object space is twice as large.
    Point3 VectorTo(const Point3& p, RefFrame) override { return p * 2.f; }
    Point3 VectorFrom(const Point3& p, RefFrame) override { return p * 0.5f; }
};

TEST(ShadeContextTest, BaseAnswersFollowTheOverriddenQueries) {
    MinimalContext sc;
    EXPECT_EQ(sc.OrigNormal(), Point3(0.f, 1.f, 0.f));
    EXPECT_EQ(sc.OrigView(), Point3(1.f, 0.f, 0.f));
    EXPECT_FLOAT_EQ(sc.RayDiam(), 5.f);
    ExpectNear(sc.VectorToNoScale(Point3(0.f, 3.f, 4.f), REF_OBJECT), Point3(0.f, 3.f, 4.f));
    ExpectNear(sc.VectorFromNoScale(Point3(0.f, 0.f, 2.f), REF_OBJECT), Point3(0.f, 0.f, 2.f));
    EXPECT_EQ(sc.VectorToNoScale(Point3(), REF_OBJECT), Point3());
    EXPECT_EQ(sc.UVWNormal(), Point3(0.f, 0.f, 1.f));
    // A fresh context writes its own output record, which starts cleared.
    sc.SetGBufferID(9);
    EXPECT_EQ(sc.out.gbufId, 9);
    sc.ResetOutput();
    EXPECT_EQ(sc.out.gbufId, 0);
}

class StdUVGenTest : public ::testing::Test {
protected:
    void SetUp() override {
        gen = static_cast<StdUVGen*>(GetNewDefaultUVGen());
        holder.SetRef(gen);
        sc.SetUVW(Point3(0.75f, 0.25f, 0.f), Point3(0.01f, 0.02f, 0.f));
    }
    Point2 UV() {
        Point2 uv, duv;
        gen->GetUV(sc, uv, duv);
        return uv;
    }
    StdUVGen* gen = nullptr;
    SingleRefMaker holder;
    ScriptedShadeContext sc;
};

TEST_F(StdUVGenTest, TilingOffsetAngleAndRealWorldSize) {
    Point2 uv, duv;
    gen->GetUV(sc, uv, duv);  // by default channel 1 passes through
    EXPECT_EQ(uv, Point2(0.75f, 0.25f));
    EXPECT_NEAR(duv.y, 0.02f, 1e-7f);

    gen->SetUScl(2.f, 0);
    gen->SetVScl(4.f, 0);
    uv = UV();
    EXPECT_NEAR(uv.x, (0.75f - 0.5f) * 2.f + 0.5f, 1e-6f);
    EXPECT_NEAR(uv.y, (0.25f - 0.5f) * 4.f + 0.5f, 1e-6f);

    gen->SetUseRealWorldScale(TRUE);  // the scales become sizes
    uv = UV();
    EXPECT_NEAR(uv.x, (0.75f - 0.5f) / 2.f + 0.5f, 1e-6f);
    gen->SetUScl(0.f, 0);  // a zero size gives no NaN
    EXPECT_TRUE(std::isfinite(UV().x));
    gen->SetUseRealWorldScale(FALSE);
    gen->SetUScl(1.f, 0);
    gen->SetVScl(1.f, 0);

    gen->SetUOffs(0.1f, 0);
    EXPECT_NEAR(UV().x, 0.65f, 1e-6f);
    gen->SetUOffs(0.f, 0);

    gen->SetWAng(kPi / 2.f, 0);  // a quarter turn about the tile centre
    uv = UV();
    EXPECT_NEAR(uv.x, 0.75f, 1e-5f);
    EXPECT_NEAR(uv.y, 0.75f, 1e-5f);

    gen->SetMapChannel(2);
    sc.SetUVW(Point3(0.5f, 0.5f, 0.f), Point3(), 2);
    uv = UV();
    EXPECT_NEAR(uv.x, 0.5f, 1e-6f);
    gen->SetMapChannel(500);
    EXPECT_EQ(gen->GetMapChannel(), 99);
}

TEST_F(StdUVGenTest, TransformMatrixAgreesWithGetUV) {
    gen->SetUScl(3.f, 0);
    gen->SetVScl(-2.f, 0);
    gen->SetUOffs(0.2f, 0);
    gen->SetVOffs(-0.4f, 0);
    gen->SetWAng(0.7f, 0);
    Matrix3 m;
    gen->GetUVTransform(m);
    for (float u : {-1.3f, 0.f, 0.4f, 2.5f}) {
        for (float v : {-0.2f, 0.9f, 3.1f}) {
            sc.SetUVW(Point3(u, v, 0.f), Point3());
            const Point2 uv = UV();
            const Point3 q = Point3(u, v, 0.f) * m;
            EXPECT_NEAR(uv.x, q.x, 1e-4f);
            EXPECT_NEAR(uv.y, q.y, 1e-4f);
        }
    }
}

TEST(BuiltinMapsTest, CheckerAlternatesAndUsesSubMaps) {
    auto* checker = new CheckerMap;
    SingleRefMaker holder(checker);
    checker->color1 = Color(1.f, 0.f, 0.f);
    checker->color2 = Color(0.f, 0.f, 1.f);
    ScriptedShadeContext sc;
    sc.SetUVW(Point3(0.25f, 0.25f, 0.f), Point3());
    EXPECT_EQ(checker->EvalColor(sc), AColor(1.f, 0.f, 0.f, 1.f));
    sc.SetUVW(Point3(0.75f, 0.25f, 0.f), Point3());
    EXPECT_EQ(checker->EvalColor(sc), AColor(0.f, 0.f, 1.f, 1.f));
    sc.SetUVW(Point3(-0.25f, 0.25f, 0.f), Point3());  // wraps
    EXPECT_EQ(checker->EvalColor(sc), AColor(0.f, 0.f, 1.f, 1.f));
    sc.SetUVW(Point3(1e30f, NAN, 0.f), Point3());
    checker->EvalColor(sc);  // no crash, no undefined conversion

    auto* sub = new CheckerMap;
    sub->color1 = sub->color2 = Color(0.f, 1.f, 0.f);
    checker->SetSubTexmap(1, sub);
    sc.SetUVW(Point3(0.75f, 0.25f, 0.f), Point3());
    EXPECT_EQ(checker->EvalColor(sc), AColor(0.f, 1.f, 0.f, 1.f));
    sc.doMaps = FALSE;
    EXPECT_EQ(checker->EvalColor(sc), AColor(0.f, 0.f, 0.f, 0.f));
}

TEST(BuiltinMapsTest, MultiSubPicksBySelectedId) {
    auto* multi = new MultiSubMap(3, MultiSubMap::kByNodeID);
    SingleRefMaker holder(multi);
    auto* red = new CheckerMap;
    red->color1 = red->color2 = Color(1.f, 0.f, 0.f);
    multi->SetSubTexmap(1, red);
    ScriptedShadeContext sc;
    sc.nodeId = 4;  // 4 mod 3 = 1
    EXPECT_EQ(multi->EvalColor(sc), AColor(1.f, 0.f, 0.f, 1.f));
    sc.nodeId = -2;  // wraps to 1 as well
    EXPECT_EQ(multi->EvalColor(sc), AColor(1.f, 0.f, 0.f, 1.f));
    EXPECT_NE(MultiSubMap::SlotColor(0), MultiSubMap::SlotColor(2));

    multi->SetMode(MultiSubMap::kByFaceNumber);
    sc.faceNumber = 7;
    EXPECT_EQ(multi->EvalColor(sc), AColor(red->color1));
    multi->SetMode(MultiSubMap::kByMtlNum);
    sc.mtlNum = 2;
    EXPECT_EQ(multi->EvalColor(sc), AColor(MultiSubMap::SlotColor(2)));
    sc.mtlNum = std::numeric_limits<int>::min();
    multi->EvalColor(sc);

    multi->SetNumSubs(1);  // releases the map in the dropped slot
    EXPECT_EQ(multi->NumSubTexmaps(), 1);
}

// Samples texel centres with v up; missing or broken files show the placeholder checker.
TEST(BuiltinMapsTest, BitmapSamplesItsFileAndShowsAPlaceholderForBrokenOnes) {
    char dir[] = "/tmp/quarel_bitmap_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string folder = dir, path = folder + "/quad.png", junk = folder + "/junk.png";
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 2;
    image.format = PNG_FORMAT_RGBA;
    // Top row: red, green; bottom row: blue, white.
    const unsigned char rgba[] = {255, 0, 0,   255, 0,   255, 0,   255,
                                  0,   0, 255, 255, 255, 255, 255, 255};
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr));
    std::ofstream(junk) << "\x89PNG\r\n\x1a\nnot really";

    auto* bm = new BitmapMap;
    SingleRefMaker holder(bm);
    ASSERT_TRUE(bm->SetFileName(path)) << bm->LoadError();
    EXPECT_EQ(bm->Width(), 2);
    ScriptedShadeContext sc;
    const std::pair<Point3, AColor> samples[] = {
        {{0.25f, 0.75f, 0.f}, {1.f, 0.f, 0.f, 1.f}},
        {{0.75f, 0.25f, 0.f}, {1.f, 1.f, 1.f, 1.f}},
        {{1.25f, -0.75f, 0.f}, {0.f, 0.f, 1.f, 1.f}},  // wraps to the bottom left
        {{INFINITY, 0.f, 0.f}, {0.f, 0.f, 0.f, 0.f}},
    };
    for (const auto& [uvw, want] : samples) {
        sc.SetUVW(uvw, Point3());
        EXPECT_EQ(bm->EvalColor(sc), want) << uvw.x << ", " << uvw.y;
    }
    EXPECT_FALSE(bm->SetFileName(folder + "/missing.png"));
    EXPECT_FALSE(bm->LoadError().empty());
    EXPECT_FALSE(bm->SetFileName(junk));
    sc.SetUVW(Point3(0.25f, 0.75f, 0.f), Point3());
    EXPECT_EQ(bm->EvalColor(sc), BitmapMap::PlaceholderColor(0.25f, 0.75f));
    EXPECT_EQ(bm->EvalColor(sc), AColor(1.f, 0.f, 1.f, 1.f));
    std::filesystem::remove_all(folder);
}

TEST(BuiltinMaterialsTest, StandardAndMultiMaterialsShade) {
    auto* multi = new MultiMtl(2);
    SingleRefMaker holder(multi);
    auto* a = new StdMtl;
    a->diffuse = Color(0.2f, 0.4f, 0.6f);
    auto* b = new StdMtl;
    auto* checker = new CheckerMap;
    checker->color1 = checker->color2 = Color(1.f, 1.f, 0.f);
    b->SetSubTexmap(0, checker);
    multi->SetSubMtl(0, a);
    multi->SetSubMtl(1, b);
    ScriptedShadeContext sc;
    sc.mtlNum = 0;
    multi->Shade(sc);
    EXPECT_EQ(sc.out.c, Color(0.2f, 0.4f, 0.6f));
    sc.mtlNum = 3;
    multi->Shade(sc);
    EXPECT_EQ(sc.out.c, Color(1.f, 1.f, 0.f));
    EXPECT_EQ(b->Requirements(0) & MTLREQ_UV, ULONG{MTLREQ_UV});
}

// Gives `slot` a target it takes, then one it refuses: the host lets go of the first (here its
// last reference, so it is deleted), and a maker that kept pointing at it would answer a
// deleted object.
void ExpectRefusalEmptiesTheSlot(ReferenceMaker* maker, int slot, ReferenceTarget* taken,
                                 ReferenceTarget* refused) {
    ASSERT_EQ(maker->ReplaceReference(slot, taken), REF_SUCCEED);
    ASSERT_EQ(maker->GetReference(slot), taken);
    maker->ReplaceReference(slot, refused);
    EXPECT_EQ(maker->GetReference(slot), nullptr);
}

TEST(BuiltinSlotsTest, ATargetOfTheWrongKindEmptiesTheSlot) {
    SingleRefMaker bitmap(new BitmapMap), checker(new CheckerMap), multiMap(new MultiSubMap(2));
    SingleRefMaker standard(new StdMtl), multiMtl(new MultiMtl(2));
    ExpectRefusalEmptiesTheSlot(bitmap.GetRef(), 0, GetNewDefaultUVGen(), new CheckerMap);
    ExpectRefusalEmptiesTheSlot(checker.GetRef(), 1, new CheckerMap, new StdMtl);
    ExpectRefusalEmptiesTheSlot(multiMap.GetRef(), 0, new CheckerMap, new StdMtl);
    ExpectRefusalEmptiesTheSlot(standard.GetRef(), 0, new CheckerMap, new StdMtl);
    ExpectRefusalEmptiesTheSlot(multiMtl.GetRef(), 1, new StdMtl, new CheckerMap);
    INode node(L"box");
    ExpectRefusalEmptiesTheSlot(&node, 0, new StdMtl, new CheckerMap);
}

}  // namespace
