#include "preview/cell_map.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"

namespace QuarelPreview {

namespace {

int ThreadCount(int requested) {
    if (requested > 0) return requested;
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1 : static_cast<int>(hw);
}

}  // namespace

void RenderCellMap(const CellMapRequest& request, Image& target, int left, int top) {
    const int n = request.size;
    const float scale = static_cast<float>(request.repeat) / static_cast<float>(n);
    std::atomic<int> nextRow{0};
    auto worker = [&] {
        for (int y = nextRow++; y < n; y = nextRow++) {
            const float v =
                static_cast<float>(request.repeat) - (static_cast<float>(y) + 0.5f) * scale;
            for (int x = 0; x < n; ++x) {
                const float u = (static_cast<float>(x) + 0.5f) * scale;
                QuarelNS::BrickCell cell;
                QuarelNS::EvaluatePattern(request.settings, u, v, cell);
                target.Set(left + x, top + y, QuarelNS::SwatchCellColour(cell));
            }
        }
    };
    const int count = std::min(ThreadCount(request.threads), std::max(1, n / 8));
    std::vector<std::thread> pool;
    for (int i = 1; i < count; ++i) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();
}

Image RenderCellMap(const CellMapRequest& request) {
    Image image(request.size, request.size);
    RenderCellMap(request, image);
    return image;
}

}  // namespace QuarelPreview
