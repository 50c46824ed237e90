// The preview renderer: evaluates a map over a picture as a renderer does, with one shading
// context per render thread and the work split into tiles taken from a shared counter.
//
// Each pixel is the mean of a fixed pattern of samples (a Hammersley set, the same in every
// pixel) and depends only on its own position, so the bytes are the same for any thread
// count. The map must have been updated on the calling thread (Update) before rendering and
// must not change while a render runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "imtl.h"
#include "pattern/pattern_types.h"
#include "preview/common/image.h"
#include "preview/common/outputs.h"
#include "preview/common/progress.h"
#include "preview/render/point_context.h"
#include "preview/setup/map_setup.h"

namespace QuarelPreview {

struct RenderRequest {
    Output output = Output::Color;
    Projection projection = Projection::Plane;
    int size = 512;                   // pixels along each side (box: along the height)
    int width = 0;                    // plane: pixels across, 0 for `size` (a square)
    int repeat = 1;                   // plane: pattern tiles along each side
    int samples = 1;                  // per pixel
    int threads = 0;                  // 0: all cores
    ProgressBar* progress = nullptr;  // advanced by one per tile; may be null
    Point3 box{1.f, 0.5f, 1.f};       // box: its size
    CellQuery cells;                  // cells: the pattern query and its wear
    bool normalYDown = false;         // normal outputs: green grows downwards instead
};

// Sample offsets within a pixel, the same in every pixel: a Hammersley set, x stratified, y the
// base-2 radical inverse; one sample sits at the pixel's centre.
struct SamplePattern {
    std::vector<float> x, y;
    explicit SamplePattern(int n) {
        for (int i = 0; i < n; ++i) {
            unsigned bits = static_cast<unsigned>(i);
            float inv = 0.f, f = 0.5f;
            for (; bits; bits >>= 1, f *= 0.5f)
                if (bits & 1u) inv += f;
            x.push_back((static_cast<float>(i) + 0.5f) / static_cast<float>(n));
            y.push_back(n == 1 ? 0.5f : inv + 0.5f / static_cast<float>(n));
        }
    }
};

// The number of render threads `requested` stands for (0: all cores).
int RenderThreadCount(int requested);
// Runs `worker` on RenderThreadCount(threads) render threads, never more than `tiles`, and
// waits for them; each worker takes tiles from a counter of its caller's until none is left.
void RunOnRenderThreads(int threads, int tiles, const std::function<void()>& worker);

// The largest picture the preview makes, in pixels (a sheet included).
constexpr long long kMaxPixels = 1ll << 26;

// Pixel size of the picture a request renders, and the number of tiles it is cut into.
void PictureSize(const RenderRequest& r, int& width, int& height);
int TileCount(const RenderRequest& r);

// Renders `map` (cells: the pattern engine) into `target` at (left, top), 16 bits a channel
// when the target is a deep image.
void RenderInto(const RenderRequest& r, Texmap* map, Image& target, int left = 0, int top = 0);
// A new picture: deep for the deep outputs.
Image Render(const RenderRequest& r, Texmap* map);

// The map an output evaluates: the normal output for normal and height, the bump output for
// bump, else the map itself. Looked up once a render, not per sample: the map counts and logs
// its sub-map queries, which render threads would contend on.
Texmap* OutputTexmap(Output output, Texmap* map);
// One sample of `output` at a prepared context, as a pixel shows it: r, g, b, a. `target` is
// OutputTexmap(output, map).
AColor EvalOutput(Output output, Texmap* target, const CellQuery& cells, PointShadeContext& sc,
                  float u, float v);
// The same as values for `sample`: the perturbation as its three components and 0, every other
// output as EvalOutput gives it.
AColor SampleOutput(Output output, Texmap* map, const CellQuery& cells, PointShadeContext& sc,
                    float u, float v);

}  // namespace QuarelPreview
