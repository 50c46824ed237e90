// `quarel-preview bake`: one unit tile of the map as pictures that wrap, for a game engine or
// another renderer (their shapes wrap; per-brick values too when the map's seamless bricks are
// on, as the command sets them unless told otherwise): the colour (8-bit sRGB PNG),
// tangent-space normals (16-bit; +Y up, or +Y down on request), the relief's height field
// (16-bit, 0 black to 1 white), an id map (8-bit, one flat colour per brick, grout black; see
// brick_ids.h), a roughness map (roughness_map.h) and ambient occlusion from the height tile
// (ambient_occlusion.h), both 16-bit grey and linear.
//
// The normals come from the baked height tile by default (see height_normals.h), so that joints
// show as slopes a few pixels wide; on request they are the map's own normal output instead,
// as a host sees it. When the map bevels its bricks the height tile already holds the bevel's
// slopes, in tile units, and the depth scales with the size, so a bake at any size shows the
// same relief.
//
// The tile covers [0, 1) x [0, 1) of the pattern exactly, pixel edges on the tile's edges, so
// laid side by side (a tile wider than high stretches the pattern across, every map alike) its last
// column meets its first and its bottom row its top as in a render of the plane. Each pixel of the
// colour, height and normal output is the mean of `samples` samples within it (the renderer's fixed
// pattern); each pixel of the id map is one sample at its centre. A pattern repeats every tile
// unless the map's master tiling or offsets make it repeat otherwise; then the tile is still one
// unit, but does not wrap.
#pragma once

#include <string>

#include "imtl.h"
#include "preview/common/image.h"
#include "preview/common/progress.h"
#include "preview/render/brick_ids.h"
#include "preview/render/roughness_map.h"

namespace QuarelPreview {

// Where the baked normals come from: slopes of the baked height tile, or the map's normal output.
enum class NormalSource { Height, Output };

struct BakeRequest {
    int size = 1024;           // pixels down the tile
    int width = 0;             // pixels across; 0: `size`, a square tile
    int samples = 4;           // per pixel
    int threads = 0;           // 0: all cores
    bool normalYDown = false;  // the normal map's green grows downwards instead
    NormalSource normalSource = NormalSource::Height;
    int bevel = 2;             // height normals: the smoothing's reach, pixels
    double reliefDepth = 6.0;  // height normals: pixels a unit height step stands high
    // The map bevels its own bricks (bevel_width > 0): its height has slopes of its own, fixed
    // in tile units, so the depth is tile-relative and the smoothing
    // is an extra blur on top, both scaled with the size (ReliefDepthPixels, BevelPixels).
    bool mapBevel = false;
    BrickIdSettings ids;  // the id map's pattern and master transform
    RoughnessSettings roughness;
    double occlusionRadius = 0.02;    // tile units
    ProgressBar* progress = nullptr;  // advanced by one per tile of each picture; may be null
};

struct BakedTiles {
    Image color, normal, height, id, roughness, occlusion;
};

// The bake size the relief depth and smoothing are given for when they are tile-relative.
constexpr int kReliefDepthSize = 1024;

// Pixels a unit height stands high in this bake: reliefDepth as given, or, with the map's own
// bevel, reliefDepth pixels of a kReliefDepthSize tile scaled to the bake's size, so that the
// normals do not depend on the size.
double ReliefDepthPixels(const BakeRequest& b);
// The smoothing's reach in this bake: bevel as given, or, with the map's own bevel, bevel
// pixels of a kReliefDepthSize tile scaled to the bake's size (rounded, at most kMaxBevel).
int BevelPixels(const BakeRequest& b);
// Pixels across the tile.
int BakeWidth(const BakeRequest& b);

// Render tiles the bake advances its progress by.
int BakeTileCount(const BakeRequest& b);

// The map must have been updated on the calling thread.
BakedTiles Bake(const BakeRequest& b, Texmap* map);

// A picture's path for a path prefix: PREFIX-color.png, PREFIX-normal.png, PREFIX-height.png,
// PREFIX-id.png.
std::string BakePath(const std::string& prefix, const char* which);

}  // namespace QuarelPreview
