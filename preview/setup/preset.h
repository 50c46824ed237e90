// Presets: a JSON object whose keys are parameter internal names (see ParamTable) and whose
// values are in the units the editor shows:
//
//   { "comment": "any text, ignored",
//     "pattern": "Herringbone",            id or display name of a combo item
//     "nx": 4, "gap_u": 0.04,              numbers
//     "master_angle": 45,                  angles in degrees
//     "brick_color": [0.6, 0.3, 0.2],      colours [r, g, b], each 0..1
//     "random_second_color_on": true,      booleans
//     "brick_map": { "map": "bitmap", "file": "wood.png", "tiling": [1, 1] } }
//
// Maps, for the map parameters: "bitmap" (a PNG file, relative to the preset's folder;
// optional "tiling"), "checker" ("color1", "color2", optional "tiling" as a number or [u, v]),
// "color" ("color": one colour, a checker of two equal squares)
// and "multisub" ("by": "node" | "face" | "material", "count" 1..1000, optional "maps": an
// array of maps or nulls, one per slot). null clears a map. Maps nest up to kMaxMapDepth deep.
//
// Reading checks everything but the files themselves: names, types, ranges, map shapes, and
// that no object gives a key twice (with the repeated key's line and column).
// Image files are read when the maps are built (ApplyAssignments), so reading does no I/O.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "color.h"
#include "preview/common/param_table.h"

namespace QuarelPreview {

constexpr int kMaxMapDepth = 8;
constexpr std::size_t kMaxPresetBytes = 1 << 20;

struct MapRecipe {
    enum class Kind { Bitmap, Checker, MultiSub } kind = Kind::Checker;
    std::string file;  // bitmap: the path, resolved against the preset's folder
    Color color1{0.f, 0.f, 0.f};
    Color color2{1.f, 1.f, 1.f};
    float tileU = 1.f, tileV = 1.f;  // bitmap, checker: repeats per unit of their coordinates
    int by = 0;                      // multisub: 0 node id, 1 face number, 2 material id
    int count = 4;                   // multisub: slots
    std::vector<std::shared_ptr<const MapRecipe>> maps;  // multisub: slot maps, null for empty
};

// Reads preset text. `origin` names the source in messages; relative image paths are taken
// from `baseDir`. On failure `error` says where (line and column for malformed JSON) and what.
bool ParsePreset(std::string_view text, const ParamTable& table, const std::string& origin,
                 const std::string& baseDir, std::vector<Assignment>& out, std::string& error);

// Reads a preset file; a missing or unreadable file is an error naming the path.
bool LoadPresetFile(const std::string& path, const ParamTable& table, std::vector<Assignment>& out,
                    std::string& error);

}  // namespace QuarelPreview
