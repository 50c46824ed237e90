// The bake's file set on disc: its pictures (PNG, packed masks, the float height) and the text
// files beside them, written together or not at all.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "preview/common/bake_profiles.h"
#include "preview/render/bake.h"
#include "preview/render/profile_pictures.h"

namespace QuarelPreview {

struct BakeText {
    std::string path, text;
};

// Writes them all or none, creating missing folders; prints each path written, or the reason
// on `err`.
bool WriteBakeSet(const std::vector<ProfilePicture>& pictures, const std::vector<BakeText>& texts,
                  std::FILE* out, std::FILE* err);

// The description a user displaces by: the profile, the tile's size in pixels, the relief's
// depth (a unit height step, joint 0 to brick top 1, in pixels and in tile widths), the
// normals' direction and the files by name.
std::string BakeInfoJson(const BakeProfile& profile, const BakeRequest& request,
                         const std::vector<ProfilePicture>& pictures);

// For a profile with a material file: the .gltf's text, naming the pictures relative to it;
// its plane has the tile's proportions.
std::string BakeGltf(const BakeProfile& profile, const std::vector<ProfilePicture>& pictures,
                     const std::string& name, double depthPerWidth = 1.0);

}  // namespace QuarelPreview
