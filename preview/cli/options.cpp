#include "preview/cli/options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "pattern/catalogue.h"
#include "preview/cli/option_table.h"
#include "preview/common/bake_profiles.h"
#include "preview/common/param_table.h"

namespace QuarelPreview {

namespace {

// The pattern list `patterns` prints, from the engine's catalogue (the module's own list is
// what `patterns` reads; the help is printed before any module is loaded).
std::string CatalogueText() {
    std::string text;
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue) {
        char line[96];
        std::snprintf(line, sizeof line, "%2d  %-16s %s\n", p.id, std::string(p.name).c_str(),
                      std::string(QuarelNS::CategoryInfo(p.category).name).c_str());
        text += line;
    }
    return text;
}

std::string LongName(const CLI::Option& opt) {
    return opt.get_lnames().empty() ? std::string() : "--" + opt.get_lnames().front();
}

// The rows of the table once each, in its order: what the parser registers and the help lists.
std::vector<const OptionRow*> FirstRows() {
    std::vector<const OptionRow*> rows;
    for (const OptionRow& row : OptionTable()) {
        const auto same = [&](const OptionRow* r) { return r->names == row.names; };
        if (std::none_of(rows.begin(), rows.end(), same)) rows.push_back(&row);
    }
    return rows;
}

// One option's line of a command's help: flag, value name, help text and default.
std::string HelpLine(const CLI::Option& opt, const OptionRow& row) {
    std::string left = "  " + row.names;
    if (const std::size_t comma = left.find(','); comma != std::string::npos)
        left.insert(comma + 1, " ");  // "--quiet, -q": the long name first, as the others
    if (opt.get_type_size() != 0) left += " " + opt.get_type_name();
    std::string help = row.help;
    if (!row.defaultText.empty()) help += " (default: " + row.defaultText + ")";
    if (left.size() < 26)
        left.resize(26, ' ');
    else
        left += "\n" + std::string(26, ' ');
    std::string indented;
    for (char ch : help) {
        indented += ch;
        if (ch == '\n') indented += std::string(26, ' ');
    }
    return left + indented + "\n";
}

std::string CommandHelp(const CLI::App& main, Command c, bool expanded) {
    std::ostringstream out;
    const std::string name = CommandName(c);
    if (expanded) {
        out << (name.empty() ? "(no subcommand): render" : name) << "\n";
    } else {
        out << "Usage: quarel-preview " << (name.empty() ? "" : name + " ") << "[OPTIONS]\n";
    }
    out << CommandInfo(c).description << "\n\nOptions:\n";
    for (const OptionRow* first : FirstRows()) {
        const OptionRow* row = RowFor(LongName(*first), c);
        const CLI::Option* opt = main.get_option_no_throw(LongName(*first));
        if (row != nullptr && opt != nullptr) out << HelpLine(*opt, *row);
    }
    if (c == Command::Patterns) out << "\nThe patterns:\n" << CatalogueText();
    if (c == Command::Bake) out << "\n" << BakeProfileHelp();
    return out.str();
}

std::string MainHelp(const CLI::App& app, CLI::AppFormatMode mode) {
    std::string text = app.get_description() + "\n\n" + CommandHelp(app, Command::Render, false);
    text += "\nSubcommands (quarel-preview COMMAND --help lists the options of each):\n";
    for (const CommandRow& c : CommandTable()) {
        if (c.command == Command::Render) continue;
        char line[160];
        std::snprintf(line, sizeof line, "  %-10s%s\n", c.name, c.summary);
        text += line;
    }
    if (mode == CLI::AppFormatMode::All)
        for (const CommandRow& c : CommandTable())
            if (c.command != Command::Render) text += "\n" + CommandHelp(app, c.command, true);
    return text;
}

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

std::string NumberText(double v, OptionRange::Kind kind) {
    if (kind == OptionRange::Kind::Int) return std::to_string(static_cast<long long>(v));
    std::ostringstream s;
    s << v;
    return s.str();
}

// "-1 is out of range; give 0 to 100", in the numbers as the user types them.
std::string OutOfRange(const std::string& typed, const OptionRange& r) {
    return typed + " is out of range; give " + NumberText(r.lo, r.kind) + " to " +
           NumberText(r.hi, r.kind);
}

// The form and, when it is the same for every command, the range of a number as typed; the
// parser's own checks would speak of "Value -1 not in range 0.000000 to 100.000000".
std::string CheckNumber(const std::string& text, const OptionRange& r, bool oneRange) {
    double v = 0.0;
    const char* end = text.data() + text.size();
    const auto [next, ec] = std::from_chars(text.data(), end, v);
    const bool whole =
        r.kind != OptionRange::Kind::Int || text.find_first_of(".eE") == std::string::npos;
    if (ec != std::errc() || next != end || !std::isfinite(v) || !whole)
        return "'" + text + "' is not " +
               (r.kind == OptionRange::Kind::Int ? "a whole number" : "a number") +
               (oneRange ? "; give " + NumberText(r.lo, r.kind) + " to " + NumberText(r.hi, r.kind)
                         : "");
    if (oneRange && (v < r.lo || v > r.hi)) return OutOfRange(text, r);
    return {};
}

// The reason a text is none of "a|b|c", with the choices as the user would type them.
std::string CheckChoice(const std::string& text, const std::string& choices) {
    const std::vector<std::string> names = Split(choices, '|');
    if (std::find(names.begin(), names.end(), text) != names.end()) return {};
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i)
        list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
    const std::string hint = DidYouMean(text, names);
    return "'" + text + "' is not " + list +
           (hint.empty() ? "" : "; " + hint.substr(0, hint.size() - 1));
}

// Registers one option with the checks its row declares.
void AddOption(CLI::App& app, const OptionRow& row, PreviewOptions& o, OptionText& text) {
    CLI::Option* opt = std::visit(
        [&](auto target) -> CLI::Option* {
            using T = decltype(target);
            if constexpr (std::is_same_v<T, std::monostate>)
                return app.add_option(row.names, text.shorthands[LongName(row)], row.help);
            else if constexpr (std::is_same_v<T, bool PreviewOptions::*>)
                return app.add_flag(row.names, o.*target, row.help);
            else if constexpr (std::is_same_v<T, std::string OptionText::*> ||
                               std::is_same_v<T, std::vector<std::string> OptionText::*>)
                return app.add_option(row.names, text.*target, row.help);
            else
                return app.add_option(row.names, o.*target, row.help);
        },
        row.target);
    if (!row.typeName.empty()) opt->type_name(row.typeName);
    if (!row.choices.empty())
        opt->check(CLI::Validator(
            [choices = row.choices](std::string& v) { return CheckChoice(v, choices); }, "",
            "choice"));
    if (row.check != nullptr) opt->check(CLI::Validator(row.check, "", row.checkName));
    if (row.range.kind != OptionRange::Kind::None && row.check == nullptr)
        opt->check(CLI::Validator([range = row.range, one = OneRange(LongName(row))](
                                      std::string& v) { return CheckNumber(v, range, one); },
                                  "", "number"));
}

// The subcommands, each with its help; null for the render, which has none.
std::vector<CLI::App*> AddCommands(CLI::App& app) {
    std::vector<CLI::App*> subs;
    for (const CommandRow& c : CommandTable()) {
        if (c.command == Command::Render) {
            subs.push_back(nullptr);
            continue;
        }
        CLI::App* sub = app.add_subcommand(c.name, c.summary);
        sub->fallthrough();
        sub->formatter_fn([&app, c](const CLI::App*, std::string, CLI::AppFormatMode mode) {
            return CommandHelp(app, c.command, mode == CLI::AppFormatMode::Sub);
        });
        subs.push_back(sub);
    }
    app.formatter_fn([&app](const CLI::App*, std::string, CLI::AppFormatMode mode) {
        return MainHelp(app, mode);
    });
    app.require_subcommand(0, 1);
    return subs;
}

std::string LowerCase(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

// A written picture is a PNG: an --out of another kind would get PNG bytes under its name. A
// device such as /dev/null takes whatever it is given.
void CheckOut(const std::string& out, Command c) {
    const std::string ext = LowerCase(std::filesystem::path(out).extension().string());
    std::error_code ec;
    const auto status = std::filesystem::status(out, ec);
    if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
        !std::filesystem::is_directory(status))
        return;
    if (std::filesystem::is_directory(status) || out.back() == '/')
        throw CLI::ValidationError("--out", "'" + out + "' is a folder; name a file in it");
    if (c == Command::Bake) {
        for (const char* image :
             {".jpg", ".jpeg", ".tga", ".exr", ".bmp", ".tif", ".tiff", ".webp", ".gif", ".hdr"})
            if (ext == image)
                throw CLI::ValidationError(
                    "--out", "bake writes PNG files: give a path prefix, with or without .png");
        return;
    }
    if (ext != ".png")
        throw CLI::ValidationError("--out", "'" + out +
                                                "': the preview writes PNG files only; "
                                                "give a name ending in .png");
}

// Every option given is one the command takes.
void CheckTaken(const CLI::App& app, Command c) {
    const std::string name = CommandName(c);
    for (const CLI::Option* opt : app.get_options()) {
        const std::string flag = LongName(*opt);
        if (opt->count() == 0 || RowFor(flag, c) != nullptr) continue;
        if (std::none_of(OptionTable().begin(), OptionTable().end(),
                         [&](const OptionRow& row) { return LongName(row) == flag; }))
            continue;  // --help and --help-all
        throw CLI::ValidationError(flag, std::string("does not apply to ") +
                                             (name.empty() ? "a render" : name) + ": " +
                                             CommandInfo(c).scope);
    }
}

// Options that apply to some pictures only.
void CheckPictureOptions(const CLI::App& app, const PreviewOptions& o, const OptionText& t) {
    const bool isBox = t.projection == "box";
    if (app.count("--repeat") > 0 && isBox)
        throw CLI::ValidationError("--repeat",
                                   "tiles the plane; --projection box shows the "
                                   "box's four faces, each at its own size");
    if (app.count("--box") > 0 && !isBox)
        throw CLI::ValidationError("--box", "applies to --projection box only");
    if (t.output == "cells" && isBox)
        throw CLI::ValidationError("--output cells", "shows the plane only");
    if (o.command == Command::Render && app.count("--normal-y-down") > 0 && t.output != "normal" &&
        t.output != "perturb")
        throw CLI::ValidationError("--normal-y-down",
                                   "turns normal pictures only (--output normal or perturb)");
    const BakeProfile* profile = FindBakeProfile(o.profile);
    if (o.normalYDown && profile != nullptr && profile->normalYDown >= 0)
        throw CLI::ValidationError("--normal-y-down",
                                   "--profile " + o.profile + " fixes the normals' direction");
    if (o.sheet && app.count("--pattern") > 0)
        throw CLI::ValidationError("--pattern", "the sheet shows every pattern");
    if (app.count("--map") > 0 && app.count("--scene") == 0)
        throw CLI::ValidationError("--map", "applies to --scene only");
    if (app.count("--allow-missing") > 0 && app.count("--scene") == 0)
        throw CLI::ValidationError("--allow-missing",
                                   "applies to --scene only (a preset's missing image is refused)");
    if (o.sheet)
        for (const std::string& s : t.sets)
            if (s.rfind("pattern=", 0) == 0)
                throw CLI::ValidationError("--set " + s, "the sheet shows every pattern");
}

// The numeric value of a field an option set, for range messages.
std::optional<double> NumberOf(const OptionTarget& target, const PreviewOptions& o) {
    if (auto p = std::get_if<int PreviewOptions::*>(&target)) return o.**p;
    if (auto p = std::get_if<double PreviewOptions::*>(&target)) return o.**p;
    if (auto p = std::get_if<float PreviewOptions::*>(&target)) return o.**p;
    return std::nullopt;
}

// Ranges that depend on the command, checked once the command is known.
void CheckCommandRanges(const CLI::App& app, const PreviewOptions& o) {
    for (const OptionRow* first : FirstRows()) {
        const std::string name = LongName(*first);
        const OptionRow* row = RowFor(name, o.command);
        if (row == nullptr || app.count(name) == 0 || OneRange(name)) continue;
        const std::optional<double> v = NumberOf(row->target, o);
        if (!v || row->range.kind == OptionRange::Kind::None ||
            (*v >= row->range.lo && *v <= row->range.hi))
            continue;
        throw CLI::ValidationError(name, OutOfRange(NumberText(*v, row->range.kind), row->range));
    }
}

void CheckObjectOptions(const CLI::App& app) {
    if (app.count("--object") > 0) {
        for (const char* opt : {"--projection", "--box", "--repeat", "--sheet", "--output"})
            if (app.count(opt) > 0)
                throw CLI::ValidationError(opt,
                                           "does not apply to --object: the object "
                                           "shows the map's colour, lit");
        return;
    }
    for (const char* opt : {"--bump", "--camera", "--light", "--object-tiles"})
        if (app.count(opt) > 0) throw CLI::ValidationError(opt, "applies to --object only");
}

// --size as the command reads it: a picture's height or a swatch's side, or bake's tile, whose
// width may differ from its height.
void ReadSize(const CLI::App& app, const OptionText& t, PreviewOptions& o) {
    const OptionRow* row = RowFor("--size", o.command);
    if (row == nullptr) return;
    if (app.count("--size") == 0) {
        o.size = static_cast<int>(*row->value);
        return;
    }
    int w = 0, h = 0;
    ParseSize(t.size, w, h);  // the form was checked as it was parsed
    if (w != h && o.command != Command::Bake)
        throw CLI::ValidationError(
            "--size", "'" + t.size + "': " +
                          (o.command == Command::Render ? "a render" : CommandName(o.command)) +
                          " takes one number; only bake takes W x H");
    for (const int side : {w, h})
        if (side < row->range.lo || side > row->range.hi)
            throw CLI::ValidationError(
                "--size", OutOfRange(std::to_string(side), row->range) +
                              (w != h ? " for each side of " + t.size : std::string()));
    o.size = h;
    o.width = w == h ? 0 : w;
}

// The checks that look at more than one option, or at the command, in the order they speak.
void CheckOptions(const CLI::App& app, const PreviewOptions& o, const OptionText& t) {
    CheckTaken(app, o.command);
    CheckPictureOptions(app, o, t);
    CheckCommandRanges(app, o);
    CheckObjectOptions(app);
    if (app.count("--out") > 0) {
        if (o.out.empty()) throw CLI::ValidationError("--out", "needs a file name");
        CheckOut(o.out, o.command);
    }
}

// An option or command that does not exist: most likely one almost right.
int RefuseUnknown(const CLI::App& app, const CLI::ExtrasError& e) {
    const std::vector<std::string> extra = app.remaining();
    const std::string word = extra.empty() ? std::string() : extra.front();
    if (word.empty()) return app.exit(e) == 0 ? kExitOk : kExitRefused;
    std::vector<std::string> names;
    for (const CLI::Option* opt : app.get_options())
        if (!LongName(*opt).empty()) names.push_back(LongName(*opt));
    for (const CommandRow& c : CommandTable())
        if (c.command != Command::Render) names.push_back(c.name);
    const bool option = word.rfind('-', 0) == 0;
    std::cerr << "quarel-preview: unknown " << (option ? "option " : "command ") << word << "; "
              << WithHint(DidYouMean(word.substr(0, word.find('=')), names),
                          "quarel-preview --help lists them")
              << "\n";
    return kExitRefused;
}

// Values the table gives per command, for options not given.
void ApplyCommandDefaults(const CLI::App& app, PreviewOptions& o) {
    for (const OptionRow* first : FirstRows()) {
        const OptionRow* row = RowFor(LongName(*first), o.command);
        if (row == nullptr || !row->value || app.count(LongName(*row)) > 0) continue;
        if (auto p = std::get_if<int PreviewOptions::*>(&row->target))
            o.** p = static_cast<int>(*row->value);
        else if (auto d = std::get_if<double PreviewOptions::*>(&row->target))
            o.** d = *row->value;
        else if (auto f = std::get_if<float PreviewOptions::*>(&row->target))
            o.** f = static_cast<float>(*row->value);
    }
}

// The option texts as fields: choices, the box, and the parameter values in the order they
// apply (the shorthands, then each --set).
void FillFromText(const CLI::App& app, const OptionText& t, PreviewOptions& o) {
    constexpr Output kOutputs[] = {Output::Color, Output::Mono,    Output::Cells, Output::Normal,
                                   Output::Bump,  Output::Perturb, Output::Height};
    for (Output candidate : kOutputs)
        if (t.output == OutputName(candidate)) o.output = candidate;
    o.projection = t.projection == "box" ? Projection::Box : Projection::Plane;
    o.normalFromOutput = t.normalSource == "output";
    if (!t.box.empty()) ParseBox(t.box, o.box);
    if (!t.camera.empty()) ParseNumbers(t.camera, 3, o.camera);
    if (!t.light.empty()) ParseNumbers(t.light, 2, o.light);
    for (const OptionRow* row : FirstRows()) {
        const std::string name = LongName(*row);
        if (*row->param == '\0' || app.count(name) == 0) continue;
        const std::string& value = t.shorthands.at(name);
        o.sets.emplace_back(row->param, value);
        o.setOrigins.push_back(name + " " + value);
    }
    for (const std::string& s : t.sets) {
        const std::size_t eq = s.find('=');
        o.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
        o.setOrigins.push_back("--set " + s);
    }
}

}  // namespace

const char* CommandName(Command c) {
    return CommandInfo(c).name;
}

std::string BakePrefix(const std::string& out) {
    if (out.size() > 4 && LowerCase(out.substr(out.size() - 4)) == ".png")
        return out.substr(0, out.size() - 4);
    return out;
}

bool ParseSize(const std::string& text, int& width, int& height) {
    const char* p = text.data();
    const char* end = p + text.size();
    const auto whole = [&](int& v) {
        if (p == end || *p < '0' || *p > '9') return false;
        const auto [next, ec] = std::from_chars(p, end, v);
        p = next;
        return ec == std::errc();
    };
    if (!whole(width)) return false;
    height = width;
    if (p != end && (*p == 'x' || *p == 'X')) {
        ++p;
        if (!whole(height)) return false;
    }
    return p == end;
}

bool ParseNumbers(const std::string& text, int count, std::vector<float>& out) {
    std::vector<float> v(static_cast<std::size_t>(count));
    const char* p = text.data();
    const char* end = p + text.size();
    for (int k = 0; k < count; ++k) {
        const auto [next, ec] = std::from_chars(p, end, v[static_cast<std::size_t>(k)]);
        if (ec != std::errc() || !std::isfinite(v[static_cast<std::size_t>(k)])) return false;
        p = next;
        if (k + 1 < count) {
            if (p == end || *p != ',') return false;
            ++p;
        }
    }
    if (p != end) return false;
    out = v;
    return true;
}

bool ParseBox(const std::string& text, Point3& box) {
    std::vector<float> v;
    if (!ParseNumbers(text, 3, v)) return false;
    for (const float side : v)
        if (side < 0.001f || side > 1000.f) return false;
    box = Point3(v[0], v[1], v[2]);
    return true;
}

namespace {

// One named number of a list against its range, as the user would type both.
struct ListPart {
    const char* name;
    OptionRange range;
};

std::string ListProblem(const std::string& text, const char* form,
                        std::initializer_list<ListPart> parts) {
    std::vector<float> v;
    if (!ParseNumbers(text, static_cast<int>(parts.size()), v))
        return "'" + text + "' is not " + form;
    std::size_t i = 0;
    for (const ListPart& part : parts) {
        const double x = v[i++];
        if (x < part.range.lo || x > part.range.hi)
            return std::string(part.name) + " " +
                   OutOfRange(NumberText(x, part.range.kind), part.range);
    }
    return {};
}

}  // namespace

std::string CameraProblem(const std::string& text) {
    constexpr auto kReal = OptionRange::Kind::Real;
    return ListProblem(text, "DISTANCE,AZIMUTH,ELEVATION, e.g. 3,-50,30",
                       {{"distance", {kReal, 1, 100}},
                        {"azimuth", {kReal, -360, 360}},
                        {"elevation", {kReal, -89, 89}}});
}

std::string LightProblem(const std::string& text) {
    constexpr auto kReal = OptionRange::Kind::Real;
    return ListProblem(text, "AZIMUTH,ELEVATION, e.g. -120,50",
                       {{"azimuth", {kReal, -360, 360}}, {"elevation", {kReal, -90, 90}}});
}

int ParseOptions(int argc, char** argv, PreviewOptions& o) {
    CLI::App app{
        "quarel-preview: loads QuarelMap.dlt as a host does and renders its map to PNG.\n"
        "With no arguments it writes a labelled sheet of every pattern into out/."};
    app.set_help_all_flag("--help-all", "Help for every subcommand, and the list of patterns");
    OptionText text;
    for (const OptionRow* row : FirstRows()) AddOption(app, *row, o, text);
    const std::vector<CLI::App*> subs = AddCommands(app);
    try {
        app.parse(argc, argv);
        for (std::size_t i = 0; i < subs.size(); ++i)
            if (subs[i] != nullptr && subs[i]->parsed()) o.command = CommandTable()[i].command;
        CheckOptions(app, o, text);
        ReadSize(app, text, o);
    } catch (const CLI::ExtrasError& e) {
        return RefuseUnknown(app, e);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) return app.exit(e) == 0 ? kExitOk : kExitRefused;
        std::cerr << "quarel-preview: " << e.what() << "\n";
        return kExitRefused;
    }
    FillFromText(app, text, o);
    if (argc <= 1) o.sheet = true;
    ApplyCommandDefaults(app, o);
    if (o.sheet && app.count("--size") == 0) o.size = 200;
    return -1;
}

}  // namespace QuarelPreview
