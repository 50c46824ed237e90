// The pattern picker: a popup menu of the 30 patterns in five columns, one per category
// ("Masonry", "Parquet", "Abstract", "Pavement", "Custom"), each column headed by a greyed
// "-- name --" item, each pattern with a 20 x 20 swatch and the current one ticked. It opens
// under the combo box; the pattern chosen is selected in the combo box, stored in the main
// block's `pattern` at the host's current time, and announced to the rollout with
// CBN_SELCHANGE. Dismissing the menu changes nothing, and so does a choice made after the combo
// box went away meanwhile.
#pragma once

#include <windows.h>

namespace QuarelNS {

class PatternPicker {
public:
    // Runs the menu for `combo` (control 1001) modally and applies the choice.
    static void Show(HWND combo);
};

}  // namespace QuarelNS
