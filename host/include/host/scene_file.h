// Scene files: every target reachable from the scene's node materials and from the given
// roots (the material editor's slots), by class identity, with the object's own chunk data,
// its parameter values by id and its reference slots by index.
//
// Loading either succeeds as a whole or changes nothing: the file is checked completely
// (format, lengths, indices, loops, known classes) before any object is made; an object whose
// data cannot be read undoes the objects made so far. On success the current scene is
// replaced by the loaded nodes, the roots come back in holders, and the post-load callbacks
// run by priority.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <ref.h>

// Format of scene files this host writes and reads.
constexpr std::uint32_t kSceneFormatVersion = 1;

struct LoadedScene {
    // The loaded roots, in the order they were saved, each kept alive by its holder.
    std::vector<std::unique_ptr<SingleRefMaker>> roots;
    int objectCount = 0;
};

// Saves the current scene (nodes, their materials, the current time) and `roots`.
bool SaveSceneBytes(const std::vector<ReferenceTarget*>& roots, std::vector<std::uint8_t>& out,
                    std::string* error = nullptr);
bool SaveSceneFile(const std::string& path, const std::vector<ReferenceTarget*>& roots,
                   std::string* error = nullptr);

// On failure `error` names what was wrong and where; the scene and `out` are untouched.
bool LoadSceneBytes(const std::uint8_t* data, std::size_t size, LoadedScene& out,
                    std::string* error = nullptr);
bool LoadSceneFile(const std::string& path, LoadedScene& out, std::string* error = nullptr);
