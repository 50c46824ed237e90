// The bake's ambient occlusion, from the baked height tile: for each pixel, in each of 8
// directions (every 45 degrees), the steepest rise of the height within `radius` tile units is
// found by stepping along the direction (at most 64 steps, each rounded to a pixel); its sine,
// the horizon's elevation, is how much of that direction's sky is hidden. The occlusion is
// 1 minus the mean of the 8 sines: exactly 1 where nothing within the radius stands higher
// (an open flat brick top), less in joints and at the foot of slopes. Heights are scaled as
// the height normals scale them: a unit step (joint 0 to brick 1) stands `depth` pixels high.
// The tile wraps (a step past an edge continues on the other side), so the map tiles; each
// pixel is computed on its own, so the bytes do not depend on the thread count.
// 16-bit grey, linear.
#pragma once

#include "preview/common/image.h"

namespace QuarelPreview {

struct OcclusionSettings {
    double radius = 0.02;  // tile units
    double depth = 6.0;    // pixels a unit height step stands high
    int threads = 0;       // 0: all cores
};

// `height` is the bake's height tile (16-bit, first channel).
Image AmbientOcclusion(const Image& height, const OcclusionSettings& s);

}  // namespace QuarelPreview
