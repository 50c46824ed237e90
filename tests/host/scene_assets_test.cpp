// Images that travel with their scene: found beside the scene wherever it goes, along the
// search path, by the path stored before; reported (file, map, slot) when missing or broken,
// shown as a placeholder rather than black; relative paths rewritten when saved elsewhere; and
// scenes written before the extra paths were stored still load their images. An object's file
// listing reaches the files of everything it references, each object once when asked to.
#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <AssetEnumCallback.h>
#include <host/asset_paths.h>
#include <host/builtin_classes.h>
#include <host/scene_file.h>
#include <host/scripted_shade_context.h>
#include <host/wide_text.h>
#include <maxapi.h>
#include <filesystem>
#include <fstream>

namespace hosttest {
namespace {

namespace fs = std::filesystem;

void WritePng(const fs::path& path, unsigned char red) {
    fs::create_directories(path.parent_path());
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = image.height = 1;
    image.format = PNG_FORMAT_RGBA;
    const unsigned char rgba[] = {red, 20, 30, 255};
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, rgba, 0, nullptr));
}

class SceneAssetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/quarel_assets_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        root = dir;
        GetCOREInterface()->ResetScene();
    }
    void TearDown() override {
        scene = LoadedScene{};
        GetCOREInterface()->ResetScene();
        fs::remove_all(root);
    }

    // A standard material on a node, a bitmap of `image` as its diffuse map, saved to `path`.
    void SaveBitmapScene(const fs::path& image, const fs::path& path) {
        fs::create_directories(path.parent_path());
        auto* bm = new BitmapMap;
        bm->SetFileName(image.string());
        auto* mtl = new StdMtl;
        mtl->SetName(L"Wall");
        mtl->SetSubTexmap(0, bm);
        GetCOREInterface()->GetRootNode()->CreateChild(L"Box")->SetMtl(mtl);
        ASSERT_TRUE(SaveSceneFile(path.string(), {}, &error)) << error;
        GetCOREInterface()->ResetScene();
    }
    bool Load(const fs::path& path, std::vector<std::string> searchPaths = {}) {
        scene = LoadedScene{};
        error.clear();
        return LoadSceneFile(path.string(), scene, &error, searchPaths);
    }
    BitmapMap* LoadedBitmap() {
        INode* node = GetCOREInterface()->GetRootNode()->GetChildNode(0);
        return node ? dynamic_cast<BitmapMap*>(node->GetMtl()->GetSubTexmap(0)) : nullptr;
    }
    AColor Colour(BitmapMap* bm, float u, float v) {
        ScriptedShadeContext sc;
        sc.SetUVW(Point3(u, v, 0.f), Point3());
        return bm->EvalColor(sc);
    }

    fs::path root;
    LoadedScene scene;
    std::string error;
};

TEST_F(SceneAssetsTest, AnImageTravelsWithItsSceneAndTheSceneLoadsFromAnyWorkingFolder) {
    WritePng(root / "a/images/wood.png", 200);
    SaveBitmapScene(root / "a/images/wood.png", root / "a/scenes/aged.qscene");
    // Scene and images copied elsewhere; the first place no longer has the image.
    fs::create_directories(root / "b");
    fs::copy(root / "a", root / "b/copy", fs::copy_options::recursive);
    fs::remove(root / "a/images/wood.png");
    ASSERT_TRUE(Load(root / "b/copy/scenes/aged.qscene")) << error;
    BitmapMap* bm = LoadedBitmap();
    ASSERT_NE(bm, nullptr);
    EXPECT_TRUE(scene.missing.empty());
    EXPECT_EQ(fs::path(bm->FileName()), fs::canonical(root / "b/copy/images/wood.png"));
    EXPECT_EQ(Colour(bm, 0.5f, 0.5f).r, 200.f / 255.f);
}

TEST_F(SceneAssetsTest, LookupOrderIsBesideTheSceneThenAbsoluteThenTheSearchPath) {
    const quarel_host::AssetPath p{"img/w.png", "/abs/img/w.png", "../img/w.png"};
    const quarel_host::AssetSearch s{"/scenes/s", {"/extra", "/more"}};
    EXPECT_EQ(quarel_host::AssetCandidates(p, s),
              (std::vector<std::string>{"/scenes/img/w.png", "/abs/img/w.png", "/extra/img/w.png",
                                        "/extra/w.png", "/more/img/w.png", "/more/w.png"}));
    // An older record has the path as given only: beside the scene, then as it stands.
    const quarel_host::AssetPath old{"img/w.png", "", ""};
    const auto c = quarel_host::AssetCandidates(old, {"/scenes/s", {}});
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0], "/scenes/s/img/w.png");
    EXPECT_EQ(c[1], quarel_host::AbsolutePath("img/w.png"));
    EXPECT_EQ(quarel_host::RelativePath("/a/b/c.png", "/a/d"), "../b/c.png");
}

TEST_F(SceneAssetsTest, SearchPathFindsAnImageByItsName) {
    WritePng(root / "a/wood.png", 90);
    SaveBitmapScene(root / "a/wood.png", root / "s/x.qscene");
    fs::create_directories(root / "lib");
    fs::rename(root / "a/wood.png", root / "lib/wood.png");
    ASSERT_TRUE(Load(root / "s/x.qscene", {(root / "lib").string()})) << error;
    EXPECT_TRUE(scene.missing.empty());
    EXPECT_EQ(Colour(LoadedBitmap(), 0.f, 0.f).r, 90.f / 255.f);
}

TEST_F(SceneAssetsTest, MissingAndUndecodableFilesAreReportedOnceWithMapAndSlot) {
    WritePng(root / "img/gone.png", 10);
    {
        auto* gone = new BitmapMap;
        gone->SetFileName((root / "img/gone.png").string());
        auto* broken = new BitmapMap;
        std::ofstream(root / "img/broken.png") << "\x89PNG\r\n\x1a\nnot really";
        broken->SetFileName((root / "img/broken.png").string());
        auto* mtl = new StdMtl;
        mtl->SetName(L"Wall");
        mtl->SetSubTexmap(0, gone);
        mtl->SetSubTexmap(1, broken);
        auto* other = new StdMtl;  // no name: known by its class
        other->SetSubTexmap(0, gone);
        INode* top = GetCOREInterface()->GetRootNode();
        top->CreateChild(L"A")->SetMtl(mtl);
        top->CreateChild(L"B")->SetMtl(other);
        ASSERT_TRUE(SaveSceneFile((root / "s.qscene").string(), {}, &error)) << error;
        GetCOREInterface()->ResetScene();
    }
    fs::remove(root / "img/gone.png");
    ASSERT_TRUE(Load(root / "s.qscene")) << error;  // the scene still loads
    ASSERT_EQ(scene.missing.size(), 2u);
    const MissingAsset& gone = scene.missing[0];
    EXPECT_EQ(gone.file, (root / "img/gone.png").string());
    EXPECT_NE(gone.reason.find("cannot find"), std::string::npos) << gone.reason;
    EXPECT_EQ(gone.wantedBy, (std::vector<std::string>{"Standard 'Wall', slot 'Diffuse'",
                                                       "Standard, slot 'Diffuse'"}));
    const MissingAsset& broken = scene.missing[1];
    EXPECT_NE(broken.reason.find("broken.png"), std::string::npos) << broken.reason;
    EXPECT_EQ(broken.wantedBy, (std::vector<std::string>{"Standard 'Wall', slot 'Bump'"}));

    // Shown as a magenta and black checker, never black.
    BitmapMap* bm = LoadedBitmap();
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(Colour(bm, 0.01f, 0.01f), AColor(1.f, 0.f, 1.f, 1.f));
    EXPECT_EQ(Colour(bm, 0.2f, 0.01f), AColor(0.f, 0.f, 0.f, 1.f));
    // A bitmap with no file at all stays black.
    BitmapMap empty;
    EXPECT_EQ(Colour(&empty, 0.01f, 0.01f), AColor(0.f, 0.f, 0.f, 0.f));
}

TEST_F(SceneAssetsTest, SavingIntoAnotherFolderRewritesTheRelativePath) {
    WritePng(root / "p/images/wood.png", 77);
    SaveBitmapScene(root / "p/images/wood.png", root / "p/scenes/one.qscene");
    ASSERT_TRUE(Load(root / "p/scenes/one.qscene")) << error;
    fs::create_directories(root / "q/deeper");
    ASSERT_TRUE(SaveSceneFile((root / "q/deeper/two.qscene").string(), {}, &error)) << error;
    // Both folders moved together: only the new relative path, "../../p/images/wood.png",
    // still leads to the image.
    fs::create_directories(root / "moved");
    fs::rename(root / "p", root / "moved/p");
    fs::rename(root / "q", root / "moved/q");
    ASSERT_TRUE(Load(root / "moved/q/deeper/two.qscene")) << error;
    EXPECT_TRUE(scene.missing.empty()) << scene.missing[0].reason;
    EXPECT_EQ(Colour(LoadedBitmap(), 0.5f, 0.5f).r, 77.f / 255.f);
}

// A scene written before absolute and relative paths were stored: the bitmap's only path is
// the one given at the time, here relative. It is found beside the scene.
TEST_F(SceneAssetsTest, OlderScenesWithThePathAsGivenStillFindTheirImages) {
    WritePng(root / "old/images/wood.png", 33);
    // Bytes as the older writer laid them out: header, objects (a standard UV generator and a
    // bitmap holding only its path chunk, a standard material), no nodes, the material a root.
    const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> b{'Q', 'R', 'L', 'S', 'C', 'E', 'N', 'E', 1, 0, 0, 0};
        std::vector<std::size_t> open;
        auto u32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        };
        auto begin = [&](std::uint16_t id) {
            open.push_back(b.size());
            b.push_back(static_cast<std::uint8_t>(id));
            b.push_back(static_cast<std::uint8_t>(id >> 8));
            u32(0);
        };
        auto end = [&] {
            const auto len = static_cast<std::uint32_t>(b.size() - open.back() - 6);
            for (int i = 0; i < 4; ++i)
                b[open.back() + 2 + i] = static_cast<std::uint8_t>(len >> (8 * i));
            open.pop_back();
        };
        auto object = [&](std::uint32_t sclass, std::uint32_t a, std::vector<std::int32_t> refs,
                          const char* path) {
            begin(0x0021);
            begin(0x0022), u32(sclass), u32(a), u32(0), end();
            begin(0x0024), u32(static_cast<std::uint32_t>(refs.size()));
            for (auto r : refs) u32(static_cast<std::uint32_t>(r));
            end();
            begin(0x0025);
            if (path) {
                begin(0x0110);
                for (const char* c = path; *c; ++c) b.push_back(static_cast<std::uint8_t>(*c));
                b.push_back(0);
                end();
            }
            end();
            end();
        };
        begin(0x0020);
        object(MATERIAL_CLASS_ID, DMTL_CLASS_ID, {1, -1}, nullptr);
        object(TEXMAP_CLASS_ID, BMTEX_CLASS_ID, {-1}, "images/wood.png");
        end();
        begin(0x0040), u32(1), u32(0), end();
        return b;
    }();
    fs::create_directories(root / "old");
    std::ofstream(root / "old/legacy.qscene", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(Load(root / "old/legacy.qscene")) << error;
    ASSERT_EQ(scene.roots.size(), 1u);
    auto* mtl = dynamic_cast<StdMtl*>(scene.roots[0]->GetRef());
    ASSERT_NE(mtl, nullptr);
    auto* bm = dynamic_cast<BitmapMap*>(mtl->GetSubTexmap(0));
    ASSERT_NE(bm, nullptr);
    EXPECT_TRUE(scene.missing.empty());
    EXPECT_EQ(bm->GivenName(), "images/wood.png");
    EXPECT_EQ(Colour(bm, 0.5f, 0.5f).r, 33.f / 255.f);
}

// --- File listings through references

// The files listed, in order, as plain paths.
class FileList : public AssetEnumCallback {
public:
    void RecordAsset(const MaxSDK::AssetManagement::AssetUser& asset) override {
        const std::wstring w = host::Wide(asset.GetFileName());
        files.emplace_back(w.begin(), w.end());
    }
    std::vector<std::string> files;
};

std::vector<std::string> Files(ReferenceMaker* from, DWORD flags) {
    ClearAFlagInHierarchy(from, A_WORK1);
    FileList list;
    from->EnumAuxFiles(list, flags);
    return list.files;
}

// Answers GetReference with whatever it is given, as any maker may: the host counts none of it,
// so nothing stops a loop.
class Relay : public ReferenceTarget {
public:
    int NumRefs() override { return 2; }
    RefTargetHandle GetReference(int i) override { return i == 0 || i == 1 ? refs[i] : nullptr; }
    RefTargetHandle refs[2] = {};
};

using FileListTest = SceneAssetsTest;

TEST_F(FileListTest, NestedFilesAreFoundAtAnyDepthEachMapOnceOnlyMissingOnesAndNoDeeperWhenAsked) {
    const std::string here = (root / "here.png").string(), gone = (root / "gone.png").string();
    WritePng(here, 50);
    auto* present = new BitmapMap;
    ASSERT_TRUE(present->SetFileName(here)) << present->LoadError();
    auto* missing = new BitmapMap;
    missing->SetFileName(gone);
    auto* inner = new CheckerMap;
    inner->SetSubTexmap(0, missing);
    inner->SetSubTexmap(1, present);
    auto* outer = new CheckerMap;  // the same inner map twice: two paths to each image
    outer->SetSubTexmap(0, inner);
    outer->SetSubTexmap(1, inner);
    SingleRefMaker holder(outer);

    const DWORD once = FILE_ENUM_ALL | FILE_ENUM_CHECK_AWORK1;
    EXPECT_EQ(Files(outer, once), (std::vector<std::string>{gone, here}));
    // Marks left by one listing hide the maps from the next until they are cleared.
    FileList stale;
    outer->EnumAuxFiles(stale, once);
    EXPECT_TRUE(stale.files.empty());
    EXPECT_EQ(Files(outer, once | FILE_ENUM_MISSING_ONLY), std::vector<std::string>{gone});
    // Without the check each path is followed, as the host does.
    EXPECT_EQ(Files(outer, FILE_ENUM_MISSING_ONLY), (std::vector<std::string>{gone, gone}));
    // Told not to recurse, an object lists only its own file.
    EXPECT_TRUE(Files(outer, FILE_ENUM_ALL | FILE_ENUM_DONT_RECURSE).empty());
    EXPECT_EQ(Files(missing, FILE_ENUM_ALL | FILE_ENUM_DONT_RECURSE),
              std::vector<std::string>{gone});
}

TEST_F(FileListTest, ALoopOfReferencesEndsAndListsItsFileOnce) {
    auto* bitmap = new BitmapMap;
    bitmap->SetFileName((root / "gone.png").string());
    SingleRefMaker holder(bitmap);
    Relay a, b;
    a.refs[0] = &b;
    a.refs[1] = bitmap;
    b.refs[0] = &a;
    for (DWORD flags : {DWORD{FILE_ENUM_ALL}, DWORD{FILE_ENUM_ALL | FILE_ENUM_CHECK_AWORK1}}) {
        EXPECT_EQ(Files(&a, flags).size(), 1u) << flags;
        EXPECT_EQ(Files(&b, flags).size(), 1u) << flags;
    }
}

}  // namespace
}  // namespace hosttest
