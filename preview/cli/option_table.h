// The preview's commands and options as data. Each option row says which commands take the
// option and, for those, its help text, default and range; an option whose text, default or
// range differs between commands has one row per group of commands. The parser registers every
// option from these rows, a command's help lists exactly the rows of that command, and an
// option no row of the command names is refused with the command's scope.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "preview/cli/options.h"

namespace QuarelPreview {

using CommandSet = unsigned;
constexpr CommandSet Only(Command c) {
    return 1u << static_cast<unsigned>(c);
}

struct CommandRow {
    Command command;
    const char* name;         // as typed; "" for a render
    const char* summary;      // one line in the list of commands
    const char* description;  // the head of the command's help
    const char* scope;        // why other options do not apply to it
};
// Every command, in the order the help lists them (the render first).
const std::vector<CommandRow>& CommandTable();
const CommandRow& CommandInfo(Command c);

// Options whose text the checks read before it becomes fields of PreviewOptions: choices, the
// box, --set and the shorthands of parameters (keyed by option).
struct OptionText {
    std::string output = "color";
    std::string projection = "plane";
    std::string normalSource = "height";
    std::string box;
    std::string size;  // N, or for bake W x H
    std::string camera, light;
    std::vector<std::string> sets;
    std::map<std::string, std::string> shorthands;  // by option, the text as given
};

// Where an option's value goes: the shorthand text (monostate) or a field.
using OptionTarget =
    std::variant<std::monostate, std::string PreviewOptions::*, int PreviewOptions::*,
                 double PreviewOptions::*, float PreviewOptions::*, bool PreviewOptions::*,
                 std::vector<std::string> PreviewOptions::*, std::string OptionText::*,
                 std::vector<std::string> OptionText::*>;

struct OptionRange {
    enum class Kind { None, Int, Real } kind = Kind::None;
    double lo = 0.0, hi = 0.0;
    bool operator==(const OptionRange&) const = default;
};

struct OptionRow {
    std::string names;  // as the parser takes them: "--quiet,-q"
    CommandSet commands = 0;
    OptionTarget target;
    std::string typeName;  // the value's name in the help; empty for a flag
    std::string help;
    std::string defaultText;  // as the help says it; empty when none is worth saying
    OptionRange range;
    std::optional<double> value;  // the value when not given, where it is the command's own
    std::string choices;          // "a|b|c": the only texts taken
    // Why `text` is refused, or "": the form, and then the range is the check's own too.
    std::string (*check)(std::string& text) = nullptr;
    const char* checkName = "";
    const char* param = "";  // a shorthand: the parameter it sets
};

// Every option in the order the help lists them.
const std::vector<OptionRow>& OptionTable();
// "--quiet" of "--quiet,-q".
std::string LongName(const OptionRow& row);
// The row of `option` (a long name) that `c` takes, or null when `c` refuses it.
const OptionRow* RowFor(std::string_view option, Command c);
// Whether every row of `option` has the same range; the parser checks such a range itself,
// a range that depends on the command once the command is known.
bool OneRange(std::string_view option);

}  // namespace QuarelPreview
