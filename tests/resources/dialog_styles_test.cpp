// The templates' style bits have their Win32 values (checked wherever <windows.h> has them).
#include <gtest/gtest.h>
#include <windows.h>

#include "resources/dialog_styles.h"

namespace QuarelRes::Style {
namespace {

TEST(DialogStyles, MatchTheWin32Values) {
#ifdef WS_CHILD
    EXPECT_EQ(kChild, static_cast<std::uint32_t>(WS_CHILD));
    EXPECT_EQ(kVisible, static_cast<std::uint32_t>(WS_VISIBLE));
    EXPECT_EQ(kClipSiblings, static_cast<std::uint32_t>(WS_CLIPSIBLINGS));
    EXPECT_EQ(kVScroll, static_cast<std::uint32_t>(WS_VSCROLL));
    EXPECT_EQ(kTabStop, static_cast<std::uint32_t>(WS_TABSTOP));
#endif
#ifdef DS_SETFONT
    EXPECT_EQ(kSetFont, static_cast<std::uint32_t>(DS_SETFONT));
#endif
#ifdef SS_NOPREFIX
    EXPECT_EQ(kStaticLeft, static_cast<std::uint32_t>(SS_LEFT));
    EXPECT_EQ(kStaticNoPrefix, static_cast<std::uint32_t>(SS_NOPREFIX));
#endif
#ifdef BS_AUTOCHECKBOX
    EXPECT_EQ(kGroupBox, static_cast<std::uint32_t>(BS_GROUPBOX));
    EXPECT_EQ(kAutoCheckBox, static_cast<std::uint32_t>(BS_AUTOCHECKBOX));
#endif
#ifdef ES_AUTOHSCROLL
    EXPECT_EQ(kEditAutoHScroll, static_cast<std::uint32_t>(ES_AUTOHSCROLL));
#endif
#ifdef CBS_OWNERDRAWFIXED
    EXPECT_EQ(kComboDropDownList, static_cast<std::uint32_t>(CBS_DROPDOWNLIST));
    EXPECT_EQ(kComboOwnerDrawFixed, static_cast<std::uint32_t>(CBS_OWNERDRAWFIXED));
    EXPECT_EQ(kComboHasStrings, static_cast<std::uint32_t>(CBS_HASSTRINGS));
#endif
}

}  // namespace
}  // namespace QuarelRes::Style
