// The editor script: a QuarelMap made through the module, its rollouts opened through the
// host's parameter maps on a material-editor window, and a fixed script of what a user does
// there, played as window messages. The same script runs on real Win32 (quarel-wincheck editor,
// under Wine) and on the Win32 stand-in (quarel-editor-script), and prints the same transcript
// on both when both behave alike: after each step, what the block and the controls hold and the
// module's new log lines, with pointers named by order of first appearance.
//
// Main thread only; the module is loaded and unloaded by the script.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace QuarelWin {

// One item of an open popup menu, as the user sees it.
struct MenuItemSeen {
    UINT id = 0;
    bool checked = false;
    bool grayed = false;
    bool columnBreak = false;
    bool bitmap = false;
    std::wstring text;
};

struct MenuSeen {
    std::vector<MenuItemSeen> items;
};

// What differs between the platforms: how a user answers a popup menu, where the module's log
// is, and what can be looked at on a screen.
class EditorDesk {
public:
    virtual ~EditorDesk() = default;

    // The next popup menu that opens is shown to `act` while it is open; `act` may do what a
    // user can do meanwhile and answers the command chosen (0: the menu is dismissed). With a
    // `picture` name the open menu is pictured first.
    virtual void AnswerNextMenu(std::function<UINT(const MenuSeen&)> act,
                                const char* picture = nullptr) = 0;
    // Whether a menu opened since the last AnswerNextMenu; forgets the answer if none did.
    virtual bool MenuWasAnswered() = 0;

    // Types `text` into the edit field `edit` in place of what it shows, then Return. The
    // stand-in has no keyboard: its text is set and Return sent.
    virtual void Type(HWND edit, const wchar_t* text) {
        SetWindowTextW(edit, text);
        SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    }

    // The module's log file.
    virtual std::string LogPath() const = 0;

    // The editor window with its rollouts, sized to `width` x `height` client pixels, shown
    // and painted; pictured under `picture` when it is given.
    virtual void Present(HWND editor, int width, int height, const char* picture) {
        (void)editor, (void)width, (void)height, (void)picture;
    }
    // Empty when the middle of `control` shows `colour` on the screen, else what it shows.
    virtual std::string CheckControlColour(HWND control, COLORREF colour) {
        (void)control, (void)colour;
        return {};
    }
    // With the combo box's list dropped: empty when the list item `item` shows the swatch of
    // `pattern` where the rectangle of its WM_DRAWITEM says, else what is wrong. `drawn` holds
    // the item rectangles the rollout has been asked to draw since the list dropped (it runs
    // the messages itself). The stand-in's list has no pixels to look at.
    virtual std::string CheckDroppedSwatch(HWND combo, int item, int pattern,
                                           const std::map<UINT, RECT>& drawn, const char* picture) {
        (void)combo, (void)item, (void)pattern, (void)drawn, (void)picture;
        return {};
    }
};

// Plays the script with the module at `modulePath` and prints the transcript to `out`. With
// `expected` (another platform's transcript, one line each) it stops at the first line that
// differs and says so. Answers the exit code: 0 when every step did what it should and nothing
// differed, 1 otherwise.
int RunEditorScript(EditorDesk& desk, const std::string& modulePath,
                    const std::vector<std::string>* expected, std::FILE* out);

}  // namespace QuarelWin
