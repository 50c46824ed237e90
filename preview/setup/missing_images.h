// Images that a loaded scene refers to but that could not be used: each reported once, with
// the maps and slots that wanted it, on the error stream. The scene loads regardless and its
// maps show a magenta and black checker where an image is missing; whether that is good enough
// to render is the caller's choice (--allow-missing).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "host/scene_file.h"

namespace QuarelPreview {

// One line per missing image: "quarel-preview: SCENE: REASON; wanted by A; B". Returns how
// many there were.
std::size_t ReportMissingImages(const std::string& scene, const std::vector<MissingAsset>& missing,
                                std::FILE* err);

}  // namespace QuarelPreview
