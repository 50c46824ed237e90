// Seamless bricks in the colour core: every per-brick value of a brick that the unit tile's edge
// cuts is the same on both sides of the edge, and at the tile's corners.
#include <host/builtin_classes.h>

#include <cmath>

#include "pattern/catalogue.h"
#include "pattern/seamless_identity.h"
#include "shading/box_projection.h"
#include "support.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr float kEps = 1e-4f;
constexpr float kDegree = 0.017453292f;

struct Pair {
    float ua, va, ub, vb;
};

// One brick by its geometry alone: both points brick of one set and face size, and each side's
// local coordinates, stepped on across the edge, land on the other's (as the engine's own test
// judges it). Chevron strips restart their local v at every row, inside the tile too.
bool OneBrick(const EvalSnapshot& s, const Pair& p, float du, float dv) {
    const auto at = [&](float u, float v) { return CellAt(s, u, v); };
    const BrickCell a = at(p.ua, p.va), b = at(p.ub, p.vb);
    const BrickCell a0 = at(p.ua - 2.f * du, p.va - 2.f * dv);
    const BrickCell b0 = at(p.ub + 2.f * du, p.vb + 2.f * dv);
    if (a.isGrout || b.isGrout || a.kind != b.kind || a.turned != b.turned) return false;
    if (std::fabs(a.sizeU - b.sizeU) > 1e-3f * a.sizeV ||
        std::fabs(a.sizeV - b.sizeV) > 1e-3f * a.sizeV)
        return false;
    const auto onLine = [](float f, float back, float to) {
        return std::fabs(to - (2.f * f - back)) <= 0.25f * std::fabs(f - back) + 2e-5f;
    };
    const bool vToo = s.pattern != 11;
    return onLine(a.localU, a0.localU, b.localU) && onLine(b.localU, b0.localU, a.localU) &&
           (!vToo ||
            (onLine(a.localV, a0.localV, b.localV) && onLine(b.localV, b0.localV, a.localV)));
}

// Pairs just inside opposite edges, along an axis where the shape repeats, that are one brick;
// the corners among them.
std::vector<Pair> CutBrickPairs(const EvalSnapshot& s) {
    std::vector<Pair> out;
    const TileRepeat repeat = TileRepeatOf(PatternSettingsOn(s, BoxFace{}));
    constexpr float lo = kEps, hi = 1.f - kEps;
    std::vector<float> along;
    for (int k = 0; k < 41; ++k) along.push_back((static_cast<float>(k) + 0.41f) / 41.f);
    along.push_back(lo);
    along.push_back(hi);
    for (float x : along) {
        if (repeat.u && OneBrick(s, {hi, x, lo, x}, kEps, 0.f)) out.push_back({hi, x, lo, x});
        if (repeat.v && OneBrick(s, {x, hi, x, lo}, 0.f, kEps)) out.push_back({x, hi, x, lo});
    }
    return out;
}

class SeamlessBricks : public ShadingTest {
protected:
    // Every per-brick variation at once, strong enough to tell bricks apart.
    void Vary(int pattern, int nx, int ny) {
        snap = EvalSnapshot{};
        snap.pattern = pattern;
        snap.nx = nx;
        snap.ny = ny;
        snap.brick_color = Color(0.7f, 0.3f, 0.2f);
        snap.brick_color_2 = Color(0.2f, 0.5f, 0.7f);
        snap.color_variance = 0.4f;
        snap.hue_shift = 0.5f;
        snap.random_second_color_on = 1;
        snap.random_shift = 0.3f;
        snap.seed = 77;
        snap.random_fragment_on = 1;
        snap.fragment_size = 0.3f;
        snap.brick_angle = 270.f * kDegree;
        snap.random_texture_rotation_step = 90;
        snap.seamless_bricks = 1;
    }
};

TEST_F(SeamlessBricks, EveryPerBrickValueIsOneAcrossTheTileEdgeInEveryPattern) {
    ProbeMap probe;
    auto* multi = new MultiSubMap(7, MultiSubMap::kByNodeID);
    SingleRefMaker holder(multi);
    for (int p = 0; p < kPatternCount; ++p) {
        for (const auto& [nx, ny] : {std::pair{4, 8}, std::pair{6, 4}, std::pair{3, 5}}) {
            Vary(p, nx, ny);
            SCOPED_TRACE(::testing::Message() << "pattern " << p << " nx " << nx << " ny " << ny);
            for (const Pair& q : CutBrickPairs(snap)) {
                SCOPED_TRACE(::testing::Message()
                             << q.ua << ", " << q.va << " | " << q.ub << ", " << q.vb);
                // Colour, variance, hue and the random second colour.
                brickMap = brickMap2 = nullptr;
                EXPECT_EQ(At(q.ua, q.va), At(q.ub, q.vb));
                // The nested map's frame (rotation, fragment window) and id.
                brickMap = brickMap2 = &probe;
                At(q.ua, q.va);
                const Point3 uvwA = probe.uvw;
                const int idA = probe.nodeId;
                At(q.ub, q.vb);
                EXPECT_EQ(probe.nodeId, idA);
                // Chevron strips restart their local v at every row boundary, inside the tile
                // as at its edge: their nested frame breaks there either way.
                if (p != 11) {
                    EXPECT_NEAR(probe.uvw.x, uvwA.x, 0.01f);
                    EXPECT_NEAR(probe.uvw.y, uvwA.y, 0.01f);
                }
                // A map that chooses its sub-map by node id.
                brickMap = brickMap2 = multi;
                EXPECT_EQ(At(q.ua, q.va), At(q.ub, q.vb));
            }
        }
    }
}

TEST_F(SeamlessBricks, OffKeepsEachPartABrickOfItsOwn) {
    // 1/2 Running, nx 4: the odd row's brick is split at the tile edge today.
    Vary(0, 4, 8);
    snap.random_shift = 0.f;
    snap.seamless_bricks = 0;
    const float v = 1.5f / 8.f;
    ProbeMap probe;
    brickMap = brickMap2 = &probe;
    At(0.001f, v);
    const int left = probe.nodeId;
    At(0.999f, v);
    EXPECT_NE(probe.nodeId, left);
    snap.seamless_bricks = 1;
    At(0.001f, v);
    const int joined = probe.nodeId;
    At(0.999f, v);
    EXPECT_EQ(probe.nodeId, joined);
    // The brick takes the identity of its part at the right edge, brick 3.
    snap.seamless_bricks = 0;
    At(0.999f, v);
    EXPECT_EQ(probe.nodeId, joined);
}

TEST_F(SeamlessBricks, UnderAMasterTransformThePatternTilesEdgesKeepBricksWhole) {
    // Two pattern tiles across and shifted: the pattern tile's edges run through the UV tile.
    Vary(12, 4, 6);
    const float tiling = 2.f, offset = 0.3f;
    const std::vector<Pair> pairs = CutBrickPairs(snap);
    ASSERT_FALSE(pairs.empty());
    snap.master_u_tiling = snap.master_v_tiling = tiling;
    snap.master_u_offset = offset;
    const auto uvOf = [&](float um, float vm, float& u, float& v) {
        u = (um - 0.5f - offset) / tiling + 0.5f;
        v = (vm - 0.5f) / tiling + 0.5f;
    };
    int splitToday = 0;
    for (Pair q : pairs) {
        // The second point lies across the pattern tile's edge, in the next tile.
        if (q.ub < q.ua) q.ub += 1.f;
        if (q.vb < q.va) q.vb += 1.f;
        float ua, va, ub, vb;
        uvOf(q.ua, q.va, ua, va);
        uvOf(q.ub, q.vb, ub, vb);
        EXPECT_EQ(At(ua, va), At(ub, vb)) << ua << ", " << va << " | " << ub << ", " << vb;
        snap.seamless_bricks = 0;
        splitToday += At(ua, va) != At(ub, vb);
        snap.seamless_bricks = 1;
    }
    EXPECT_GT(splitToday, 0);
}

}  // namespace
}  // namespace QuarelTest
