// The pattern picker, opened from the rollout's combo box as a user opens it.
#include <windows.h>

#include <string>

#include "editor_fixture.h"
#include "params/main_params.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

constexpr UINT kHeader = MF_GRAYED | MF_DISABLED;

struct Column {
    const wchar_t* header;
    std::vector<int> patterns;
};
const Column kColumns[] = {
    {L"-- Masonry --", {0, 1, 2, 4, 8}},
    {L"-- Parquet --", {5, 6, 9, 11, 27, 28, 29}},
    {L"-- Abstract --", {10, 7}},
    {L"-- Pavement --", {12, 20, 21, 22, 23, 24, 25, 26}},
    {L"-- Custom --", {3, 13, 14, 15, 16, 17, 18, 19}},
};

using PickerTest = EditorTest;

TEST_F(PickerTest, MenuShowsFiveCategoryColumnsWithSwatchesMadeOnceUnderTheComboBox) {
    Opened o = Open(0);
    HWND combo = o.Control(0, 1001);
    ClickPatternCombo(o);
    ASSERT_EQ(mMenus.size(), 1u);
    const ShownMenu& menu = mMenus[0];

    std::size_t at = 0;
    bool firstColumn = true;
    for (const Column& column : kColumns) {
        ASSERT_LT(at, menu.items.size());
        const ShownItem& header = menu.items[at++];
        EXPECT_EQ(header.text, column.header);
        EXPECT_EQ(header.id, 0u);
        EXPECT_EQ(header.flags, firstColumn ? kHeader : (kHeader | MF_MENUBARBREAK));
        firstColumn = false;
        for (int p : column.patterns) {
            const ShownItem& item = menu.items[at++];
            SCOPED_TRACE(p);
            EXPECT_EQ(item.id, 0x8000u + static_cast<UINT>(p));
            EXPECT_EQ(item.flags, p == 0 ? static_cast<UINT>(MF_CHECKED) : 0u);  // current: 0
            wchar_t name[64] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(p),
                         reinterpret_cast<LPARAM>(name));
            EXPECT_EQ(item.text, name);
            // A 20-pixel swatch, framed (its pixels are checked below).
            const std::vector<COLORREF> px = BitmapPixels(item.bitmap);
            ASSERT_EQ(px.size(), 400u);
            EXPECT_EQ(px[0], kFrame);
            EXPECT_EQ(px[399], kFrame);
        }
    }
    EXPECT_EQ(at, menu.items.size());

    // Just under the combo box, owned by the editor's window, returning the command.
    RECT r{};
    GetWindowRect(combo, &r);
    EXPECT_EQ(menu.x, r.left);
    EXPECT_EQ(menu.y, r.bottom);
    EXPECT_GT(menu.x, 100);  // inside the editor window at (100, 50)
    EXPECT_EQ(menu.owner, mEditor);
    EXPECT_EQ(menu.flags, static_cast<UINT>(TPM_RETURNCMD | TPM_NONOTIFY));
    // The combo box's own list never opened.
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);

    EXPECT_TRUE(LogHas("PatternPicker::Show: tracking menu, owner=" + Ptr(mEditor) + ", at (" +
                       std::to_string(r.left) + "," + std::to_string(r.bottom) + ")"));
    EXPECT_TRUE(LogHas("PatternPicker::Show: TrackPopupMenuEx returned 0"));

    // The swatches' pixels, computed independently, and made once.
    auto bitmapOf = [&](const ShownMenu& shown, int pattern) -> HBITMAP {
        for (const ShownItem& item : shown.items)
            if (item.id == 0x8000u + static_cast<UINT>(pattern)) return item.bitmap;
        return nullptr;
    };
    // "Common Flemish" at 20 x 20: at v 0.125 (row 0), u 0.175 is on the first stretcher and
    // u 0.225 on the first header, which belongs to the second brick set.
    const std::vector<COLORREF> flemish = BitmapPixels(bitmapOf(mMenus[0], 2));
    ASSERT_EQ(flemish.size(), 400u);
    EXPECT_EQ(flemish[17 * 20 + 3], ExpectedBrickColour(0, 0, false));
    EXPECT_EQ(flemish[17 * 20 + 4], ExpectedBrickColour(1, 0, true));
    // "Fine Stack" at 20 x 20: u 0.375, v 0.625 lies on brick (1, 2).
    const std::vector<COLORREF> stack = BitmapPixels(bitmapOf(mMenus[0], 4));
    EXPECT_EQ(stack[7 * 20 + 7], ExpectedBrickColour(1, 2, false));

    const UINT bitmaps = W32LiveBitmapCount();
    const UINT contexts = W32DeviceContextsObtained();
    ClickPatternCombo(o);
    ASSERT_EQ(mMenus.size(), 2u);
    EXPECT_EQ(W32LiveBitmapCount(), bitmaps);
    EXPECT_EQ(W32DeviceContextsObtained(), contexts);  // nothing redrawn
    EXPECT_EQ(bitmapOf(mMenus[1], 2), bitmapOf(mMenus[0], 2));
    Close(o);
}

TEST_F(PickerTest, ChoosingHerringboneStoresItAndRefreshesTheRollout) {
    GetCOREInterface()->SetTime(640);
    Opened o = Open(0);
    HWND combo = o.Control(0, 1001);
    IParamBlock2* pb = o.Block(0);

    Choose(0x8000 + 14);  // "Pattern 2" brings a second brick set
    ClickPatternCombo(o);
    EXPECT_EQ(pb->GetInt(MainParam::pattern, 640), 14);
    EXPECT_FALSE(IsWindowEnabled(o.Control(0, 1059)));
    EXPECT_TRUE(IsWindowEnabled(o.Control(1, 1056)));

    Choose(0x8005);
    SendMessageW(combo, WM_KEYDOWN, VK_F4, 0);
    ASSERT_EQ(mMenus.size(), 2u);
    EXPECT_EQ(mMenus[1].items[1].flags, 0u);  // "1/2 Running" no longer ticked
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 5);
    EXPECT_EQ(pb->GetInt(MainParam::pattern, 640), 5);
    EXPECT_TRUE(IsWindowEnabled(o.Control(0, 1059)));
    EXPECT_FALSE(IsWindowEnabled(o.Control(1, 1056)));
    EXPECT_TRUE(LogHas("PatternPicker::Show: TrackPopupMenuEx returned 32773"));
    EXPECT_TRUE(LogHas("PatternPicker::Show: chose pattern=5"));
    EXPECT_TRUE(LogHas("QMApplyPatternToPblock: pblock SetValue(prm_pattern, 5) on map=" +
                       Ptr(RolloutMap(o.dlg, 0)) + ", t=640"));

    // Alt+Down opens it too, with the choice ticked.
    W32SetKeyState(VK_MENU, TRUE);
    Choose(0);
    SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(mMenus.size(), 3u);
    for (const ShownItem& item : mMenus[2].items)
        EXPECT_EQ((item.flags & MF_CHECKED) != 0, item.id == 0x8005u) << item.id;
    Close(o);
}

TEST_F(PickerTest, DismissingOrChoosingNothingChangesNothing) {
    Opened o = Open(0, [](ReferenceTarget* map) {
        static_cast<Animatable*>(map)->GetParamBlock(0)->SetValue(MainParam::pattern, 0, 8);
    });
    HWND combo = o.Control(0, 1001);
    IParamBlock2* pb = o.Block(0);
    const int invalidations = RolloutMap(o.dlg, 0)->InvalidateCount();
    // Dismissed, a header, a command of no item: the same to the picker.
    for (UINT answer : {0u, 0x8000u + 30u, 0x7FFFu}) {
        Choose(answer);
        SendMessageW(combo, WM_LBUTTONDBLCLK, 0, 0);
    }
    Choose([](const ShownMenu& menu) { return menu.items[0].id; });  // the greyed header
    ClickPatternCombo(o);
    EXPECT_EQ(mMenus.size(), 4u);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 8);
    EXPECT_EQ(pb->GetInt(MainParam::pattern), 8);
    EXPECT_EQ(RolloutMap(o.dlg, 0)->InvalidateCount(), invalidations);
    EXPECT_FALSE(LogHas("PatternPicker::Show: chose pattern=8"));
    EXPECT_EQ(LogCount("QMApplyPatternToPblock"), 0);

    // With no selection in the combo box nothing is ticked.
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ClickPatternCombo(o);
    for (const ShownItem& item : mMenus.back().items) EXPECT_EQ(item.flags & MF_CHECKED, 0u);
    Close(o);
}

TEST_F(PickerTest, RolloutClosedWhileTheMenuIsOpen) {
    Opened o = Open(0);
    HWND combo = o.Control(0, 1001);
    IParamBlock2* pb = o.Block(0);
    Choose([&](const ShownMenu&) {
        o.dlg->DeleteThis();  // the editor closes the rollouts meanwhile
        o.dlg = nullptr;
        return 0x8005u;
    });
    SendMessageW(combo, WM_LBUTTONDOWN, 0, 0);
    EXPECT_FALSE(IsWindow(combo));
    EXPECT_EQ(pb->GetInt(MainParam::pattern), 0);
    EXPECT_TRUE(LogHas("PatternPicker::Show: combo=" + Ptr(combo) +
                       " was destroyed while the menu was open"));
    EXPECT_FALSE(LogHas("PatternPicker::Show: chose pattern=5"));
    Close(o);
}

TEST_F(PickerTest, MapDeletedWhileTheMenuIsOpen) {
    Opened o = Open(0);
    Choose([&](const ShownMenu&) {
        o.holder.reset();
        return 0x8005u;
    });
    ClickPatternCombo(o);
    EXPECT_TRUE(LogHas("PatternPicker::Show: chose pattern=5"));
    EXPECT_EQ(LogCount("QMApplyPatternToPblock: no pblock from map=0x"), 1);
    EXPECT_EQ(SendMessageW(o.Control(0, 1001), CB_GETCURSEL, 0, 0), 5);
    Close(o);
}

TEST_F(PickerTest, ProcessDetachReleasesTheSwatchBitmapsWithoutADeviceContext) {
    const UINT before = W32LiveBitmapCount();
    Opened o = Open(0);
    ClickPatternCombo(o);
    EXPECT_EQ(W32LiveBitmapCount(), before + 30);
    Close(o);
    const UINT contexts = W32DeviceContextsObtained();
    mModule->Unload();
    EXPECT_EQ(W32LiveBitmapCount(), before);
    EXPECT_EQ(W32DeviceContextsObtained(), contexts);
    EXPECT_EQ(W32LiveDeviceContextCount(), 0u);
}

}  // namespace
}  // namespace QuarelTest
