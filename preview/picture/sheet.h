// The contact sheet: every pattern of the map's pattern list in id order, six to a row, each
// rendered through the map and labelled with its id and name under it.
#pragma once

#include <string>

#include "imtl.h"
#include "preview/common/param_table.h"
#include "preview/common/image.h"
#include "preview/render/render.h"

namespace QuarelPreview {

// Settings that tell bricks apart on the sheet (as a preset, applied before the user's own).
extern const char* const kSheetPreset;

// Renders the sheet with `request` per swatch (its size is the swatch's). The pattern
// parameter is set through the map's block for each swatch and the map updated on this
// thread. Without a label font the swatches are drawn unlabelled and `warning` says why.
// Cells: the pattern query of each swatch comes from `cellsOf`.
// Pixel size of the sheet of `count` swatches of `request`.
void SheetSize(const RenderRequest& request, int count, long long& width, long long& height);

Image RenderSheet(const RenderRequest& request, Texmap* map, const ParamTable& table,
                  std::string& warning);

}  // namespace QuarelPreview
