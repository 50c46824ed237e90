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
};

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
bool CheckInt(const ParamEntry& p, long long v, ParamValue& out, std::string& error);
bool CheckFloat(const ParamEntry& p, double v, ParamValue& out, std::string& error);
bool CheckColor(const ParamEntry& p, const double rgb[3], ParamValue& out, std::string& error);

// Narrow form of a module string (the names and items are ASCII).
std::string Narrow(const MCHAR* text);

}  // namespace QuarelPreview
