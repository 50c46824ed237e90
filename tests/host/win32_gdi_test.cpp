// The Win32 stand-in's drawing: contexts, bitmaps, brushes, pixels and text boxes.
#include <gtest/gtest.h>
#include <w32_probes.h>
#include <windows.h>

namespace {

class GdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        bitmaps = W32LiveBitmapCount();
        brushes = W32LiveBrushCount();
        contexts = W32LiveDeviceContextCount();
        HDC screen = GetDC(nullptr);
        ASSERT_NE(screen, nullptr);
        dc = CreateCompatibleDC(screen);
        bmp = CreateCompatibleBitmap(screen, 8, 6);
        EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
        old = SelectObject(dc, bmp);
        ASSERT_NE(old, nullptr);
    }
    void TearDown() override {
        SelectObject(dc, old);
        EXPECT_TRUE(DeleteDC(dc));
        EXPECT_TRUE(DeleteObject(bmp));
        // Everything made was given back.
        EXPECT_EQ(W32LiveBitmapCount(), bitmaps);
        EXPECT_EQ(W32LiveBrushCount(), brushes);
        EXPECT_EQ(W32LiveDeviceContextCount(), contexts);
    }
    UINT bitmaps = 0, brushes = 0, contexts = 0;
    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(GdiTest, BitmapsBelongToOneContextAndOutliveIt) {
    BITMAP info{};
    ASSERT_EQ(GetObjectW(bmp, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmHeight, 6);
    EXPECT_EQ(GetPixel(dc, 7, 5), 0u);  // black when made

    HDC second = CreateCompatibleDC(dc);
    EXPECT_EQ(SelectObject(second, bmp), nullptr);  // already selected elsewhere
    EXPECT_FALSE(DeleteObject(bmp));                // and so not deletable
    EXPECT_TRUE(SetPixelV(dc, 2, 3, RGB(1, 2, 3)));
    EXPECT_EQ(GetPixel(second, 0, 0), 0u);  // its own 1 x 1 default bitmap
    EXPECT_EQ(GetPixel(second, 1, 0), CLR_INVALID);
    EXPECT_TRUE(DeleteDC(second));

    SelectObject(dc, old);
    HDC third = CreateCompatibleDC(nullptr);
    HGDIOBJ prev = SelectObject(third, bmp);  // free again
    ASSERT_NE(prev, nullptr);
    EXPECT_EQ(GetPixel(third, 2, 3), RGB(1, 2, 3));
    COLORREF px[48];
    EXPECT_EQ(W32CopyBitmapPixels(bmp, px, 48), 48u);
    EXPECT_EQ(px[3 * 8 + 2], RGB(1, 2, 3));
    SelectObject(third, prev);
    DeleteDC(third);
    SelectObject(dc, bmp);
}

TEST_F(GdiTest, FillsFramesAndPixelsAreClippedToTheBitmap) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{-5, -5, 50, 50};
    EXPECT_TRUE(FillRect(dc, &all, red));
    EXPECT_EQ(GetPixel(dc, 7, 5), RGB(255, 0, 0));
    EXPECT_FALSE(SetPixelV(dc, 8, 0, 0));
    RECT inner{1, 1, 5, 4};
    EXPECT_TRUE(FillRect(dc, &inner, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)));
    EXPECT_EQ(GetPixel(dc, 1, 1), 0xFFFFFFu);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    EXPECT_TRUE(FrameRect(dc, &inner, blue));
    EXPECT_EQ(GetPixel(dc, 4, 3), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc, 5, 4), RGB(255, 0, 0));
    RECT empty{3, 3, 3, 9};
    EXPECT_TRUE(FrameRect(dc, &empty, blue));
    EXPECT_EQ(GetPixel(dc, 3, 4), RGB(255, 0, 0));
    EXPECT_FALSE(FillRect(dc, &inner, reinterpret_cast<HBRUSH>(0x7777)));

    HGDIOBJ prevBrush = SelectObject(dc, red);
    EXPECT_FALSE(DeleteObject(red));  // selected
    SelectObject(dc, prevBrush);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(blue));
}

TEST_F(GdiTest, FocusRectangleInvertsAndDrawingItTwiceRemovesIt) {
    RECT r{0, 0, 8, 6};
    EXPECT_TRUE(DrawFocusRect(dc, &r));
    EXPECT_EQ(GetPixel(dc, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc, 1, 0), 0u);
    EXPECT_EQ(GetPixel(dc, 2, 2), 0u);
    DrawFocusRect(dc, &r);
    COLORREF px[48];
    W32CopyBitmapPixels(bmp, px, 48);
    for (COLORREF c : px) EXPECT_EQ(c, 0u);
}

TEST(GdiText, TextIsRecordedAndDrawnAsBoxesInItsCells) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(dc, 40, 20);
    HGDIOBJ old = SelectObject(dc, bmp);
    W32ClearDrawnText();
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    SetTextColor(dc, RGB(0, 255, 0));
    RECT r{0, 0, 40, 20};
    EXPECT_EQ(DrawTextW(dc, L"A &b", -1, &r, DT_SINGLELINE | DT_VCENTER), 13);
    ASSERT_EQ(W32DrawnTextCount(), 1u);
    const W32DrawnText* t = W32GetDrawnText(0);
    EXPECT_STREQ(t->text, L"A b");  // '&' marks a mnemonic without DT_NOPREFIX
    EXPECT_EQ(t->bkMode, TRANSPARENT);
    // The line is centred at row 3; the box of cell 0 (x 0..5) spans x 1..4, rows 6..13.
    EXPECT_EQ(GetPixel(dc, 1, 6), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, 0, 6), 0u);
    EXPECT_EQ(GetPixel(dc, 7, 8), 0u);  // the space
    RECT calc{0, 0, 0, 0};
    DrawTextW(dc, L"abcd", 2, &calc, DT_CALCRECT);
    EXPECT_EQ(calc.right, 12);
    EXPECT_EQ(calc.bottom, 13);
    EXPECT_EQ(W32DrawnTextCount(), 1u);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
    W32ClearDrawnText();
}

}  // namespace
