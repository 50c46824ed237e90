#include "preview/render/brick_ids.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "pattern/evaluate.h"
#include "pattern/pattern_hash.h"
#include "pattern/wear.h"
#include "preview/render/render.h"
#include "preview/setup/map_setup.h"

namespace QuarelPreview {

namespace {

constexpr int kBand = 32;  // rows a worker takes at once, as the renderer's tiles

}  // namespace

BrickIdSettings BrickIdSettingsOf(Texmap* map, const ParamTable& table) {
    BrickIdSettings s;
    const CellQuery q = CellsSettings(map, table);
    s.cells = q.pattern;
    s.wear = q.wear;
    auto read = [&](const char* name, float& field) {
        const ParamEntry* p = table.Find(name);
        ParamValue v;
        if (p != nullptr && ReadParam(map, *p, v) && v.kind == ParamValue::Kind::Float) field = v.f;
    };
    read("master_u_tiling", s.tileU);
    read("master_v_tiling", s.tileV);
    read("master_u_offset", s.offsetU);
    read("master_v_offset", s.offsetV);
    read("master_angle", s.angle);
    if (const ParamEntry* p = table.Find("seamless_bricks")) {
        ParamValue v;
        s.seamless = ReadParam(map, *p, v) && v.i != 0;
    }
    return s;
}

QuarelNS::BrickCell BrickAt(const BrickIdSettings& s, float u, float v) {
    // The map's master transform, in its order and in single precision.
    float um = (u - 0.5f) * s.tileU + 0.5f + s.offsetU;
    float vm = (v - 0.5f) * s.tileV + 0.5f + s.offsetV;
    if (s.angle != 0.f) {
        const float c = std::cos(s.angle), sn = std::sin(s.angle);
        const float ru = (um - 0.5f) * c - (vm - 0.5f) * sn + 0.5f;
        const float rv = (vm - 0.5f) * c + (um - 0.5f) * sn + 0.5f;
        um = ru, vm = rv;
    }
    QuarelNS::BrickCell cell;
    QuarelNS::WearSettings wear = s.wear;
    wear.seamless = s.seamless;
    QuarelNS::EvaluateWornPattern(s.cells, wear, um - std::floor(um), vm - std::floor(vm), cell);
    return cell;
}

std::uint32_t BrickIdColour(const QuarelNS::BrickCell& cell) {
    if (cell.isGrout) return 0;
    const std::uint32_t k = QuarelNS::HashFinalize(
        QuarelNS::HashFinalize((static_cast<std::uint32_t>(cell.brickU) * 0x9E3779B1u) ^
                               (static_cast<std::uint32_t>(cell.brickV) * 0x85EBCA77u)) ^
        static_cast<std::uint32_t>(cell.kind) * 0xC2B2AE3Du);
    std::uint32_t colour = 0;
    for (int ch = 0; ch < 3; ++ch) {
        const std::uint32_t byte = (k >> (8 * ch)) & 0xFFu;
        colour |= (48u + byte * 207u / 255u) << (8 * ch);
    }
    return colour;
}

Image RenderBrickIds(const BrickIdSettings& s, int width, int height, int threads,
                     ProgressBar* progress) {
    Image image(width, height);
    const int bands = (height + kBand - 1) / kBand;
    const int tilesAcross = (width + kBand - 1) / kBand;
    const float scaleU = 1.f / static_cast<float>(width), scaleV = 1.f / static_cast<float>(height);
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int b = next++; b < bands; b = next++) {
            const int y1 = std::min(height, (b + 1) * kBand);
            for (int y = b * kBand; y < y1; ++y) {
                // Pixel centres, as the renderer places a single sample.
                const float v = 1.f - (static_cast<float>(y) + 0.5f) * scaleV;
                for (int x = 0; x < width; ++x)
                    image.Set(
                        x, y,
                        BrickIdColour(BrickAt(s, (static_cast<float>(x) + 0.5f) * scaleU, v)));
            }
            if (progress) progress->Advance(tilesAcross);
        }
    };
    const int count = std::max(1, std::min(RenderThreadCount(threads), bands));
    std::vector<std::thread> pool;
    for (int i = 0; i < count; ++i) pool.emplace_back(worker);
    for (std::thread& th : pool) th.join();
    return image;
}

}  // namespace QuarelPreview
