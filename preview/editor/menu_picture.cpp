#include "preview/editor/menu_picture.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace QuarelPreview {

namespace {

constexpr int kTickLeft = 2;       // margin before the tick column
constexpr int kBitmapLeft = 2;     // between the tick column and the bitmaps
constexpr int kTextLeft = 6;       // between the bitmaps and the text
constexpr int kTextRight = 16;     // after the longest text, where an arrow would go
constexpr int kColumnSpace = 5;    // between columns, the rule in its middle
constexpr int kSeparatorRow = 9;   // height of an MF_SEPARATOR row
constexpr int kBitmapPadding = 2;  // above and below a bitmap
constexpr std::uint32_t kRuleShadow = 0xA0A0A0u;
constexpr std::uint32_t kRuleLight = 0xFFFFFFu;

bool StartsColumn(const MenuEntry& e) {
    return (e.flags & (MF_MENUBARBREAK | MF_MENUBREAK)) != 0;
}

std::uint32_t SysColour(int index) {
    return static_cast<std::uint32_t>(GetSysColor(index)) & 0xFFFFFFu;
}

// Mixes `colour` over the pixel by `alpha` (0..1).
void Blend(Image& image, int x, int y, std::uint32_t colour, float alpha) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height || alpha <= 0.f) return;
    const std::uint32_t under = image.Get(x, y);
    std::uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const float fg = static_cast<float>((colour >> shift) & 0xFF);
        const float bg = static_cast<float>((under >> shift) & 0xFF);
        out |= static_cast<std::uint32_t>(std::lround(bg + (fg - bg) * std::min(alpha, 1.f)))
               << shift;
    }
    image.Set(x, y, out);
}

float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.f, 1.f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// A check mark two pixels thick in the kMenuTick square at (x, y), edges anti-aliased.
void DrawTick(Image& image, int x, int y, std::uint32_t colour) {
    for (int j = 0; j < kMenuTick; ++j) {
        for (int i = 0; i < kMenuTick; ++i) {
            const float px = static_cast<float>(i) + 0.5f, py = static_cast<float>(j) + 0.5f;
            const float d = std::min(SegmentDistance(px, py, 4.f, 8.5f, 7.f, 11.5f),
                                     SegmentDistance(px, py, 7.f, 11.5f, 12.5f, 4.5f));
            Blend(image, x + i, y + j, colour, 1.5f - d);
        }
    }
}

void FillBox(Image& image, int left, int top, int right, int bottom, std::uint32_t colour) {
    for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width); ++x)
            image.Set(x, y, colour);
}

}  // namespace

MenuLayout LayOutMenu(const std::vector<MenuEntry>& items, const LabelFont* font) {
    MenuLayout layout;
    layout.items.resize(items.size());
    int row = kMenuMinRow;
    for (const MenuEntry& e : items) row = std::max(row, e.bitmapHeight + 2 * kBitmapPadding);
    const int ascent = font ? font->Ascent() : 0;

    int left = kMenuEdge, bottom = kMenuEdge;
    for (std::size_t first = 0; first < items.size();) {
        std::size_t end = first + 1;
        while (end < items.size() && !StartsColumn(items[end])) ++end;
        if (first > 0) {
            if (items[first].flags & MF_MENUBARBREAK)
                layout.rules.push_back(left + kColumnSpace / 2);
            left += kColumnSpace;
        }
        int bitmaps = 0, texts = 0;
        for (std::size_t i = first; i < end; ++i) {
            bitmaps = std::max(bitmaps, items[i].bitmapWidth);
            if (font) texts = std::max(texts, font->Width(items[i].text));
        }
        const int bitmapX = left + kTickLeft + kMenuTick + kBitmapLeft;
        const int textX = bitmapX + bitmaps + (bitmaps > 0 ? kTextLeft : 0);
        const int width = textX - left + texts + kTextRight;
        int y = kMenuEdge;
        for (std::size_t i = first; i < end; ++i) {
            const MenuEntry& e = items[i];
            MenuItemBox& box = layout.items[i];
            const int height = (e.flags & MF_SEPARATOR) ? kSeparatorRow : row;
            box.x = left;
            box.y = y;
            box.width = width;
            box.height = height;
            box.tickX = left + kTickLeft;
            box.bitmapX = bitmapX;
            box.bitmapY = y + (height - e.bitmapHeight) / 2;
            box.textX = textX;
            // The label font's em square centred in the row.
            box.baseline = y + (height - kLabelPixels) / 2 + ascent;
            y += height;
        }
        bottom = std::max(bottom, y);
        left += width;
        first = end;
    }
    layout.width = left + kMenuEdge;
    layout.height = bottom + kMenuEdge;
    return layout;
}

Image DrawMenuPicture(const std::vector<MenuEntry>& items, const LabelFont* font) {
    const MenuLayout layout = LayOutMenu(items, font);
    Image image(layout.width, layout.height, SysColour(COLOR_MENU));
    const std::uint32_t frame = SysColour(COLOR_WINDOWFRAME);
    FillBox(image, 0, 0, image.width, 1, frame);
    FillBox(image, 0, image.height - 1, image.width, image.height, frame);
    FillBox(image, 0, 0, 1, image.height, frame);
    FillBox(image, image.width - 1, 0, image.width, image.height, frame);
    for (int x : layout.rules) {
        FillBox(image, x, kMenuEdge, x + 1, image.height - kMenuEdge, kRuleShadow);
        FillBox(image, x + 1, kMenuEdge, x + 2, image.height - kMenuEdge, kRuleLight);
    }

    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuEntry& e = items[i];
        const MenuItemBox& box = layout.items[i];
        if (e.flags & MF_SEPARATOR) {
            const int y = box.y + box.height / 2;
            FillBox(image, box.x + 1, y, box.x + box.width - 1, y + 1, kRuleShadow);
            FillBox(image, box.x + 1, y + 1, box.x + box.width - 1, y + 2, kRuleLight);
            continue;
        }
        const std::uint32_t ink =
            SysColour((e.flags & MF_GRAYED) ? COLOR_GRAYTEXT : COLOR_MENUTEXT);
        if (e.flags & MF_CHECKED)
            DrawTick(image, box.tickX, box.y + (box.height - kMenuTick) / 2, ink);
        const bool whole = e.pixels.size() == static_cast<std::size_t>(e.bitmapWidth) *
                                                  static_cast<std::size_t>(e.bitmapHeight);
        for (int y = 0; whole && y < e.bitmapHeight; ++y)
            for (int x = 0; x < e.bitmapWidth; ++x)
                image.Set(
                    box.bitmapX + x, box.bitmapY + y,
                    e.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(e.bitmapWidth) +
                             static_cast<std::size_t>(x)]);
        if (font) font->Draw(image, box.textX, box.baseline, e.text, ink);
    }
    return image;
}

}  // namespace QuarelPreview
