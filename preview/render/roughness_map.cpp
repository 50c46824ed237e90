#include "preview/render/roughness_map.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "pattern/pattern_hash.h"
#include "preview/render/render.h"

namespace QuarelPreview {

double RoughnessOf(const RoughnessSettings& r, const QuarelNS::BrickCell& cell) {
    if (cell.isGrout) return std::clamp(r.joint, 0.0, 1.0);
    // A stream of its own (not the colour's), so roughness does not follow brightness.
    const std::uint32_t k = QuarelNS::HashFinalize(
        QuarelNS::HashFinalize((static_cast<std::uint32_t>(cell.brickU) * 0x9E3779B1u) ^
                               (static_cast<std::uint32_t>(cell.brickV) * 0x85EBCA77u) ^
                               (r.seed * 0x27D4EB2Fu) ^ 0x52A3C6E1u) ^
        static_cast<std::uint32_t>(cell.kind) * 0xC2B2AE3Du);
    const double unit = static_cast<double>(QuarelNS::HashUnit(k));
    return std::clamp(r.brick + r.variance * (2.0 * unit - 1.0), 0.0, 1.0);
}

Image RenderRoughness(const BrickIdSettings& ids, const RoughnessSettings& r, int width, int height,
                      int threads) {
    Image image = Image::Deep(width, height);
    const float scaleU = 1.f / static_cast<float>(width), scaleV = 1.f / static_cast<float>(height);
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int y = next++; y < height; y = next++) {
            const float v = 1.f - (static_cast<float>(y) + 0.5f) * scaleV;
            for (int x = 0; x < width; ++x) {
                const double value =
                    RoughnessOf(r, BrickAt(ids, (static_cast<float>(x) + 0.5f) * scaleU, v));
                const auto level = static_cast<std::uint16_t>(value * 65535.0 + 0.5);
                const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
                image.rgb16[i] = image.rgb16[i + 1] = image.rgb16[i + 2] = level;
            }
        }
    };
    const int count = std::max(1, std::min(RenderThreadCount(threads), height));
    std::vector<std::thread> pool;
    for (int i = 0; i < count; ++i) pool.emplace_back(worker);
    for (std::thread& th : pool) th.join();
    return image;
}

}  // namespace QuarelPreview
