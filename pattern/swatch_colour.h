// The flat swatch colouring of a pattern cell, shared by the editor's swatches and the preview's
// cell maps: grout dark grey, each brick its set's base colour lightened towards white by up to
// 8 % by a hash of its indices. Colours are 0x00BBGGRR (red in the low byte).
#pragma once

#include <cstdint>

#include "pattern/pattern_types.h"

namespace QuarelNS {

constexpr std::uint32_t kSwatchBackground = 0xF5F5F5u;
constexpr std::uint32_t kSwatchGrout = 0x222222u;
constexpr std::uint32_t kSwatchFrame = 0x505050u;

// The settings every swatch is drawn with, for pattern `id`.
PatternSettings SwatchSettings(int id);

// Colour of one swatch pixel whose cell is `cell`.
std::uint32_t SwatchCellColour(const BrickCell& cell);

}  // namespace QuarelNS
