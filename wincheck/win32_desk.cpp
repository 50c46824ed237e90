#include "wincheck/win32_desk.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

#include "ui/pattern_swatch.h"

namespace QuarelWin {
namespace {

constexpr UINT kTimerMs = 40;
constexpr int kTicksToPaint = 3;     // the menu has painted itself by then
constexpr int kTicksToGiveUp = 150;  // 6 s without a menu
constexpr int kSwatchSide = 50;      // the combo box list's swatch, 2 pixels into its item
constexpr DWORD kPaintWaitMs = 300;
constexpr int kPaintAttempts = 10;  // 3 s for a window to show what it should

// Runs the thread's messages for `ms` milliseconds, so that windows paint.
void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// The screen's pixels in `r` (screen coordinates), row by row from the top, as COLORREF.
std::vector<COLORREF> ReadScreen(const RECT& r) {
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<COLORREF> pixels;
    if (width <= 0 || height <= 0) return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib != nullptr && memory != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memory, dib);
        if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            const auto* bgra = static_cast<const std::uint8_t*>(bits);
            pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
            for (std::size_t i = 0; i < pixels.size(); ++i)
                pixels[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
        }
        SelectObject(memory, old);
    }
    if (dib != nullptr) DeleteObject(dib);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool WritePpm(const std::string& path, int width, int height, const std::vector<COLORREF>& pixels) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (COLORREF c : pixels) {
        const char rgb[3] = {static_cast<char>(GetRValue(c)), static_cast<char>(GetGValue(c)),
                             static_cast<char>(GetBValue(c))};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out.flush());
}

// The swatch of `pattern` drawn by the editor's own code into a memory bitmap like the screen.
std::vector<COLORREF> DrawnSwatch(int pattern) {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kSwatchSide, kSwatchSide);
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        QuarelNS::DrawPatternSwatch(memory, RECT{0, 0, kSwatchSide, kSwatchSide}, pattern);
        for (int y = 0; y < kSwatchSide; ++y)
            for (int x = 0; x < kSwatchSide; ++x) pixels.push_back(GetPixel(memory, x, y));
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

MenuSeen ReadMenu(HMENU menu) {
    MenuSeen seen;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_BITMAP;
        mii.dwTypeData = text;
        mii.cch = 127;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
        MenuItemSeen item;
        item.id = mii.wID;
        item.checked = (mii.fState & MFS_CHECKED) != 0;
        item.grayed = (mii.fState & MFS_GRAYED) != 0;
        item.columnBreak = (mii.fType & (MFT_MENUBARBREAK | MFT_MENUBREAK)) != 0;
        item.bitmap = mii.hbmpItem != nullptr;
        item.text = text;
        seen.items.push_back(std::move(item));
    }
    return seen;
}

class Win32Desk final : public EditorDesk {
public:
    explicit Win32Desk(std::string pictureDir) : mPictureDir(std::move(pictureDir)) {
        sDesk = this;
    }
    ~Win32Desk() override {
        StopTimer();
        sDesk = nullptr;
    }

    void AnswerNextMenu(std::function<UINT(const MenuSeen&)> act, const char* picture) override {
        StopTimer();
        mAct = std::move(act);
        mMenuPicture = picture != nullptr ? picture : "";
        mAnswered = false;
        mTicks = 0;
        mMenuTicks = 0;
        mTimer = SetTimer(nullptr, 0, kTimerMs, &Win32Desk::OnTimer);
    }
    bool MenuWasAnswered() override {
        StopTimer();
        const bool answered = mAnswered;
        mAnswered = false;
        mAct = nullptr;
        return answered;
    }
    std::string LogPath() const override { return "C:\\Temp\\QuarelMap.log"; }

    void Present(HWND editor, int width, int height, const char* picture) override {
        mEditor = editor;
        if (width > 0 && height > 0) {
            // The panel fills the client area; the frame and title bar come around it.
            RECT frame{0, 0, width, height};
            AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(editor, GWL_STYLE)),
                               FALSE, static_cast<DWORD>(GetWindowLongPtrW(editor, GWL_EXSTYLE)));
            SetWindowPos(editor, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                         SWP_NOMOVE | SWP_NOZORDER);
        }
        ShowWindow(editor, SW_SHOW);
        RedrawWindow(editor, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(kPaintWaitMs);
        if (picture != nullptr) Picture(nullptr, picture);
    }

    // Keys as a keyboard sends them, through a loop like a host's: a rollout is a modeless
    // dialog, so its messages go through IsDialogMessage first. Each key's messages run before
    // the next key comes, as input from a keyboard waits behind posted messages.
    void Type(HWND edit, const wchar_t* text) override {
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        HWND rollout = GetParent(edit);
        auto press = [edit, rollout](UINT key) {
            PostMessageW(edit, WM_KEYDOWN, key, 1);
            PostMessageW(edit, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (IsDialogMessageW(rollout, &msg)) continue;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        };
        for (const wchar_t* c = text; *c != L'\0'; ++c) press(LOBYTE(VkKeyScanW(*c)));
        press(VK_RETURN);
    }

    std::string CheckControlColour(HWND control, COLORREF colour) override {
        return UntilPainted([&] { return ControlColourOnce(control, colour); });
    }

    std::string CheckDroppedSwatch(HWND combo, int item, int pattern,
                                   const std::map<UINT, RECT>& drawn,
                                   const char* picture) override {
        const std::string verdict =
            UntilPainted([&] { return DroppedSwatchOnce(combo, item, pattern, drawn); });
        if (picture != nullptr) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(combo, &info)) Picture(info.hwndList, picture);
        }
        return verdict;
    }

private:
    // A check of what the screen shows, tried again while the windows may still be painting.
    template <typename Check>
    static std::string UntilPainted(Check check) {
        std::string verdict;
        for (int attempt = 0; attempt < kPaintAttempts; ++attempt) {
            Pump(kPaintWaitMs);
            verdict = check();
            if (verdict.empty()) break;
        }
        return verdict;
    }

    std::string ControlColourOnce(HWND control, COLORREF colour) {
        RECT r{};
        GetWindowRect(control, &r);
        const LONG x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
        const std::vector<COLORREF> shown = ReadScreen(RECT{x, y, x + 1, y + 1});
        if (shown.size() == 1 && shown[0] == colour) return {};
        char text[96];
        std::snprintf(text, sizeof text, "shows %06lX, not %06lX",
                      shown.empty() ? 0ul : static_cast<unsigned long>(shown[0]),
                      static_cast<unsigned long>(colour));
        return text;
    }

    std::string DroppedSwatchOnce(HWND combo, int item, int pattern,
                                  const std::map<UINT, RECT>& drawn) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(combo, &info) || info.hwndList == nullptr)
            return "the combo box has no list";
        if (!IsWindowVisible(info.hwndList)) return "CB_SHOWDROPDOWN did not drop the list";
        RECT listRect{};
        if (SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item),
                         reinterpret_cast<LPARAM>(&listRect)) == LB_ERR)
            return "the list has no item " + std::to_string(item);
        const auto it = drawn.find(static_cast<UINT>(item));
        if (it == drawn.end())
            return "the rollout was not asked to draw item " + std::to_string(item);
        const RECT& itemRect = it->second;
        if (!EqualRect(&itemRect, &listRect) || itemRect.bottom - itemRect.top != 54)
            return "item " + std::to_string(item) + " was drawn in a rectangle of height " +
                   std::to_string(itemRect.bottom - itemRect.top) + ", not the list's 54";
        POINT corner{itemRect.left + 2, itemRect.top + 2};
        ClientToScreen(info.hwndList, &corner);
        const RECT swatch{corner.x, corner.y, corner.x + kSwatchSide, corner.y + kSwatchSide};
        const std::vector<COLORREF> shown = ReadScreen(swatch);
        const std::vector<COLORREF> expected = DrawnSwatch(pattern);
        if (shown.size() != expected.size() || expected.empty()) return "the screen cannot be read";
        int differ = 0;
        std::size_t first = 0;
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (shown[i] != expected[i] && differ++ == 0) first = i;
        if (differ == 0) return {};
        char text[160];
        std::snprintf(text, sizeof text,
                      "%d of %zu pixels of item %d differ from the swatch of pattern %d; first at "
                      "(%zu, %zu): %06lX, not %06lX",
                      differ, expected.size(), item, pattern, first % kSwatchSide,
                      first / kSwatchSide, static_cast<unsigned long>(shown[first]),
                      static_cast<unsigned long>(expected[first]));
        return text;
    }

    // The editor window, with `popup` over it when given, as the screen shows them; around
    // them, where the display shows its empty root window, a plain workspace colour.
    void Picture(HWND popup, const std::string& name) {
        if (mPictureDir.empty() || mEditor == nullptr) return;
        RECT all{}, editor{}, over{};
        GetWindowRect(mEditor, &editor);
        all = editor;
        if (popup != nullptr) {
            GetWindowRect(popup, &over);
            UnionRect(&all, &editor, &over);
        }
        const int width = all.right - all.left, height = all.bottom - all.top;
        std::vector<COLORREF> canvas(static_cast<std::size_t>(width) * height,
                                     GetSysColor(COLOR_APPWORKSPACE));
        for (const RECT& part : {editor, over}) {
            const std::vector<COLORREF> pixels = ReadScreen(part);
            const int w = part.right - part.left;
            for (std::size_t i = 0; i < pixels.size(); ++i) {
                const int x = part.left - all.left + static_cast<int>(i % w);
                const int y = part.top - all.top + static_cast<int>(i / w);
                canvas[static_cast<std::size_t>(y) * width + x] = pixels[i];
            }
        }
        const std::string path = mPictureDir + "\\" + name + ".ppm";
        if (!WritePpm(path, width, height, canvas))
            std::fprintf(stderr, "quarel-wincheck: cannot picture %s\n", path.c_str());
    }

    void StopTimer() {
        if (mTimer != 0) KillTimer(nullptr, mTimer);
        mTimer = 0;
    }

    // Inside the menu's own message loop, which dispatches the thread's timer messages.
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
        Win32Desk* desk = sDesk;
        if (desk == nullptr || id != desk->mTimer) return;
        desk->Tick();
    }
    void Tick() {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) {
            // A menu that never shows must not keep TrackPopupMenuEx waiting for ever.
            if (++mTicks > kTicksToGiveUp) {
                StopTimer();
                EndMenu();
            }
            return;
        }
        if (++mMenuTicks < kTicksToPaint) return;
        StopTimer();
        auto* menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        const MenuSeen seen = ReadMenu(menu);
        if (!mMenuPicture.empty()) Picture(menuWindow, mMenuPicture);
        auto act = std::move(mAct);
        mAct = nullptr;
        mAnswered = true;
        const UINT command = act ? act(seen) : 0;
        int position = -1;
        for (std::size_t i = 0; i < seen.items.size(); ++i)
            if (command != 0 && seen.items[i].id == command) position = static_cast<int>(i);
        RECT r{};
        if (position < 0 || !GetMenuItemRect(menuWindow, menu, static_cast<UINT>(position), &r)) {
            EndMenu();
            return;
        }
        // A click where the item is; the menu's loop reads the point from lParam, in screen
        // coordinates.
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        PostMessageW(menuWindow, WM_MOUSEMOVE, 0, at);
        PostMessageW(menuWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(menuWindow, WM_LBUTTONUP, 0, at);
    }

    static Win32Desk* sDesk;
    std::string mPictureDir;
    HWND mEditor = nullptr;
    std::function<UINT(const MenuSeen&)> mAct;
    std::string mMenuPicture;
    UINT_PTR mTimer = 0;
    int mTicks = 0;
    int mMenuTicks = 0;
    bool mAnswered = false;
};

Win32Desk* Win32Desk::sDesk = nullptr;

}  // namespace

int RunEditorCheck(const std::string& modulePath, const std::string& expectedPath,
                   const std::string& pictureDir) {
    std::vector<std::string> expected;
    if (!expectedPath.empty()) {
        std::ifstream in(expectedPath, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "quarel-wincheck: cannot read %s\n", expectedPath.c_str());
            return 2;
        }
        for (std::string line; std::getline(in, line);)
            if (line.rfind("editor script:", 0) != 0) expected.push_back(line);
    }
    Win32Desk desk(pictureDir);
    return RunEditorScript(desk, modulePath, expectedPath.empty() ? nullptr : &expected, stdout);
}

}  // namespace QuarelWin
