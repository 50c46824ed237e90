// The editor's pattern swatch as a picture: DrawPatternSwatch (the editor's own code, linked
// from quarel_swatch) drawn through a memory device context of the Win32 layer into a 32-bit
// bitmap, and read back pixel for pixel. Main thread.
#pragma once

#include <string>

#include "preview/common/image.h"
#include "preview/common/swatch_size.h"

namespace QuarelPreview {

// The swatch of pattern `pattern` at `size` x `size` pixels (size within the limits above).
// False with `error` saying which drawing object could not be made; every object made is
// released either way.
bool DrawSwatchPicture(int pattern, int size, Image& out, std::string& error);

}  // namespace QuarelPreview
