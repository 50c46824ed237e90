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

// The two passes of NormalsFromHeight over one height image, each split into bands of rows
// that threads take one each.
class TentNormals {
public:
    TentNormals(const Image& height, const HeightNormalSettings& s, Image& out)
        : mIn(height),
          mOut(out),
          mW(height.width),
          mH(height.height),
          mR(std::clamp(s.bevel, 0, kMaxBevel)),
          mThreads(std::max(1, std::min(RenderThreadCount(s.threads), mH))),
          mYSign(s.yDown ? -1.0 : 1.0),
          mAcross(static_cast<std::size_t>(mW) * static_cast<std::size_t>(mH)) {
        const std::int64_t sum = static_cast<std::int64_t>(mR + 1) * (mR + 1);  // one axis
        mScale = s.depth / (2.0 * 65535.0 * static_cast<double>(sum * sum));
        // Wrapped neighbour indices, so the loops below never branch on an edge.
        mColAt.resize(static_cast<std::size_t>(mW + 2 * mR + 2));
        mRowAt.resize(static_cast<std::size_t>(mH + 2 * mR + 2));
        for (int i = 0; i < mW + 2 * mR + 2; ++i)
            mColAt[static_cast<std::size_t>(i)] = WrapIndex(i - mR - 1, mW);
        for (int i = 0; i < mH + 2 * mR + 2; ++i)
            mRowAt[static_cast<std::size_t>(i)] = WrapIndex(i - mR - 1, mH);
    }

    void Run() {
        RunBands([this](int t) { SmoothRows(t); });
        RunBands([this](int t) { NormalRows(t); });
    }

private:
    int Col(int x) const { return mColAt[static_cast<std::size_t>(x + mR + 1)]; }
    int Row(int y) const { return mRowAt[static_cast<std::size_t>(y + mR + 1)]; }

    void RowsOf(int t, int& y0, int& y1) const {
        y0 = static_cast<int>(static_cast<long long>(mH) * t / mThreads);
        y1 = static_cast<int>(static_cast<long long>(mH) * (t + 1) / mThreads);
    }

    template <class Body>
    void RunBands(const Body& body) const {
        std::vector<std::thread> pool;
        for (int t = 1; t < mThreads; ++t) pool.emplace_back(body, t);
        body(0);
        for (std::thread& th : pool) th.join();
    }

    // Pass 1: each row smoothed along x. At most 65535 * 65^2, which fits 32 bits.
    void SmoothRows(int t) {
        int y0, y1;
        RowsOf(t, y0, y1);
        for (int y = y0; y < y1; ++y) {
            const std::uint16_t* in = mIn.rgb16.data() + static_cast<std::size_t>(y) * mW * 3;
            std::uint32_t* o = mAcross.data() + static_cast<std::size_t>(y) * mW;
            for (int x = 0; x < mW; ++x) {
                std::uint32_t acc = 0;
                for (int i = -mR; i <= mR; ++i)
                    acc += static_cast<std::uint32_t>(mR + 1 - std::abs(i)) *
                           in[static_cast<std::size_t>(Col(x + i)) * 3];
                o[x] = acc;
            }
        }
    }

    // Row y of pass 1 smoothed along y. Sums reach 65535 * 65^4: 64 bits.
    void SmoothColumns(int y, std::int64_t* o) const {
        for (int x = 0; x < mW; ++x) o[x] = 0;
        for (int j = -mR; j <= mR; ++j) {
            const std::int64_t weight = mR + 1 - std::abs(j);
            const std::uint32_t* a = mAcross.data() + static_cast<std::size_t>(Row(y + j)) * mW;
            for (int x = 0; x < mW; ++x) o[x] += weight * a[x];
        }
    }

    // Pass 2: columns smoothed along y, three rows at a time, and the normals of the middle one.
    void NormalRows(int t) {
        int y0, y1;
        RowsOf(t, y0, y1);
        if (y0 >= y1) return;
        std::vector<std::int64_t> window(static_cast<std::size_t>(mW) * 3);
        std::int64_t* above = window.data();
        std::int64_t* here = above + mW;
        std::int64_t* below = here + mW;
        SmoothColumns(y0 - 1, above);
        SmoothColumns(y0, here);
        for (int y = y0; y < y1; ++y) {
            SmoothColumns(y + 1, below);
            std::uint16_t* o = mOut.rgb16.data() + static_cast<std::size_t>(y) * mW * 3;
            for (int x = 0; x < mW; ++x)
                Normal(here[Col(x + 1)] - here[Col(x - 1)], below[x] - above[x], o + 3 * x);
            std::int64_t* recycled = above;
            above = here;
            here = below;
            below = recycled;
        }
    }

    // The normal of slopes gx along the row and gy down the rows, as three words.
    void Normal(std::int64_t gx, std::int64_t gy, std::uint16_t* o) const {
        if (gx == 0 && gy == 0) {
            o[0] = o[1] = 32768;  // (0.5, 0.5, 1) exactly
            o[2] = 65535;
            return;
        }
        // z = depth * h: -dz/dx, and -dz/dy with y up the picture, which is +dz/drow.
        const double nx = -static_cast<double>(gx) * mScale;
        const double ny = static_cast<double>(gy) * mScale * mYSign;
        const double len = std::sqrt(nx * nx + ny * ny + 1.0);
        o[0] = NormalWord(nx / len * 0.5 + 0.5);
        o[1] = NormalWord(ny / len * 0.5 + 0.5);
        o[2] = NormalWord(1.0 / len * 0.5 + 0.5);
    }

    const Image& mIn;
    Image& mOut;
    const int mW, mH, mR, mThreads;
    const double mYSign;
    double mScale = 0.0;
    std::vector<int> mColAt, mRowAt;
    std::vector<std::uint32_t> mAcross;
};

}  // namespace

Image NormalsFromHeight(const Image& height, const HeightNormalSettings& s) {
    Image out = Image::Deep(height.width, height.height);
    if (height.width <= 0 || height.height <= 0 || !height.IsDeep()) return out;
    TentNormals(height, s, out).Run();
    return out;
}

}  // namespace QuarelPreview
