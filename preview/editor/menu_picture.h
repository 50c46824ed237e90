// A recorded popup menu drawn as a user sees it: items stacked in columns (MF_MENUBARBREAK and
// MF_MENUBREAK start a new column, the former behind a rule), each row with a tick mark for
// MF_CHECKED, the item's bitmap and its text, greyed text for MF_GRAYED, on the system's menu
// colours with a frame around it all. Text comes from the label font; without one the rows
// are drawn without text.
#pragma once

#include <vector>

#include "preview/common/image.h"
#include "preview/editor/picker_record.h"
#include "preview/picture/label_font.h"

namespace QuarelPreview {

// Where each part of an item goes, in picture pixels.
struct MenuItemBox {
    int x = 0, y = 0, width = 0, height = 0;  // the whole row
    int tickX = 0;                            // left of the tick mark's square
    int bitmapX = 0, bitmapY = 0;             // top-left of the bitmap
    int textX = 0, baseline = 0;
};

struct MenuLayout {
    int width = 0, height = 0;
    std::vector<MenuItemBox> items;  // one per entry, in order
    std::vector<int> rules;          // x of each rule between columns
};

// Pixels of the menu's chrome, for callers that check a layout.
constexpr int kMenuEdge = 3;   // frame and inner margin on every side
constexpr int kMenuTick = 16;  // side of the tick mark's square
constexpr int kMenuMinRow = 22;

MenuLayout LayOutMenu(const std::vector<MenuEntry>& items, const LabelFont* font);
Image DrawMenuPicture(const std::vector<MenuEntry>& items, const LabelFont* font);

}  // namespace QuarelPreview
