// Float height for displacement: one 32-bit float channel "Y" in an OpenEXR file, the values
// as the bake's 16-bit height (0 at the joint, 1 at the brick top) without the PNG's rounding
// to a grey level of the file being read back as sRGB or scaled by an importer.
#pragma once

#include <string>

#include "host/atomic_file.h"
#include "preview/common/image.h"

namespace QuarelPreview {

// Writes the first channel of the 16-bit `height`, divided by 65535, into a file being
// written; on failure `error` names the file and says why.
bool WriteHeightExr(const Image& height, quarel_host::AtomicFile& file, std::string& error);

}  // namespace QuarelPreview
