// Nested maps on bricks: per-brick ids reach maps that choose by them, and the brick's own frame
// reaches maps that read coordinates and derivative vectors.
#include <host/builtin_classes.h>

#include <set>

#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

TEST_F(ShadingTest, MultiSubMapShowsSubMapsPerBrick) {
    for (auto mode : {MultiSubMap::kByNodeID, MultiSubMap::kByFaceNumber, MultiSubMap::kByMtlNum}) {
        auto* multi = new MultiSubMap(6, mode);
        SingleRefMaker holder(multi);
        brickMap = multi;
        sc.nodeId = sc.faceNumber = sc.mtlNum = 3;  // the surface's own ids must not show
        std::set<int> slots;
        for (const BrickPoint& p : BrickCentres(snap)) {
            const AColor c = At(p.u, p.v);
            int slot = -1;
            for (int i = 0; i < 6; ++i) {
                if (c == AColor(MultiSubMap::SlotColor(i))) slot = i;
            }
            ASSERT_GE(slot, 0);
            slots.insert(slot);
            // The whole face of one brick shows one sub-map.
            for (float d : {-0.02f, 0.02f}) {
                const BrickCell c2 = CellAt(snap, p.u + d, p.v);
                if (!c2.isGrout && c2.brickU == p.cell.brickU && c2.brickV == p.cell.brickV) {
                    EXPECT_EQ(At(p.u + d, p.v), c);
                }
            }
        }
        EXPECT_GE(slots.size(), 5u) << "mode " << mode;
    }
}

TEST_F(ShadingTest, BrickIdsFollowTheSeed) {
    ProbeMap probe;
    brickMap = &probe;
    const auto centres = BrickCentres(snap);
    std::vector<int> ids;
    for (const BrickPoint& p : centres) {
        At(p.u, p.v);
        EXPECT_EQ(probe.nodeId, probe.faceNumber);
        EXPECT_EQ(probe.nodeId, probe.mtlNum);
        EXPECT_GE(probe.nodeId, 0);
        ids.push_back(probe.nodeId);
    }
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), ids.size());
    snap.seed = 99;
    int changed = 0;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        At(centres[i].u, centres[i].v);
        changed += probe.nodeId != ids[i];
    }
    EXPECT_EQ(changed, static_cast<int>(centres.size()));
}

TEST_F(ShadingTest, BrickMapSeesTheBricksFrame) {
    ProbeMap probe;
    brickMap = &probe;
    snap.pattern = 2;  // "Common Flemish": its stretchers are wider than tall, their frame turned
    snap.brick_u_tiling = 2.f;
    snap.brick_v_offset = 0.25f;
    sc.dPdUVW[0] = Point3(1.f, 0.f, 0.f);
    sc.dPdUVW[1] = Point3(0.f, 1.f, 0.f);
    sc.dPdUVW[2] = Point3(0.f, 0.f, 1.f);
    int checked = 0;
    for (const BrickPoint& p : BrickCentres(snap)) {
        const BrickCell& cell = p.cell;
        if (cell.turned != 1 || cell.kind != 0) continue;
        ASSERT_GT(cell.projSizeU, 0.f);
        At(p.u, p.v);
        EXPECT_NEAR(probe.uvw.x, std::fmod(cell.localU * 2.f, 1.f), 1e-5f);
        EXPECT_NEAR(probe.uvw.y, std::fmod(cell.localV + 0.25f, 1.f), 1e-5f);
        // Local u runs along v: it takes v's filter size and v's derivative vector.
        EXPECT_NEAR(probe.duvw.x, duvw.y * 2.f / cell.projSizeU, 1e-6f);
        EXPECT_NEAR(probe.duvw.y, duvw.x / cell.projSizeV, 1e-6f);
        EXPECT_NEAR(probe.dP[0].y, 1.f / (2.f * cell.projSizeU), 1e-3f);
        EXPECT_EQ(probe.dP[0].x, 0.f);
        EXPECT_NEAR(probe.dP[1].x, 1.f / cell.projSizeV, 1e-3f);
        EXPECT_EQ(probe.dP[1].y, 0.f);
        EXPECT_EQ(probe.dP[2], Point3(0.f, 0.f, 1.f));
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

}  // namespace
}  // namespace QuarelTest
