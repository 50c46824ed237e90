// Files are replaced whole or not at all. Each write path (a scene saved with --save-scene, a
// picture, the bake's maps) meets a failure part-way through its bytes and one at the
// rename: the old files stay byte for byte, no temporary is left beside them, and the error
// names the file and the reason. The bake's maps change together or not at all, also when the
// second or third rename fails after the first replaced its target.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/atomic_file.h"
#include "preview/cli/options.h"
#include "preview_support.h"

namespace QuarelPreview {
namespace {

namespace fs = std::filesystem;
using quarel_host::WriteFault;
using QuarelPreviewTest::RunTool;
using QuarelPreviewTest::TestDir;

std::string Bytes(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// The names in `dir`, hidden ones included, sorted.
std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A fault for the length of one command.
struct Armed {
    explicit Armed(const WriteFault& f) { quarel_host::ArmWriteFaultForTesting(f); }
    ~Armed() { quarel_host::DisarmWriteFaultForTesting(); }
};

WriteFault AfterBytes(std::int64_t n, int error = ENOSPC) {
    WriteFault f;
    f.failAfterBytes = n;
    f.error = error;
    return f;
}

WriteFault AtRename(int index, int error = EIO) {
    WriteFault f;
    f.failRename = index;
    f.error = error;
    return f;
}

// Runs the command with `fault` armed: it must fail naming `path` and the fault's reason.
void ExpectFailure(const std::vector<std::string>& args, const WriteFault& fault,
                   const std::string& path) {
    Armed armed(fault);
    std::string err;
    EXPECT_EQ(RunTool(args, "", nullptr, &err), kExitFailed);
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_NE(err.find(std::strerror(fault.error)), std::string::npos) << err;
}

TEST(AtomicWrite, ASceneSaveThatFailsLeavesThePreviousScene) {
    const fs::path dir = TestDir();
    const std::string scene = (dir / "wall.qscene").string();
    ASSERT_EQ(RunTool({"sample", "--save-scene", scene}, ""), kExitOk);
    const std::string old = Bytes(scene);
    const std::vector<std::string> save = {"sample", "--set", "seed=7", "--save-scene", scene};
    for (const WriteFault& fault : {AfterBytes(static_cast<std::int64_t>(old.size() / 2)),
                                    AfterBytes(0, EDQUOT), AtRename(0)}) {
        ExpectFailure(save, fault, scene);
        EXPECT_EQ(Bytes(scene), old);
        EXPECT_EQ(Names(dir), std::vector<std::string>{"wall.qscene"});
    }
    ASSERT_EQ(RunTool(save, ""), kExitOk);
    EXPECT_NE(Bytes(scene), old);
    EXPECT_EQ(Names(dir), std::vector<std::string>{"wall.qscene"});
    fs::remove_all(dir);
}

TEST(AtomicWrite, APictureThatFailsLeavesThePreviousPicture) {
    const fs::path dir = TestDir();
    const std::string png = (dir / "swatch.png").string();
    ASSERT_EQ(RunTool({"swatch", "--pattern", "5", "--size", "20", "--out", png}, ""), kExitOk);
    const std::string old = Bytes(png);
    const std::vector<std::string> draw = {"swatch", "--pattern", "6", "--size",
                                           "20",     "--out",     png};
    for (const WriteFault& fault :
         {AfterBytes(static_cast<std::int64_t>(old.size() / 2)), AtRename(0)}) {
        ExpectFailure(draw, fault, png);
        EXPECT_EQ(Bytes(png), old);
        EXPECT_EQ(Names(dir), std::vector<std::string>{"swatch.png"});
    }
    ASSERT_EQ(RunTool(draw, ""), kExitOk);
    EXPECT_NE(Bytes(png), old);
    fs::remove_all(dir);
}

TEST(AtomicWrite, TheBakedMapsChangeTogetherOrNotAtAll) {
    const fs::path dir = TestDir();
    // The second set has another pattern and size: each of its maps differs.
    auto bake = [&dir](const std::string& name, bool second) {
        return std::vector<std::string>{
            "bake",   "--pattern",          second ? "5" : "0", "--set", "brick_color=0.9,0.2,0.1",
            "--size", second ? "24" : "16", "--samples",        "1",     "-q",
            "--out",  (dir / name).string()};
    };
    const std::vector<std::string> kinds = {"color", "normal", "height", "id"};
    auto maps = [&](const std::string& name) {
        std::vector<std::string> bytes;
        for (const std::string& k : kinds) bytes.push_back(Bytes(dir / (name + "-" + k + ".png")));
        return bytes;
    };
    ASSERT_EQ(RunTool(bake("wall", false), ""), kExitOk);
    ASSERT_EQ(RunTool(bake("new", true), ""), kExitOk);  // what the failing bakes would write
    const std::vector<std::string> old = maps("wall"), fresh = maps("new");
    for (std::size_t i = 0; i < kinds.size(); ++i) ASSERT_NE(old[i], fresh[i]) << kinds[i];
    const std::vector<std::string> names = Names(dir);
    const std::string normal = (dir / "wall-normal.png").string();
    const std::string height = (dir / "wall-height.png").string();

    // Part-way through the normal map; at the renames of the normal and the height maps, after
    // the colour map (and the normal map) already took their targets' places.
    const auto colorSize = static_cast<std::int64_t>(fresh[0].size());
    const std::pair<WriteFault, std::string> faults[] = {
        {AfterBytes(colorSize + 100), normal}, {AtRename(1), normal}, {AtRename(2), height}};
    for (const auto& [fault, named] : faults) {
        ExpectFailure(bake("wall", true), fault, named);
        EXPECT_EQ(maps("wall"), old);
        EXPECT_EQ(Names(dir), names);
    }
    // Maps that did not exist before are not left behind either.
    ExpectFailure(bake("other", true), AtRename(2), (dir / "other-height.png").string());
    EXPECT_EQ(Names(dir), names);

    ASSERT_EQ(RunTool(bake("wall", true), ""), kExitOk);
    EXPECT_EQ(maps("wall"), fresh);
    EXPECT_EQ(Names(dir), names);
    fs::remove_all(dir);
}

// A replaced file keeps its permissions, and a link to it stays a link.
TEST(AtomicWrite, AReplacedFileKeepsItsModeAndLinks) {
    const fs::path dir = TestDir();
    const fs::path real = dir / "real.qscene", link = dir / "link.qscene";
    QuarelPreviewTest::WriteFile(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real.filename(), link);
    std::string error;
    ASSERT_TRUE(quarel_host::WriteFileAtomically(link.string(), "new", 3, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"link.qscene", "real.qscene"}));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace QuarelPreview
