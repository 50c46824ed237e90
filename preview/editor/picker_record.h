// The pattern picker as the editor shows it, recorded through the loaded module: the map's
// rollouts are opened by its class descriptor on an editor window, combo box 1001 of the first
// rollout is clicked, and the popup menu that opens is copied item by item (text, flags,
// command id, the pixels of its bitmap) and dismissed. Dismissing changes nothing in the map.
// Main thread; the map must come from `host`.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imtl.h"
#include "preview/setup/plugin_host.h"

namespace QuarelPreview {

// One menu item as the user sees it.
struct MenuEntry {
    unsigned id = 0;     // command id; 0 for headers
    unsigned flags = 0;  // MF_* bits
    std::string text;
    int bitmapWidth = 0, bitmapHeight = 0;  // 0 without a bitmap
    std::vector<std::uint32_t> pixels;      // 0x00BBGGRR, row by row from the top
};

// Opens the picker of `map` and records its first menu into `items`. False with `error` when
// the map has no rollouts, no pattern combo box, or the click opened no menu. Whatever happened,
// the rollouts and the editor window are gone on return and the menu chooser is reset (every
// later menu is dismissed).
bool RecordPatternPicker(const PluginHost& host, Texmap* map, std::vector<MenuEntry>& items,
                         std::string& error);

}  // namespace QuarelPreview
