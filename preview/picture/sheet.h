// The contact sheet: every pattern of the map's pattern list in id order, six to a row, each
// rendered through the map and labelled with its id and name under it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "imtl.h"
#include "preview/common/image.h"
#include "preview/render/render.h"

namespace QuarelPreview {

// Settings that tell bricks apart on the sheet (as a preset, applied before the user's own).
extern const char* const kSheetPreset;

// Pixel size of the sheet of `count` swatches of `request`.
void SheetSize(const RenderRequest& request, int count, long long& width, long long& height);

// Readies the map for swatch `id` (its pattern chosen, the map updated) and sets what the
// request needs of it (the cells' pattern query); called on this thread before each swatch.
using PrepareSwatch = std::function<void(int id, RenderRequest& request)>;

// Renders the sheet of `count` swatches with `request` per swatch (its size is the swatch's),
// each labelled with its id and, where `names` has one, its name. Without a label font the
// swatches are drawn unlabelled and `warning` says why.
Image RenderSheet(const RenderRequest& request, Texmap* map, int count,
                  const std::vector<std::string>& names, const PrepareSwatch& prepare,
                  std::string& warning);

}  // namespace QuarelPreview
