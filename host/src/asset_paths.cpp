#include "host/asset_paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace quarel_host {

namespace {

void AddOnce(std::vector<std::string>& list, const fs::path& p) {
    if (p.empty()) return;
    const std::string s = p.lexically_normal().generic_string();
    if (std::find(list.begin(), list.end(), s) == list.end()) list.push_back(s);
}

}  // namespace

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return {};
    std::error_code ec;
    fs::path abs = fs::absolute(fs::path(path), ec);
    if (ec) abs = fs::path(path);
    return abs.lexically_normal().generic_string();
}

std::string RelativePath(const std::string& path, const std::string& dir) {
    if (path.empty() || dir.empty()) return {};
    const fs::path rel = fs::path(AbsolutePath(path)).lexically_relative(AbsolutePath(dir));
    return rel.empty() ? std::string() : rel.generic_string();
}

std::vector<std::string> AssetCandidates(const AssetPath& asset, const AssetSearch& search) {
    std::vector<std::string> out;
    const fs::path base(search.baseDir);
    if (!asset.relative.empty() && !search.baseDir.empty()) AddOnce(out, base / asset.relative);
    if (!asset.absolute.empty()) AddOnce(out, fs::path(asset.absolute));
    const fs::path given(asset.given);
    if (asset.relative.empty() && asset.absolute.empty() && !given.empty()) {
        if (given.is_absolute() || search.baseDir.empty()) {
            AddOnce(out, given);
        } else {
            AddOnce(out, base / given);
            AddOnce(out, fs::path(AbsolutePath(asset.given)));
        }
    }
    const fs::path name = given.filename();
    for (const std::string& dir : search.searchPaths) {
        if (dir.empty()) continue;
        // A relative path that climbs out of the scene's folder means nothing elsewhere.
        const fs::path rel(asset.relative);
        if (!rel.empty() && *rel.begin() != "..") AddOnce(out, fs::path(dir) / rel);
        if (given.is_relative() && !given.empty()) AddOnce(out, fs::path(dir) / given);
        if (!name.empty()) AddOnce(out, fs::path(dir) / name);
    }
    return out;
}

std::string FindAsset(const AssetPath& asset, const AssetSearch& search,
                      std::vector<std::string>* tried) {
    for (const std::string& c : AssetCandidates(asset, search)) {
        if (tried) tried->push_back(c);
        std::error_code ec;
        if (fs::is_regular_file(fs::path(c), ec)) return c;
    }
    return {};
}

}  // namespace quarel_host
