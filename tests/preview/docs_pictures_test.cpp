// docs/controls.md and its pictures against what scripts/docs-controls.py makes from this tree's
// preview now: a control added, renamed or redescribed, or a change in what the map draws,
// leaves the committed page stale, and the failure says which picture and what to run.
//
// The page's text must match exactly. The pictures have the golden images' tolerance: every
// channel within 2, and at most 0.5 % of a picture's pixels beyond that, since the optimised and
// the sanitizer trees (other compilers and flags) may put a sample at a brick's edge on either
// side of it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "preview/cli/options.h"
#include "preview_support.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kRegenerate =
    "; the page is stale: build the release tree and run scripts/docs-pictures.sh";

std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The first line where the page differs, both ways, rather than two whole pages.
::testing::AssertionResult SamePage(const fs::path& made, const fs::path& committed) {
    std::istringstream now(Text(made)), was(Text(committed));
    std::string a, b;
    for (int line = 1;; ++line) {
        const bool moreNow = static_cast<bool>(std::getline(now, a));
        const bool moreWas = static_cast<bool>(std::getline(was, b));
        if (!moreNow && !moreWas) return ::testing::AssertionSuccess();
        if (moreNow != moreWas || a != b)
            return ::testing::AssertionFailure()
                   << "docs/controls.md line " << line << " is \"" << (moreWas ? b : "(end)")
                   << "\", now \"" << (moreNow ? a : "(end)") << "\"" << kRegenerate;
    }
}

std::set<std::string> Pictures(const fs::path& folder) {
    std::set<std::string> names;
    if (fs::is_directory(folder))
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().extension() == ".png") names.insert(e.path().filename().string());
    return names;
}

// Whether the picture `name` made now matches the committed one; explains why not.
::testing::AssertionResult SamePicture(const fs::path& made, const fs::path& committed) {
    QuarelPreview::Image got, want;
    if (!QuarelPreviewTest::ReadPng(made.string(), got))
        return ::testing::AssertionFailure() << "cannot read " << made;
    if (!QuarelPreviewTest::ReadPng(committed.string(), want))
        return ::testing::AssertionFailure() << "cannot read " << committed;
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure()
               << committed << " is " << want.width << " x " << want.height << ", now " << got.width
               << " x " << got.height << kRegenerate;
    const std::size_t beyond = QuarelPreviewTest::PixelsBeyond(got, want, 2);
    const std::size_t allowed = got.rgb.size() / 3 / 200;
    if (beyond > allowed)
        return ::testing::AssertionFailure()
               << committed << ": " << beyond << " pixels differ by more than 2 (at most "
               << allowed << ")" << kRegenerate;
    return ::testing::AssertionSuccess();
}

TEST(DocsPictures, AreWhatTheScriptMakesNow) {
    const fs::path source = QuarelPreviewTest::SourceDir();
    const fs::path made = QuarelPreviewTest::TestDir() / "docs";
    fs::remove_all(made);
    const std::string command = std::string("\"") + QUAREL_PYTHON + "\" \"" +
                                (source / "scripts/docs-controls.py").string() + "\" --preview \"" +
                                QUAREL_PREVIEW + "\" --out \"" + made.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const fs::path docs = source / "docs";
    EXPECT_TRUE(SamePage(made / "controls.md", docs / "controls.md"));
    const std::set<std::string> now = Pictures(made / "controls");
    const std::set<std::string> committed = Pictures(docs / "controls");
    for (const std::string& name : now) {
        if (committed.count(name) == 0)
            ADD_FAILURE() << "docs/controls/" << name << " is missing" << kRegenerate;
        else
            EXPECT_TRUE(SamePicture(made / "controls" / name, docs / "controls" / name));
    }
    for (const std::string& name : committed)
        EXPECT_EQ(now.count(name), 1u)
            << "docs/controls/" << name << " shows nothing the page has now" << kRegenerate;
    EXPECT_GE(now.size(), 100u);
}

// The page has a section for every parameter the module declares, whatever its kind: a kind the
// script does not know would otherwise drop out of the page without a word.
TEST(DocsPictures, EveryParameterHasItsSection) {
    std::string out;
    ASSERT_EQ(QuarelPreviewTest::RunTool({"params", "--json"}, "", &out), QuarelPreview::kExitOk);
    const std::string page =
        Text(fs::path(QuarelPreviewTest::SourceDir()) / "docs" / "controls.md");
    for (const nlohmann::json& p : nlohmann::json::parse(out)) {
        const std::string name = p.at("name");
        EXPECT_NE(page.find("### `" + name + "`\n"), std::string::npos)
            << name << " has no section in docs/controls.md" << kRegenerate;
    }
}

}  // namespace
