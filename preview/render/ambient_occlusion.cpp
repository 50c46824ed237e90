#include "preview/render/ambient_occlusion.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

#include "preview/render/render.h"

namespace QuarelPreview {
namespace {

constexpr int kHorizonDirections = 8;
constexpr int kMaxHorizonSteps = 64;

struct HorizonStep {
    int dx, dy;
    float inverseDistance;  // 1 / pixels from the centre
    std::ptrdiff_t offset;  // in the height field's values, where the step does not wrap
};

// The pixel steps along each direction, nearest first; steps rounding to the centre or to the
// step before are dropped.
std::vector<std::vector<HorizonStep>> MarchSteps(double radiusPixels) {
    const int n = std::clamp(static_cast<int>(std::ceil(radiusPixels)), 1, kMaxHorizonSteps);
    std::vector<std::vector<HorizonStep>> dirs(kHorizonDirections);
    for (int d = 0; d < kHorizonDirections; ++d) {
        const double a = d * (2.0 * std::numbers::pi / kHorizonDirections);
        for (int s = 1; s <= n; ++s) {
            const double t = radiusPixels * s / n;
            const int dx = static_cast<int>(std::lround(t * std::cos(a)));
            const int dy = static_cast<int>(std::lround(t * std::sin(a)));
            if (dx == 0 && dy == 0) continue;
            if (!dirs[d].empty() && dirs[d].back().dx == dx && dirs[d].back().dy == dy) continue;
            dirs[d].push_back({dx, dy, static_cast<float>(1.0 / std::hypot(dx, dy)), 0});
        }
    }
    return dirs;
}

struct HeightField {
    int w, h;
    std::vector<float> z;  // height in pixels
    float At(int x, int y) const {
        x = ((x % w) + w) % w;
        y = ((y % h) + h) % h;
        return z[static_cast<std::size_t>(y) * w + x];
    }
};

HeightField HeightFieldOf(const Image& height, double depth) {
    HeightField f{height.width, height.height, {}};
    f.z.resize(static_cast<std::size_t>(f.w) * f.h);
    for (std::size_t i = 0; i < f.z.size(); ++i)
        f.z[i] = static_cast<float>(height.rgb16[i * 3] / 65535.0 * depth);
    return f;
}

// out[i] = the largest of in[i - r .. i + r] along a line of n values `stride` apart that wraps
// (van Herk and Gil-Werman: a prefix and a suffix maximum in blocks of the window's width).
void WrappedWindowMax(const float* in, float* out, int n, int stride, int r, std::vector<float>& g,
                      std::vector<float>& h) {
    const auto at = [&](int i) { return in[static_cast<std::size_t>(((i % n) + n) % n) * stride]; };
    const int w = 2 * r + 1;
    if (w >= n) {
        float m = at(0);
        for (int i = 1; i < n; ++i) m = std::max(m, at(i));
        for (int i = 0; i < n; ++i) out[static_cast<std::size_t>(i) * stride] = m;
        return;
    }
    const int len = n + 2 * r;
    g.resize(static_cast<std::size_t>(len));
    h.resize(static_cast<std::size_t>(len));
    for (int k = 0; k < len; ++k) g[k] = k % w == 0 ? at(k - r) : std::max(g[k - 1], at(k - r));
    for (int k = len - 1; k >= 0; --k)
        h[k] = k % w == w - 1 || k == len - 1 ? at(k - r) : std::max(h[k + 1], at(k - r));
    for (int i = 0; i < n; ++i)
        out[static_cast<std::size_t>(i) * stride] = std::max(h[i], g[i + w - 1]);
}

// The highest height within `r` pixels of each pixel along either axis, wrapped: a bound no
// step of the march can exceed.
std::vector<float> NeighbourhoodMax(const HeightField& f, int r) {
    std::vector<float> rows(f.z.size()), out(f.z.size());
    std::vector<float> g, h;
    for (int y = 0; y < f.h; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * f.w;
        WrappedWindowMax(f.z.data() + row, rows.data() + row, f.w, 1, r, g, h);
    }
    for (int x = 0; x < f.w; ++x)
        WrappedWindowMax(rows.data() + x, out.data() + x, f.h, f.w, r, g, h);
    return out;
}

struct Horizon {
    std::vector<std::vector<HorizonStep>> dirs;
    std::vector<std::vector<float>> reachInverse;  // per step: the largest 1 / distance from it on
    int reach = 0;                                 // the farthest step along x or y, pixels
};

Horizon HorizonOf(double radiusPixels, int width) {
    Horizon hz{MarchSteps(radiusPixels), {}, 0};
    for (std::vector<HorizonStep>& dir : hz.dirs) {
        std::vector<float> suffix(dir.size());
        float m = 0.f;
        for (std::size_t k = dir.size(); k-- > 0;) {
            dir[k].offset = static_cast<std::ptrdiff_t>(dir[k].dy) * width + dir[k].dx;
            m = std::max(m, dir[k].inverseDistance);
            suffix[k] = m;
            hz.reach = std::max({hz.reach, std::abs(dir[k].dx), std::abs(dir[k].dy)});
        }
        hz.reachInverse.push_back(std::move(suffix));
    }
    return hz;
}

// The march stops along a direction once no step left could rise more steeply than the
// steepest so far, given the highest height around: the same maximum, found sooner.
double OcclusionAt(const HeightField& f, const Horizon& hz, float highest, int x, int y) {
    const float here = f.At(x, y);
    const float rise = highest - here;
    // Away from the edges no step wraps, and the steps' offsets save the wrapping's divisions.
    const bool inside = x >= hz.reach && y >= hz.reach && x < f.w - hz.reach && y < f.h - hz.reach;
    const float* centre = f.z.data() + static_cast<std::ptrdiff_t>(y) * f.w + x;
    double hidden = 0.0;
    for (std::size_t d = 0; d < hz.dirs.size(); ++d) {
        const std::vector<HorizonStep>& dir = hz.dirs[d];
        float steepest = 0.f;
        for (std::size_t k = 0; k < dir.size(); ++k) {
            if (rise * hz.reachInverse[d][k] <= steepest) break;
            const HorizonStep& s = dir[k];
            const float there = inside ? centre[s.offset] : f.At(x + s.dx, y + s.dy);
            steepest = std::max(steepest, (there - here) * s.inverseDistance);
        }
        hidden += steepest / std::sqrt(1.0 + static_cast<double>(steepest) * steepest);
    }
    return 1.0 - hidden / kHorizonDirections;
}

}  // namespace

Image AmbientOcclusion(const Image& height, const OcclusionSettings& s) {
    const HeightField field = HeightFieldOf(height, s.depth);
    const Horizon hz = HorizonOf(s.radius * std::max(height.width, height.height), height.width);
    const std::vector<float> highest = NeighbourhoodMax(field, hz.reach);
    Image out = Image::Deep(height.width, height.height);
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int y = next++; y < height.height; y = next++)
            for (int x = 0; x < height.width; ++x) {
                const std::size_t at = static_cast<std::size_t>(y) * height.width + x;
                const double occlusion = OcclusionAt(field, hz, highest[at], x, y);
                const auto level = static_cast<std::uint16_t>(occlusion * 65535.0 + 0.5);
                const std::size_t i = at * 3;
                out.rgb16[i] = out.rgb16[i + 1] = out.rgb16[i + 2] = level;
            }
    };
    const int count = std::max(1, std::min(RenderThreadCount(s.threads), height.height));
    std::vector<std::thread> pool;
    for (int i = 0; i < count; ++i) pool.emplace_back(worker);
    for (std::thread& th : pool) th.join();
    return out;
}

}  // namespace QuarelPreview
