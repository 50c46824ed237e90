// The checked-in Windows resource script and header are exactly what the tables generate.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "pattern/catalogue.h"
#include "resources/rc_writer.h"

namespace QuarelRes {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ResourceScript, CheckedInCopiesMatchTheTables) {
    EXPECT_EQ(ReadFile(QUAREL_RC_DIR "/resource.h"), RenderResourceHeader())
        << "run the target quarel_update_resources";
    EXPECT_EQ(ReadFile(QUAREL_RC_DIR "/QuarelMap.rc"), RenderResourceScript())
        << "run the target quarel_update_resources";
}

// The Windows build reads pattern and category names by the header's ids, the engine by the
// catalogue's: read back from the checked-in files, each row has one symbol with its id and text.
TEST(ResourceScript, CheckedInPatternIdsAndNamesAreTheCatalogues) {
    const std::string header = ReadFile(QUAREL_RC_DIR "/resource.h");
    const std::string script = ReadFile(QUAREL_RC_DIR "/QuarelMap.rc");
    std::map<int, std::string> symbolOf;  // string id -> IDS_PAT_ or IDS_CAT_ symbol
    const std::regex define(R"(#define (IDS_(PAT|CAT)_\w+) (\d+))");
    for (std::sregex_iterator it(header.begin(), header.end(), define), end; it != end; ++it)
        EXPECT_TRUE(symbolOf.emplace(std::stoi((*it)[3]), (*it)[1]).second) << (*it)[0];
    EXPECT_EQ(symbolOf.size(),
              QuarelNS::kPatternCatalogue.size() + QuarelNS::kPatternCategories.size());
    auto expectRow = [&](int id, std::string_view name) {
        const auto found = symbolOf.find(id);
        ASSERT_NE(found, symbolOf.end()) << name << " (" << id << ") has no symbol";
        const std::string line = found->second + " \"" + std::string(name) + "\"";
        EXPECT_NE(script.find(line), std::string::npos) << line;
    };
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue)
        expectRow(p.nameStringId, p.name);
    for (const QuarelNS::PatternCategoryInfo& c : QuarelNS::kPatternCategories)
        expectRow(c.nameStringId, c.name);
}

TEST(ResourceScript, TextsAreEscapedForTheResourceCompiler) {
    const std::string rc = RenderResourceScript();
    EXPECT_NE(rc.find("#pragma code_page(65001)"), std::string::npos);
    EXPECT_NE(rc.find("IDS_NORMAL_TITLE \"QuarelMap Normal \xE2\x80\x94 Relief Settings\""),
              std::string::npos);
    EXPECT_NE(rc.find("IDS_PAT_1_2_RUNNING \"1/2 Running\""), std::string::npos);
    EXPECT_NE(rc.find("IDD_QUAREL_PARAMS DIALOGEX 0, 0, 217, 381"), std::string::npos);
    EXPECT_NE(rc.find("CONTROL \"None\", IDC_NORMAL_INNER, \"CustButton\""), std::string::npos);
    const std::string h = RenderResourceHeader();
    EXPECT_NE(h.find("#define IDC_PATTERN 1001\n"), std::string::npos);
    EXPECT_NE(h.find("#define IDS_CAT_MASONRY 3120\n"), std::string::npos);
}

}  // namespace
}  // namespace QuarelRes
