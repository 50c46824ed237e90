// The bake's roughness and occlusion maps: one roughness per brick of the id map's identity and
// the joint's in the joint; occlusion 1 on open flat tops, darker in joints, wrapped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <set>

#include "preview/render/ambient_occlusion.h"
#include "preview/render/brick_ids.h"
#include "preview/render/roughness_map.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::Table;

constexpr const char* kWall = R"({"pattern": "1/2 Running", "nx": 4, "ny": 8, "gap_u": 0.2,
    "gap_v": 0.25, "seed": 42})";

int Level(const Image& im, int x, int y) {
    return im.rgb16[(static_cast<std::size_t>(y) * im.width + x) * 3];
}

int Level(double value) {
    return static_cast<int>(value * 65535.0 + 0.5);
}

// Pixels of one id colour share one roughness; the grout has the joint's; bricks vary, and
// neighbouring bricks differ; without variance every brick has the bricks' value.
TEST(BakedRoughness, OneValuePerBrickAndTheJointsInTheJoint) {
    auto slot = QuarelPreviewTest::MapFromPreset(kWall);
    const BrickIdSettings ids = BrickIdSettingsOf(slot->Get(), Table());
    constexpr int kSize = 64;
    const Image id = RenderBrickIds(ids, kSize, kSize, 0, nullptr);
    RoughnessSettings r{0.6, 0.9, 0.2, 42};
    const Image rough = RenderRoughness(ids, r, kSize, kSize, 2);
    std::map<std::uint32_t, int> valueOf;
    std::set<int> values;
    int neighboursDiffer = 0, joints = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t brick = id.Get(x, y);
            const int v = Level(rough, x, y);
            if (brick == 0) {
                EXPECT_EQ(v, Level(0.9)) << x << "," << y;
                ++joints;
                continue;
            }
            EXPECT_GE(v, Level(0.4));
            EXPECT_LE(v, Level(0.8));
            EXPECT_EQ(valueOf.emplace(brick, v).first->second, v) << x << "," << y;
            values.insert(v);
            const std::uint32_t right = id.Get((x + 1) % kSize, y);
            if (right != 0 && right != brick) neighboursDiffer += v != Level(rough, x + 1, y);
        }
    }
    EXPECT_GT(joints, kSize);
    EXPECT_GT(values.size(), 8u);
    EXPECT_GT(neighboursDiffer, 0);

    r.variance = 0;
    const Image even = RenderRoughness(ids, r, kSize, kSize, 1);
    for (int i = 0; i < kSize * kSize; ++i) {
        const int x = i % kSize, y = i / kSize;
        EXPECT_EQ(Level(even, x, y), id.Get(x, y) == 0 ? Level(0.9) : Level(0.6));
    }
    // Another seed, other bricks' values.
    r.variance = 0.2;
    r.seed = 43;
    EXPECT_NE(RenderRoughness(ids, r, kSize, kSize, 1).rgb16, rough.rgb16);
}

// A pixel's neighbour across the tile's edge is the plane's next pixel, as in the id map.
TEST(BakedRoughness, TheTileWraps) {
    auto slot = QuarelPreviewTest::MapFromPreset(kWall);
    const BrickIdSettings ids = BrickIdSettingsOf(slot->Get(), Table());
    constexpr int kSize = 48;
    const RoughnessSettings r{0.5, 1.0, 0.3, 7};
    const Image rough = RenderRoughness(ids, r, kSize, kSize, 2);
    for (int i = 0; i < kSize; ++i) {
        const float c = (static_cast<float>(i) + 0.5f) / kSize;
        EXPECT_EQ(Level(rough, kSize - 1, i),
                  Level(RoughnessOf(r, BrickAt(ids, -0.5f / kSize, 1.f - c))));
        EXPECT_EQ(Level(rough, i, kSize - 1),
                  Level(RoughnessOf(r, BrickAt(ids, c, 1.f + 0.5f / kSize))));
    }
}

// Bricks of height 1 with a joint of height 0 two pixels wide along column 0 and 1 and along
// row 0 and 1: the tile's edges cut the joints, so the wrap is seen.
Image JointedHeight(int size) {
    Image h = Image::Deep(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool joint = x < 2 || y < 2 || x == size / 2 || x == size / 2 + 1;
            const std::size_t i = (static_cast<std::size_t>(y) * size + x) * 3;
            h.rgb16[i] = h.rgb16[i + 1] = h.rgb16[i + 2] = joint ? 0 : 65535;
        }
    return h;
}

TEST(BakedOcclusion, OpenTopsAreOneJointsDarkerAndTheEdgesWrap) {
    constexpr int kSize = 64;
    const Image h = JointedHeight(kSize);
    const OcclusionSettings s{4.0 / kSize, 6.0, 2};
    const Image ao = AmbientOcclusion(h, s);
    EXPECT_EQ(Level(ao, 16, 32), 65535);  // far from every joint
    EXPECT_EQ(Level(ao, 3, 32), 65535);   // beside a joint, on the top: nothing higher
    EXPECT_LT(Level(ao, 0, 32), 65535 * 3 / 4);
    EXPECT_LT(Level(ao, 33, 32), 65535 * 3 / 4);
    // Column 0 of the joint has the bricks of the tile's last column beside it, as column 1 has
    // those of column 2: the two mirror each other.
    for (int y = 8; y < kSize - 8; ++y) EXPECT_EQ(Level(ao, 0, y), Level(ao, 1, y)) << y;
    for (int x = 8; x < kSize / 2 - 8; ++x) EXPECT_EQ(Level(ao, x, 0), Level(ao, x, 1)) << x;
    // A crossing of joints, open along both, is still darker than a top.
    EXPECT_LT(Level(ao, 1, 1), 65535);
    // Bytes do not depend on the thread count.
    EXPECT_EQ(AmbientOcclusion(h, {s.radius, s.depth, 1}).rgb16, ao.rgb16);
    EXPECT_EQ(AmbientOcclusion(h, {s.radius, s.depth, 5}).rgb16, ao.rgb16);
}

// A flat field is open everywhere; a deeper relief darkens the same joint more.
TEST(BakedOcclusion, FlatIsOpenAndDepthDarkens) {
    Image flat = Image::Deep(16, 16);
    for (auto& v : flat.rgb16) v = 30000;
    for (auto v : AmbientOcclusion(flat, {0.1, 6.0, 1}).rgb16) EXPECT_EQ(v, 65535);
    const Image h = JointedHeight(32);
    EXPECT_LT(Level(AmbientOcclusion(h, {0.1, 12.0, 1}), 0, 16),
              Level(AmbientOcclusion(h, {0.1, 3.0, 1}), 0, 16));
}

// The operator as documented, marched in full at every pixel: the map skips steps that cannot
// rise above the horizon found so far, and must give the same bytes.
double PlainOcclusion(const Image& height, double radius, double depth, int x, int y) {
    const int w = height.width, h = height.height;
    const auto z = [&](int px, int py) {
        px = ((px % w) + w) % w, py = ((py % h) + h) % h;
        return static_cast<float>(Level(height, px, py) / 65535.0 * depth);
    };
    const double reach = radius * std::max(w, h);
    const int n = std::clamp(static_cast<int>(std::ceil(reach)), 1, 64);
    double hidden = 0.0;
    for (int d = 0; d < 8; ++d) {
        const double a = d * (2.0 * std::numbers::pi / 8);
        float steepest = 0.f;
        for (int s = 1; s <= n; ++s) {
            const int dx = static_cast<int>(std::lround(reach * s / n * std::cos(a)));
            const int dy = static_cast<int>(std::lround(reach * s / n * std::sin(a)));
            if (dx == 0 && dy == 0) continue;
            const auto inv = static_cast<float>(1.0 / std::hypot(dx, dy));
            steepest = std::max(steepest, (z(x + dx, y + dy) - z(x, y)) * inv);
        }
        hidden += steepest / std::sqrt(1.0 + static_cast<double>(steepest) * steepest);
    }
    return 1.0 - hidden / 8;
}

TEST(BakedOcclusion, TheSameAsTheOperatorMarchedInFull) {
    Image h = Image::Deep(40, 56);  // not square, so the reach is the longer side's
    std::uint32_t k = 12345;
    for (std::size_t i = 0; i < h.rgb16.size(); i += 3) {
        k = k * 1664525u + 1013904223u;
        // Plateaus at a few heights, with a little noise on some.
        const int x = static_cast<int>(i / 3 % 40), y = static_cast<int>(i / 3 / 40);
        const int plateau = ((x / 9) * 7 + (y / 11) * 3) % 4;
        h.rgb16[i] = static_cast<std::uint16_t>(plateau * 16000 + ((k >> 28) == 0 ? k >> 20 : 0));
    }
    for (const double radius : {0.02, 0.15, 0.6}) {
        const Image ao = AmbientOcclusion(h, {radius, 6.0, 2});
        for (int y = 0; y < h.height; ++y)
            for (int x = 0; x < h.width; ++x)
                ASSERT_EQ(Level(ao, x, y), Level(PlainOcclusion(h, radius, 6.0, x, y)))
                    << radius << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace QuarelPreview
