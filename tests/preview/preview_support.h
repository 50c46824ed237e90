// Test support: the module loaded once for the whole test program, through the preview's own
// host, with the diagnostic log switched off; and small helpers around it.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "preview/common/image.h"
#include "preview/common/param_table.h"
#include "preview/setup/plugin_host.h"

namespace QuarelPreviewTest {

QuarelPreview::PluginHost& Host();
const QuarelPreview::ParamTable& Table();

// Runs quarel-preview with `args` (argv[0] added) and `input` on standard input; returns the
// exit code and fills what it printed.
int RunTool(std::vector<std::string> args, const std::string& input, std::string* out = nullptr,
            std::string* err = nullptr);

// The source folder of the project, for presets and golden images.
std::string SourceDir();

// A folder of the running test's own, so that tests running at once never share files.
std::filesystem::path TestDir();
// Writes `bytes` to the file at `path`; returns the path.
std::string WriteFile(const std::filesystem::path& path, const std::string& bytes);

// A new map with the values of a preset (its text, or the file at `path`), updated at time 0 as
// the tool updates it before rendering; null with `error` filled when the preset is refused.
std::unique_ptr<QuarelPreview::MapSlot> MapFromPreset(const std::string& text);
std::unique_ptr<QuarelPreview::MapSlot> MapFromPresetFile(const std::string& path,
                                                          std::string& error);

// An 8-bit PNG read back as RGB.
bool ReadPng(const std::string& path, QuarelPreview::Image& image);

// The pixels of two 8-bit images of one size where some channel differs by more than
// `tolerance`: the measure the golden images are held to.
std::size_t PixelsBeyond(const QuarelPreview::Image& got, const QuarelPreview::Image& want,
                         int tolerance);

}  // namespace QuarelPreviewTest
