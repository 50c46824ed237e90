// Parameters by internal name, read from the block descriptors of a loaded module's classes:
// name, type, range (in the units the editor shows: degrees for angles) and, for combo boxes,
// the item texts. The preview keeps no list of its own; a class's blocks are searched in
// registration order and the first block that declares a name owns it.
//
// Names may carry a prefix that selects an object other than the main map ("normal." and
// "bump." for its relief outputs, whose blocks repeat names of the main map's relief block);
// the main map's names have none.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "iparamb2.h"

namespace QuarelPreview {

struct MapRecipe;

struct ParamEntry {
    std::string name;    // with its prefix
    std::string prefix;  // "" for the main map
    BlockID block = 0;
    ParamID id = -1;
    ParamType2 type = TYPE_FLOAT;
    bool hasRange = false;
    double lo = 0.0, hi = 0.0;       // display units
    std::vector<std::string> items;  // combo box items; value = item index
    std::string label;               // the editor's name of it ("Horiz. Count")
    std::string defaultText;         // its default as --set takes it ("4", "0.7,0.35,0.25")
};

// One line on what a parameter does, for `params`: the preview's own words where it has them,
// else the editor's label.
std::string ParamDescription(const ParamEntry& p);

// A value checked against its parameter, in the units the block stores (radians for angles).
struct ParamValue {
    enum class Kind { Int, Float, Bool, Color, Map } kind = Kind::Int;
    int i = 0;
    float f = 0.f;
    Color c{0.f, 0.f, 0.f};
    std::shared_ptr<const MapRecipe> map;  // null with Kind::Map: clear the map
};

struct Assignment {
    const ParamEntry* param = nullptr;
    ParamValue value;
    std::string origin;  // where it came from, for messages ("--set", a preset file)
};

class ParamTable {
public:
    // Adds every parameter of cd's blocks under `prefix`.
    void AddClass(ClassDesc* cd, std::string_view prefix = {});
    // The entry of `name`, or null.
    const ParamEntry* Find(std::string_view name) const;
    // Whether some entry's prefix is `prefix` ("normal.").
    bool HasPrefix(std::string_view prefix) const;
    const std::vector<std::unique_ptr<ParamEntry>>& Entries() const { return mEntries; }

private:
    std::vector<std::unique_ptr<ParamEntry>> mEntries;  // stable addresses for Assignment
};

// What values a parameter takes, as a phrase: "an integer from 1 to 256".
std::string DescribeRange(const ParamEntry& p, bool json);

// Parses the text of --set NAME=VALUE for `p`. On failure `error` says what is wrong and what
// the parameter takes.
bool ParseParamText(const ParamEntry& p, std::string_view text, ParamValue& out,
                    std::string& error);

// The combo item whose text is `text` (case-insensitive), or -1.
int FindItem(const ParamEntry& p, std::string_view text);

// Checks an integer, float or colour against the range of `p` and converts it to the block's
// units. Shared by the text and the JSON readers, so both refuse alike.
// `json`: say colours as a preset writes them, [r, g, b].
bool CheckInt(const ParamEntry& p, long long v, ParamValue& out, std::string& error,
              bool json = false);
bool CheckFloat(const ParamEntry& p, double v, ParamValue& out, std::string& error,
                bool json = false);
bool CheckColor(const ParamEntry& p, const double rgb[3], ParamValue& out, std::string& error,
                bool json = false);

// Up to three of `candidates` closest to `word` by edit distance (case-insensitive; a word
// that begins a candidate counts as close), nearest first; none when nothing is near.
std::vector<std::string> ClosestNames(std::string_view word,
                                      const std::vector<std::string>& candidates);
// "did you mean "a" or "b"? " for ClosestNames, or an empty text.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates);

// Why `name` is no parameter: the closest names and where the list is.
std::string UnknownParamHint(const ParamTable& table, std::string_view name);
// Why `text` is no item of combo parameter `p` (the pattern, the projection mode): the closest
// item names and where the list is.
std::string UnknownItemHint(const ParamEntry& p, std::string_view text);

// Narrow form of a module string (the names and items are ASCII).
std::string Narrow(const MCHAR* text);

}  // namespace QuarelPreview
