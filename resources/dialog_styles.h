// Window and control style bits that the dialog templates use, with their Win32 values. The
// resource tables are plain data shared by the stand-in build and the resource-script generator,
// so they do not depend on <windows.h>; a test checks the values against it.
#pragma once

#include <cstdint>

namespace QuarelRes::Style {

constexpr std::uint32_t kChild = 0x40000000;         // WS_CHILD
constexpr std::uint32_t kVisible = 0x10000000;       // WS_VISIBLE
constexpr std::uint32_t kClipSiblings = 0x04000000;  // WS_CLIPSIBLINGS
constexpr std::uint32_t kVScroll = 0x00200000;       // WS_VSCROLL
constexpr std::uint32_t kTabStop = 0x00010000;       // WS_TABSTOP
constexpr std::uint32_t kSetFont = 0x00000040;       // DS_SETFONT
constexpr std::uint32_t kClientEdge = 0x00000200;    // WS_EX_CLIENTEDGE (an extended style)

constexpr std::uint32_t kStaticLeft = 0x00000000;       // SS_LEFT
constexpr std::uint32_t kStaticNoPrefix = 0x00000080;   // SS_NOPREFIX
constexpr std::uint32_t kGroupBox = 0x00000007;         // BS_GROUPBOX
constexpr std::uint32_t kAutoCheckBox = 0x00000003;     // BS_AUTOCHECKBOX
constexpr std::uint32_t kEditAutoHScroll = 0x00000080;  // ES_AUTOHSCROLL

constexpr std::uint32_t kComboDropDownList = 0x00000003;    // CBS_DROPDOWNLIST
constexpr std::uint32_t kComboOwnerDrawFixed = 0x00000010;  // CBS_OWNERDRAWFIXED
constexpr std::uint32_t kComboHasStrings = 0x00000200;      // CBS_HASSTRINGS

}  // namespace QuarelRes::Style
