// A glTF 2.0 file that shows a baked set with no wiring: a plane one tile wide (one unit,
// in the XZ plane facing +Y), with normals, tangents and UVs covering the tile once, and one
// metallic-roughness material using the set's maps by relative path. The geometry is embedded
// as a base64 data URI, so the file and the maps are the whole set.
#pragma once

#include <string>

namespace QuarelPreview {

// File names of the maps, relative to the .gltf; an empty name leaves its slot out.
struct GltfMaps {
    std::string baseColor;                   // sRGB
    std::string normal;                      // tangent space, +Y up
    std::string occlusionRoughnessMetallic;  // R occlusion, G roughness, B metallic
};

// The file's JSON text; `name` names the material, mesh and node. A tile that is not square
// (`depthPerWidth`: its height over its width) scales the node along Z, so its pixels stay
// square on the plane.
std::string GltfPlane(const GltfMaps& maps, const std::string& name, double depthPerWidth = 1.0);

}  // namespace QuarelPreview
