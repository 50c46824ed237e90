// The sides of a swatch the preview draws: the command line's range and default of a swatch's
// size, and the limits the drawing keeps to.
#pragma once

namespace QuarelPreview {

// Sides of a swatch the preview draws; the editor itself draws 20 (menu) and 50 (list).
constexpr int kMinSwatchSize = 8;
constexpr int kMaxSwatchSize = 1024;
constexpr int kDefaultSwatchSize = 50;

}  // namespace QuarelPreview
