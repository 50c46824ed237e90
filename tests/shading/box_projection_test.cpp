// The "Accurate" box projection: faces, counts, corner offsets, and when it declines.
#include <host/scripted_shade_context.h>
#include <stdmat.h>

#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

class BoxProjectionTest : public ShadingTest {
protected:
    void SetUp() override {
        sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(2.f, 1.f, 1.f));
        sc.pObjRelBox = Point3(0.3f, 0.6f, 0.4f);
        snap.nx = 8;
    }
    // Projects with this geometric normal; a declined projection leaves a default record.
    bool Project(const Point3& normal) {
        sc.gNormal = normal;
        const BoxProjection box = ComputeBoxProjection(snap, sc);
        if (!box.found) {
            EXPECT_EQ(box.face.count, -1);
            EXPECT_EQ(box.face.element, 0);
        }
        uvw = box.uvw;
        boxDuvw = box.duvw;
        count = box.face.count;
        element = box.face.element;
        return box.found;
    }
    Point3 uvw, boxDuvw;
    int count = 0, element = 0;
};

TEST_F(BoxProjectionTest, SideFacesCountsAndCornerOffsets) {
    struct Face {
        Point3 normal;
        int element;
        float a;
        int count;
    } faces[] = {
        {{0.f, 1.f, 0.2f}, 0, 0.3f, 8},  // faces along x are the widest: nx bricks
        {{0.f, -1.f, 0.f}, 2, 0.7f, 8},
        {{1.f, 0.f, 0.5f}, 1, 0.4f, 4},  // half as wide: half as many
        {{-1.f, 0.2f, 0.f}, 3, 0.6f, 4},
    };
    for (const Face& f : faces) {
        snap.pattern = 4;  // no offset
        ASSERT_TRUE(Project(f.normal));
        EXPECT_EQ(element, f.element);
        EXPECT_EQ(count, f.count);
        EXPECT_FLOAT_EQ(uvw.x, f.a);
        EXPECT_FLOAT_EQ(uvw.y, 0.4f);
        EXPECT_EQ(boxDuvw, Point3(1.f / 1024.f, 1.f / 1024.f, 0.f));
        // Half a brick on the short faces for "1/2 Running" and "Custom Tiles", a third for
        // "1/3 Running"; nothing on the long faces.
        const bool shortFace = f.element == 1 || f.element == 3;
        for (auto [pattern, shift] : {std::pair{0, 0.5f}, {3, 0.5f}, {1, 0.33333334f}}) {
            snap.pattern = pattern;
            ASSERT_TRUE(Project(f.normal));
            EXPECT_FLOAT_EQ(uvw.x, f.a + (shortFace ? shift / static_cast<float>(f.count) : 0.f));
        }
    }
    // A point given in -1..1 of the box is taken to 0..1.
    sc.pObjRelBox = Point3(-0.4f, 0.2f, -1.f);
    ASSERT_TRUE(Project(Point3(0.f, 1.f, 0.f)));
    EXPECT_FLOAT_EQ(uvw.x, 0.3f);
    EXPECT_FLOAT_EQ(uvw.y, 0.f);
}

TEST_F(BoxProjectionTest, Declines) {
    EXPECT_FALSE(Project(Point3(0.f, 0.3f, 1.f)));   // top
    EXPECT_FALSE(Project(Point3(0.5f, 0.f, -1.f)));  // bottom
    sc.normal = Point3(1.f, 0.f, 0.f);  // a missing geometric normal falls back to the shading one
    EXPECT_TRUE(Project(Point3(0.f, 0.f, 0.f)));
    EXPECT_EQ(element, 1);
    sc.normal = Point3(0.f, 0.f, 0.f);
    EXPECT_FALSE(Project(Point3(0.f, 0.f, 0.f)));
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(2.f, 1.f, 0.f));  // flat
    EXPECT_FALSE(Project(Point3(0.f, 1.f, 0.f)));
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(2.f, 1.f, INFINITY));
    EXPECT_FALSE(Project(Point3(0.f, 1.f, 0.f)));
}

TEST_F(BoxProjectionTest, AccurateOnTopEqualsSimpleAndOnSidesUsesTheFace) {
    UVGen* gen = GetNewDefaultUVGen();
    SingleRefMaker holder(gen);
    snap.color_variance = 1.f;
    sc.gNormal = Point3(0.f, 0.f, 1.f);
    for (float u = 0.f; u < 1.f; u += 0.07f) {
        sc.SetUVW(Point3(u, 0.3f, 0.f), Point3(0.001f, 0.001f, 0.f));
        snap.projection_mode = 0;
        const AColor simple = EvalMapColor(Src(), gen, 0, sc);
        snap.projection_mode = 1;
        EXPECT_EQ(EvalMapColor(Src(), gen, 0, sc), simple);
    }
    ASSERT_TRUE(Project(Point3(-1.f, 0.f, 0.f)));
    EXPECT_EQ(EvalMapColor(Src(), gen, 0, sc), At(uvw.x, uvw.y, nullptr, count, element));

    const TexCoords tc = ResolveTexCoords(snap, gen, sc, true);
    EXPECT_EQ(tc.face.count, count);
    EXPECT_EQ(tc.face.element, 3);
    EXPECT_EQ(tc.dPdu, sc.dPdUVW[0]);
    EXPECT_EQ(tc.dPdv, sc.dPdUVW[1]);
}

TEST_F(ShadingTest, TexCoordsFromGeneratorOrContext) {
    sc.SetUVW(Point3(0.25f, 0.5f, 0.75f), Point3(0.01f, 0.02f, 0.03f));
    sc.dPdUVW[0] = Point3(0.f, 2.f, 0.f);
    const TexCoords direct = ResolveTexCoords(snap, nullptr, sc, true);
    EXPECT_EQ(direct.uvw, Point3(0.25f, 0.5f, 0.75f));
    EXPECT_EQ(direct.duvw, Point3(0.01f, 0.02f, 0.03f));
    EXPECT_EQ(direct.dPdu, Point3(0.f, 2.f, 0.f));
    EXPECT_EQ(direct.face.count, -1);

    auto* gen = static_cast<StdUVGen*>(GetNewDefaultUVGen());
    SingleRefMaker holder(gen);
    gen->SetUScl(2.f, 0);
    const TexCoords viaGen = ResolveTexCoords(snap, gen, sc, true);
    EXPECT_FLOAT_EQ(viaGen.uvw.x, 0.f);  // (0.25 - 0.5) x 2 + 0.5
    EXPECT_EQ(viaGen.uvw.z, 0.f);
    EXPECT_FLOAT_EQ(viaGen.dPdu.y, 1.f);  // the generator's scale divides the vector
    EXPECT_EQ(viaGen.face.element, 0);

    // "Accurate" that declines leaves nothing of its own behind.
    snap.projection_mode = 1;
    sc.objectBox = Box3(Point3(0.f, 0.f, 0.f), Point3(1.f, 1.f, 1.f));
    sc.gNormal = Point3(0.f, 0.f, 1.f);
    const TexCoords declined = ResolveTexCoords(snap, gen, sc, false);
    EXPECT_EQ(declined.duvw, viaGen.duvw);
    EXPECT_EQ(declined.face.count, -1);
}

}  // namespace
}  // namespace QuarelTest
