// The Win32 stand-in's windows, dialogs, controls and menus.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <w32_module.h>
#include <w32_probes.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<HWND, UINT>> gSeen;
LRESULT gMeasureHeight = 0;
std::vector<UINT> gMeasuredWidths;

LRESULT CALLBACK Recorder(HWND h, UINT m, WPARAM w, LPARAM l) {
    gSeen.push_back({h, m});
    if (m == WM_MEASUREITEM)
        gMeasuredWidths.push_back(reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemWidth);
    if (m == WM_MEASUREITEM && gMeasureHeight)
        reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = static_cast<UINT>(gMeasureHeight);
    return DefWindowProcW(h, m, w, l);
}

// Destroys itself when told to close.
LRESULT CALLBACK SelfDestroyer(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_CLOSE) {
        DestroyWindow(h);
        return SendMessageW(h, WM_GETTEXTLENGTH, 0, 0) + 100;  // the window is gone by now
    }
    return DefWindowProcW(h, m, w, l);
}

void RegisterOnce(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

class Win32UserTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterOnce(L"TestRecorder", Recorder);
        RegisterOnce(L"TestSelfDestroyer", SelfDestroyer);
        gSeen.clear();
        gMeasureHeight = 0;
        top = CreateWindowExW(0, L"TestRecorder", L"Top", WS_POPUP, 40, 30, 300, 200, nullptr,
                              nullptr, nullptr, nullptr);
        ASSERT_NE(top, nullptr);
    }
    void TearDown() override {
        if (IsWindow(top)) DestroyWindow(top);
        EXPECT_EQ(W32LiveWindowCount(), 0u);
    }
    HWND Child(const wchar_t* cls, DWORD style, int id, RECT r, HWND parent = nullptr) {
        return CreateWindowExW(0, cls, L"", WS_CHILD | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent ? parent : top,
                               reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(id)), nullptr,
                               nullptr);
    }
    HWND top = nullptr;
};

TEST_F(Win32UserTest, WindowsFormATreeAndGoWithIt) {
    HWND child = Child(L"TestRecorder", 0, 7, {10, 20, 60, 40});
    HWND grandchild = Child(L"STATIC", 0, 8, {1, 2, 11, 12}, child);
    ASSERT_NE(grandchild, nullptr);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), top);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetDlgItem(child, 8), grandchild);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(grandchild, &r));
    EXPECT_EQ(r.left, 40 + 10 + 1);
    EXPECT_EQ(r.top, 30 + 20 + 2);
    EXPECT_TRUE(SetPropW(child, L"Name", reinterpret_cast<HANDLE>(0x1234)));
    EXPECT_EQ(GetPropW(child, L"NAME"), reinterpret_cast<HANDLE>(0x1234));  // atoms ignore case
    EXPECT_TRUE(SetWindowTextW(child, L"hello"));
    wchar_t text[4];
    EXPECT_EQ(GetWindowTextW(child, text, 4), 3);
    EXPECT_STREQ(text, L"hel");
    EXPECT_EQ(GetWindowTextLengthW(child), 5);

    gSeen.clear();
    ASSERT_TRUE(DestroyWindow(top));
    // WM_DESTROY from the top down, WM_NCDESTROY from the bottom up.
    const std::vector<std::pair<HWND, UINT>> expected = {
        {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY}, {top, WM_NCDESTROY}};
    EXPECT_EQ(gSeen, expected);
    for (HWND h : {top, child, grandchild}) EXPECT_FALSE(IsWindow(h));
    gSeen.clear();
    SetLastError(0);
    EXPECT_EQ(SendMessageW(child, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(gSeen.empty());  // no procedure runs for a gone window
    EXPECT_EQ(GetPropW(child, L"Name"), nullptr);
    EXPECT_FALSE(DestroyWindow(child));
}

TEST_F(Win32UserTest, CreationFailsAsOnWindowsAndAProcedureMayDestroyItsWindow) {
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    HWND gone = Child(L"STATIC", 0, 1, {0, 0, 1, 1});
    DestroyWindow(gone);
    EXPECT_EQ(Child(L"STATIC", 0, 2, {0, 0, 1, 1}, gone), nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = L"testrecorder";  // names ignore case
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    // A procedure may destroy its own window.
    HWND w = Child(L"TestSelfDestroyer", 0, 3, {0, 0, 5, 5});
    EXPECT_EQ(SendMessageW(w, WM_CLOSE, 0, 0), 100);
    EXPECT_FALSE(IsWindow(w));
}

// A dialog template's controls are made with the template's module as their instance: a class
// the program registered without CS_GLOBALCLASS is not found for them, as in Windows.
TEST_F(Win32UserTest, LocalClassesServeTheirOwnModuleAndGlobalClassesEvery) {
    auto* other = reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x7770000));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Recorder;
    wc.lpszClassName = L"TestLocalOnly";
    ASSERT_NE(RegisterClassExW(&wc), 0);
    wc.lpszClassName = L"TestGlobal";
    wc.style = CS_GLOBALCLASS;
    ASSERT_NE(RegisterClassExW(&wc), 0);
    auto make = [&](const wchar_t* cls, HINSTANCE inst) {
        return CreateWindowExW(0, cls, L"", WS_CHILD, 0, 0, 1, 1, top, nullptr, inst, nullptr);
    };
    EXPECT_EQ(make(L"TestLocalOnly", other), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_NE(make(L"TestLocalOnly", nullptr), nullptr);
    EXPECT_NE(make(L"TestLocalOnly", GetModuleHandleW(nullptr)), nullptr);
    EXPECT_NE(make(L"TestGlobal", other), nullptr);
    EXPECT_NE(make(L"STATIC", other), nullptr);  // the system's classes serve everyone

    // Superclassing reads a class as its module or any module sees it.
    WNDCLASSEXW read{};
    read.cbSize = sizeof(read);
    EXPECT_FALSE(GetClassInfoExW(other, L"TestLocalOnly", &read));
    ASSERT_TRUE(GetClassInfoExW(other, L"testglobal", &read));
    EXPECT_EQ(read.lpfnWndProc, Recorder);
    EXPECT_EQ(read.style & CS_GLOBALCLASS, static_cast<UINT>(CS_GLOBALCLASS));
    EXPECT_EQ(std::wstring(read.lpszClassName), L"TestGlobal");
    EXPECT_EQ(read.cbSize, sizeof(read));
    EXPECT_TRUE(GetClassInfoExW(nullptr, L"EDIT", &read));
}

TEST_F(Win32UserTest, EnablingAnswersThePreviousStateAndTellsTheWindow) {
    HWND w = Child(L"TestRecorder", 0, 5, {0, 0, 5, 5});
    gSeen.clear();
    EXPECT_FALSE(EnableWindow(w, FALSE));
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_TRUE(EnableWindow(w, FALSE));
    EXPECT_TRUE(EnableWindow(w, TRUE));
    EXPECT_TRUE(IsWindowEnabled(w));
    EXPECT_EQ(gSeen.size(), 2u);  // WM_ENABLE for each change only
}

// The editor's rollouts exercise selection; here the limits it relies on.
TEST_F(Win32UserTest, OwnerDrawnDropDownListsMeasureAndKeepTheirLimits) {
    gMeasureHeight = 20;
    gMeasuredWidths.clear();
    HWND combo = Child(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 11,
                       {5, 5, 105, 305});
    ASSERT_NE(combo, nullptr);
    // The selection field, then the list's items, each asked at the box's width.
    EXPECT_EQ(gMeasuredWidths, (std::vector<UINT>{100, 100}));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 20);
    RECT r{};
    GetWindowRect(combo, &r);
    EXPECT_EQ(r.bottom - r.top, 26);  // the closed box, not the list
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, 0, 300), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, 0, 54), CB_OKAY);
    EXPECT_EQ(SendMessageW(combo, CB_SETDROPPEDWIDTH, 40, 0), 100);  // never below the box
    EXPECT_EQ(SendMessageW(combo, CB_SETDROPPEDWIDTH, 190, 0), 190);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 7, 0), CB_ERR);
    SendMessageW(combo, WM_LBUTTONDOWN, 0, 0);
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    SendMessageW(combo, WM_KEYDOWN, VK_F4, 0);
    EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

// The notifications a drop-down list sends its parent, in the order real user32 sends them.
TEST_F(Win32UserTest, DropDownListsNotifyTheirParentInWindowsOrder) {
    static std::vector<WORD> notes;
    notes.clear();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpszClassName = L"TestNoteTaker";
    wc.lpfnWndProc = +[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND) notes.push_back(HIWORD(w));
        return DefWindowProcW(h, m, w, l);
    };
    RegisterClassExW(&wc);
    HWND parent = CreateWindowExW(0, L"TestNoteTaker", L"", WS_POPUP, 0, 0, 200, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND combo =
        Child(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_HASSTRINGS, 12, {0, 0, 100, 200}, parent);
    for (const wchar_t* item : {L"a", L"b", L"c"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);  // from code: no notification
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(notes, (std::vector<WORD>{CBN_SELENDOK, CBN_SELCHANGE}));
    notes.clear();
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);  // inside the open list: a change only
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_EQ(notes,
              (std::vector<WORD>{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    notes.clear();
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);  // already the last item
    EXPECT_TRUE(notes.empty());
    DestroyWindow(parent);
}

TEST_F(Win32UserTest, DialogsComeFromTheModulesTemplates) {
    void* dl = dlopen(QUAREL_TEST_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(dl, nullptr);
    HINSTANCE inst = W32AttachModule(dl, QUAREL_TEST_MODULE);
    static std::vector<std::pair<UINT, LPARAM>> heard;
    heard.clear();
    DLGPROC proc = +[](HWND, UINT m, WPARAM, LPARAM l) -> INT_PTR {
        if (m == WM_INITDIALOG || m == WM_COMMAND) heard.push_back({m, l});
        return m == WM_INITDIALOG;
    };
    HWND dlg = CreateDialogParamW(inst, MAKEINTRESOURCEW(100), top, proc, 42);
    ASSERT_NE(dlg, nullptr);
    HWND use = GetDlgItem(dlg, 1001);
    ASSERT_NE(use, nullptr);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::make_pair(static_cast<UINT>(WM_INITDIALOG), LPARAM{42}));
    wchar_t text[8] = {};
    GetWindowTextW(use, text, 8);
    EXPECT_STREQ(text, L"Use");
    RECT r{};
    GetClientRect(use, &r);
    EXPECT_EQ(r.right, 45);  // 30 dialog units across
    GetClientRect(dlg, &r);
    EXPECT_EQ(r.right, 326);  // 217 units
    SendMessageW(use, BM_CLICK, 0, 0);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].second, reinterpret_cast<LPARAM>(use));
    EXPECT_EQ(IsDlgButtonChecked(dlg, 1001), static_cast<UINT>(BST_CHECKED));

    EXPECT_EQ(CreateDialogParamW(inst, MAKEINTRESOURCEW(101), top, proc, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(CreateDialogParamW(inst, MAKEINTRESOURCEW(100), nullptr, proc, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
    DestroyWindow(dlg);
    W32DetachModule(inst);
    dlclose(dl);
}

// ---------------------------------------------------------------------------------------------
// Menus

struct Chooser {
    std::vector<W32MenuItemView> items;
    std::vector<std::wstring> texts;
    UINT answer = 0;
    bool nest = false;
    bool destroyMenu = false;
    BOOL nested = TRUE;
};

UINT Choose(void* context, const W32PopupMenuRequest* request) {
    auto* c = static_cast<Chooser*>(context);
    c->items.assign(request->items, request->items + request->itemCount);
    for (const auto& item : c->items) c->texts.push_back(item.text);
    if (c->nest)
        c->nested = TrackPopupMenuEx(request->menu, TPM_RETURNCMD, 0, 0, request->owner, nullptr);
    if (c->destroyMenu) DestroyMenu(request->menu);
    return c->answer;
}

class MenuTest : public Win32UserTest {
protected:
    void SetUp() override {
        Win32UserTest::SetUp();
        W32SetPopupMenuChooser(Choose, &chooser);
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING | MF_GRAYED | MF_DISABLED, 0, L"-- Head --");
        AppendMenuW(menu, MF_STRING | MF_CHECKED, 0x8001, L"One");
        AppendMenuW(menu, MF_STRING | MF_MENUBARBREAK, 0x8002, L"Two");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 0x8003, L"Off");
    }
    void TearDown() override {
        W32SetPopupMenuChooser(nullptr, nullptr);
        DestroyMenu(menu);
        Win32UserTest::TearDown();
    }
    Chooser chooser;
    HMENU menu = nullptr;
};

TEST_F(MenuTest, ItemInfoTruncatesTextAndRefusesOtherStructureSizes) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_BITMAP;
    mii.hbmpItem = reinterpret_cast<HBITMAP>(0x40);
    EXPECT_TRUE(SetMenuItemInfoW(menu, 0x8002, FALSE, &mii));
    EXPECT_FALSE(SetMenuItemInfoW(menu, 0x9999, FALSE, &mii));
    wchar_t text[3];
    mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_FTYPE | MIIM_STATE;
    mii.dwTypeData = text;
    mii.cch = 3;
    ASSERT_TRUE(GetMenuItemInfoW(menu, 0x8002, FALSE, &mii));
    EXPECT_STREQ(text, L"Tw");
    EXPECT_EQ(mii.hbmpItem, reinterpret_cast<HBITMAP>(0x40));
    EXPECT_EQ(mii.fType, static_cast<UINT>(MFT_MENUBARBREAK));
    mii.cbSize = 48;  // a structure of another size is refused
    EXPECT_FALSE(GetMenuItemInfoW(menu, 0x8002, FALSE, &mii));
}

TEST_F(MenuTest, OnlyEnabledCommandsCanBeChosen) {
    for (auto [answer, result] :
         {std::pair<UINT, BOOL>{0x8002, 0x8002}, {0x8003, 0}, {0, 0}, {0x7777, 0}}) {
        chooser.answer = answer;
        EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, top, nullptr), result);
    }
}

TEST_F(MenuTest, TrackingRefusesBadOwnersAndNestingAndSurvivesTheMenuGoing) {
    HWND gone = Child(L"STATIC", 0, 1, {0, 0, 1, 1});
    DestroyWindow(gone);
    chooser.answer = 0x8001;
    EXPECT_FALSE(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, gone, nullptr));
    EXPECT_TRUE(chooser.items.empty());
    chooser.nest = true;
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, top, nullptr), 0x8001);
    EXPECT_FALSE(chooser.nested);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
    chooser.nest = false;
    chooser.destroyMenu = true;
    EXPECT_EQ(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, top, nullptr), 0x8001);
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    W32SetPopupMenuChooser(nullptr, nullptr);
    HMENU other = CreatePopupMenu();
    AppendMenuW(other, MF_STRING, 1, L"x");
    EXPECT_EQ(TrackPopupMenuEx(other, TPM_RETURNCMD, 0, 0, top, nullptr), 0);  // nobody chooses
    DestroyMenu(other);
}

}  // namespace
