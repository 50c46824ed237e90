// Tangent-space normals derived from a baked height tile, for `bake`: what a game engine needs
// from a height step is a slope it can see, not the map's own normal output, whose slopes are
// central differences a tiny fraction of a tile apart and so show as hairlines in a picture.
//
// The operator, on the wrapped grid (the tile continues past each edge into its other side):
//   1. the height (0..1, 16 bits) is smoothed by a separable tent filter reaching `bevel`
//      pixels to each side (weights bevel + 1 - |i|, normalised), so a step becomes a ramp
//      about 2 * bevel + 1 pixels wide; bevel 0 leaves the height as it is;
//   2. slopes are central differences of the smoothed height, one pixel to each side;
//   3. the height of a unit step stands `depth` pixels high: the surface is z = depth * h
//      over the pixel grid, and the normal is (-dz/dx, -dz/dy, 1) normalised, +Y up (towards
//      the top row) unless `yDown`.
// The filter and the differences run on integers, so a pixel whose centre lies more than
// bevel + 1/2 pixels (along either axis) from every height step gets exactly the flat normal,
// written as (32768, 32768, 65535).
#pragma once

#include "preview/common/image.h"

namespace QuarelPreview {

// The largest bevel taken, in pixels: beyond it the integer sums could overflow.
constexpr int kMaxBevel = 64;

struct HeightNormalSettings {
    int bevel = 2;       // pixels, 0 to kMaxBevel
    double depth = 6.0;  // pixels a unit height step stands high
    bool yDown = false;  // green grows towards the bottom row instead
    int threads = 0;     // 0: all cores; the bytes do not depend on it
};

// `height` is a deep picture whose red channel is the height (green and blue are ignored).
// Returns a deep picture of the same size.
Image NormalsFromHeight(const Image& height, const HeightNormalSettings& s);

}  // namespace QuarelPreview
