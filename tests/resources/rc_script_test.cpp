// The checked-in Windows resource script and header are exactly what the tables generate.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

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

TEST(ResourceScript, TextsAreEscapedForTheResourceCompiler) {
    const std::string rc = RenderResourceScript();
    EXPECT_NE(rc.find("#pragma code_page(65001)"), std::string::npos);
    EXPECT_NE(rc.find("IDS_NORMAL_TITLE \"QuarelMap Normal \xE2\x80\x94 Relief Settings\""),
              std::string::npos);
    EXPECT_NE(rc.find("IDS_PAT_1_2_RUNNING \"1/2 Running\""), std::string::npos);
    EXPECT_NE(rc.find("IDD_QUAREL_PARAMS DIALOGEX 0, 0, 217, 325"), std::string::npos);
    EXPECT_NE(rc.find("CONTROL \"None\", IDC_NORMAL_INNER, \"CustButton\""), std::string::npos);
    const std::string h = RenderResourceHeader();
    EXPECT_NE(h.find("#define IDC_PATTERN 1001\n"), std::string::npos);
    EXPECT_NE(h.find("#define IDS_CAT_MASONRY 3120\n"), std::string::npos);
}

}  // namespace
}  // namespace QuarelRes
