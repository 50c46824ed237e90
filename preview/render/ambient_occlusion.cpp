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
            dirs[d].push_back({dx, dy, static_cast<float>(1.0 / std::hypot(dx, dy))});
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

double OcclusionAt(const HeightField& f, const std::vector<std::vector<HorizonStep>>& dirs, int x,
                   int y) {
    const float here = f.At(x, y);
    double hidden = 0.0;
    for (const std::vector<HorizonStep>& dir : dirs) {
        float steepest = 0.f;
        for (const HorizonStep& s : dir)
            steepest = std::max(steepest, (f.At(x + s.dx, y + s.dy) - here) * s.inverseDistance);
        hidden += steepest / std::sqrt(1.0 + static_cast<double>(steepest) * steepest);
    }
    return 1.0 - hidden / kHorizonDirections;
}

}  // namespace

Image AmbientOcclusion(const Image& height, const OcclusionSettings& s) {
    const HeightField field = HeightFieldOf(height, s.depth);
    const auto dirs = MarchSteps(s.radius * std::max(height.width, height.height));
    Image out = Image::Deep(height.width, height.height);
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int y = next++; y < height.height; y = next++)
            for (int x = 0; x < height.width; ++x) {
                const auto level =
                    static_cast<std::uint16_t>(OcclusionAt(field, dirs, x, y) * 65535.0 + 0.5);
                const std::size_t i = (static_cast<std::size_t>(y) * height.width + x) * 3;
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
