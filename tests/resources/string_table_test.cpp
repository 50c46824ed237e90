// The string table: unique ids, the catalogue's names under the catalogue's ids, exact texts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "pattern/catalogue.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"

namespace QuarelRes {
namespace {

std::wstring Widened(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

TEST(StringTable, IdsAreUniqueAndSortedSoLookupFindsEveryRow) {
    std::set<std::uint32_t> seen;
    std::uint32_t previous = 0;
    for (const W32StringResource& s : StringTable()) {
        EXPECT_TRUE(seen.insert(s.id).second) << "duplicate string id " << s.id;
        EXPECT_GE(s.id, previous);
        previous = s.id;
        ASSERT_NE(s.text, nullptr);
        EXPECT_NE(s.text[0], L'\0') << "empty string " << s.id;
        EXPECT_EQ(FindString(s.id), s.text);
    }
    for (std::uint32_t missing : {0u, 1u, 4u, 71u, 75u, 79u, 80u, 82u, 98u, 3125u, 0xFFFFFFFFu})
        EXPECT_EQ(FindString(missing), nullptr) << missing;
}

TEST(StringTable, PatternAndCategoryNamesComeFromTheCatalogue) {
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue) {
        const wchar_t* text = FindString(static_cast<std::uint32_t>(p.nameStringId));
        ASSERT_NE(text, nullptr) << p.name;
        EXPECT_EQ(std::wstring(text), Widened(p.name));
    }
    for (const QuarelNS::PatternCategoryInfo& c : QuarelNS::kPatternCategories) {
        const wchar_t* text = FindString(static_cast<std::uint32_t>(c.nameStringId));
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_EQ(std::wstring(text), Widened(c.name));
    }
}

TEST(StringTable, TitlesAndItemsReadAsTheEditorShowsThem) {
    EXPECT_EQ(std::wstring(FindString(IDS_PARAMS_TITLE)), L"Quarel Parameters v2.1");
    EXPECT_EQ(std::wstring(FindString(IDS_DIFFUSE_TITLE)), L"Diffuse Colors & Maps");
    EXPECT_EQ(std::wstring(FindString(85)), L"QuarelMap Normal \x2014 Relief Settings");
    // Distinct ids with equal texts stay distinct entries.
    EXPECT_EQ(std::wstring(FindString(83)), std::wstring(FindString(84)));
    EXPECT_EQ(std::wstring(FindString(78)), std::wstring(FindString(86)));
}

}  // namespace
}  // namespace QuarelRes
