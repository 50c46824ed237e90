// The editor's own pictures as preview commands:
//   swatch  the pattern swatch of the editor's list and menu, drawn by the editor's code through
//           a device context; only the pattern applies, every other map setting is refused;
//   picker  the pattern picker's menu, opened through the module on a map's rollout as a user
//           opens it, and drawn as the user sees it.
// Main thread. Both answer an exit code of options.h, with messages on `err` and the path
// written on `out`.
#pragma once

#include <cstdio>

#include "imtl.h"
#include "preview/cli/options.h"
#include "preview/common/param_table.h"
#include "preview/setup/plugin_host.h"

namespace QuarelPreview {

int RunSwatch(const PreviewOptions& o, const ParamTable& table, std::FILE* out, std::FILE* err);

// `map` comes from `host` with the user's values already set.
int RunPicker(const PreviewOptions& o, const PluginHost& host, Texmap* map, std::FILE* out,
              std::FILE* err);

}  // namespace QuarelPreview
