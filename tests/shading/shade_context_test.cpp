// The per-brick shade context: what it owns, what it forwards, what it keeps of the base.
#include <gtest/gtest.h>

#include <host/scripted_shade_context.h>

#include "shading/brick_shade_context.h"

namespace QuarelTest {
namespace {

using QuarelNS::BrickShadeContext;

TEST(BrickShadeContextTest, OwnsCoordinatesIdsAndOutputAndForwardsTheRest) {
    ScriptedShadeContext outer;
    outer.p = Point3(1.f, 2.f, 3.f);
    outer.normal = outer.origNormal = Point3(0.f, 1.f, 0.f);
    outer.dp = Point3(0.f, 3.f, 4.f);
    outer.bary = Point3(0.2f, 0.3f, 0.5f);
    outer.time = 4800;
    outer.nodeId = outer.faceNumber = outer.mtlNum = 77;
    outer.doMaps = FALSE;
    outer.rayLevel = 2;
    outer.out.gbufId = 9;

    BrickShadeContext b(outer, Point3(0.25f, 0.75f, 0.5f), Point3(0.01f, 0.02f, 0.f), 1.f, 1.f,
                        12345, 0, 1);
    for (int channel : {1, 2, 99}) {
        EXPECT_EQ(b.UVW(channel), Point3(0.25f, 0.75f, 0.5f));
        EXPECT_EQ(b.DUVW(channel), Point3(0.01f, 0.02f, 0.f));
    }
    EXPECT_EQ(b.NodeID(), 12345);
    EXPECT_EQ(b.FaceNumber(), 12345);
    EXPECT_EQ(b.mtlNum, 12345);
    EXPECT_EQ(b.doMaps, FALSE);  // copied fields
    EXPECT_EQ(b.rayLevel, 2);
    EXPECT_EQ(b.out.gbufId, 0);  // a fresh output record of its own
    b.SetGBufferID(5);
    EXPECT_EQ(outer.out.gbufId, 9);

    // Forwarded, the queries the base would otherwise answer by itself included.
    EXPECT_EQ(b.P(), outer.p);
    EXPECT_EQ(b.Normal(), outer.normal);
    EXPECT_EQ(b.OrigNormal(), outer.origNormal);
    EXPECT_EQ(b.CurTime(), 4800);
    EXPECT_EQ(b.BarycentricCoords(), outer.bary);
    EXPECT_FLOAT_EQ(b.RayDiam(), 5.f);   // the base's answer from the forwarded DP
    b.SetNormal(Point3(1.f, 0.f, 0.f));  // setters reach the wrapped context
    b.SetIOR(2.f);
    EXPECT_EQ(outer.normal, Point3(1.f, 0.f, 0.f));
    EXPECT_EQ(b.GetIOR(), 2.f);
    Point3 basis[2];
    EXPECT_EQ(b.BumpBasisVectors(basis, 0), 0);  // the base's own
}

TEST(BrickShadeContextTest, DerivativeVectorsFollowTheFrame) {
    ScriptedShadeContext outer;
    outer.dPdUVW[1] = Point3(0.f, 2.f, 0.f);
    outer.dPdUVW[2] = Point3(0.f, 0.f, 3.f);
    Point3 dP[3];
    BrickShadeContext upright(outer, Point3(), Point3(), 2.f, 0.5f, 1, 0, 1);
    upright.DPdUVW(dP, 1);
    EXPECT_EQ(dP[0], Point3(2.f, 0.f, 0.f));
    EXPECT_EQ(dP[1], Point3(0.f, 1.f, 0.f));
    EXPECT_EQ(dP[2], Point3(0.f, 0.f, 3.f));
    // Turned bricks: the nested-map tests.

    // A scale of 0 or below leaves its vector as the surface gives it.
    BrickShadeContext unscaled(outer, Point3(), Point3(), 0.f, -1.f, 1, 1, 0);
    unscaled.DPdUVW(dP, 1);
    EXPECT_EQ(dP[0], Point3(0.f, 2.f, 0.f));
    EXPECT_EQ(dP[1], Point3(1.f, 0.f, 0.f));
}

}  // namespace
}  // namespace QuarelTest
