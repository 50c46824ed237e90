#include "preview/render/height_normals.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "preview/render/render.h"

namespace QuarelPreview {

namespace {

std::uint16_t NormalWord(double c) {
    if (!(c > 0.0)) return 0;
    if (c >= 1.0) return 65535;
    return static_cast<std::uint16_t>(c * 65535.0 + 0.5);
}

// Index of i wrapped into [0, n), for any i.
int WrapIndex(int i, int n) {
    const int m = i % n;
    return m < 0 ? m + n : m;
}

}  // namespace

Image NormalsFromHeight(const Image& height, const HeightNormalSettings& s) {
    const int w = height.width, h = height.height;
    Image out = Image::Deep(w, h);
    if (w <= 0 || h <= 0 || !height.IsDeep()) return out;
    const int r = std::clamp(s.bevel, 0, kMaxBevel);
    const std::int64_t sum = static_cast<std::int64_t>(r + 1) * (r + 1);  // tent weights, one axis

    // Wrapped neighbour indices, so the loops below never branch on an edge.
    std::vector<int> colAt(static_cast<std::size_t>(w + 2 * r + 2));
    std::vector<int> rowAt(static_cast<std::size_t>(h + 2 * r + 2));
    for (int i = 0; i < w + 2 * r + 2; ++i)
        colAt[static_cast<std::size_t>(i)] = WrapIndex(i - r - 1, w);
    for (int i = 0; i < h + 2 * r + 2; ++i)
        rowAt[static_cast<std::size_t>(i)] = WrapIndex(i - r - 1, h);
    const auto col = [&](int x) { return colAt[static_cast<std::size_t>(x + r + 1)]; };
    const auto row = [&](int y) { return rowAt[static_cast<std::size_t>(y + r + 1)]; };

    // Pass 1: each row smoothed along x. At most 65535 * 65^2, which fits 32 bits.
    std::vector<std::uint32_t> across(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const int threads = std::max(1, std::min(RenderThreadCount(s.threads), h));
    auto rowsOf = [&](int t, int& y0, int& y1) {
        y0 = static_cast<int>(static_cast<long long>(h) * t / threads);
        y1 = static_cast<int>(static_cast<long long>(h) * (t + 1) / threads);
    };
    auto smoothRows = [&](int t) {
        int y0, y1;
        rowsOf(t, y0, y1);
        for (int y = y0; y < y1; ++y) {
            const std::uint16_t* in = height.rgb16.data() + static_cast<std::size_t>(y) * w * 3;
            std::uint32_t* o = across.data() + static_cast<std::size_t>(y) * w;
            for (int x = 0; x < w; ++x) {
                std::uint32_t acc = 0;
                for (int i = -r; i <= r; ++i)
                    acc += static_cast<std::uint32_t>(r + 1 - std::abs(i)) *
                           in[static_cast<std::size_t>(col(x + i)) * 3];
                o[x] = acc;
            }
        }
    };

    // Pass 2: columns smoothed along y, three rows at a time, and the normals of the middle one.
    // Sums reach 65535 * 65^4: 64 bits.
    const double scale = s.depth / (2.0 * 65535.0 * static_cast<double>(sum * sum));
    const double ySign = s.yDown ? -1.0 : 1.0;
    auto normalRows = [&](int t) {
        int y0, y1;
        rowsOf(t, y0, y1);
        if (y0 >= y1) return;
        std::vector<std::int64_t> window(static_cast<std::size_t>(w) * 3);
        auto smoothRow = [&](int y, std::int64_t* o) {
            for (int x = 0; x < w; ++x) o[x] = 0;
            for (int j = -r; j <= r; ++j) {
                const std::int64_t weight = r + 1 - std::abs(j);
                const std::uint32_t* a = across.data() + static_cast<std::size_t>(row(y + j)) * w;
                for (int x = 0; x < w; ++x) o[x] += weight * a[x];
            }
        };
        std::int64_t* above = window.data();
        std::int64_t* here = above + w;
        std::int64_t* below = here + w;
        smoothRow(y0 - 1, above);
        smoothRow(y0, here);
        for (int y = y0; y < y1; ++y) {
            smoothRow(y + 1, below);
            std::uint16_t* o = out.rgb16.data() + static_cast<std::size_t>(y) * w * 3;
            for (int x = 0; x < w; ++x) {
                const std::int64_t gx = here[col(x + 1)] - here[col(x - 1)];
                const std::int64_t gy = below[x] - above[x];  // rows grow downwards
                if (gx == 0 && gy == 0) {
                    o[3 * x] = o[3 * x + 1] = 32768;  // (0.5, 0.5, 1) exactly
                    o[3 * x + 2] = 65535;
                    continue;
                }
                // z = depth * h: -dz/dx, and -dz/dy with y up the picture, which is +dz/drow.
                const double nx = -static_cast<double>(gx) * scale;
                const double ny = static_cast<double>(gy) * scale * ySign;
                const double len = std::sqrt(nx * nx + ny * ny + 1.0);
                o[3 * x] = NormalWord(nx / len * 0.5 + 0.5);
                o[3 * x + 1] = NormalWord(ny / len * 0.5 + 0.5);
                o[3 * x + 2] = NormalWord(1.0 / len * 0.5 + 0.5);
            }
            std::int64_t* recycled = above;
            above = here;
            here = below;
            below = recycled;
        }
    };

    auto run = [&](auto&& body) {
        std::vector<std::thread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back(body, t);
        body(0);
        for (std::thread& th : pool) th.join();
    };
    run(smoothRows);
    run(normalRows);
    return out;
}

}  // namespace QuarelPreview
