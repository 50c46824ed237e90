#include "preview/picture/gltf_writer.h"

#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <vector>

namespace QuarelPreview {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kFloat = 5126, kUnsignedShort = 5123;
constexpr int kArrayBuffer = 34962, kElementArrayBuffer = 34963;

// The plane's corners: u along +X, v along +Z (v = 0 at the far edge, as the picture's top
// row), so that +Y up in the normal map (towards smaller v) is -Z, the bitangent that
// normal x tangent gives with w = 1.
constexpr float kPositions[] = {-0.5f, 0, -0.5f, 0.5f, 0, -0.5f, 0.5f, 0, 0.5f, -0.5f, 0, 0.5f};
constexpr float kNormals[] = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
constexpr float kTangents[] = {1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1};
constexpr float kUvs[] = {0, 0, 1, 0, 1, 1, 0, 1};
constexpr std::uint16_t kIndices[] = {0, 3, 2, 0, 2, 1};  // counter-clockwise seen from +Y

std::string Base64(const std::vector<std::uint8_t>& bytes) {
    static const char* const kDigits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16 |
                                (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) |
                                (i + 2 < bytes.size() ? bytes[i + 2] : 0);
        text += kDigits[(n >> 18) & 63];
        text += kDigits[(n >> 12) & 63];
        text += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return text;
}

// Appends `data` to the buffer as a view of its own; returns the view's index.
template <typename T, std::size_t N>
int AddView(std::vector<std::uint8_t>& buffer, Json& views, const T (&data)[N], int target) {
    Json view = {{"buffer", 0},
                 {"byteOffset", buffer.size()},
                 {"byteLength", sizeof data},
                 {"target", target}};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    buffer.insert(buffer.end(), bytes, bytes + sizeof data);
    views.push_back(view);
    return static_cast<int>(views.size()) - 1;
}

Json Accessor(int view, int componentType, int count, const char* type) {
    return {
        {"bufferView", view}, {"componentType", componentType}, {"count", count}, {"type", type}};
}

Json Geometry(Json& doc) {
    std::vector<std::uint8_t> buffer;
    Json views = Json::array(), accessors = Json::array();
    Json position = Accessor(AddView(buffer, views, kPositions, kArrayBuffer), kFloat, 4, "VEC3");
    position["min"] = {-0.5, 0.0, -0.5};
    position["max"] = {0.5, 0.0, 0.5};
    accessors.push_back(position);
    accessors.push_back(
        Accessor(AddView(buffer, views, kNormals, kArrayBuffer), kFloat, 4, "VEC3"));
    accessors.push_back(
        Accessor(AddView(buffer, views, kTangents, kArrayBuffer), kFloat, 4, "VEC4"));
    accessors.push_back(Accessor(AddView(buffer, views, kUvs, kArrayBuffer), kFloat, 4, "VEC2"));
    accessors.push_back(Accessor(AddView(buffer, views, kIndices, kElementArrayBuffer),
                                 kUnsignedShort, 6, "SCALAR"));
    doc["buffers"] =
        Json::array({{{"byteLength", buffer.size()},
                      {"uri", "data:application/octet-stream;base64," + Base64(buffer)}}});
    doc["bufferViews"] = views;
    doc["accessors"] = accessors;
    return {{"attributes", {{"POSITION", 0}, {"NORMAL", 1}, {"TANGENT", 2}, {"TEXCOORD_0", 3}}},
            {"indices", 4},
            {"material", 0}};
}

// Adds an image and its texture; returns the texture's index.
int AddTexture(Json& doc, const std::string& uri) {
    doc["images"].push_back({{"uri", uri}});
    const int index = static_cast<int>(doc["textures"].size());
    doc["textures"].push_back({{"sampler", 0}, {"source", index}});
    return index;
}

Json Material(Json& doc, const GltfMaps& maps, const std::string& name) {
    Json pbr = {{"metallicFactor", 1.0}, {"roughnessFactor", 1.0}};
    Json material = {{"name", name}};
    if (!maps.baseColor.empty())
        pbr["baseColorTexture"] = {{"index", AddTexture(doc, maps.baseColor)}};
    if (!maps.occlusionRoughnessMetallic.empty()) {
        const int orm = AddTexture(doc, maps.occlusionRoughnessMetallic);
        pbr["metallicRoughnessTexture"] = {{"index", orm}};
        material["occlusionTexture"] = {{"index", orm}};
    }
    if (!maps.normal.empty()) material["normalTexture"] = {{"index", AddTexture(doc, maps.normal)}};
    material["pbrMetallicRoughness"] = pbr;
    return material;
}

}  // namespace

std::string GltfPlane(const GltfMaps& maps, const std::string& name, double depthPerWidth) {
    Json doc;
    doc["asset"] = {{"version", "2.0"}, {"generator", "quarel-preview bake"}};
    doc["scene"] = 0;
    doc["scenes"] = Json::array({{{"nodes", {0}}}});
    Json node = {{"name", name}, {"mesh", 0}};
    if (depthPerWidth != 1.0) node["scale"] = {1.0, 1.0, depthPerWidth};
    doc["nodes"] = Json::array({node});
    doc["images"] = Json::array();
    doc["textures"] = Json::array();
    // Repeat both ways, so that the tile tiles on a larger plane too; linear mipmapped filtering.
    doc["samplers"] = Json::array(
        {{{"magFilter", 9729}, {"minFilter", 9987}, {"wrapS", 10497}, {"wrapT", 10497}}});
    const Json primitive = Geometry(doc);
    doc["materials"] = Json::array({Material(doc, maps, name)});
    doc["meshes"] = Json::array({{{"name", name}, {"primitives", {primitive}}}});
    return doc.dump(2) + "\n";
}

}  // namespace QuarelPreview
