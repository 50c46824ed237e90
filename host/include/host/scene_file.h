// Scene files: every target reachable from the scene's node materials and from the given
// roots (the material editor's slots), by class identity, with the object's own chunk data,
// its parameter values by id and its reference slots by index.
//
// Loading either succeeds as a whole or changes nothing: the file is checked completely
// (format, lengths, indices, loops, known classes) before any object is made; an object whose
// data cannot be read undoes the objects made so far. On success the current scene is
// replaced by the loaded nodes, the roots come back in holders, and the post-load callbacks
// run by priority.
//
// Files that the scene's objects refer to (the bitmap map's images) are looked for beside the
// scene and along a search path (asset_paths.h). A file that cannot be found or read does not
// fail the load, as in the host: the scene loads, and each such file is listed once in
// LoadedScene::missing with every map and slot that wanted it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <ref.h>

// Format of scene files this host writes and reads.
constexpr std::uint32_t kSceneFormatVersion = 1;

// A file that the loaded scene refers to but that could not be used.
struct MissingAsset {
    std::string file;    // as the scene names it
    std::string reason;  // not found (and where it was looked for), or not decodable
    // Who wanted it: "QuarelMap 'wall', slot 'Brick Map'", one entry per map and slot.
    std::vector<std::string> wantedBy;
};

struct LoadedScene {
    // The loaded roots, in the order they were saved, each kept alive by its holder.
    std::vector<std::unique_ptr<SingleRefMaker>> roots;
    int objectCount = 0;
    // In the order the scene's maps and materials were stored.
    std::vector<MissingAsset> missing;
};

struct SceneLoadOptions {
    // The scene file's folder, for files stored relative to it; empty: none.
    std::string sceneDir;
    // Further folders to look in for files that are not where the scene says.
    std::vector<std::string> searchPaths;
};

// Saves the current scene (nodes, their materials, the current time) and `roots`.
// `sceneDir`: the folder the bytes will be stored in, for file paths relative to it.
bool SaveSceneBytes(const std::vector<ReferenceTarget*>& roots, std::vector<std::uint8_t>& out,
                    std::string* error = nullptr, const std::string& sceneDir = {});
bool SaveSceneFile(const std::string& path, const std::vector<ReferenceTarget*>& roots,
                   std::string* error = nullptr);

// On failure `error` names what was wrong and where; the scene and `out` are untouched.
bool LoadSceneBytes(const std::uint8_t* data, std::size_t size, LoadedScene& out,
                    std::string* error = nullptr, const SceneLoadOptions& options = {});
// The scene's folder is that of `path`; `searchPaths` are looked in after it.
bool LoadSceneFile(const std::string& path, LoadedScene& out, std::string* error = nullptr,
                   const std::vector<std::string>& searchPaths = {});
