// Renders the pattern engine's cell map: each pixel is coloured the way the pattern swatches
// colour bricks (grout dark grey, each brick its set's colour lightened by a hash of its
// indices). The picture spans `repeat` x `repeat` pattern tiles, v up.
#pragma once

#include "pattern/pattern_types.h"
#include "preview/image.h"

namespace QuarelPreview {

struct CellMapRequest {
    QuarelNS::PatternSettings settings;
    int size = 512;   // pixels along each side
    int repeat = 1;   // pattern tiles along each side
    int threads = 0;  // 0: all cores
};

// Draws the cell map into `target` at (left, top). Rows are split among threads; every pixel
// depends only on its own coordinates, so the bytes do not depend on the thread count.
void RenderCellMap(const CellMapRequest& request, Image& target, int left = 0, int top = 0);

Image RenderCellMap(const CellMapRequest& request);

}  // namespace QuarelPreview
