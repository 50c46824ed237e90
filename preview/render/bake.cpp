#include "preview/render/bake.h"

#include <algorithm>
#include <cmath>

#include "preview/render/ambient_occlusion.h"
#include "preview/render/height_normals.h"
#include "preview/render/render.h"

namespace QuarelPreview {
namespace {

RenderRequest TileRequest(const BakeRequest& b, Output output) {
    RenderRequest r;
    r.output = output;
    r.projection = Projection::Plane;
    r.size = b.size;
    r.width = BakeWidth(b);
    r.repeat = 1;  // the plane's one tile: u in [0, 1) left to right, v from 1 down to 0
    r.samples = b.samples;
    r.threads = b.threads;
    r.progress = b.progress;
    r.normalYDown = b.normalYDown;
    return r;
}

}  // namespace

double ReliefDepthPixels(const BakeRequest& b) {
    if (!b.mapBevel) return b.reliefDepth;
    return b.reliefDepth * b.size / kReliefDepthSize;
}

int BevelPixels(const BakeRequest& b) {
    if (!b.mapBevel) return b.bevel;
    const double scaled = std::round(static_cast<double>(b.bevel) * b.size / kReliefDepthSize);
    return static_cast<int>(std::clamp(scaled, 0.0, static_cast<double>(kMaxBevel)));
}

int BakeWidth(const BakeRequest& b) {
    return b.width > 0 ? b.width : b.size;
}

int BakeTileCount(const BakeRequest& b) {
    // Colour, height and ids; the normal output is a render of its own, height normals are not.
    const int pictures = b.normalSource == NormalSource::Output ? 4 : 3;
    return pictures * TileCount(TileRequest(b, Output::Color));
}

BakedTiles Bake(const BakeRequest& b, Texmap* map) {
    BakedTiles tiles;
    tiles.color = Render(TileRequest(b, Output::Color), map);
    tiles.height = Render(TileRequest(b, Output::Height), map);
    if (b.normalSource == NormalSource::Output) {
        tiles.normal = Render(TileRequest(b, Output::Normal), map);
    } else {
        HeightNormalSettings s;
        s.bevel = BevelPixels(b);
        s.depth = ReliefDepthPixels(b);
        s.yDown = b.normalYDown;
        s.threads = b.threads;
        tiles.normal = NormalsFromHeight(tiles.height, s);
    }
    tiles.id = RenderBrickIds(b.ids, BakeWidth(b), b.size, b.threads, b.progress);
    tiles.roughness = RenderRoughness(b.ids, b.roughness, BakeWidth(b), b.size, b.threads);
    tiles.occlusion =
        AmbientOcclusion(tiles.height, {b.occlusionRadius, ReliefDepthPixels(b), b.threads});
    return tiles;
}

std::string BakePath(const std::string& prefix, const char* which) {
    return prefix + "-" + which + ".png";
}

}  // namespace QuarelPreview
