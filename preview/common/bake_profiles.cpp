#include "preview/common/bake_profiles.h"

namespace QuarelPreview {
namespace {

using C = BakeChannel;

ProfileFile Whole(const char* suffix, BakeChannel what, int channels) {
    return {suffix, {what, C::None, C::None, C::None}, channels, false};
}

ProfileFile Pack(const char* suffix, std::array<BakeChannel, 4> pack, int channels) {
    return {suffix, pack, channels, true};
}

std::vector<BakeProfile> MakeProfiles() {
    const ProfileFile orm = Pack("_ORM", {C::Occlusion, C::Roughness, C::Metallic, C::None}, 3);
    const ProfileFile height = Whole("_Displacement", C::Height, 1);
    return {
        {"separate",
         "every map on its own",
         -1,
         false,
         {Whole("-color", C::Color, 3), Whole("-normal", C::Normal, 3),
          Whole("-height", C::Height, 1), Whole("-id", C::Id, 3),
          Whole("-roughness", C::Roughness, 1), Whole("-ao", C::Occlusion, 1)}},
        {"gltf",
         "glTF 2.0 metallic-roughness (one ORM file serves both)",
         0,
         false,
         {Whole("_Color", C::Color, 3), Whole("_NormalGL", C::Normal, 3), orm, height},
         true},
        {"unreal",
         "Unreal Engine",
         1,
         true,
         {Whole("_Color", C::Color, 3), Whole("_NormalDX", C::Normal, 3), orm, height}},
        {"unity-urp",
         "Unity URP Lit (metallic map; occlusion map reads G)",
         0,
         true,
         {Whole("_Color", C::Color, 3), Whole("_NormalGL", C::Normal, 3),
          Pack("_MaskMap", {C::Metallic, C::Occlusion, C::None, C::Smoothness}, 4), height}},
        {"unity-hdrp",
         "Unity HDRP Lit mask map",
         0,
         true,
         {Whole("_Color", C::Color, 3), Whole("_NormalGL", C::Normal, 3),
          Pack("_MaskMap", {C::Metallic, C::Occlusion, C::DetailMask, C::Smoothness}, 4), height}},
        {"godot",
         "Godot 4 ORMMaterial3D",
         0,
         false,
         {Whole("_Color", C::Color, 3), Whole("_NormalGL", C::Normal, 3), orm, height}},
    };
}

const char* ChannelName(BakeChannel c) {
    switch (c) {
        case C::None:
            return "0";
        case C::Color:
            return "colour (sRGB)";
        case C::Normal:
            return "normal";
        case C::Height:
            return "height 0..1";
        case C::Id:
            return "brick id";
        case C::Roughness:
            return "roughness";
        case C::Occlusion:
            return "occlusion";
        case C::Metallic:
            return "metallic";
        case C::Smoothness:
            return "smoothness";
        case C::DetailMask:
            return "detail mask";
    }
    return "";
}

std::string FileHelp(const ProfileFile& f) {
    if (!f.packed) return std::string(f.suffix) + " " + ChannelName(f.pack[0]);
    std::string text = std::string(f.suffix) + " ";
    const char* const names[] = {"R ", " G ", " B ", " A "};
    for (int c = 0; c < f.channels; ++c) text += names[c] + std::string(ChannelName(f.pack[c]));
    return text;
}

}  // namespace

const std::vector<BakeProfile>& BakeProfiles() {
    static const std::vector<BakeProfile> profiles = MakeProfiles();
    return profiles;
}

const BakeProfile* FindBakeProfile(const std::string& name) {
    for (const BakeProfile& p : BakeProfiles())
        if (name == p.name) return &p;
    return nullptr;
}

std::string BakeProfileChoices() {
    std::string text;
    for (const BakeProfile& p : BakeProfiles()) {
        // Appended piece by piece: a temporary string here trips GCC 12's -Wrestrict when
        // the unity build inlines it.
        if (!text.empty()) text += '|';
        text += p.name;
    }
    return text;
}

std::string BakeProfileHelp() {
    std::string text =
        "Profiles (colour 8-bit sRGB; all else 16-bit linear; PREFIX + suffix + .png):\n";
    for (const BakeProfile& p : BakeProfiles()) {
        text += std::string("  ") + p.name + ": " + p.target + "; normals " +
                (p.normalYDown < 0 ? "+Y up, or down with --normal-y-down"
                 : p.normalYDown   ? "+Y down (DirectX)"
                                   : "+Y up (OpenGL)") +
                (p.wantsPowerOfTwo ? "; power-of-two sides" : "") +
                (p.gltfFile ? "; PREFIX.gltf, a plane with the material" : "") + "\n";
        for (const ProfileFile& f : p.files) text += "      " + FileHelp(f) + "\n";
    }
    return text;
}

}  // namespace QuarelPreview
