#include "preview/common/param_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace QuarelPreview {

namespace {

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

template <typename T>
bool ParseWhole(std::string_view s, T& v) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, v);
    return !s.empty() && ec == std::errc() && ptr == end;
}

std::string Quoted(std::string_view s) {
    // Appended piece by piece: GCC 12 warns falsely on "'" + std::string at -O3.
    std::string out(1, '\'');
    out.append(s);
    out += '\'';
    return out;
}

std::string OutOfRange(const ParamEntry& p, const std::string& value, bool json) {
    return value + " is out of range: " + p.name + " takes " + DescribeRange(p, json);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Edit distance counting an insertion, a deletion, a change or a swap of two neighbours as one
// (optimal string alignment): "bkae" is one step from "bake".
std::size_t EditDistance(std::string_view a, std::string_view b) {
    const std::size_t w = b.size() + 1;
    std::vector<std::size_t> d((a.size() + 1) * w);
    for (std::size_t i = 0; i <= a.size(); ++i) d[i * w] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t best = std::min({d[(i - 1) * w + j] + 1, d[i * w + j - 1] + 1,
                                         d[(i - 1) * w + j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                best = std::min(best, d[(i - 2) * w + j - 2] + 1);
            d[i * w + j] = best;
        }
    }
    return d[a.size() * w + b.size()];
}

// The declared default in the form --set takes.
std::string DefaultText(const ParamEntry& e, const PB2Value& def) {
    switch (e.type) {
        case TYPE_INT:
            if (def.i >= 0 && static_cast<std::size_t>(def.i) < e.items.size())
                return e.items[static_cast<std::size_t>(def.i)];
            return std::to_string(def.i);
        case TYPE_BOOL:
            return def.i != 0 ? "true" : "false";
        case TYPE_FLOAT:
            return Number(def.f);
        case TYPE_ANGLE:
            return Number(def.f * 180.0 / M_PI);
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3:
            if (def.p == nullptr) return "0,0,0";
            return Number(def.p->x) + "," + Number(def.p->y) + "," + Number(def.p->z);
        case TYPE_TEXMAP:
            return "none";
        default:
            return {};
    }
}

struct Description {
    const char* name;
    const char* text;
};
// What each parameter does, in a user's words. Names the table lacks fall back to the label.
constexpr Description kDescriptions[] = {
    {"pattern", "laying pattern (quarel-preview patterns lists them)"},
    {"projection_mode", "Simple: the UV coordinates; Accurate: bricks wrap round the object's box"},
    {"nx",
     "bricks across one tile of the pattern; Herringbone: planks of one size when "
     "nx and ny round up to the same multiple of 3 (equal counts); Hexagons: regular "
     "when ny is 0.866 nx (e.g. 22 and 19; nx even for a seamless tile); bonds: a "
     "brick is ny/nx as long as high on a square tile"},
    {"ny", "brick rows up one tile of the pattern (how it shapes the bricks: see nx)"},
    {"gap_u", "width of the vertical joints, a fraction of a brick"},
    {"gap_v", "width of the horizontal joints, a fraction of a brick"},
    {"brick_color", "colour of the bricks"},
    {"brick_color_2", "colour of the second brick set (and of random second bricks)"},
    {"grout_color", "colour of the joints"},
    {"brick_map", "map shown on each brick instead of its colour, laid out once per brick"},
    {"brick_map_2", "map of the second brick set"},
    {"grout_map", "map shown in the joints"},
    {"brick_map_on", "use brick_map"},
    {"brick_map_2_on", "use brick_map_2"},
    {"grout_map_on", "use grout_map"},
    {"color_variance",
     "how far each brick's brightness varies from the seed; the relief "
     "heights follow the colour, so it also lowers some bricks"},
    {"random_shift", "random shift of each row, a fraction of a brick"},
    {"seed", "seed of every per-brick variation"},
    {"random_second_color_on", "some bricks, chosen from the seed, take the second colour"},
    {"random_texture_rotation_step",
     "turns each brick's map by a random multiple of this many degrees (0: none)"},
    {"hue_shift",
     "how far each brick's hue varies, in turns; the relief heights follow "
     "the colour, so it also changes them"},
    {"random_fragment_on", "each brick shows its own random window of its map"},
    {"fragment_size", "size of that window, a fraction of the map"},
    {"brick_u_tiling", "repeats of the brick map along each brick"},
    {"brick_v_tiling", "repeats of the brick map across each brick"},
    {"brick_u_offset", "offset of the brick map along each brick"},
    {"brick_v_offset", "offset of the brick map across each brick"},
    {"brick_angle", "turn of the brick map on each brick, in degrees"},
    {"master_u_tiling", "repeats of the whole pattern along u"},
    {"master_v_tiling", "repeats of the whole pattern along v"},
    {"master_u_offset", "offset of the whole pattern along u"},
    {"master_v_offset", "offset of the whole pattern along v"},
    {"master_angle", "turn of the whole pattern, in degrees"},
    {"seamless_bricks",
     "a brick that the tile's edge cuts is one brick: one colour, variance, hue, second colour, "
     "map rotation, fragment, map coordinates, id and height on both sides (bake: on unless set)"},
    {"bevel_width",
     "relief: how far in from the joint each brick's edge slopes down to the joint, a fraction "
     "of the brick's smaller side (0: a sharp step; 0.05 to 0.15 reads as worn brick; 0.5: the "
     "whole brick is bevel); shapes the heights of the map's own bump, the normal and bump "
     "outputs, the legacy bump map, the preview's height output and the bake"},
    {"bevel_profile",
     "relief: the bevel's cross-section: Linear (a chamfer), Round (a quarter circle, steep at "
     "the joint) or Smooth (level at both ends)"},
    {"corner_radius",
     "rounds every brick's corners, a fraction of the brick's smaller side (0: square; 0.5: "
     "fully round ends); the joint widens there, and colour, ids, maps and relief follow the "
     "rounded outline"},
    {"missing_bricks",
     "percent of the bricks left out, chosen from the seed (whole bricks with seamless_bricks): "
     "their place shows the grout's colour or map, the grout's height in every relief output, "
     "and grout in the cells output and the bake's id map"},
    {"height_variance",
     "each brick sinks by a random share, up to this, of its height above the grout: height, "
     "normal, bump and the map's own bump; no brick rises, colours stay"},
    {"tilt_variance",
     "each brick's top slopes down in a random direction, dropping by up to this share of "
     "its height above the grout across the brick, bevel included: height, normal, bump "
     "and the map's own bump; colours stay"},
    {"edge_noise",
     "how far the joints wander, the same in colour, relief, cells and ids; repeats "
     "with the tile; a joint keeps at least 1/(1 + 0.75 edge_noise) of its width"},
    {"edge_noise_scale",
     "length of the joints' waves in bricks (of the finer count); longer waves also wander "
     "further"},
    {"bump_brick_color", "relief: grey height of the bricks for the map's own bump"},
    {"bump_brick_color_2", "relief: grey height of the second brick set"},
    {"bump_grout_color", "relief: grey height of the joints"},
    {"normal_depth",
     "relief: strength of the map's own bump; read only when the map has no "
     "normal output (older scenes); set normal.normal_depth"},
    {"relief_tex_amount",
     "relief: how much the nested maps add to the heights (0 to 1); "
     "read only when the map has no normal output (older scenes); set "
     "normal.relief_tex_amount"},
    {"normal.normal_depth",
     "normal output: the depth its slopes stand against: larger gives flatter normals, smaller "
     "steeper ones"},
    {"normal.relief_tex_amount", "normal output: how much the nested maps add to the heights"},
    {"bump.brick_color", "bump output: grey height of the bricks"},
    {"bump.brick_color_2", "bump output: grey height of the second brick set"},
    {"bump.grout_color", "bump output: grey height of the joints"},
    {"bump.bump_map", "bump output: a map added to its heights"},
    {"bump.bump_map_on", "bump output: use bump_map"},
    {"bump.depth", "bump output: strength of its perturbation"},
    {"bump.tex_relief", "bump output: how much the nested maps add to the heights"},
};

}  // namespace

std::string ParamDescription(const ParamEntry& p) {
    for (const Description& d : kDescriptions)
        if (p.name == d.name) return d.text;
    return p.label;
}

std::string Narrow(const MCHAR* text) {
    std::string out;
    if (text == nullptr) return out;
    for (; *text; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

void ParamTable::AddClass(ClassDesc* cd, std::string_view prefix) {
    auto* cd2 = dynamic_cast<ClassDesc2*>(cd);
    for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
        const ParamBlockDesc2* desc = cd->GetParamBlockDesc(b);
        if (desc == nullptr) continue;
        for (int i = 0; i < desc->Count(); ++i) {
            const ParamDef& def = desc->GetParamDefByIndex(i);
            if (def.int_name == nullptr) continue;
            const std::string name = std::string(prefix) + Narrow(def.int_name);
            if (Find(name) != nullptr) continue;  // an earlier block owns the name
            auto e = std::make_unique<ParamEntry>();
            e->name = name;
            e->prefix = prefix;
            e->block = desc->ID;
            e->id = def.ID;
            e->type = def.type;
            e->hasRange = (def.flags & P_HAS_RANGE) != 0;
            if (e->hasRange) {
                const bool isInt = static_cast<int>(def.type) == TYPE_INT;
                e->lo = isInt ? def.range_low.i : def.range_low.f;
                e->hi = isInt ? def.range_high.i : def.range_high.f;
            }
            if (cd2 != nullptr) {
                for (int k = 0; def.mStringItems && k < def.mStringItems->Count(); ++k)
                    e->items.push_back(Narrow(cd2->GetRsrcString((*def.mStringItems)[k])));
                if (def.local_name != 0) e->label = Narrow(cd2->GetRsrcString(def.local_name));
            }
            e->defaultText = DefaultText(*e, def.def);
            mEntries.push_back(std::move(e));
        }
    }
}

bool ParamTable::HasPrefix(std::string_view prefix) const {
    for (const auto& e : mEntries)
        if (!e->prefix.empty() && e->prefix == prefix) return true;
    return false;
}

const ParamEntry* ParamTable::Find(std::string_view name) const {
    for (const auto& e : mEntries)
        if (e->name == name) return e.get();
    return nullptr;
}

std::string DescribeRange(const ParamEntry& p, bool json) {
    std::string range;
    if (p.hasRange) range = " from " + Number(p.lo) + " to " + Number(p.hi);
    switch (p.type) {
        case TYPE_INT:
            if (!p.items.empty() && !p.items[0].empty())
                return "an id" + range + " or a name such as \"" + p.items[0] + "\"";
            return "an integer" + range;
        case TYPE_ANGLE:
            return "an angle in degrees" + range;
        case TYPE_BOOL:
            return "true or false";
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3:
            return json ? "a colour [r, g, b] with each part from 0 to 1"
                        : "a colour r,g,b with each part from 0 to 1";
        case TYPE_TEXMAP:
            return "a map given in a preset: {\"map\": \"bitmap\" | \"checker\" | \"multisub\", "
                   "...} or null";
        default:
            return "a number" + range;
    }
}

int FindItem(const ParamEntry& p, std::string_view text) {
    text = Trim(text);
    for (std::size_t i = 0; i < p.items.size(); ++i)
        if (!p.items[i].empty() && EqualsIgnoringCase(p.items[i], text)) return static_cast<int>(i);
    return -1;
}

// Whether `word` begins `name` or one of its words ("flemish" of "common flemish").
static bool StartsAWord(const std::string& name, const std::string& word) {
    for (std::size_t at = 0; at < name.size(); at = name.find(' ', at) + 1) {
        if (name.compare(at, word.size(), word) == 0) return true;
        if (name.find(' ', at) == std::string::npos) break;
    }
    return false;
}

std::vector<std::string> ClosestNames(std::string_view word,
                                      const std::vector<std::string>& candidates) {
    const std::string w = Lower(Trim(word));
    if (w.empty()) return {};
    // Near: at most a third of the word's letters wrong (at least one, at most three).
    const std::size_t limit = std::clamp<std::size_t>(w.size() / 3, 1, 3);
    std::vector<std::pair<std::size_t, std::string>> closest;
    for (const std::string& c : candidates) {
        if (c.empty()) continue;
        const std::string lc = Lower(c);
        std::size_t d = EditDistance(w, lc);
        if (w.size() >= 3 && StartsAWord(lc, w)) d = std::min<std::size_t>(d, 1);
        if (d <= limit) closest.emplace_back(d, c);
    }
    std::stable_sort(closest.begin(), closest.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [d, c] : closest)
        if (out.size() < 3 && std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
    return out;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates) {
    const std::vector<std::string> names = ClosestNames(word, candidates);
    if (names.empty()) return {};
    std::string out = "did you mean ";
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + ("\"" + names[i] + "\"");
    return out + "? ";
}

std::string WithHint(const std::string& suggestion, const std::string& where) {
    return suggestion.empty() ? where : suggestion + "(" + where + ")";
}

std::string UnknownParamHint(const ParamTable& table, std::string_view name) {
    std::vector<std::string> names;
    for (const auto& e : table.Entries()) names.push_back(e->name);
    return WithHint(DidYouMean(name, names), "quarel-preview params lists them");
}

std::string UnknownItemHint(const ParamEntry& p, std::string_view text) {
    std::string hint = DidYouMean(text, p.items);
    if (p.name == "pattern") return WithHint(hint, "quarel-preview patterns lists them");
    std::string list;
    for (std::size_t i = 0; i < p.items.size(); ++i)
        list += (i == 0                    ? ""
                 : i + 1 == p.items.size() ? " or "
                                           : ", ") +
                ("\"" + p.items[i] + "\"");
    return WithHint(hint, p.name + " takes " + list + ", or the id");
}

bool CheckInt(const ParamEntry& p, long long v, ParamValue& out, std::string& error, bool json) {
    if (p.type != TYPE_INT) {
        // An integer is a number too.
        return CheckFloat(p, static_cast<double>(v), out, error, json);
    }
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max() ||
        (p.hasRange && (v < p.lo || v > p.hi))) {
        error = OutOfRange(p, std::to_string(v), json);
        return false;
    }
    out = ParamValue{};
    out.kind = ParamValue::Kind::Int;
    out.i = static_cast<int>(v);
    return true;
}

bool CheckFloat(const ParamEntry& p, double v, ParamValue& out, std::string& error, bool json) {
    if (p.type == TYPE_INT) {
        if (!std::isfinite(v) || v != std::floor(v)) {
            error =
                Number(v) + " is not an integer: " + p.name + " takes " + DescribeRange(p, json);
            return false;
        }
        if (std::fabs(v) > 1e18) {
            error = OutOfRange(p, Number(v), json);
            return false;
        }
        return CheckInt(p, static_cast<long long>(v), out, error, json);
    }
    if (p.type != TYPE_FLOAT && p.type != TYPE_ANGLE) {
        error = p.name + " takes " + DescribeRange(p, json) + ", not the number " + Number(v);
        return false;
    }
    // The block stores floats: compare as stored, so that 0.9 meets a limit of 0.9f.
    const float f = static_cast<float>(v);
    if (!std::isfinite(v) || !std::isfinite(f) ||
        (p.hasRange && (f < static_cast<float>(p.lo) || f > static_cast<float>(p.hi)))) {
        error = OutOfRange(p, Number(v), json);
        return false;
    }
    out = ParamValue{};
    out.kind = ParamValue::Kind::Float;
    out.f = p.type == TYPE_ANGLE ? static_cast<float>(static_cast<double>(f) * (M_PI / 180.0)) : f;
    return true;
}

bool CheckColor(const ParamEntry& p, const double rgb[3], ParamValue& out, std::string& error,
                bool json) {
    for (int k = 0; k < 3; ++k) {
        if (!(rgb[k] >= 0.0 && rgb[k] <= 1.0)) {
            error =
                Number(rgb[k]) + " is out of range: " + p.name + " takes " + DescribeRange(p, json);
            return false;
        }
    }
    out = ParamValue{};
    out.kind = ParamValue::Kind::Color;
    out.c =
        Color(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]), static_cast<float>(rgb[2]));
    return true;
}

bool ParseParamText(const ParamEntry& p, std::string_view text, ParamValue& out,
                    std::string& error) {
    const std::string_view t = Trim(text);
    const auto wrongType = [&] {
        error = Quoted(t) + " is not valid: " + p.name + " takes " + DescribeRange(p, false);
        return false;
    };
    switch (p.type) {
        case TYPE_INT: {
            long long v = 0;
            if (ParseWhole(t, v)) return CheckInt(p, v, out, error);
            const int item = FindItem(p, t);
            if (item >= 0) return CheckInt(p, item, out, error);
            if (!p.items.empty()) {
                error = Quoted(t) + " is not valid: " + p.name + " takes " +
                        DescribeRange(p, false) + "; " + UnknownItemHint(p, t);
                return false;
            }
            return wrongType();
        }
        case TYPE_FLOAT:
        case TYPE_ANGLE: {
            double v = 0.0;
            if (!ParseWhole(t, v)) return wrongType();
            return CheckFloat(p, v, out, error);
        }
        case TYPE_BOOL:
            out = ParamValue{};
            out.kind = ParamValue::Kind::Bool;
            if (t == "true") return out.i = 1, true;
            if (t == "false") return out.i = 0, true;
            return wrongType();
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3: {
            double rgb[3];
            std::string_view rest = t;
            for (int k = 0; k < 3; ++k) {
                const std::size_t comma = k < 2 ? rest.find(',') : std::string_view::npos;
                if (k < 2 && comma == std::string_view::npos) return wrongType();
                if (!ParseWhole(rest.substr(0, comma), rgb[k])) return wrongType();
                if (k < 2) rest.remove_prefix(comma + 1);
            }
            return CheckColor(p, rgb, out, error);
        }
        case TYPE_TEXMAP:
            error = p.name + " is a map: give it in a preset (--preset FILE)";
            return false;
        default:
            error = p.name + " cannot be set by the preview";
            return false;
    }
}

}  // namespace QuarelPreview
