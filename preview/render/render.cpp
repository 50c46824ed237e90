#include "preview/render/render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"
#include "preview/render/relief_view.h"

namespace QuarelPreview {

namespace {

constexpr int kTile = 32;

std::uint8_t Byte(float c) {
    if (!(c > 0.f)) return 0;  // NaN as well
    if (c >= 1.f) return 255;
    // Rounds half up; no library call per channel (lround is one).
    return static_cast<std::uint8_t>(c * 255.f + 0.5f);
}

std::uint16_t Word(float c) {
    if (!(c > 0.f)) return 0;  // NaN as well
    if (c >= 1.f) return 65535;
    return static_cast<std::uint16_t>(c * 65535.f + 0.5f);
}

// Where pixel column x lies on the unrolled box: the face, and how far along it (0..1).
struct BoxLayout {
    int start[5] = {};  // first pixel column of each face, and the picture width
    float width[4] = {};
    BoxLayout(const RenderRequest& r) {
        const float faces[4] = {r.box.x, r.box.y, r.box.x, r.box.y};
        for (int f = 0; f < 4; ++f) {
            const int w = std::max(
                1, static_cast<int>(std::lround(static_cast<float>(r.size) * faces[f] / r.box.z)));
            width[f] = static_cast<float>(w);
            start[f + 1] = start[f] + w;
        }
    }
    int FaceOf(int x) const {
        int f = 0;
        while (f < 3 && x >= start[f + 1]) ++f;
        return f;
    }
};

}  // namespace

int RenderThreadCount(int requested) {
    if (requested > 0) return requested;
    const unsigned hw = std::thread::hardware_concurrency();
    return hw == 0 ? 1 : static_cast<int>(hw);
}

void PictureSize(const RenderRequest& r, int& width, int& height) {
    height = r.size;
    width = r.projection == Projection::Box ? BoxLayout(r).start[4] : r.size;
}

int TileCount(const RenderRequest& r) {
    int w = 0, h = 0;
    PictureSize(r, w, h);
    return ((w + kTile - 1) / kTile) * ((h + kTile - 1) / kTile);
}

Texmap* OutputTexmap(Output output, Texmap* map) {
    switch (output) {
        case Output::Normal:
        case Output::Height:
            return ReliefOutputFor(map, kNormalPrefix);
        case Output::Bump:
            return ReliefOutputFor(map, kBumpPrefix);
        default:
            return map;
    }
}

AColor EvalOutput(Output output, Texmap* target, const QuarelNS::PatternSettings& cells,
                  PointShadeContext& sc, float u, float v) {
    switch (output) {
        case Output::Mono: {
            const float m = target->EvalMono(sc);
            return AColor(m, m, m, 1.f);
        }
        case Output::Cells: {
            QuarelNS::BrickCell cell;
            QuarelNS::EvaluatePattern(cells, u, v, cell);
            const std::uint32_t c = QuarelNS::SwatchCellColour(cell);
            return AColor(static_cast<float>(c & 0xFF) / 255.f,
                          static_cast<float>((c >> 8) & 0xFF) / 255.f,
                          static_cast<float>((c >> 16) & 0xFF) / 255.f, 1.f);
        }
        case Output::Normal:
            return NormalOutputColor(target, sc);
        case Output::Bump:
            return BumpOutputColor(target, sc);
        case Output::Perturb:
            return PerturbationColor(target, sc);
        case Output::Height: {
            const float h = ReliefHeightAt(target, sc);
            return AColor(h, h, h, 1.f);
        }
        default:
            return target->EvalColor(sc);
    }
}

AColor SampleOutput(Output output, Texmap* map, const QuarelNS::PatternSettings& cells,
                    PointShadeContext& sc, float u, float v) {
    if (output == Output::Perturb) {
        const Point3 p = map->EvalNormalPerturb(sc);
        return AColor(p.x, p.y, p.z, 0.f);
    }
    return EvalOutput(output, OutputTexmap(output, map), cells, sc, u, v);
}

void RenderInto(const RenderRequest& r, Texmap* map, Image& target, int left, int top) {
    int width = 0, height = 0;
    PictureSize(r, width, height);
    const int tilesX = (width + kTile - 1) / kTile;
    const int tiles = tilesX * ((height + kTile - 1) / kTile);
    const int samples = std::max(1, r.samples);
    const SamplePattern pattern(samples);
    const ShadeContextBuilder builder(r.output == Output::Cells ? nullptr : map);
    const BoxLayout box(r);
    const bool onBox = r.projection == Projection::Box;
    // Filter size of one sample: the pixel shared among the samples along each side.
    const float perSide = std::sqrt(static_cast<float>(samples));
    const float scale = onBox ? 1.f / static_cast<float>(r.size)
                              : static_cast<float>(r.repeat) / static_cast<float>(r.size);
    const float filter = scale / perSide;
    const float inv = 1.f / static_cast<float>(samples);

    // Plane coordinates of sample s of pixel (x, y).
    const auto planeU = [&](int x, int s) {
        return (static_cast<float>(x) + pattern.x[static_cast<std::size_t>(s)]) * scale;
    };
    const auto planeV = [&](int y, int s) {
        const float py = static_cast<float>(y) + pattern.y[static_cast<std::size_t>(s)];
        return onBox ? 1.f - py * scale : static_cast<float>(r.repeat) - py * scale;
    };
    // With a separable generator each column's and each row's source is solved once, here,
    // before the render threads start; otherwise every sample solves its own.
    const bool solveAhead = builder.Separable() && r.output != Output::Cells;
    std::vector<PlaneSource> columns, rows;
    if (solveAhead) {
        PointShadeContext scratch;
        columns.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(samples));
        rows.resize(static_cast<std::size_t>(height) * static_cast<std::size_t>(samples));
        for (int x = 0; x < width; ++x)
            for (int s = 0; s < samples; ++s)
                columns[static_cast<std::size_t>(x * samples + s)] =
                    builder.Solve(scratch, planeU(x, s), 0.5f, filter, filter);
        for (int y = 0; y < height; ++y)
            for (int s = 0; s < samples; ++s)
                rows[static_cast<std::size_t>(y * samples + s)] =
                    builder.Solve(scratch, 0.5f, planeV(y, s), filter, filter);
    }

    Texmap* const evaluated = OutputTexmap(r.output, map);
    const bool deep = target.IsDeep();
    const bool flipGreen = r.normalYDown && IsNormalOutput(r.output);
    std::uint8_t* const pixels = target.rgb.data();
    std::uint16_t* const words = target.rgb16.data();
    const std::size_t rowBytes = static_cast<std::size_t>(target.width) * 3;
    std::atomic<int> nextTile{0};
    auto worker = [&] {
        PointShadeContext sc;
        for (int t = nextTile++; t < tiles; t = nextTile++) {
            const int x0 = (t % tilesX) * kTile, y0 = (t / tilesX) * kTile;
            const int x1 = std::min(width, x0 + kTile), y1 = std::min(height, y0 + kTile);
            for (int y = y0; y < y1; ++y) {
                // Bytes of this row; a local pointer, since byte stores would make the compiler
                // reload the image's buffer for every channel.
                const std::size_t rowStart = static_cast<std::size_t>(top + y) * rowBytes +
                                             static_cast<std::size_t>(left) * 3;
                std::uint8_t* const row = deep ? nullptr : pixels + rowStart;
                std::uint16_t* const wordRow = deep ? words + rowStart : nullptr;
                for (int x = x0; x < x1; ++x) {
                    const int face = onBox ? box.FaceOf(x) : 0;
                    float acc[3] = {0.f, 0.f, 0.f};
                    for (int s = 0; s < samples; ++s) {
                        const float u = planeU(x, s), v = planeV(y, s);
                        PlaneSource source;
                        if (solveAhead) {
                            const PlaneSource& c =
                                columns[static_cast<std::size_t>(x * samples + s)];
                            const PlaneSource& w = rows[static_cast<std::size_t>(y * samples + s)];
                            source = {c.x, w.y, c.dx, w.dy};
                        } else if (r.output != Output::Cells) {
                            source = builder.Solve(sc, u, v, filter, filter);
                        }
                        if (onBox) {
                            const float px =
                                static_cast<float>(x) + pattern.x[static_cast<std::size_t>(s)];
                            const float a =
                                (px - static_cast<float>(box.start[face])) / box.width[face];
                            builder.SetBoxPoint(sc, source, r.box, static_cast<BoxFace>(face), a,
                                                v);
                        } else {
                            ShadeContextBuilder::Apply(sc, source);
                        }
                        AColor c = EvalOutput(r.output, evaluated, r.cells, sc, u, v);
                        if (flipGreen) FlipGreen(c);
                        acc[0] += c.r, acc[1] += c.g, acc[2] += c.b;
                    }
                    const float norm = samples == 1 ? 1.f : inv;
                    if (deep) {
                        std::uint16_t* const p = wordRow + static_cast<std::size_t>(x) * 3;
                        p[0] = Word(acc[0] * norm);
                        p[1] = Word(acc[1] * norm);
                        p[2] = Word(acc[2] * norm);
                    } else {
                        std::uint8_t* const p = row + static_cast<std::size_t>(x) * 3;
                        p[0] = Byte(acc[0] * norm);
                        p[1] = Byte(acc[1] * norm);
                        p[2] = Byte(acc[2] * norm);
                    }
                }
            }
            if (r.progress) r.progress->Advance();
        }
    };
    // Evaluation runs on render threads only, as in a host; this thread waits.
    const int count = std::min(RenderThreadCount(r.threads), tiles);
    std::vector<std::thread> pool;
    for (int i = 0; i < count; ++i) pool.emplace_back(worker);
    for (std::thread& th : pool) th.join();
}

Image Render(const RenderRequest& r, Texmap* map) {
    int width = 0, height = 0;
    PictureSize(r, width, height);
    Image image = IsDeepOutput(r.output) ? Image::Deep(width, height) : Image(width, height);
    RenderInto(r, map, image);
    return image;
}

}  // namespace QuarelPreview
