// The picker's swatch bitmaps: one 20 x 20 picture per pattern id, drawn the first time a menu
// needs it and kept for the rest of the process. A bitmap that cannot be made is tried again
// next time.
#pragma once

#include <windows.h>

namespace QuarelNS {

// The bitmap of pattern `id` (0..29), made on first use; null when it cannot be made.
HBITMAP PatternSwatchBitmap(int id);

// Deletes every cached bitmap (process detach). Touches no device context: none may be taken
// while the module is being unloaded.
void ReleasePatternSwatchBitmaps();

}  // namespace QuarelNS
