// Test support: the module loaded once for the whole test program, through the preview's own
// host, with the diagnostic log switched off; and small helpers around it.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "preview/param_table.h"
#include "preview/plugin_host.h"

namespace QuarelPreviewTest {

QuarelPreview::PluginHost& Host();
const QuarelPreview::ParamTable& Table();

// Runs quarel-preview with `args` (argv[0] added) and `input` on standard input; returns the
// exit code and fills what it printed.
int RunTool(std::vector<std::string> args, const std::string& input, std::string* out = nullptr,
            std::string* err = nullptr);

// The source folder of the project, for presets and golden images.
std::string SourceDir();

}  // namespace QuarelPreviewTest
