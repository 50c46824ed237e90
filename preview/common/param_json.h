// The parameter table as JSON, for scripts that walk every parameter (the pictures of each
// control in docs/ are made this way, so a parameter added to a block gets its pictures).
//
// One object a parameter, in the table's order:
//   name, prefix ("" for the main map, "normal." and "bump." for its relief outputs), label (the
//   editor's), kind ("integer", "number", "angle" in degrees, "bool", "colour", "map" or
//   "choice" for a combo box), default (as --set takes it), min and max (display units, only
//   for a parameter with a range), items (only for a choice: its texts, value = index) and
//   description (what `params` says it does).
#pragma once

#include <string>

#include "preview/common/param_table.h"

namespace QuarelPreview {

// The kind word of `p` as above.
std::string ParamKind(const ParamEntry& p);

// The whole table as a JSON array, indented, ending with a newline.
std::string ParamTableJson(const ParamTable& table);

}  // namespace QuarelPreview
