// The id map of `bake`: one flat colour per brick, grout black, for engines and compositors that
// select bricks by colour. The identity is the one the map hashes its per-brick variation from:
// the pattern's brick indices and brick set, at the point the map's master transform gives; a
// missing brick is grout, as the map shows it.
// Each pixel is one sample at its centre, so a pixel never mixes two bricks.
#pragma once

#include <cstdint>

#include "imtl.h"
#include "pattern/pattern_types.h"
#include "pattern/wear.h"
#include "preview/common/image.h"
#include "preview/common/param_table.h"
#include "preview/common/progress.h"

namespace QuarelPreview {

// The pattern query and the master transform of a map, as the map applies them.
struct BrickIdSettings {
    QuarelNS::PatternSettings cells;
    QuarelNS::WearSettings wear;         // missing bricks and edge noise (seamless: below)
    float tileU = 1.f, tileV = 1.f;      // master tiling
    float offsetU = 0.f, offsetV = 0.f;  // master offset
    float angle = 0.f;                   // master angle, radians
    bool seamless = false;               // the parts of a cut brick are one brick
};

// The map's values, read through its parameter blocks.
BrickIdSettings BrickIdSettingsOf(Texmap* map, const ParamTable& table);

// The cell at plane point (u, v) in tile units, after the master transform.
QuarelNS::BrickCell BrickAt(const BrickIdSettings& s, float u, float v);

// The colour of a cell as 0x00BBGGRR: black for grout; for a brick a hash of its indices and
// set, every channel at least 48 so that no brick is near black.
std::uint32_t BrickIdColour(const QuarelNS::BrickCell& cell);

// The id tile, `width` x `height` pixels over [0, 1) x [0, 1) as the bake's other tiles; advances
// `progress` (may be null) by one per 32 x 32 tile.
Image RenderBrickIds(const BrickIdSettings& s, int width, int height, int threads,
                     ProgressBar* progress);

}  // namespace QuarelPreview
