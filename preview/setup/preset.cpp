#include "preview/setup/preset.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace QuarelPreview {

namespace {

using Json = nlohmann::ordered_json;

std::string Where(const std::string& origin, const std::string& key) {
    return origin + ": \"" + key + "\": ";
}

// JSON text of a value, shortened for messages.
std::string Show(const Json& v) {
    std::string s = v.dump();
    if (s.size() > 40) s = s.substr(0, 37) + "...";
    return s;
}

bool ReadNumber(const Json& v, double& out) {
    if (!v.is_number()) return false;
    out = v.get<double>();
    return true;
}

bool ReadColor(const Json& v, double rgb[3]) {
    if (!v.is_array() || v.size() != 3) return false;
    for (int k = 0; k < 3; ++k)
        if (!ReadNumber(v[static_cast<std::size_t>(k)], rgb[k])) return false;
    return true;
}

class MapReader {
public:
    MapReader(const std::string& baseDir, std::string& error) : mBaseDir(baseDir), mError(error) {}

    // `where` prefixes messages; depth counts the maps around this one.
    std::shared_ptr<const MapRecipe> Read(const Json& v, const std::string& where, int depth) {
        if (depth >= kMaxMapDepth) {
            return Fail(where + "maps nest more than " + std::to_string(kMaxMapDepth) + " deep");
        }
        if (!v.is_object() || !v.contains("map") || !v["map"].is_string())
            return Fail(where +
                        "a map is an object with \"map\": \"bitmap\", \"checker\", "
                        "\"color\" or \"multisub\", not " +
                        Show(v));
        auto recipe = std::make_shared<MapRecipe>();
        const std::string kind = v["map"].get<std::string>();
        bool ok = false;
        if (kind == "bitmap") {
            ok = ReadBitmap(v, where, *recipe);
        } else if (kind == "color") {
            ok = ReadColorMap(v, where, *recipe);
        } else if (kind == "checker") {
            ok = ReadChecker(v, where, *recipe);
        } else if (kind == "multisub") {
            ok = ReadMultiSub(v, where, depth, *recipe);
        } else {
            return Fail(
                where + "unknown map \"" + kind +
                "\": the preview offers \"bitmap\", \"checker\", \"color\" and \"multisub\"");
        }
        if (!ok) return nullptr;
        if (v.contains("tiling") && !Tiling(v["tiling"], where, *recipe)) return nullptr;
        return recipe;
    }

private:
    bool ReadBitmap(const Json& v, const std::string& where, MapRecipe& recipe) {
        recipe.kind = MapRecipe::Kind::Bitmap;
        if (!Allow(v, where, {"map", "file", "tiling"})) return false;
        if (!v.contains("file") || !v["file"].is_string() || v["file"].get<std::string>().empty())
            return Refuse(where + "a bitmap needs \"file\": the path of a PNG image");
        std::filesystem::path file(v["file"].get<std::string>());
        if (file.is_relative() && !mBaseDir.empty()) file = std::filesystem::path(mBaseDir) / file;
        recipe.file = file.lexically_normal().string();
        return true;
    }

    // One colour: the host's checker with both squares alike.
    bool ReadColorMap(const Json& v, const std::string& where, MapRecipe& recipe) {
        recipe.kind = MapRecipe::Kind::Checker;
        if (!Allow(v, where, {"map", "color"})) return false;
        if (!v.contains("color")) return Refuse(where + "a color map needs \"color\": [r, g, b]");
        if (!Colour(v, "color", where, recipe.color1)) return false;
        recipe.color2 = recipe.color1;
        return true;
    }

    bool ReadChecker(const Json& v, const std::string& where, MapRecipe& recipe) {
        recipe.kind = MapRecipe::Kind::Checker;
        if (!Allow(v, where, {"map", "color1", "color2", "tiling"})) return false;
        return Colour(v, "color1", where, recipe.color1) &&
               Colour(v, "color2", where, recipe.color2);
    }

    bool ReadMultiSub(const Json& v, const std::string& where, int depth, MapRecipe& recipe) {
        recipe.kind = MapRecipe::Kind::MultiSub;
        if (!Allow(v, where, {"map", "by", "count", "maps"})) return false;
        if (v.contains("by")) {
            const Json& by = v["by"];
            const std::string s = by.is_string() ? by.get<std::string>() : std::string();
            if (s == "node")
                recipe.by = 0;
            else if (s == "face")
                recipe.by = 1;
            else if (s == "material")
                recipe.by = 2;
            else
                return Refuse(where + "\"by\" is \"node\", \"face\" or \"material\", not " +
                              Show(by));
        }
        if (v.contains("count")) {
            const Json& c = v["count"];
            if (!c.is_number_integer() || c.get<long long>() < 1 || c.get<long long>() > 1000)
                return Refuse(where + "\"count\" takes an integer from 1 to 1000, not " + Show(c));
            recipe.count = static_cast<int>(c.get<long long>());
        }
        return !v.contains("maps") || ReadSubMaps(v["maps"], where, depth, recipe);
    }

    bool ReadSubMaps(const Json& maps, const std::string& where, int depth, MapRecipe& recipe) {
        if (!maps.is_array() || maps.size() > static_cast<std::size_t>(recipe.count))
            return Refuse(where + "\"maps\" is an array of at most \"count\" (" +
                          std::to_string(recipe.count) + ") maps or nulls");
        for (std::size_t i = 0; i < maps.size(); ++i) {
            if (maps[i].is_null()) {
                recipe.maps.push_back(nullptr);
                continue;
            }
            auto sub = Read(maps[i], where + "maps[" + std::to_string(i) + "]: ", depth + 1);
            if (!sub) return false;
            recipe.maps.push_back(std::move(sub));
        }
        return true;
    }

    std::nullptr_t Fail(const std::string& message) {
        mError = message;
        return nullptr;
    }
    bool Refuse(const std::string& message) {
        mError = message;
        return false;
    }

    bool Allow(const Json& v, const std::string& where, std::initializer_list<const char*> keys) {
        for (const auto& item : v.items()) {
            bool known = false;
            for (const char* k : keys) known = known || item.key() == k;
            if (!known) {
                std::string list;
                for (const char* k : keys) list += std::string(list.empty() ? "" : ", ") + k;
                mError = where + "unknown key \"" + item.key() + "\" in a " +
                         v["map"].get<std::string>() + " map (it takes " + list + ")";
                return false;
            }
        }
        return true;
    }

    bool Colour(const Json& v, const char* key, const std::string& where, Color& out) {
        if (!v.contains(key)) return true;
        double rgb[3];
        if (!ReadColor(v[key], rgb) || !(rgb[0] >= 0 && rgb[0] <= 1) ||
            !(rgb[1] >= 0 && rgb[1] <= 1) || !(rgb[2] >= 0 && rgb[2] <= 1)) {
            mError = where + "\"" + key +
                     "\" takes a colour [r, g, b] with each part from 0 to 1, not " + Show(v[key]);
            return false;
        }
        out = Color(static_cast<float>(rgb[0]), static_cast<float>(rgb[1]),
                    static_cast<float>(rgb[2]));
        return true;
    }

    bool Tiling(const Json& t, const std::string& where, MapRecipe& recipe) {
        double uv[2] = {0.0, 0.0};
        bool ok = false;
        if (ReadNumber(t, uv[0])) {
            uv[1] = uv[0];
            ok = true;
        } else if (t.is_array() && t.size() == 2) {
            ok = ReadNumber(t[0], uv[0]) && ReadNumber(t[1], uv[1]);
        }
        for (double x : uv) ok = ok && std::fabs(x) >= 0.001 && std::fabs(x) <= 1000.0;
        if (!ok) {
            mError = where +
                     "\"tiling\" takes a number or [u, v], each from 0.001 to 1000 "
                     "(or -1000 to -0.001), not " +
                     Show(t);
            return false;
        }
        recipe.tileU = static_cast<float>(uv[0]);
        recipe.tileV = static_cast<float>(uv[1]);
        return true;
    }

    const std::string& mBaseDir;
    std::string& mError;
};

// A preset value checked against its parameter.
bool ReadValue(const ParamEntry& p, const Json& v, const std::string& where,
               const std::string& baseDir, ParamValue& out, std::string& error) {
    const auto wrongType = [&] {
        error = where + p.name + " takes " + DescribeRange(p, true) + ", not " + Show(v);
        return false;
    };
    std::string why;
    bool ok = false;
    switch (p.type) {
        case TYPE_INT:
            if (v.is_string()) {
                const int item = FindItem(p, v.get<std::string>());
                if (item < 0 && !p.items.empty()) {
                    error = where + Show(v) + " is not valid: " + p.name + " takes " +
                            DescribeRange(p, true) + "; " +
                            UnknownItemHint(p, v.get<std::string>());
                    return false;
                }
                if (item < 0) return wrongType();
                ok = CheckInt(p, item, out, why, true);
            } else if (v.is_number_unsigned() && v.get<unsigned long long>() > (1ull << 62)) {
                ok = CheckFloat(p, v.get<double>(), out, why, true);
            } else if (v.is_number_integer()) {
                ok = CheckInt(p, v.get<long long>(), out, why, true);
            } else if (v.is_number()) {
                ok = CheckFloat(p, v.get<double>(), out, why, true);
            } else {
                return wrongType();
            }
            break;
        case TYPE_FLOAT:
        case TYPE_ANGLE:
            if (!v.is_number()) return wrongType();
            ok = CheckFloat(p, v.get<double>(), out, why, true);
            break;
        case TYPE_BOOL:
            if (!v.is_boolean()) return wrongType();
            out = ParamValue{};
            out.kind = ParamValue::Kind::Bool;
            out.i = v.get<bool>() ? 1 : 0;
            return true;
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3: {
            double rgb[3];
            if (!ReadColor(v, rgb)) return wrongType();
            ok = CheckColor(p, rgb, out, why, true);
            break;
        }
        case TYPE_TEXMAP: {
            out = ParamValue{};
            out.kind = ParamValue::Kind::Map;
            if (v.is_null()) return true;
            MapReader reader(baseDir, error);
            out.map = reader.Read(v, where, 0);
            return out.map != nullptr;
        }
        default:
            error = where + p.name + " cannot be set by the preview";
            return false;
    }
    if (!ok) error = where + why;
    return ok;
}

// The first key that an object of `text` (valid JSON) repeats, with its place; the parser would
// keep one of the two values without a word.
bool FindDuplicateKey(std::string_view text, const std::string& origin, std::string& error) {
    struct Level {
        bool object = false;
        bool expectKey = false;
        std::vector<std::string> keys;
    };
    std::vector<Level> levels;
    std::size_t line = 1, column = 1;
    for (std::size_t i = 0; i < text.size(); ++i, ++column) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            column = 0;
        } else if (c == '{' || c == '[') {
            levels.push_back(Level{c == '{', c == '{', {}});
        } else if ((c == '}' || c == ']') && !levels.empty()) {
            levels.pop_back();
        } else if (c == ',' && !levels.empty() && levels.back().object) {
            levels.back().expectKey = true;
        } else if (c == '"') {
            const std::size_t start = i, startColumn = column;
            for (++i; i < text.size() && text[i] != '"'; ++i)
                if (text[i] == '\\') ++i;
            column += i - start;
            if (levels.empty() || !levels.back().expectKey) continue;
            Level& level = levels.back();
            level.expectKey = false;
            std::string key;
            try {
                key = Json::parse(text.substr(start, i + 1 - start)).get<std::string>();
            } catch (const Json::exception&) {
                continue;  // cannot happen for text the parser took
            }
            if (std::find(level.keys.begin(), level.keys.end(), key) != level.keys.end()) {
                error = origin + ":" + std::to_string(line) + ":" + std::to_string(startColumn) +
                        ": \"" + key + "\" is given twice in one object";
                return true;
            }
            level.keys.push_back(std::move(key));
        }
    }
    return false;
}

// "origin:line:column" of a byte offset (1-based, as the parser counts).
std::string Position(const std::string& origin, std::string_view text, std::size_t byte) {
    std::size_t line = 1, column = 1;
    const std::size_t end = byte > 0 ? std::min(byte - 1, text.size()) : 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return origin + ":" + std::to_string(line) + ":" + std::to_string(column);
}

}  // namespace

bool ParsePreset(std::string_view text, const ParamTable& table, const std::string& origin,
                 const std::string& baseDir, std::vector<Assignment>& out, std::string& error) {
    if (text.size() > kMaxPresetBytes) {
        error = origin + ": a preset is at most " + std::to_string(kMaxPresetBytes) + " bytes";
        return false;
    }
    Json doc;
    try {
        doc = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        // The library's own text after its position prefix says what it expected.
        std::string what = e.what();
        const std::size_t col = what.find("column ");
        const std::size_t colon = col == std::string::npos ? col : what.find(": ", col);
        if (colon != std::string::npos) what = what.substr(colon + 2);
        error = Position(origin, text, e.byte) + ": malformed JSON: " + what;
        return false;
    } catch (const Json::exception& e) {
        // A number beyond every range, for one; the library gives no position for it.
        std::string what = e.what();
        const std::size_t close = what.find("] ");
        if (close != std::string::npos) what = what.substr(close + 2);
        error = origin + ": malformed JSON: " + what;
        return false;
    }
    if (!doc.is_object()) {
        error = origin + ": a preset is a JSON object of parameter names and values";
        return false;
    }
    if (FindDuplicateKey(text, origin, error)) return false;
    std::vector<Assignment> read;
    // One member: a comment, or a parameter named `key`.
    const auto readOne = [&](const std::string& key, const Json& value, bool comment) {
        if (comment) {
            if (value.is_string()) return true;
            error = Where(origin, key) + "a comment is a string";
            return false;
        }
        const ParamEntry* p = table.Find(key);
        if (p == nullptr) {
            error = Where(origin, key) + "unknown parameter; " + UnknownParamHint(table, key);
            return false;
        }
        Assignment a;
        a.param = p;
        a.origin = origin;
        if (!ReadValue(*p, value, Where(origin, key), baseDir, a.value, error)) return false;
        read.push_back(std::move(a));
        return true;
    };
    for (const auto& item : doc.items()) {
        const std::string& key = item.key();
        const std::string group = key + ".";
        if (table.Find(key) == nullptr && item.value().is_object() && table.HasPrefix(group)) {
            // A relief output's own block, e.g. {"normal": {"normal_depth": 2}}.
            for (const auto& member : item.value().items())
                if (!readOne(group + member.key(), member.value(), member.key() == "comment"))
                    return false;
            continue;
        }
        if (!readOne(key, item.value(), key == "comment")) return false;
    }
    out.insert(out.end(), std::make_move_iterator(read.begin()),
               std::make_move_iterator(read.end()));
    return true;
}

bool LoadPresetFile(const std::string& path, const ParamTable& table, std::vector<Assignment>& out,
                    std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "cannot read preset '" + path + "': it is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read preset '" + path + "': " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        error = "cannot read preset '" + path + "'";
        return false;
    }
    const std::string baseDir = std::filesystem::path(path).parent_path().string();
    return ParsePreset(text.str(), table, path, baseDir, out, error);
}

}  // namespace QuarelPreview
