// `quarel-preview bake`: one unit tile of the map as three seamless pictures for a game engine or
// another renderer: the colour (8-bit sRGB PNG), the normal output's tangent-space normals
// (16-bit; +Y up, or +Y down on request) and the relief's height field (16-bit, 0 black to 1
// white).
//
// The tile covers [0, 1) x [0, 1) of the pattern exactly, pixel edges on the tile's edges, so
// laid side by side its last column meets its first and its bottom row its top as in a render
// of the plane. Each pixel is the mean of `samples` samples within it (the renderer's fixed
// pattern). A pattern repeats every tile unless the map's master tiling or offsets make it
// repeat otherwise; then the tile is still one unit, but does not wrap.
#pragma once

#include <string>

#include "imtl.h"
#include "preview/cli/progress.h"
#include "preview/picture/image.h"

namespace QuarelPreview {

struct BakeRequest {
    int size = 1024;                  // pixels along each side
    int samples = 4;                  // per pixel
    int threads = 0;                  // 0: all cores
    bool normalYDown = false;         // the normal map's green grows downwards instead
    ProgressBar* progress = nullptr;  // advanced by one per tile of each picture; may be null
};

struct BakedTiles {
    Image color, normal, height;
};

// Render tiles the bake advances its progress by.
int BakeTileCount(const BakeRequest& b);

// The map must have been updated on the calling thread.
BakedTiles Bake(const BakeRequest& b, Texmap* map);

// The pictures' paths for a path prefix: PREFIX-color.png, PREFIX-normal.png, PREFIX-height.png.
std::string BakePath(const std::string& prefix, const char* which);

}  // namespace QuarelPreview
