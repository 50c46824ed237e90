// Puts checked parameter values into a map through its parameter blocks, as the editor would,
// and builds the nested maps of a preset from the host's own bitmap, checker and multi-sub
// maps. Main thread, before Update.
#pragma once

#include <string>
#include <vector>

#include "imtl.h"
#include "pattern/pattern_types.h"
#include "pattern/wear.h"
#include "preview/common/param_table.h"
#include "preview/setup/preset.h"

namespace QuarelPreview {

// A new host map for `recipe` (with its nested maps), not yet referenced; null with `error`
// when an image cannot be found or read. Images are looked for as a scene's are
// (host/asset_paths.h): relative to the preset's folder, then in the folders of `imagePaths`.
Texmap* BuildMap(const MapRecipe& recipe, std::string& error,
                 const std::vector<std::string>& imagePaths = {});

// Sets each value, in order, on the object its name's prefix selects ("" is `map` itself).
// Stops at the first failure with `error` naming the parameter and its origin.
bool ApplyAssignments(Texmap* map, const std::vector<Assignment>& assignments, std::string& error,
                      const std::vector<std::string>& imagePaths = {});

// Reads an integer, float, boolean or colour parameter back from the block (display units are
// not restored: angles come back in radians).
bool ReadParam(Texmap* map, const ParamEntry& p, ParamValue& out);

// The map's parameter values as a preset that ParsePreset reads back to the same stored values:
// every parameter of the table the map's objects can be read for, in the table's order, the
// relief outputs' under "normal" and "bump"; nested bitmap, checker and multi-sub maps as
// preset maps (images by absolute path). Nested maps of other kinds are left out and named in
// `skipped`.
std::string MapAsPreset(Texmap* map, const ParamTable& table, std::vector<std::string>& skipped);

// Whether the map bevels its bricks (its bevel_width is above 0): the bake then reads its
// relief depth and smoothing relative to the tile.
bool MapBevels(Texmap* map, const ParamTable& table);

// The pattern query the map's block describes (pattern, nx, ny, gap_u, gap_v, random_shift,
// seed) and its wear (missing_bricks, edge_noise, edge_noise_scale, seamless_bricks), for the
// cells output and the id map; parameters the table lacks keep the defaults.
struct CellQuery {
    QuarelNS::PatternSettings pattern;
    QuarelNS::WearSettings wear;
};
CellQuery CellsSettings(Texmap* map, const ParamTable& table);

// Sets the map's pattern to `id` through its block and updates the map on this thread, as
// before a render: the sheet's step from one swatch to the next.
void SelectPattern(Texmap* map, const ParamEntry& pattern, int id);

}  // namespace QuarelPreview
