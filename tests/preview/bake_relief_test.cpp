// A bake of a map that bevels its own bricks: the normal map follows the map's height, so a
// large bake shrunk to a small one's size shows the same relief as the small bake.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "preview/common/image.h"
#include "preview_support.h"

namespace QuarelPreviewTest {
namespace {

using QuarelPreview::Image;

Image BakedNormals(int size, const std::string& extra) {
    const std::string prefix = (TestDir() / ("wall" + std::to_string(size))).string();
    std::vector<std::string> args = {"bake",
                                     "--preset",
                                     SourceDir() + "/presets/brick-wall.json",
                                     "--size",
                                     std::to_string(size),
                                     "--samples",
                                     "4",
                                     "--quiet",
                                     "--out",
                                     prefix};
    if (!extra.empty()) args.insert(args.end(), {"--set", extra});
    std::string err;
    EXPECT_EQ(RunTool(args, "", nullptr, &err), 0) << err;
    Image normals;
    EXPECT_TRUE(ReadPng(prefix + "-normal.png", normals));
    return normals;
}

// The mean of each k x k block of pixels, channel by channel, in 0..1.
std::vector<float> Shrunk(const Image& im, int k) {
    const int w = im.width / k;
    std::vector<float> out(static_cast<std::size_t>(w) * w * 3, 0.f);
    for (int y = 0; y < im.height; ++y)
        for (int x = 0; x < im.width; ++x)
            for (int c = 0; c < 3; ++c)
                out[(static_cast<std::size_t>(y / k) * w + x / k) * 3 + c] +=
                    im.rgb[(static_cast<std::size_t>(y) * im.width + x) * 3 + c] /
                    (255.f * static_cast<float>(k * k));
    return out;
}

// How far two normal maps of one size are apart: the mean and the largest difference of the
// red and green channels (the tilt), in 0..1 units.
struct Apart {
    float mean = 0.f, largest = 0.f;
};
Apart Compare(const std::vector<float>& a, const std::vector<float>& b) {
    Apart d;
    std::size_t n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i % 3 == 2) continue;
        const float e = std::fabs(a[i] - b[i]);
        d.mean += e;
        d.largest = std::max(d.largest, e);
        ++n;
    }
    d.mean /= static_cast<float>(n);
    return d;
}

// 512 px shrunk to 128 px against the 128 px bake: with the map's bevel they agree to within a
// hundredth on average; without it the pixel-sized relief of the two differs several times more.
TEST(BakeRelief, TheMapsBevelLooksTheSameAtAnyBakeSize) {
    const Apart bevelled = Compare(Shrunk(BakedNormals(512, "bevel_width=0.3"), 4),
                                   Shrunk(BakedNormals(128, "bevel_width=0.3"), 1));
    const Apart stepped = Compare(Shrunk(BakedNormals(512, "bevel_width=0"), 4),
                                  Shrunk(BakedNormals(128, "bevel_width=0"), 1));
    EXPECT_LT(bevelled.mean, 0.01f);
    EXPECT_LT(bevelled.largest, 0.25f);
    EXPECT_GT(stepped.mean, 3.f * bevelled.mean);
}

}  // namespace
}  // namespace QuarelPreviewTest
