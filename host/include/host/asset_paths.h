// Where a scene's or a preset's image files are looked for, so that a file found beside its
// scene when it was saved is found beside the scene wherever the scene (with its images) goes.
//
// An image is known by up to three paths: as the user gave it, absolute at the time it was set
// or last saved, and relative to the folder of the scene or preset that refers to it. The
// lookup tries, in order, the relative path under the scene's folder, the absolute path, and
// the folders of the search path (each with the relative path and with the bare file name).
// A record with neither an absolute nor a relative path (a scene written before they were
// stored) tries the path as given, under the scene's folder and as it stands.
#pragma once

#include <string>
#include <vector>

namespace quarel_host {

struct AssetPath {
    std::string given;     // as the user gave it
    std::string absolute;  // absolute and normalised; empty when unknown
    std::string relative;  // relative to the referring file's folder; empty when unknown
};

// Where to look: the referring file's folder (empty: none) and further folders.
struct AssetSearch {
    std::string baseDir;
    std::vector<std::string> searchPaths;
};

// The paths to try, in order, each once.
std::vector<std::string> AssetCandidates(const AssetPath& asset, const AssetSearch& search);

// The first candidate that is a regular file, or empty; `tried` (if given) gets every
// candidate tried.
std::string FindAsset(const AssetPath& asset, const AssetSearch& search,
                      std::vector<std::string>* tried = nullptr);

// `path` made absolute (against the working folder) and normalised.
std::string AbsolutePath(const std::string& path);

// `path` relative to the folder `dir` (both made absolute first), with '/' separators; empty
// when there is no such path (another drive).
std::string RelativePath(const std::string& path, const std::string& dir);

}  // namespace quarel_host
