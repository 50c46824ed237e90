// The editor's pattern swatches read back pixel by pixel: the same code draws them through the
// Win32 stand-in on Linux and through real GDI on Windows, so the two listings must be equal.
#pragma once

#include <cstdio>

namespace QuarelWin {

// For every pattern id (and one beyond the last) and both editor sizes (20 for the picker's
// bitmaps, 50 for the combo box's items): a memory bitmap compatible with the screen, 4 pixels
// larger than the swatch and filled with a marker colour, the swatch drawn at (2, 2), every
// pixel read back with GetPixel. Then a rectangle of width 0, which must leave the marker
// untouched. Prints "swatch ID SIZE" and one line of "%06lX" colours per row; false when a
// bitmap or context could not be made.
bool PrintSwatchPixels(std::FILE* out);

}  // namespace QuarelWin
