#include "preview/cli/param_table.h"

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

std::string OutOfRange(const ParamEntry& p, const std::string& value) {
    return value + " is out of range: " + p.name + " takes " + DescribeRange(p, false);
}

}  // namespace

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
            if (def.internalName == nullptr) continue;
            const std::string name = std::string(prefix) + Narrow(def.internalName);
            if (Find(name) != nullptr) continue;  // an earlier block owns the name
            auto e = std::make_unique<ParamEntry>();
            e->name = name;
            e->prefix = prefix;
            e->block = desc->ID;
            e->id = def.id;
            e->type = def.type;
            e->hasRange = def.HasRange();
            if (e->hasRange) {
                const bool isInt = def.type == TYPE_INT;
                e->lo = isInt ? def.rangeLow.i : def.rangeLow.f;
                e->hi = isInt ? def.rangeHigh.i : def.rangeHigh.f;
            }
            if (cd2 != nullptr)
                for (StringResID item : def.comboItems)
                    e->items.push_back(Narrow(cd2->GetRsrcString(item)));
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

bool CheckInt(const ParamEntry& p, long long v, ParamValue& out, std::string& error) {
    if (p.type != TYPE_INT) {
        // An integer is a number too.
        return CheckFloat(p, static_cast<double>(v), out, error);
    }
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max() ||
        (p.hasRange && (v < p.lo || v > p.hi))) {
        error = OutOfRange(p, std::to_string(v));
        return false;
    }
    out = ParamValue{};
    out.kind = ParamValue::Kind::Int;
    out.i = static_cast<int>(v);
    return true;
}

bool CheckFloat(const ParamEntry& p, double v, ParamValue& out, std::string& error) {
    if (p.type == TYPE_INT) {
        if (!std::isfinite(v) || v != std::floor(v)) {
            error =
                Number(v) + " is not an integer: " + p.name + " takes " + DescribeRange(p, false);
            return false;
        }
        if (std::fabs(v) > 1e18) {
            error = OutOfRange(p, Number(v));
            return false;
        }
        return CheckInt(p, static_cast<long long>(v), out, error);
    }
    if (p.type != TYPE_FLOAT && p.type != TYPE_ANGLE) {
        error = p.name + " takes " + DescribeRange(p, false) + ", not the number " + Number(v);
        return false;
    }
    // The block stores floats: compare as stored, so that 0.9 meets a limit of 0.9f.
    const float f = static_cast<float>(v);
    if (!std::isfinite(v) || !std::isfinite(f) ||
        (p.hasRange && (f < static_cast<float>(p.lo) || f > static_cast<float>(p.hi)))) {
        error = OutOfRange(p, Number(v));
        return false;
    }
    out = ParamValue{};
    out.kind = ParamValue::Kind::Float;
    out.f = p.type == TYPE_ANGLE ? static_cast<float>(static_cast<double>(f) * (M_PI / 180.0)) : f;
    return true;
}

bool CheckColor(const ParamEntry& p, const double rgb[3], ParamValue& out, std::string& error) {
    for (int k = 0; k < 3; ++k) {
        if (!(rgb[k] >= 0.0 && rgb[k] <= 1.0)) {
            error = Number(rgb[k]) + " is out of range: " + p.name + " takes " +
                    DescribeRange(p, false);
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
