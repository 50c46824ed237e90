// The editor script's desk on real Win32: popup menus answered from a timer while
// TrackPopupMenuEx runs its own message loop (the open menu read through MN_GETHMENU and an item
// clicked where GetMenuItemRect puts it), the log in C:\Temp, and pictures read back from the
// screen as a user sees it (a display is needed: Wine under Xvfb).
#pragma once

#include <string>

#include "wincheck/editor_script.h"

namespace QuarelWin {

// Plays the editor script on this desk. `expectedPath`: the Linux transcript to compare with
// (empty: none); `pictureDir`: where the window pictures go as binary PPM files (empty: none).
int RunEditorCheck(const std::string& modulePath, const std::string& expectedPath,
                   const std::string& pictureDir);

}  // namespace QuarelWin
