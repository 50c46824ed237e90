// What `bake --profile` writes for each target: the files, their names, what each channel of a
// packed file holds, the normal map's Y direction and the colour spaces. The one place these
// conventions are written down; `bake --help` prints it.
//
// Colour is 8-bit sRGB; everything else is linear, 16 bits a channel (the PNGs say so). Packed
// masks take occlusion and roughness from the bake's maps, metallic from --metallic,
// smoothness as 1 - roughness and the detail mask as 1 on the bricks and 0 in the joint.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace QuarelPreview {

// What a file or one channel of a packed file holds.
enum class BakeChannel {
    None,  // 0
    Color,
    Normal,
    Height,
    Id,
    Roughness,
    Occlusion,
    Metallic,
    Smoothness,  // 1 - roughness
    DetailMask,  // 1 on the bricks, 0 in the joint
};

struct ProfileFile {
    const char* suffix;  // after the prefix, before ".png"
    // A picture of the bake as it is (pack[0] alone), or channels packed into one file.
    std::array<BakeChannel, 4> pack;
    int channels;  // 1: grey, 3: RGB, 4: RGBA
    bool packed;
};

struct BakeProfile {
    const char* name;
    const char* target;    // what reads it, for the help
    int normalYDown;       // 0: +Y up (OpenGL), 1: +Y down (DirectX), -1: as --normal-y-down
    bool wantsPowerOfTwo;  // its engine's texture import prefers power-of-two sides
    std::vector<ProfileFile> files;
    bool gltfFile = false;  // also PREFIX.gltf: a plane with a material using the maps
};

const std::vector<BakeProfile>& BakeProfiles();

// The profile named `name`, or null.
const BakeProfile* FindBakeProfile(const std::string& name);

// The table as `bake --help` prints it.
std::string BakeProfileHelp();

// "gltf|unreal|...".
std::string BakeProfileChoices();

}  // namespace QuarelPreview
