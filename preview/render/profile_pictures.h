// The files of a bake profile (see bake_profiles.h) made from the baked tiles.
#pragma once

#include <string>
#include <vector>

#include "preview/common/bake_profiles.h"
#include "preview/common/image.h"
#include "preview/common/mask_png.h"
#include "preview/render/bake.h"

namespace QuarelPreview {

// How the height file is written.
enum class HeightFormat { Png16, Exr };

// One file of a profile's set, ready to write: a picture of the bake, or a packed mask.
struct ProfilePicture {
    std::string path;
    const Image* image = nullptr;  // a picture of the bake, grey when `grey`
    bool grey = false;
    MaskImage mask;    // else this
    bool exr = false;  // the height as 32-bit float OpenEXR instead of a PNG
};

// The pictures of `profile` for `prefix`, from the baked tiles; `metallic` fills metallic
// channels. `tiles` must outlive the result.
std::vector<ProfilePicture> ProfilePictures(const BakeProfile& profile, const BakedTiles& tiles,
                                            double metallic, const std::string& prefix,
                                            HeightFormat height = HeightFormat::Png16);

}  // namespace QuarelPreview
