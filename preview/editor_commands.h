// The editor's own pictures as preview commands:
//   swatch  the pattern swatch of the editor's list and menu, drawn by the editor's code through
//           a device context; only the pattern applies, every other map setting is refused.
// Main thread. Each answers an exit code of options.h, with messages on `err` and the path
// written on `out`.
#pragma once

#include <cstdio>

#include "preview/options.h"
#include "preview/param_table.h"

namespace QuarelPreview {

int RunSwatch(const PreviewOptions& o, const ParamTable& table, std::FILE* out, std::FILE* err);

}  // namespace QuarelPreview
