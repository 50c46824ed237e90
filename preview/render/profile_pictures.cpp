#include "preview/render/profile_pictures.h"

#include <algorithm>

namespace QuarelPreview {
namespace {

using C = BakeChannel;

// The value of `what` at pixel index `i` of the bake, 0 to 65535.
std::uint16_t ChannelAt(BakeChannel what, const BakedTiles& t, std::size_t i,
                        std::uint16_t metallic) {
    switch (what) {
        case C::Roughness:
            return t.roughness.rgb16[i * 3];
        case C::Occlusion:
            return t.occlusion.rgb16[i * 3];
        case C::Metallic:
            return metallic;
        case C::Smoothness:
            return static_cast<std::uint16_t>(65535 - t.roughness.rgb16[i * 3]);
        case C::DetailMask:
            return t.id.rgb[i * 3] == 0 && t.id.rgb[i * 3 + 1] == 0 && t.id.rgb[i * 3 + 2] == 0
                       ? 0
                       : 65535;
        default:
            return 0;
    }
}

MaskImage PackMask(const ProfileFile& f, const BakedTiles& t, double metallic) {
    MaskImage m(t.roughness.width, t.roughness.height, f.channels);
    const auto metal = static_cast<std::uint16_t>(std::clamp(metallic, 0.0, 1.0) * 65535.0 + 0.5);
    const std::size_t pixels = static_cast<std::size_t>(m.width) * m.height;
    for (std::size_t i = 0; i < pixels; ++i)
        for (int c = 0; c < f.channels; ++c)
            m.values[i * f.channels + c] = ChannelAt(f.pack[c], t, i, metal);
    return m;
}

const Image* PictureOf(BakeChannel what, const BakedTiles& t) {
    switch (what) {
        case C::Color:
            return &t.color;
        case C::Normal:
            return &t.normal;
        case C::Height:
            return &t.height;
        case C::Id:
            return &t.id;
        case C::Roughness:
            return &t.roughness;
        case C::Occlusion:
            return &t.occlusion;
        default:
            return nullptr;
    }
}

}  // namespace

std::vector<ProfilePicture> ProfilePictures(const BakeProfile& profile, const BakedTiles& tiles,
                                            double metallic, const std::string& prefix,
                                            HeightFormat height) {
    std::vector<ProfilePicture> pictures;
    for (const ProfileFile& f : profile.files) {
        ProfilePicture p;
        p.path = prefix + f.suffix + ".png";
        if (f.packed) {
            p.mask = PackMask(f, tiles, metallic);
        } else {
            p.image = PictureOf(f.pack[0], tiles);
            p.grey = f.channels == 1;
            p.exr = f.pack[0] == BakeChannel::Height && height == HeightFormat::Exr;
            if (p.exr) p.path = prefix + f.suffix + ".exr";
        }
        pictures.push_back(std::move(p));
    }
    return pictures;
}

}  // namespace QuarelPreview
