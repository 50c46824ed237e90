// The rollouts of the main map and of the relief classes, driven through window messages.
#include <custcont.h>
#include <host/material_editor.h>
#include <windows.h>

#include <cmath>
#include <string>

#include "editor_fixture.h"
#include "host/wide_text.h"
#include "params/main_params.h"

namespace QuarelTest {
namespace {

using namespace QuarelNS;

std::wstring Text(HWND hwnd) {
    wchar_t buf[128] = {};
    GetWindowTextW(hwnd, buf, 128);
    return buf;
}

float SpinnerValue(HWND spinner) {
    ISpinnerControl* spin = GetISpinner(spinner);
    if (!spin) return NAN;
    const float v = spin->GetFVal();
    ReleaseISpinner(spin);
    return v;
}

// The user turns a spinner (a drag: the value changes and the rollout hears of it).
void TurnSpinner(HWND spinner, float v) {
    ISpinnerControl* spin = GetISpinner(spinner);
    ASSERT_NE(spin, nullptr);
    spin->SetValue(v, TRUE);
    ReleaseISpinner(spin);
}

// The user types into an edit field and presses Return.
void Type(HWND edit, const wchar_t* text) {
    SetWindowTextW(edit, text);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
}

// The user picks item `index` of a combo box's own list.
void Select(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

bool Enabled(HWND control) {
    return IsWindowEnabled(control) != FALSE;
}

using RolloutTest = EditorTest;

TEST_F(RolloutTest, MainMapShowsFourRolloutsBuiltFromItsTemplates) {
    Opened o = Open(0);
    ASSERT_EQ(RolloutMapCount(o.dlg), 4);
    const int templates[] = {100, 101, 103, 106};
    for (int i = 0; i < 4; ++i) {
        ASSERT_NE(o.Rollout(i), nullptr) << i;
        EXPECT_EQ(RolloutMap(o.dlg, i)->DialogTemplateID(), templates[i]);
        EXPECT_EQ(GetParent(o.Rollout(i)), GetParent(o.Rollout(0)));
    }
    // Stacked one under the other, in block order, each under a bar with its title.
    RECT r0{}, r1{}, title{};
    GetWindowRect(o.Rollout(0), &r0);
    GetWindowRect(o.Rollout(1), &r1);
    HWND bar = GetDlgItem(GetParent(o.Rollout(1)), 101);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(Text(bar), L"Diffuse Colors & Maps");
    GetWindowRect(bar, &title);
    EXPECT_EQ(title.top, r0.bottom);
    EXPECT_EQ(r1.top, title.bottom);
    EXPECT_EQ(title.right - title.left, r1.right - r1.left);
    EXPECT_EQ(Text(GetDlgItem(GetParent(o.Rollout(0)), 100)), L"Quarel Parameters v2.1");

    // Item names and drawing are the swatch and picker tests'.
    EXPECT_EQ(SendMessageW(o.Control(0, 1001), CB_GETCOUNT, 0, 0), 30);
    EXPECT_EQ(SendMessageW(o.Control(0, 1001), CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(o.Control(0, 1050), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(Text(o.Control(0, 1002)), L"4");
    // The button stands for sub-map 3, the map's own normal output.
    Texmap* normalOut = static_cast<Texmap*>(o.object())->GetSubTexmap(3);
    ASSERT_NE(normalOut, nullptr);
    EXPECT_EQ(Text(o.Control(2, 1073)), host::Wide(normalOut->GetFullName()));

    EXPECT_EQ(LogCount("Pattern combobox subclassed, origProc=0x"), 1);
    EXPECT_TRUE(LogHas("QuarelMapDiffuseDlgProc::WM_INITDIALOG map=" + Ptr(RolloutMap(o.dlg, 1))));
    Close(o);
    EXPECT_EQ(W32LiveWindowCount(), 1u);  // only the editor's window is left
}

TEST_F(RolloutTest, SecondColourControlsFollowThePatternAndRandomSecondColour) {
    Opened o = Open(0);
    IParamBlock2* pb = o.Block(0);
    HWND random2nd = o.Control(0, 1059);
    auto brick2 = [&] {
        const bool on = Enabled(o.Control(1, 1056));
        EXPECT_EQ(Enabled(o.Control(1, 1057)), on);
        EXPECT_EQ(Enabled(o.Control(1, 1058)), on);
        EXPECT_EQ(RolloutMap(o.dlg, 1)->IsEnabled(MainParam::brick_color_2) != FALSE, on);
        return on;
    };
    // Pattern 0 without "Random 2nd Color": the Brick 2 controls are off.
    EXPECT_FALSE(brick2());
    EXPECT_TRUE(Enabled(random2nd));

    // Ticking "Random 2nd Color" stores it and turns them on; unticking turns them off.
    SendMessageW(random2nd, BM_CLICK, 0, 0);
    EXPECT_EQ(pb->GetInt(MainParam::random_second_color_on), 1);
    EXPECT_TRUE(brick2());
    SendMessageW(random2nd, BM_CLICK, 0, 0);
    EXPECT_FALSE(brick2());

    // Patterns 13 to 26 bring their own second set: Brick 2 on, "Random 2nd Color" off limits.
    for (int p = 0; p < 30; ++p) {
        SCOPED_TRACE(p);
        Select(o.Control(0, 1001), p);
        EXPECT_EQ(pb->GetInt(MainParam::pattern), p);
        const bool natural = p >= 13 && p <= 26;
        EXPECT_EQ(brick2(), natural);
        EXPECT_EQ(Enabled(random2nd), !natural);
        EXPECT_EQ(RolloutMap(o.dlg, 0)->IsEnabled(MainParam::random_second_color_on) != FALSE,
                  !natural);
    }
    // A disabled box takes no clicks.
    Select(o.Control(0, 1001), 20);
    SendMessageW(random2nd, BM_CLICK, 0, 0);
    EXPECT_EQ(pb->GetInt(MainParam::random_second_color_on), 0);
    Close(o);

    // The diffuse rollout sets them as it opens, from the block.
    Opened natural = Open(0, [](ReferenceTarget* map) {
        static_cast<Animatable*>(map)->GetParamBlock(0)->SetValue(MainParam::pattern, 0, 14);
    });
    EXPECT_TRUE(Enabled(natural.Control(1, 1056)));
    EXPECT_FALSE(Enabled(natural.Control(0, 1059)));
    Close(natural);
}

// The grout spinners show and take tenths of what the block stores.
// A rollout is a modeless dialog: a host's loop asks each key's control whether it wants the key
// before IsDialogMessage acts on it. An edit field wants Return (to commit its number), not Tab.
TEST_F(RolloutTest, EditFieldsAskForReturnButLeaveTabToTheDialog) {
    Opened o = Open(0);
    HWND edit = o.Control(0, 1002);
    MSG key{edit, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_NE(SendMessageW(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&key)) &
                  DLGC_WANTMESSAGE,
              0);
    key.message = WM_CHAR;
    EXPECT_NE(SendMessageW(edit, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&key)) &
                  DLGC_WANTMESSAGE,
              0);
    key = MSG{edit, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&key)) &
                  DLGC_WANTMESSAGE,
              0);
    EXPECT_EQ(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & DLGC_WANTMESSAGE, 0);
    Close(o);
}

TEST_F(RolloutTest, BoundControlsFollowTheBlockBothWays) {
    GetCOREInterface()->SetTime(320);
    Opened o = Open(0);
    IParamBlock2* pb = o.Block(0);
    HWND gapU = o.Control(0, 1007);
    HWND gapV = o.Control(0, 1009);
    EXPECT_FLOAT_EQ(SpinnerValue(gapU), 0.5f);  // 0.05 stored
    EXPECT_EQ(Text(o.Control(0, 1006)), L"0.500");

    TurnSpinner(gapU, 3.f);
    EXPECT_FLOAT_EQ(pb->GetFloat(MainParam::gap_u, 320), 0.3f);
    Type(o.Control(0, 1008), L"12");  // beyond the spinner's 9
    EXPECT_FLOAT_EQ(SpinnerValue(gapV), 9.f);
    EXPECT_FLOAT_EQ(pb->GetFloat(MainParam::gap_v, 320), 0.9f);
    Type(o.Control(0, 1008), L"grout");  // no number: nothing changes
    EXPECT_EQ(Text(o.Control(0, 1008)), L"9.000");
    EXPECT_FLOAT_EQ(pb->GetFloat(MainParam::gap_v, 320), 0.9f);

    // A change of the block reaches the spinner.
    pb->SetValue(MainParam::gap_u, 320, 0.07f);
    EXPECT_FLOAT_EQ(SpinnerValue(gapU), 0.7f);
    EXPECT_EQ(Text(o.Control(0, 1006)), L"0.700");

    // The other bound controls follow the block both ways, in their own units.
    TurnSpinner(o.Control(0, 1003), 7.f);  // nx
    EXPECT_EQ(pb->GetInt(MainParam::nx, 320), 7);
    TurnSpinner(o.Control(0, 1003), 500.f);  // held to 1..256
    EXPECT_EQ(pb->GetInt(MainParam::nx, 320), 256);
    pb->SetValue(MainParam::nx, 320, 12);
    EXPECT_EQ(Text(o.Control(0, 1002)), L"12");

    TurnSpinner(o.Control(0, 1049), 90.f);  // master angle, shown in degrees
    EXPECT_NEAR(pb->GetFloat(MainParam::master_angle, 320), 1.5707964f, 1e-6f);

    IColorSwatch* swatch = GetIColorSwatch(o.Control(1, 1012));
    ASSERT_NE(swatch, nullptr);
    swatch->SetAColor(AColor(0.2f, 0.4f, 0.6f), TRUE);
    EXPECT_EQ(pb->GetColor(MainParam::brick_color, 320), Color(0.2f, 0.4f, 0.6f));
    pb->SetValue(MainParam::grout_color, 320, Color(1.f, 0.f, 0.f));
    ReleaseIColorSwatch(swatch);
    swatch = GetIColorSwatch(o.Control(1, 1013));
    EXPECT_EQ(swatch->GetColor(), RGB(255, 0, 0));
    ReleaseIColorSwatch(swatch);

    EXPECT_EQ(IsDlgButtonChecked(o.Rollout(1), 1054), static_cast<UINT>(BST_CHECKED));
    SendMessageW(o.Control(1, 1054), BM_CLICK, 0, 0);
    EXPECT_EQ(pb->GetInt(MainParam::brick_map_on), 0);
    pb->SetValue(MainParam::brick_map_on, 320, 1);
    EXPECT_EQ(IsDlgButtonChecked(o.Rollout(1), 1054), static_cast<UINT>(BST_CHECKED));

    Select(o.Control(0, 1050), 1);
    EXPECT_EQ(pb->GetInt(MainParam::projection_mode), 1);
    pb->SetValue(MainParam::projection_mode, 0, 0);
    EXPECT_EQ(Text(o.Control(0, 1050)), L"Simple");
    Close(o);
}

TEST_F(RolloutTest, ReliefRolloutsAndTheCarriersMapButton) {
    Opened normal = Open(2);
    ASSERT_EQ(RolloutMapCount(normal.dlg), 1);
    EXPECT_EQ(RolloutMap(normal.dlg, 0)->DialogTemplateID(), 105);
    EXPECT_FLOAT_EQ(SpinnerValue(normal.Control(0, 1082)), 5.f);
    TurnSpinner(normal.Control(0, 1082), 0.f);  // held to 0.01..100
    EXPECT_FLOAT_EQ(normal.Block(0)->GetFloat(0), 0.01f);

    Opened bump = Open(4);
    EXPECT_EQ(RolloutMap(bump.dlg, 0)->DialogTemplateID(), 107);
    EXPECT_FLOAT_EQ(SpinnerValue(bump.Control(0, 1094)), 1.f);
    EXPECT_EQ(IsDlgButtonChecked(bump.Rollout(0), 1090), static_cast<UINT>(BST_CHECKED));

    // The carrier's map button shows what its reference holds and assigns through it.
    Opened carrier = Open(3);
    HWND button = carrier.Control(0, 1080);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Text(button), L"None");
    auto* carried = dynamic_cast<Texmap*>(normal.object());
    ASSERT_TRUE(DropMapOnButton(button, carried));
    EXPECT_EQ(carrier.object()->GetReference(1), carried);
    EXPECT_EQ(Text(button), L"QuarelMap Normal");
    ASSERT_TRUE(DropMapOnButton(button, nullptr));
    EXPECT_EQ(Text(button), L"None");
    EXPECT_FALSE(DropMapOnButton(normal.Control(0, 1082), carried));  // no map button
    Close(carrier);
    Close(bump);
    Close(normal);
}

TEST_F(RolloutTest, SecondRolloutPassesItsMessagesToTheFirstStoredProcedure) {
    Opened a = Open(0);
    Opened b = Open(0);
    HWND comboA = a.Control(0, 1001);
    HWND comboB = b.Control(0, 1001);
    EXPECT_EQ(LogCount("Pattern combobox subclassed"), 1);
    EXPECT_EQ(GetWindowLongPtrW(comboA, GWLP_WNDPROC), GetWindowLongPtrW(comboB, GWLP_WNDPROC));
    // Down without Alt is the combo box's own: the selection moves, and the block follows.
    SendMessageW(comboB, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(SendMessageW(comboB, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(b.Block(0)->GetInt(MainParam::pattern), 1);
    EXPECT_EQ(a.Block(0)->GetInt(MainParam::pattern), 0);
    EXPECT_EQ(Text(comboB), L"1/3 Running");
    EXPECT_TRUE(mMenus.empty());
    // Closing the first leaves the second working.
    Close(a);
    SendMessageW(comboB, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(b.Block(0)->GetInt(MainParam::pattern), 2);
    Close(b);
}

TEST_F(RolloutTest, MapDeletedWhileItsRolloutIsOpen) {
    Opened o = Open(0);
    HWND rollout = o.Rollout(0);
    o.holder.reset();  // the slot lets go: the map and its blocks are deleted
    EXPECT_EQ(o.dlg->GetThing(), nullptr);
    EXPECT_EQ(RolloutMap(o.dlg, 0)->GetParamBlock(), nullptr);
    ASSERT_TRUE(IsWindow(rollout));

    // The user keeps using the open rollout: nothing reaches the deleted map.
    SendMessageW(o.Control(0, 1059), BM_CLICK, 0, 0);
    TurnSpinner(o.Control(0, 1007), 4.f);
    TurnSpinner(o.Control(0, 1003), 9.f);
    Select(o.Control(0, 1001), 15);
    SendMessageW(o.Control(1, 1054), BM_CLICK, 0, 0);
    MemoryCanvas canvas(190, 54, 0);
    DRAWITEMSTRUCT dis{
        ODT_COMBOBOX,        1001, 3, ODA_DRAWENTIRE, 0, o.Control(0, 1001), canvas.dc(),
        RECT{0, 0, 190, 54}, 0};
    SendMessageW(rollout, WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&dis));
    Choose(0x8005);
    ClickPatternCombo(o);
    EXPECT_EQ(LogCount("QMApplyPatternToPblock: no pblock from map=0x"), 1);
    o.dlg->InvalidateUI();
    Close(o);
}

}  // namespace
}  // namespace QuarelTest
