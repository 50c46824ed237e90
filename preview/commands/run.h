// The preview's commands, from parsed options to exit code: load the module, find the
// parameters, read the preset and the --set values, make and update the map, then render,
// sample or list. Messages go to `err`; paths written and sample values to `out`.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "preview/cli/options.h"
#include "preview/common/image.h"
#include "preview/common/param_table.h"
#include "preview/setup/plugin_host.h"

namespace QuarelPreview {

// How messages name the tool.
inline constexpr const char* kProgram = "quarel-preview";

// The parameters of the host's map and, under their prefixes, of its relief outputs.
void AddMapParams(const PluginHost& host, ParamTable& table);

// The values to set, in order: the sheet's own settings (on a sheet), the preset, then each
// NAME=VALUE of the options. False with `error` naming the first value refused.
bool ResolveAssignments(const PreviewOptions& o, const ParamTable& table,
                        std::vector<Assignment>& out, std::string& error);

// The default output name of a picture: under out/, the preset's or scene's name (the map's
// source), the command, the pattern and the output.
std::string DefaultOutputName(const PreviewOptions& o, int pattern, const std::string& name);
// `path`, or when a file of that name exists the first free one of path-2.png, path-3.png, ...:
// a default name never overwrites an earlier picture.
std::string FreePath(const std::string& path);
// FreePath(DefaultOutputName(...)).
std::string DefaultOutputPath(const PreviewOptions& o, int pattern, const std::string& name);

// Writes `image` as a PNG at `path` (grey: as a grey PNG of its first channel), making its
// folder; prints the path to `out`, or why it could not be written to `err`.
bool WriteImage(const Image& image, const std::string& path, std::FILE* out, std::FILE* err,
                bool grey = false);
// The same for pictures that belong together: all are written, or none changes.
bool WriteImages(const std::vector<PngFile>& files, std::FILE* out, std::FILE* err);

int RunPreview(const PreviewOptions& o, std::FILE* in, std::FILE* out, std::FILE* err);
// The same with a module already loaded (o.module is not looked at).
int RunWithHost(const PreviewOptions& o, PluginHost& host, std::FILE* in, std::FILE* out,
                std::FILE* err);

// Parses argv and runs; main's body.
int RunPreview(int argc, char** argv);

}  // namespace QuarelPreview
