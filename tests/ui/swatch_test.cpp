// Pattern swatches: drawn directly, and as the rollout's combo box items through WM_DRAWITEM.
#include <windows.h>

#include "editor_fixture.h"
#include "ui/pattern_swatch.h"

namespace QuarelTest {
namespace {

constexpr COLORREF kMarker = 0x123456;

TEST(PatternSwatch, OnlyTheRectangleIsPaintedWithTheFrameLast) {
    MemoryCanvas canvas(30, 30, kMarker);
    const UINT brushes = W32LiveBrushCount();
    QuarelNS::DrawPatternSwatch(canvas.dc(), RECT{2, 2, 2, 10}, 0);  // no width
    QuarelNS::DrawPatternSwatch(canvas.dc(), RECT{2, 8, 10, 3}, 5);  // negative height
    QuarelNS::DrawPatternSwatch(nullptr, RECT{0, 0, 4, 4}, 0);       // no context at all
    for (COLORREF c : canvas.Pixels()) ASSERT_EQ(c, kMarker);
    EXPECT_EQ(W32LiveBrushCount(), brushes);

    QuarelNS::DrawPatternSwatch(canvas.dc(), RECT{5, 5, 25, 25}, 9);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x) {
            const bool inside = x >= 5 && x < 25 && y >= 5 && y < 25;
            const bool ring = inside && (x == 5 || x == 24 || y == 5 || y == 24);
            if (!inside) {
                ASSERT_EQ(canvas.At(x, y), kMarker) << x << "," << y;
            } else if (ring) {
                ASSERT_EQ(canvas.At(x, y), kFrame) << x << "," << y;
            }
        }
}

class ComboItemTest : public EditorTest {
protected:
    // Draws item `item` of the pattern combo box of `o` through its rollout into `canvas`.
    void DrawItem(const Opened& o, MemoryCanvas& canvas, UINT item, RECT rect, UINT state = 0) {
        DRAWITEMSTRUCT dis{ODT_COMBOBOX, 1001, item, ODA_DRAWENTIRE, state, o.Control(0, 1001),
                           canvas.dc(),  rect, 0};
        SendMessageW(o.Rollout(0), WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&dis));
    }
    const W32DrawnText* LastText() {
        const UINT n = W32DrawnTextCount();
        return n ? W32GetDrawnText(n - 1) : nullptr;
    }
};

TEST_F(ComboItemTest, ListItemsShowAFiftyPixelSwatchWithIndependentlyComputedPixels) {
    Opened o = Open(0);
    MemoryCanvas canvas(190, 54, kMarker);
    const RECT item{0, 0, 190, 54};
    auto swatch = [&](int x, int y) { return canvas.At(2 + x, 2 + y); };

    // "1/2 Running": 4 x 4 cells, odd rows shifted by half a brick, joints 0.075 of a cell.
    DrawItem(o, canvas, 0, item);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(swatch(i, 0), kFrame);
        ASSERT_EQ(swatch(i, 49), kFrame);
        ASSERT_EQ(swatch(0, i), kFrame);
        ASSERT_EQ(swatch(49, i), kFrame);
    }
    EXPECT_EQ(swatch(10, 10), ExpectedBrickColour(0, 3, false));  // u 0.21, v 0.79: row 3
    EXPECT_EQ(swatch(1, 10), ExpectedBrickColour(-1, 3, false));  // left part of a cut brick
    EXPECT_EQ(swatch(30, 40), ExpectedBrickColour(2, 0, false));  // u 0.61, v 0.19
    EXPECT_EQ(swatch(12, 40), kGrout);                            // u 0.25: a head joint
    EXPECT_EQ(swatch(30, 37), kGrout);                            // v 0.25: a bed joint
    EXPECT_NE(ExpectedBrickColour(0, 3, false), ExpectedBrickColour(2, 0, false));
    // Around the swatch: the window colour, and the name to its right, vertically centred.
    EXPECT_EQ(canvas.At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(55, 27), 0xFFFFFFu);
    const W32DrawnText* text = LastText();
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->text, L"1/2 Running");
    EXPECT_EQ(text->rect.left, 58);
    EXPECT_EQ(text->rect.right, 186);
    EXPECT_EQ(text->color, 0u);

    // "Fine Stack": no row offset.
    DrawItem(o, canvas, 4, item);
    EXPECT_EQ(swatch(20, 5), ExpectedBrickColour(1, 3, false));  // u 0.41, v 0.89
    EXPECT_EQ(swatch(1, 10), ExpectedBrickColour(0, 3, false));
    Close(o);
}

TEST_F(ComboItemTest, ClosedBoxShowsTheNameOnlyAndAnEmptyItemReadsPattern) {
    Opened o = Open(0);
    HWND combo = o.Control(0, 1001);
    MemoryCanvas canvas(190, 54, kMarker);

    // The closed box (less than 50 pixels high): no swatch, the name with a 3-pixel margin.
    DrawItem(o, canvas, 2, RECT{0, 0, 120, 21});
    EXPECT_EQ(canvas.At(2, 2), 0xFFFFFFu);
    EXPECT_EQ(canvas.At(0, 30), kMarker);
    ASSERT_NE(LastText(), nullptr);
    EXPECT_STREQ(LastText()->text, L"Common Flemish");
    EXPECT_EQ(LastText()->rect.left, 3);
    EXPECT_EQ(LastText()->rect.right, 117);

    // An item without text beyond the 30 patterns: "Pattern", with the swatch of pattern 0.
    ASSERT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"")), 30);
    MemoryCanvas empty(190, 54, kMarker), first(190, 54, kMarker);
    DrawItem(o, empty, 30, RECT{0, 0, 190, 54});
    ASSERT_NE(LastText(), nullptr);
    EXPECT_STREQ(LastText()->text, L"Pattern");
    DrawItem(o, first, 0, RECT{0, 0, 190, 54});
    for (int y = 2; y < 52; ++y)
        for (int x = 2; x < 52; ++x) ASSERT_EQ(empty.At(x, y), first.At(x, y));

    // No item, an index past the list, or another control: nothing is drawn.
    const UINT texts = W32DrawnTextCount();
    MemoryCanvas untouched(190, 54, kMarker);
    DrawItem(o, untouched, static_cast<UINT>(-1), RECT{0, 0, 190, 54});
    DrawItem(o, untouched, 31, RECT{0, 0, 190, 54});
    DRAWITEMSTRUCT other{
        ODT_COMBOBOX,        1050, 0, ODA_DRAWENTIRE, 0, o.Control(0, 1050), untouched.dc(),
        RECT{0, 0, 190, 54}, 0};
    SendMessageW(o.Rollout(0), WM_DRAWITEM, 1050, reinterpret_cast<LPARAM>(&other));
    for (COLORREF c : untouched.Pixels()) ASSERT_EQ(c, kMarker);
    EXPECT_EQ(W32DrawnTextCount(), texts);
    Close(o);
}

TEST_F(ComboItemTest, SelectedItemUsesHighlightColoursAndFocusGetsItsRectangle) {
    Opened o = Open(0);
    MemoryCanvas canvas(190, 54, kMarker);
    DrawItem(o, canvas, 7, RECT{0, 0, 190, 54}, ODS_SELECTED);
    EXPECT_EQ(canvas.At(100, 1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(LastText()->color, GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_STREQ(LastText()->text, L"Diagonal");

    MemoryCanvas focused(190, 54, kMarker);
    DrawItem(o, focused, 7, RECT{0, 0, 190, 54}, ODS_SELECTED | ODS_FOCUS);
    // The focus outline inverts every other pixel of the item's border.
    EXPECT_EQ(focused.At(100, 0), GetSysColor(COLOR_HIGHLIGHT) ^ 0xFFFFFFu);
    EXPECT_EQ(focused.At(101, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(focused.At(100, 2), canvas.At(100, 2));
    Close(o);
}

}  // namespace
}  // namespace QuarelTest
