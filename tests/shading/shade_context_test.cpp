// The per-brick shade context: what it owns, what it forwards, what it keeps of the base.
#include <gtest/gtest.h>

#include <host/scripted_shade_context.h>

#include "shading/brick_shade_context.h"

namespace QuarelTest {
namespace {

using QuarelNS::BrickShadeContext;

class BrickShadeContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        outer.p = Point3(1.f, 2.f, 3.f);
        outer.normal = Point3(0.f, 1.f, 0.f);
        outer.gNormal = Point3(0.f, 0.f, -1.f);
        outer.origNormal = Point3(1.f, 0.f, 0.f);
        outer.view = Point3(0.f, 0.6f, -0.8f);
        outer.camPos = Point3(7.f, 8.f, 9.f);
        outer.dp = Point3(0.f, 3.f, 4.f);
        outer.dpdx = Point3(1.f, 1.f, 0.f);
        outer.dpdy = Point3(0.f, 1.f, 1.f);
        outer.pObj = Point3(4.f, 5.f, 6.f);
        outer.pObjRelBox = Point3(0.1f, 0.2f, 0.3f);
        outer.objectBox = Box3(Point3(-1.f, -2.f, -3.f), Point3(1.f, 2.f, 3.f));
        outer.bary = Point3(0.2f, 0.3f, 0.5f);
        outer.screenCoord = IPoint2(11, 12);
        outer.time = 4800;
        outer.inMtlEditor = TRUE;
        outer.ior = 1.5f;
        outer.nodeId = 77;
        outer.faceNumber = 78;
        outer.mtlNum = 79;
        outer.doMaps = FALSE;
        outer.backFace = TRUE;
        outer.rayLevel = 2;
        outer.nLights = 3;
        outer.out.gbufId = 9;
        outer.dPdUVW[0] = Point3(1.f, 0.f, 0.f);
        outer.dPdUVW[1] = Point3(0.f, 2.f, 0.f);
        outer.dPdUVW[2] = Point3(0.f, 0.f, 3.f);
        outer.SetObjectTransform(ScaleMatrix(Point3(2.f, 2.f, 2.f)));
    }
    ScriptedShadeContext outer;
};

TEST_F(BrickShadeContextTest, OwnsCoordinatesAndIds) {
    BrickShadeContext b(outer, Point3(0.25f, 0.75f, 0.5f), Point3(0.01f, 0.02f, 0.f), 1.f, 1.f,
                        12345, 0, 1);
    for (int channel : {0, 1, 2, 99}) {
        EXPECT_EQ(b.UVW(channel), Point3(0.25f, 0.75f, 0.5f));
        EXPECT_EQ(b.DUVW(channel), Point3(0.01f, 0.02f, 0.f));
    }
    EXPECT_EQ(b.NodeID(), 12345);
    EXPECT_EQ(b.FaceNumber(), 12345);
    EXPECT_EQ(b.mtlNum, 12345);
    // Copied fields, and a fresh output record of its own.
    EXPECT_EQ(b.doMaps, FALSE);
    EXPECT_EQ(b.backFace, TRUE);
    EXPECT_EQ(b.rayLevel, 2);
    EXPECT_EQ(b.nLights, 3);
    EXPECT_EQ(b.out.gbufId, 0);
    b.SetGBufferID(5);
    EXPECT_EQ(b.out.gbufId, 5);
    EXPECT_EQ(outer.out.gbufId, 9);
}

TEST_F(BrickShadeContextTest, ForwardsEveryOtherQuery) {
    BrickShadeContext b(outer, Point3(), Point3(), 1.f, 1.f, 1, 0, 1);
    EXPECT_EQ(b.P(), outer.p);
    EXPECT_EQ(b.Normal(), outer.normal);
    EXPECT_EQ(b.GNormal(), outer.gNormal);
    EXPECT_EQ(b.OrigNormal(), outer.origNormal);
    EXPECT_EQ(b.V(), outer.view);
    EXPECT_EQ(b.CamPos(), outer.camPos);
    EXPECT_EQ(b.DP(), outer.dp);
    Point3 dx, dy;
    b.DP(dx, dy);
    EXPECT_EQ(dx, outer.dpdx);
    EXPECT_EQ(dy, outer.dpdy);
    EXPECT_EQ(b.PObj(), outer.pObj);
    EXPECT_EQ(b.PObjRelBox(), outer.pObjRelBox);
    EXPECT_EQ(b.ObjectBox().pmax, outer.objectBox.pmax);
    EXPECT_EQ(b.BarycentricCoords(), outer.bary);
    EXPECT_EQ(b.ScreenCoord().x, 11);
    EXPECT_EQ(b.CurTime(), 4800);
    EXPECT_EQ(b.InMtlEditor(), TRUE);
    EXPECT_EQ(b.GetIOR(), 1.5f);
    EXPECT_EQ(b.ReflectVector(), outer.ReflectVector());
    EXPECT_EQ(b.VectorTo(Point3(1.f, 0.f, 0.f), REF_OBJECT), Point3(2.f, 0.f, 0.f));
    EXPECT_EQ(b.PointFrom(Point3(2.f, 2.f, 2.f), REF_OBJECT), Point3(1.f, 1.f, 1.f));
    EXPECT_FLOAT_EQ(b.RayDiam(), 5.f);  // the base's answer from the forwarded DP

    // Setters change the wrapped context.
    b.SetNormal(Point3(1.f, 0.f, 0.f));
    b.SetView(Point3(0.f, 0.f, 1.f));
    b.SetIOR(2.f);
    EXPECT_EQ(outer.normal, Point3(1.f, 0.f, 0.f));
    EXPECT_EQ(outer.view, Point3(0.f, 0.f, 1.f));
    EXPECT_EQ(outer.ior, 2.f);

    // The base's own answers.
    Point3 basis[2];
    EXPECT_EQ(b.BumpBasisVectors(basis, 0), 0);
    EXPECT_EQ(b.IsSuperSampleOn(), FALSE);
    EXPECT_EQ(b.GetSampleSizeScale(), 1.f);
    EXPECT_EQ(b.UVWNormal(1), Point3(0.f, 0.f, 1.f));
}

TEST_F(BrickShadeContextTest, DerivativeVectorsFollowTheFrame) {
    Point3 dP[3];
    BrickShadeContext upright(outer, Point3(), Point3(), 2.f, 0.5f, 1, 0, 1);
    upright.DPdUVW(dP, 1);
    EXPECT_EQ(dP[0], Point3(2.f, 0.f, 0.f));
    EXPECT_EQ(dP[1], Point3(0.f, 1.f, 0.f));
    EXPECT_EQ(dP[2], Point3(0.f, 0.f, 3.f));

    BrickShadeContext turned(outer, Point3(), Point3(), 2.f, 0.5f, 1, 1, 0);
    turned.DPdUVW(dP, 1);
    EXPECT_EQ(dP[0], Point3(0.f, 4.f, 0.f));
    EXPECT_EQ(dP[1], Point3(0.5f, 0.f, 0.f));

    // A scale of 0 or below leaves its vector as the surface gives it.
    BrickShadeContext unscaled(outer, Point3(), Point3(), 0.f, -1.f, 1, 1, 0);
    unscaled.DPdUVW(dP, 1);
    EXPECT_EQ(dP[0], Point3(0.f, 2.f, 0.f));
    EXPECT_EQ(dP[1], Point3(1.f, 0.f, 0.f));
}

}  // namespace
}  // namespace QuarelTest
