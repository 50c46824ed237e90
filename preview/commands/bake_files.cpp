#include "preview/commands/bake_files.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <system_error>

#include "preview/commands/run.h"
#include "preview/common/mask_png.h"
#include "preview/picture/exr_writer.h"
#include "preview/picture/gltf_writer.h"

namespace QuarelPreview {
namespace {

bool MakeParent(const std::string& path, std::FILE* err) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (!ec) return true;
    std::fprintf(err, "%s: cannot create %s: %s\n", kProgram, parent.c_str(), ec.message().c_str());
    return false;
}

bool WritePicture(const ProfilePicture& p, quarel_host::AtomicFile& file, std::string& why) {
    if (p.exr) return WriteHeightExr(*p.image, file, why);
    return p.image != nullptr ? WritePng(*p.image, file, why, p.grey)
                              : WriteMaskPng(p.mask, file, why);
}

}  // namespace

bool WriteBakeSet(const std::vector<ProfilePicture>& pictures, const std::vector<BakeText>& texts,
                  std::FILE* out, std::FILE* err) {
    quarel_host::AtomicFileSet set;
    for (const ProfilePicture& p : pictures) {
        if (!MakeParent(p.path, err)) return false;
        set.Add(p.path, [&p](quarel_host::AtomicFile& file, std::string& why) {
            return WritePicture(p, file, why);
        });
    }
    for (const BakeText& t : texts) {
        if (!MakeParent(t.path, err)) return false;
        set.Add(t.path, [&t](quarel_host::AtomicFile& file, std::string& why) {
            return file.Write(t.text.data(), t.text.size(), &why);
        });
    }
    std::string error;
    if (!set.Commit(&error)) {
        std::fprintf(err, "%s: %s\n", kProgram, error.c_str());
        return false;
    }
    for (const ProfilePicture& p : pictures) std::fprintf(out, "%s\n", p.path.c_str());
    for (const BakeText& t : texts) std::fprintf(out, "%s\n", t.path.c_str());
    return true;
}

std::string BakeInfoJson(const BakeProfile& profile, const BakeRequest& request,
                         const std::vector<ProfilePicture>& pictures) {
    nlohmann::ordered_json j;
    j["profile"] = profile.name;
    j["width"] = BakeWidth(request);
    j["height"] = request.size;
    j["height_range"] = {0.0, 1.0};
    j["relief_depth_pixels"] = ReliefDepthPixels(request);
    j["relief_depth_tile_widths"] = ReliefDepthPixels(request) / BakeWidth(request);
    j["normal_y"] = request.normalYDown ? "down" : "up";
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const ProfilePicture& p : pictures)
        files.push_back(std::filesystem::path(p.path).filename().string());
    j["files"] = files;
    return j.dump(2) + "\n";
}

std::string BakeGltf(const BakeProfile& profile, const std::vector<ProfilePicture>& pictures,
                     const std::string& name, double depthPerWidth) {
    GltfMaps maps;
    for (std::size_t i = 0; i < profile.files.size() && i < pictures.size(); ++i) {
        const ProfileFile& f = profile.files[i];
        const std::string file = std::filesystem::path(pictures[i].path).filename().string();
        if (!f.packed && f.pack[0] == BakeChannel::Color) maps.baseColor = file;
        if (!f.packed && f.pack[0] == BakeChannel::Normal) maps.normal = file;
        if (f.packed && f.pack[0] == BakeChannel::Occlusion && f.pack[1] == BakeChannel::Roughness)
            maps.occlusionRoughnessMetallic = file;
    }
    return GltfPlane(maps, name, depthPerWidth);
}

}  // namespace QuarelPreview
