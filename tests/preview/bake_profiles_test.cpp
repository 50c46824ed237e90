// The bake's profiles: each target's file names, and what each channel of its packed masks
// holds on a brick and in the joint; the normal's Y direction; a failed set writes nothing.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>

#include <ImfChannelList.h>
#include <ImfFrameBuffer.h>
#include <ImfHeader.h>
#include <ImfInputFile.h>
#include <nlohmann/json.hpp>

#include "preview/cli/options.h"
#include "preview/common/bake_profiles.h"
#include "preview/picture/exr_writer.h"
#include "preview/render/profile_pictures.h"
#include "preview/render/relief_view.h"
#include "preview/setup/relief_outputs.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::Table;
using QuarelPreviewTest::TestDir;

constexpr int kProfileSize = 48;

struct ProfileBake {
    std::unique_ptr<MapSlot> slot;
    BakedTiles tiles;
};

ProfileBake BakeProfileWall(bool yDown = false) {
    ProfileBake b;
    b.slot = QuarelPreviewTest::MapFromPreset(R"({"pattern": "1/2 Running", "nx": 3, "ny": 6,
        "gap_u": 0.2, "gap_v": 0.25, "seed": 9})");
    UpdateForRender(b.slot->Get());
    BakeRequest r;
    r.size = kProfileSize;
    r.normalYDown = yDown;
    r.ids = BrickIdSettingsOf(b.slot->Get(), Table());
    r.roughness = {0.7, 0.9, 0.2, 5};
    b.tiles = Bake(r, b.slot->Get());
    return b;
}

// Each channel of a packed file by name: "O" occlusion, "R" roughness, "M" metallic,
// "S" smoothness, "D" detail mask, "0" nothing; as the engines document their layouts.
const std::map<std::string, std::map<std::string, std::string>> kProfileFiles = {
    {"separate",
     {{"-color", ""},
      {"-normal", ""},
      {"-height", ""},
      {"-id", ""},
      {"-roughness", ""},
      {"-ao", ""}}},
    {"gltf", {{"_Color", ""}, {"_NormalGL", ""}, {"_ORM", "ORM"}, {"_Displacement", ""}}},
    {"unreal", {{"_Color", ""}, {"_NormalDX", ""}, {"_ORM", "ORM"}, {"_Displacement", ""}}},
    {"unity-urp", {{"_Color", ""}, {"_NormalGL", ""}, {"_MaskMap", "MO0S"}, {"_Displacement", ""}}},
    {"unity-hdrp",
     {{"_Color", ""}, {"_NormalGL", ""}, {"_MaskMap", "MODS"}, {"_Displacement", ""}}},
    {"godot", {{"_Color", ""}, {"_NormalGL", ""}, {"_ORM", "ORM"}, {"_Displacement", ""}}},
};

int ExpectedChannel(char what, const BakedTiles& t, std::size_t i, int metal) {
    const bool joint = t.id.rgb[i * 3] == 0 && t.id.rgb[i * 3 + 1] == 0 && t.id.rgb[i * 3 + 2] == 0;
    switch (what) {
        case 'O':
            return t.occlusion.rgb16[i * 3];
        case 'R':
            return t.roughness.rgb16[i * 3];
        case 'S':
            return 65535 - t.roughness.rgb16[i * 3];
        case 'M':
            return metal;
        case 'D':
            return joint ? 0 : 65535;
        default:
            return 0;
    }
}

TEST(BakeProfiles, FilesAndChannelsAsEachTargetReadsThem) {
    const ProfileBake b = BakeProfileWall();
    // A pixel inside a brick and one in the joint.
    constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t brick = kNone, joint = kNone;
    for (std::size_t i = 0; i < static_cast<std::size_t>(kProfileSize) * kProfileSize; ++i) {
        const bool isJoint = b.tiles.id.rgb[i * 3] == 0;
        if (isJoint && joint == kNone) joint = i;
        if (!isJoint && brick == kNone && b.tiles.occlusion.rgb16[i * 3] == 65535) brick = i;
    }
    ASSERT_NE(brick, kNone);
    ASSERT_NE(joint, kNone);
    EXPECT_LT(b.tiles.occlusion.rgb16[joint * 3], 65535);
    ASSERT_EQ(BakeProfiles().size(), kProfileFiles.size());
    for (const BakeProfile& profile : BakeProfiles()) {
        SCOPED_TRACE(profile.name);
        const auto& files = kProfileFiles.at(profile.name);
        const auto pictures = ProfilePictures(profile, b.tiles, 0.25, "p");
        ASSERT_EQ(pictures.size(), files.size());
        for (const ProfilePicture& p : pictures) {
            const std::string suffix = p.path.substr(1, p.path.size() - 5);
            ASSERT_TRUE(files.count(suffix)) << p.path;
            const std::string& pack = files.at(suffix);
            if (pack.empty()) {
                EXPECT_NE(p.image, nullptr) << p.path;
                continue;
            }
            ASSERT_EQ(p.mask.channels, static_cast<int>(pack.size()));
            for (const std::size_t i : {brick, joint})
                for (std::size_t c = 0; c < pack.size(); ++c)
                    EXPECT_EQ(p.mask.values[i * pack.size() + c],
                              ExpectedChannel(pack[c], b.tiles, i, 16384))
                        << p.path << " channel " << c << " pixel " << i;
        }
    }
}

// Unreal's normals are the others' with green turned over.
TEST(BakeProfiles, DirectXNormalsTurnGreen) {
    const ProfileBake up = BakeProfileWall(false), down = BakeProfileWall(true);
    const auto gl = ProfilePictures(*FindBakeProfile("gltf"), up.tiles, 0, "p");
    EXPECT_EQ(FindBakeProfile("unreal")->normalYDown, 1);
    EXPECT_EQ(FindBakeProfile("gltf")->normalYDown, 0);
    int turned = 0;
    for (std::size_t i = 0; i < up.tiles.normal.rgb16.size(); i += 3) {
        const int g = up.tiles.normal.rgb16[i + 1], gd = down.tiles.normal.rgb16[i + 1];
        EXPECT_NEAR(g + gd, 65535, 1) << i / 3;
        turned += g != 32768;
    }
    EXPECT_GT(turned, 0);
    EXPECT_EQ(gl[1].image, &up.tiles.normal);
}

bool PngHasAlpha(const std::string& path) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png_image_free(&png);
    return alpha;
}

TEST(BakeProfiles, TheToolWritesTheSetAndRefusesBadInput) {
    const auto dir = TestDir();
    const std::string prefix = (dir / "w").string();
    std::string out, err;
    ASSERT_EQ(RunTool({"bake", "--profile", "unity-hdrp", "--size", "16", "-q", "--out", prefix},
                      "", &out),
              kExitOk);
    EXPECT_EQ(out, prefix + "_Color.png\n" + prefix + "_NormalGL.png\n" + prefix +
                       "_MaskMap.png\n" + prefix + "_Displacement.png\n" + prefix + ".json\n");
    EXPECT_TRUE(PngHasAlpha(prefix + "_MaskMap.png"));

    // Engines that want power-of-two sides get a warning, and the set nevertheless.
    ASSERT_EQ(RunTool({"bake", "--profile", "unreal", "--size", "24", "-q", "--out", prefix}, "",
                      &out, &err),
              kExitOk);
    EXPECT_NE(err.find("warning: --size 24 is not a power of two"), std::string::npos) << err;
    ASSERT_EQ(RunTool({"bake", "--profile", "unreal", "--size", "32x24", "-q", "--out", prefix}, "",
                      &out, &err),
              kExitOk);
    EXPECT_NE(err.find("warning: --size 32x24: 24 is not a power of two"), std::string::npos)
        << err;
    ASSERT_EQ(RunTool({"bake", "--profile", "gltf", "--size", "24", "-q", "--out", prefix}, "",
                      &out, &err),
              kExitOk);
    EXPECT_EQ(err.find("power of two"), std::string::npos) << err;

    // A folder that cannot be made: an error naming it, and no file of the set.
    const std::string blocked = (dir / "file").string();
    { std::ofstream(blocked) << "x"; }
    EXPECT_EQ(
        RunTool({"bake", "--profile", "gltf", "--size", "16", "-q", "--out", blocked + "/sub/w"},
                "", &out, &err),
        kExitFailed);
    EXPECT_NE(err.find("cannot create"), std::string::npos) << err;
    EXPECT_FALSE(std::filesystem::exists(blocked + "/sub"));
    std::filesystem::remove_all(dir);
}

// The float height read back by the library holds the 16-bit height's values; the JSON beside
// it gives the depth and names files that exist.
TEST(BakeProfiles, FloatHeightAndItsDescription) {
    const ProfileBake b = BakeProfileWall();
    const auto dir = TestDir();
    const std::string path = (dir / "h.exr").string();
    std::string error;
    {
        quarel_host::AtomicFile file;
        ASSERT_TRUE(file.Open(path, &error) && WriteHeightExr(b.tiles.height, file, error) &&
                    file.Commit(&error))
            << error;
    }
    Imf::InputFile in(path.c_str());
    const Imath::Box2i window = in.header().dataWindow();
    ASSERT_EQ(window.max.x + 1, kProfileSize);
    ASSERT_EQ(window.max.y + 1, kProfileSize);
    ASSERT_NE(in.header().channels().findChannel("Y"), nullptr);
    EXPECT_EQ(in.header().channels().findChannel("Y")->type, Imf::FLOAT);
    std::vector<float> values(static_cast<std::size_t>(kProfileSize) * kProfileSize);
    Imf::FrameBuffer frame;
    frame.insert("Y", Imf::Slice(Imf::FLOAT, reinterpret_cast<char*>(values.data()), sizeof(float),
                                 sizeof(float) * kProfileSize));
    in.setFrameBuffer(frame);
    in.readPixels(0, kProfileSize - 1);
    float lo = 1.f, hi = 0.f;
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_NEAR(values[i], b.tiles.height.rgb16[i * 3] / 65535.0, 0.5 / 65535) << i;
        lo = std::min(lo, values[i]);
        hi = std::max(hi, values[i]);
    }
    EXPECT_EQ(lo, 0.f);  // the joint
    EXPECT_EQ(hi, 1.f);  // a brick top

    const std::string prefix = (dir / "g").string();
    ASSERT_EQ(RunTool({"bake", "--profile", "godot", "--height-format", "exr", "--relief-depth",
                       "9", "--size", "32", "-q", "--out", prefix},
                      ""),
              kExitOk);
    std::ifstream text(prefix + ".json");
    const nlohmann::json j = nlohmann::json::parse(text);
    EXPECT_EQ(j["profile"], "godot");
    EXPECT_EQ(j["relief_depth_pixels"], 9.0);
    EXPECT_DOUBLE_EQ(j["relief_depth_tile_widths"].get<double>(), 9.0 / 32);
    EXPECT_EQ(j["width"], 32);
    ASSERT_EQ(j["files"].size(), 4u);
    EXPECT_EQ(j["files"][3], "g_Displacement.exr");
    for (const auto& f : j["files"])
        EXPECT_TRUE(std::filesystem::exists(dir / f.get<std::string>()));
    std::filesystem::remove_all(dir);
}

// The lines a command printed on its standard output.
std::vector<std::string> OutputLines(const std::string& command) {
    std::vector<std::string> lines;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return lines;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text = line;
        if (!text.empty() && text.back() == '\n') text.pop_back();
        lines.push_back(text);
    }
    pclose(pipe);
    return lines;
}

// The Khronos validator accepts the gltf profile's material file with no error and no
// warning, on a tile that is not square too, and every resource it reads is a file of the set.
TEST(BakeProfiles, TheGltfFilePassesTheValidator) {
    if (std::system("command -v node >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "node is missing: the glTF validator cannot run";
    const std::string module =
        QuarelPreviewTest::SourceDir() + "/.cache/gltf-validator/node_modules/gltf-validator";
    ASSERT_TRUE(std::filesystem::exists(module))
        << module << " is missing: scripts/setup.sh installs it";
    const auto dir = TestDir();
    const std::string prefix = (dir / "wall").string();
    std::string out;
    ASSERT_EQ(
        RunTool({"bake", "--profile", "gltf", "--size", "64x32", "-q", "--out", prefix}, "", &out),
        kExitOk);
    EXPECT_NE(out.find(prefix + ".gltf\n"), std::string::npos) << out;
    const auto report =
        OutputLines("node '" + QuarelPreviewTest::SourceDir() + "/tests/tools/validate_gltf.js' '" +
                    module + "' '" + prefix + ".gltf' 2>&1");
    ASSERT_GE(report.size(), 2u);
    EXPECT_EQ(report[0], "errors 0");
    EXPECT_EQ(report[1], "warnings 0");
    std::set<std::string> resources;
    for (const std::string& line : report) {
        if (line.rfind("resource ", 0) != 0) continue;
        const std::string uri = line.substr(9);
        if (uri[0] != '/') {
            EXPECT_TRUE(std::filesystem::exists(dir / uri)) << uri;
        }
        resources.insert(uri);
    }
    for (const char* map : {"wall_Color.png", "wall_NormalGL.png", "wall_ORM.png"})
        EXPECT_TRUE(resources.count(map)) << map;
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace QuarelPreview
