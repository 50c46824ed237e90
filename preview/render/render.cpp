#include "preview/render/render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

#include "pattern/evaluate.h"
#include "pattern/swatch_colour.h"
#include "pattern/wear.h"
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
    width = r.projection == Projection::Box ? BoxLayout(r).start[4]
            : r.width > 0                   ? r.width
                                            : r.size;
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

AColor EvalOutput(Output output, Texmap* target, const CellQuery& cells, PointShadeContext& sc,
                  float u, float v) {
    switch (output) {
        case Output::Mono: {
            const float m = target->EvalMono(sc);
            return AColor(m, m, m, 1.f);
        }
        case Output::Cells: {
            QuarelNS::BrickCell cell;
            QuarelNS::EvaluateWornPattern(cells.pattern, cells.wear, u, v, cell);
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

AColor SampleOutput(Output output, Texmap* map, const CellQuery& cells, PointShadeContext& sc,
                    float u, float v) {
    if (output == Output::Perturb) {
        const Point3 p = map->EvalNormalPerturb(sc);
        return AColor(p.x, p.y, p.z, 0.f);
    }
    return EvalOutput(output, OutputTexmap(output, map), cells, sc, u, v);
}

namespace {

// One render of a request into a target: where each pixel's samples lie, fixed before the render
// threads start, and the work of one tile, which any render thread may take.
class PictureRender {
public:
    PictureRender(const RenderRequest& r, Texmap* map, Image& target, int left, int top)
        : mR(r),
          mTarget(target),
          mLeft(left),
          mTop(top),
          mSamples(std::max(1, r.samples)),
          mPattern(mSamples),
          mBuilder(r.output == Output::Cells ? nullptr : map),
          mBox(r),
          mOnBox(r.projection == Projection::Box),
          mEvaluated(OutputTexmap(r.output, map)),
          mFlipGreen(r.normalYDown && IsNormalOutput(r.output)) {
        PictureSize(r, mWidth, mHeight);
        mTilesX = (mWidth + kTile - 1) / kTile;
        mTiles = mTilesX * ((mHeight + kTile - 1) / kTile);
        // Filter size of one sample: the pixel shared among the samples along each side.
        const float perSide = std::sqrt(static_cast<float>(mSamples));
        mScale = mOnBox ? 1.f / static_cast<float>(r.size)
                        : static_cast<float>(r.repeat) / static_cast<float>(r.size);
        // A plane wider than high stretches the tile across: u has a scale of its own.
        mScaleU = mOnBox ? mScale : static_cast<float>(r.repeat) / static_cast<float>(mWidth);
        mFilter = mScale / perSide;
        mFilterU = mScaleU / perSide;
        mNorm = mSamples == 1 ? 1.f : 1.f / static_cast<float>(mSamples);
        mSolveAhead = mBuilder.Separable() && r.output != Output::Cells;
        if (mSolveAhead) SolveAhead();
    }

    int Tiles() const { return mTiles; }

    void Tile(PointShadeContext& sc, int t) const {
        const int x0 = (t % mTilesX) * kTile, y0 = (t / mTilesX) * kTile;
        const int x1 = std::min(mWidth, x0 + kTile), y1 = std::min(mHeight, y0 + kTile);
        const bool deep = mTarget.IsDeep();
        const std::size_t rowBytes = static_cast<std::size_t>(mTarget.width) * 3;
        for (int y = y0; y < y1; ++y) {
            // Bytes of this row; a local pointer, since byte stores would make the compiler
            // reload the image's buffer for every channel.
            const std::size_t rowStart =
                static_cast<std::size_t>(mTop + y) * rowBytes + static_cast<std::size_t>(mLeft) * 3;
            std::uint8_t* const row = deep ? nullptr : mTarget.rgb.data() + rowStart;
            std::uint16_t* const wordRow = deep ? mTarget.rgb16.data() + rowStart : nullptr;
            for (int x = x0; x < x1; ++x) {
                float acc[3] = {0.f, 0.f, 0.f};
                Pixel(sc, x, y, acc);
                if (deep) {
                    std::uint16_t* const p = wordRow + static_cast<std::size_t>(x) * 3;
                    p[0] = Word(acc[0] * mNorm);
                    p[1] = Word(acc[1] * mNorm);
                    p[2] = Word(acc[2] * mNorm);
                } else {
                    std::uint8_t* const p = row + static_cast<std::size_t>(x) * 3;
                    p[0] = Byte(acc[0] * mNorm);
                    p[1] = Byte(acc[1] * mNorm);
                    p[2] = Byte(acc[2] * mNorm);
                }
            }
        }
    }

private:
    // Plane coordinates of sample s of pixel (x, y).
    float PlaneU(int x, int s) const {
        return (static_cast<float>(x) + mPattern.x[static_cast<std::size_t>(s)]) * mScaleU;
    }
    float PlaneV(int y, int s) const {
        const float py = static_cast<float>(y) + mPattern.y[static_cast<std::size_t>(s)];
        return mOnBox ? 1.f - py * mScale : static_cast<float>(mR.repeat) - py * mScale;
    }

    // With a separable generator each column's and each row's source is solved once, before
    // the render threads start; otherwise every sample solves its own.
    void SolveAhead() {
        PointShadeContext scratch;
        mColumns.resize(static_cast<std::size_t>(mWidth) * static_cast<std::size_t>(mSamples));
        mRows.resize(static_cast<std::size_t>(mHeight) * static_cast<std::size_t>(mSamples));
        for (int x = 0; x < mWidth; ++x)
            for (int s = 0; s < mSamples; ++s)
                mColumns[static_cast<std::size_t>(x * mSamples + s)] =
                    mBuilder.Solve(scratch, PlaneU(x, s), 0.5f, mFilterU, mFilter);
        for (int y = 0; y < mHeight; ++y)
            for (int s = 0; s < mSamples; ++s)
                mRows[static_cast<std::size_t>(y * mSamples + s)] =
                    mBuilder.Solve(scratch, 0.5f, PlaneV(y, s), mFilterU, mFilter);
    }

    // The sum of the samples of pixel (x, y) into acc.
    void Pixel(PointShadeContext& sc, int x, int y, float acc[3]) const {
        const int face = mOnBox ? mBox.FaceOf(x) : 0;
        for (int s = 0; s < mSamples; ++s) {
            const float u = PlaneU(x, s), v = PlaneV(y, s);
            PlaneSource source;
            if (mSolveAhead) {
                const PlaneSource& c = mColumns[static_cast<std::size_t>(x * mSamples + s)];
                const PlaneSource& w = mRows[static_cast<std::size_t>(y * mSamples + s)];
                source = {c.x, w.y, c.dx, w.dy};
            } else if (mR.output != Output::Cells) {
                source = mBuilder.Solve(sc, u, v, mFilterU, mFilter);
            }
            if (mOnBox) {
                const float px = static_cast<float>(x) + mPattern.x[static_cast<std::size_t>(s)];
                const float a = (px - static_cast<float>(mBox.start[face])) / mBox.width[face];
                mBuilder.SetBoxPoint(sc, source, mR.box, static_cast<BoxFace>(face), a, v);
            } else {
                ShadeContextBuilder::Apply(sc, source);
            }
            AColor c = EvalOutput(mR.output, mEvaluated, mR.cells, sc, u, v);
            if (mFlipGreen) FlipGreen(c);
            acc[0] += c.r, acc[1] += c.g, acc[2] += c.b;
        }
    }

    const RenderRequest& mR;
    Image& mTarget;
    const int mLeft, mTop;
    const int mSamples;
    const SamplePattern mPattern;
    const ShadeContextBuilder mBuilder;
    const BoxLayout mBox;
    const bool mOnBox;
    Texmap* const mEvaluated;
    const bool mFlipGreen;
    int mWidth = 0, mHeight = 0, mTilesX = 0, mTiles = 0;
    float mScale = 0.f, mScaleU = 0.f, mFilter = 0.f, mFilterU = 0.f, mNorm = 1.f;
    bool mSolveAhead = false;
    std::vector<PlaneSource> mColumns, mRows;
};

}  // namespace

void RunOnRenderThreads(int threads, int tiles, const std::function<void()>& worker) {
    const int count = std::min(RenderThreadCount(threads), tiles);
    std::vector<std::thread> pool;
    for (int i = 0; i < count; ++i) pool.emplace_back(worker);
    for (std::thread& th : pool) th.join();
}

void RenderInto(const RenderRequest& r, Texmap* map, Image& target, int left, int top) {
    const PictureRender render(r, map, target, left, top);
    std::atomic<int> nextTile{0};
    // Evaluation runs on render threads only, as in a host; this thread waits.
    RunOnRenderThreads(r.threads, render.Tiles(), [&] {
        PointShadeContext sc;
        for (int t = nextTile++; t < render.Tiles(); t = nextTile++) {
            render.Tile(sc, t);
            if (r.progress) r.progress->Advance();
        }
    });
}

Image Render(const RenderRequest& r, Texmap* map) {
    int width = 0, height = 0;
    PictureSize(r, width, height);
    Image image = IsDeepOutput(r.output) ? Image::Deep(width, height) : Image(width, height);
    RenderInto(r, map, image);
    return image;
}

}  // namespace QuarelPreview
