#include "preset_mutator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace preset_fuzz {

namespace {

using Kind = Value::Kind;

// How deep generated map recipes may reach, in values: deeper than readers are likely to take.
constexpr int kRecipeDepth = 24;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Bare words are read whole, so that "nan", "01" and "1e999" stay one number each.
bool IsWordChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '+' ||
           c == '-' || c == '.';
}

class Reader {
public:
    explicit Reader(std::string_view text) : mText(text) {}

    bool Document(Value& out) {
        Space();
        if (!Read(out, 0)) return false;
        Space();
        return mAt == mText.size();
    }

private:
    char Peek() const { return mAt < mText.size() ? mText[mAt] : '\0'; }
    void Space() {
        while (mAt < mText.size() && IsSpace(mText[mAt])) ++mAt;
    }

    // The text between a pair of quotes, escapes left as they are.
    bool Quoted(std::string& out) {
        const std::size_t start = ++mAt;
        while (mAt < mText.size() && mText[mAt] != '"') mAt += mText[mAt] == '\\' ? 2 : 1;
        if (mAt >= mText.size()) return false;
        out.assign(mText.substr(start, mAt - start));
        ++mAt;
        return true;
    }

    bool Read(Value& v, int depth) {
        if (depth >= kMaxDepth) return false;
        v.keys.clear();
        v.items.clear();
        switch (Peek()) {
            case '{':
                return List(v, Kind::Object, '}', depth);
            case '[':
                return List(v, Kind::Array, ']', depth);
            case '"':
                v.kind = Kind::String;
                return Quoted(v.text);
            default:
                return Word(v);
        }
    }

    bool Word(Value& v) {
        const std::size_t start = mAt;
        while (mAt < mText.size() && IsWordChar(mText[mAt])) ++mAt;
        const std::string_view w = mText.substr(start, mAt - start);
        if (w.empty()) return false;
        v.kind = w == "true" ? Kind::True : w == "false" ? Kind::False : Kind::Number;
        if (w == "null") v.kind = Kind::Null;
        v.text.assign(w);
        return true;
    }

    // The members of an object or the elements of an array, up to `close`.
    bool List(Value& v, Kind kind, char close, int depth) {
        v.kind = kind;
        ++mAt;
        Space();
        if (Peek() == close) return ++mAt, true;
        for (;;) {
            Space();
            if (kind == Kind::Object) {
                if (Peek() != '"' || !Quoted(v.keys.emplace_back())) return false;
                Space();
                if (Peek() != ':') return false;
                ++mAt;
                Space();
            }
            if (!Read(v.items.emplace_back(), depth + 1)) return false;
            Space();
            const char c = Peek();
            ++mAt;
            if (c == close) return true;
            if (c != ',') return false;
        }
    }

    std::string_view mText;
    std::size_t mAt = 0;
};

void Write(const Value& v, std::string& out, bool pretty, int depth) {
    switch (v.kind) {
        case Kind::Null:
            out += "null";
            return;
        case Kind::True:
            out += "true";
            return;
        case Kind::False:
            out += "false";
            return;
        case Kind::Number:
            out += v.text;
            return;
        case Kind::String:
            (out += '"') += v.text;
            out += '"';
            return;
        default:
            break;
    }
    const bool object = v.kind == Kind::Object;
    out += object ? '{' : '[';
    for (std::size_t i = 0; i < v.items.size(); ++i) {
        if (i > 0) out += ',';
        if (pretty) out.append(1, '\n').append(static_cast<std::size_t>(2 * depth + 2), ' ');
        if (object) ((out += '"') += v.keys[i]) += "\": ";
        Write(v.items[i], out, pretty, depth + 1);
    }
    if (pretty && !v.items.empty())
        out.append(1, '\n').append(static_cast<std::size_t>(2 * depth), ' ');
    out += object ? '}' : ']';
}

Value Scalar(Kind kind, std::string text = {}) {
    Value v;
    v.kind = kind;
    v.text = std::move(text);
    return v;
}

Value List(Kind kind) {
    return Scalar(kind);
}

void AddMember(Value& object, std::string key, Value value) {
    object.keys.push_back(std::move(key));
    object.items.push_back(std::move(value));
}

bool HasKey(const Value& v, std::string_view key) {
    return v.kind == Kind::Object && std::find(v.keys.begin(), v.keys.end(), key) != v.keys.end();
}

std::string Format(double d) {
    std::array<char, 32> buf{};
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), d);
    return std::string(buf.data(), r.ptr);
}

// Numbers at the edges of what readers convert: zeros, ones, the ends of the integer and
// floating-point types and just beyond them, subnormals, overflow, and spellings of one value.
constexpr std::array<const char*, 30> kEdgeNumbers = {
    "0",
    "-0",
    "1",
    "-1",
    "0.5",
    "1.0",
    "1E2",
    "-0.0",
    "1e308",
    "-1e308",
    "5e-324",
    "1e-300",
    "1e400",
    "-1e400",
    "2147483647",
    "2147483648",
    "-2147483649",
    "4611686018427387905",
    "9223372036854775807",
    "9223372036854775808",
    "-9223372036854775808",
    "-9223372036854775809",
    "18446744073709551615",
    "18446744073709551616",
    "1e19",
    "3.4028235e38",
    "3.5e38",
    "123456789012345678901234567890",
    "nan",
    "0x10",
};

// Text for strings: escapes of every kind, good and bad, and a few real words.
constexpr std::array<const char*, 16> kStrings = {
    "",
    "wood.png",
    "/nonexistent/a.png",
    "\\u0000",
    "\\ud83d\\ude00",
    "\\ud800",
    "\\udc00x",
    "\\\"quoted\\\"",
    "tab\\there\\nline",
    "\\/\\\\\\b\\f\\r",
    "\\x41",
    "\\u12",
    "\\u004e\\u006f\\u0072\\u006d\\u0061\\u006c",
    "Herringbone",
    "caf\xc3\xa9",
    "\xff\xfe",
};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

Param Key(std::string name, Param::Type type, double lo = 0.0, double hi = 0.0,
          std::vector<std::string> items = {}) {
    return Param{std::move(name), type, lo != hi, lo, hi, std::move(items)};
}

}  // namespace

bool Parse(std::string_view text, Value& out) {
    return Reader(text).Document(out);
}

void Serialise(const Value& v, std::string& out, bool pretty) {
    Write(v, out, pretty, 0);
}

PresetMutator::PresetMutator(std::vector<Param> params, ByteMutator bytes)
    : mParams(std::move(params)), mBytes(std::move(bytes)) {
    mParams.push_back(Key("comment", Param::Type::Label));
    for (std::size_t i = 0; i < mParams.size(); ++i) {
        mByName.emplace(mParams[i].name, i);
        const std::size_t dot = mParams[i].name.find('.');
        const std::string group = mParams[i].name.substr(0, dot);
        if (dot != std::string::npos &&
            std::find(mGroups.begin(), mGroups.end(), group) == mGroups.end())
            mGroups.push_back(group);
    }
    using T = Param::Type;
    mRecipeKeys = {Key("map", T::Label, 0, 0, {"bitmap", "checker", "color", "multisub"}),
                   Key("file", T::File), Key("tiling", T::Tiling, 0.001, 1000.0),
                   Key("color", T::Color), Key("color1", T::Color), Key("color2", T::Color),
                   Key("by", T::Label, 0, 0, {"node", "face", "material"}),
                   Key("count", T::Int, 1.0, 1000.0), Key("maps", T::MapList),
                   // Not a recipe key: what a colour's parts and a list's slots hold.
                   Key("", T::Float, 0.0, 1.0), Key("", T::Map)};
}

const Param* PresetMutator::Lookup(std::string_view key, bool inRecipe,
                                   std::string_view group) const {
    if (inRecipe) {
        for (const Param& p : mRecipeKeys)
            if (!p.name.empty() && p.name == key) return &p;
        return nullptr;
    }
    const std::string name =
        group.empty() ? std::string(key) : std::string(group) + "." + std::string(key);
    const auto it = mByName.find(name);
    return it == mByName.end() ? nullptr : &mParams[it->second];
}

// Every value of the tree in mSites, with what its key names. `group` is the relief output
// whose block the members of `v` belong to ("" for the map's own).
void PresetMutator::Collect(Value& v, Value* parent, std::size_t index, const Param* param,
                            bool inRecipe, int depth, std::string_view group) {
    mSites.push_back({&v, parent, index, param, inRecipe, depth});
    if (v.kind == Kind::Object) {
        const bool recipe = HasKey(v, "map");
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            const bool isGroup =
                parent == nullptr && v.items[i].kind == Kind::Object &&
                std::find(mGroups.begin(), mGroups.end(), v.keys[i]) != mGroups.end();
            Collect(v.items[i], &v, i, Lookup(v.keys[i], recipe, group), recipe, depth + 1,
                    isGroup ? std::string_view(v.keys[i]) : std::string_view());
        }
    } else if (v.kind == Kind::Array) {
        // The slots of a map list hold maps; the parts of a colour or a tiling, numbers.
        const Param* element = param;
        if (param && param->type == Param::Type::MapList) element = &mSlot;
        if (param && param->type == Param::Type::Color) element = &mPart;
        for (std::size_t i = 0; i < v.items.size(); ++i)
            Collect(v.items[i], &v, i, element, inRecipe, depth + 1, {});
    }
}

Value PresetMutator::Number(const Param* p) {
    if (!p || !p->hasRange || OneIn(3))
        return Scalar(Kind::Number, kEdgeNumbers[Next() % kEdgeNumbers.size()]);
    const double lo = p->lo, hi = p->hi, span = hi - lo;
    const bool integral = p->type == Param::Type::Int;
    double d = lo;
    switch (Next() % 8) {
        case 0:
            d = lo;
            break;
        case 1:
            d = hi;
            break;
        case 2:
            d = integral ? lo - 1 : std::nextafter(lo, -std::numeric_limits<double>::infinity());
            break;
        case 3:
            d = integral ? hi + 1 : std::nextafter(hi, std::numeric_limits<double>::infinity());
            break;
        case 4:
            d = lo - span * 0.001;
            break;
        case 5:
            d = hi + span * 0.001;
            break;
        case 6:
            d = integral ? lo + 0.5 : (lo + hi) / 2;
            break;
        default:
            d = lo + span * (Next() % 1001) / 1000.0;
            break;
    }
    if (integral && Next() % 4 != 0) d = std::floor(d);
    return Scalar(Kind::Number, Format(d));
}

std::string PresetMutator::Misspell(std::string word) {
    const std::size_t n = word.size();
    const std::size_t at = n == 0 ? 0 : Next() % n;
    switch (Next() % 6) {
        case 0:
            if (n > 0) word.erase(at, 1);
            break;
        case 1:
            if (n > 0) word.insert(at, 1, word[at]);
            break;
        case 2:
            if (n > 1 && at + 1 < n) std::swap(word[at], word[at + 1]);
            break;
        case 3:
            return Upper(word);
        case 4:
            if (n > 0) word[at] = word[at] == '_' ? ' ' : '_';
            break;
        default:
            word += Next() % 2 ? "s" : " ";
            break;
    }
    return word;
}

// The same text with some characters written as \u escapes, which a reader must decode to
// find the name or label behind them.
std::string PresetMutator::Escaped(std::string_view raw) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == '\\' && i + 1 < raw.size()) {
            out.append(raw.substr(i++, 2));
        } else if (c >= 0x20 && c < 0x7f && OneIn(3)) {
            out.append("\\u00").append(1, kHex[c >> 4]).append(1, kHex[c & 15]);
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

Value PresetMutator::Label(const Param& p) {
    std::string s = p.items.empty() ? kStrings[Next() % kStrings.size()] : Pick(p.items);
    switch (Next() % 6) {
        case 0:
            s = Lower(s);
            break;
        case 1:
            s = Upper(s);
            break;
        case 2:
            s = Misspell(s);
            break;
        case 3:
            s = Escaped(s);
            break;
        case 4:
            if (!p.items.empty())
                return Scalar(Kind::Number, std::to_string(Next() % (p.items.size() + 1)));
            break;
        default:
            break;
    }
    return Scalar(Kind::String, std::move(s));
}

// [r, g, b] mostly, with parts in and out of 0..1; now and then too few or too many.
Value PresetMutator::Colour() {
    Value v = List(Kind::Array);
    const std::size_t n = OneIn(6) ? Next() % 5 : 3;
    for (std::size_t i = 0; i < n; ++i)
        v.items.push_back(OneIn(12) ? AnyValue(kMaxDepth) : Number(&mPart));
    return v;
}

// A map recipe: mostly as the reader takes it, now and then with a key of another kind.
Value PresetMutator::Recipe(int depth) {
    if (depth < kRecipeDepth && OneIn(24)) {
        // Now and then a chain of multi-sub maps around the nesting limit of readers.
        Value chain = Recipe(kRecipeDepth);
        for (std::size_t n = 6 + Next() % 6; n > 0; --n) chain = InSlot(std::move(chain));
        return chain;
    }
    Value v = List(Kind::Object);
    Value kind = Label(mRecipeKeys[0]);
    if (Next() % 4) kind.text = mRecipeKeys[0].items[Next() % 4];
    const std::string k = kind.text;
    AddMember(v, "map", std::move(kind));
    std::vector<std::size_t> keys;  // indices in mRecipeKeys
    if (k == "bitmap") keys = {1, 2};
    if (k == "checker") keys = {4, 5, 2};
    if (k == "color") keys = {3};
    if (k == "multisub") keys = {6, 7, 8};
    if (OneIn(6)) keys.push_back(1 + Next() % 8);
    for (const std::size_t i : keys)
        if (!OneIn(4)) AddMember(v, mRecipeKeys[i].name, Generate(&mRecipeKeys[i], depth + 1));
    return v;
}

Value PresetMutator::AnyValue(int depth) {
    switch (Next() % 10) {
        case 0:
            return Scalar(Kind::Null);
        case 1:
            return Scalar(Next() % 2 ? Kind::True : Kind::False);
        case 2:
        case 3:
            return Number(nullptr);
        case 4:
            return Scalar(Kind::String, kStrings[Next() % kStrings.size()]);
        case 5:
            return List(Kind::Array);
        case 6:
            return List(Kind::Object);
        case 7:
            return depth < kMaxDepth ? Colour() : Scalar(Kind::Null);
        default:
            return depth < kRecipeDepth ? Recipe(depth) : Scalar(Kind::Null);
    }
}

Value PresetMutator::Generate(const Param* p, int depth) {
    using T = Param::Type;
    if (!p || OneIn(6)) return AnyValue(depth);
    switch (p->type) {
        case T::Int:
            return !p->items.empty() && OneIn(2) ? Label(*p) : Number(p);
        case T::Float:
            return Number(p);
        case T::Bool:
            return OneIn(4) ? Scalar(Kind::Number, Next() % 2 ? "1" : "0")
                            : Scalar(Next() % 2 ? Kind::True : Kind::False);
        case T::Color:
            return Colour();
        case T::Map:
            return OneIn(8) || depth >= kRecipeDepth ? Scalar(Kind::Null) : Recipe(depth);
        case T::Label:
            return Label(*p);
        case T::File:
            return Scalar(Kind::String, kStrings[Next() % 3]);
        case T::Tiling: {
            if (!OneIn(3)) return Number(p);
            Value uv = List(Kind::Array);
            uv.items = {Number(p), Number(p)};
            return uv;
        }
        case T::MapList: {
            Value maps = List(Kind::Array);
            for (std::size_t n = Next() % 4; n > 0; --n)
                maps.items.push_back(OneIn(4) ? Scalar(Kind::Null) : Generate(&mSlot, depth + 1));
            return maps;
        }
        default:
            return AnyValue(depth);
    }
}

std::string PresetMutator::KeyFor(const Site& s) {
    const std::string& current =
        s.parent && s.parent->kind == Kind::Object ? s.parent->keys[s.index] : std::string();
    switch (Next() % 8) {
        case 0:
            return Misspell(current);
        case 1:
            return Escaped(current);
        case 2:
            return mGroups.empty() ? "comment" : Pick(mGroups);
        case 3:
            return Pick(mRecipeKeys).name;
        default:
            return s.inRecipe ? Pick(mRecipeKeys).name : Pick(mParams).name;
    }
}

// The fuzzer's byte mutations, within a number's or a string's text.
void PresetMutator::MutateText(std::string& text) {
    const std::size_t size = text.size(), room = size + 16;
    text.resize(room);
    text.resize(std::min(room, mBytes(reinterpret_cast<std::uint8_t*>(text.data()), size, room)));
}

// The relief output whose group `container` is, when it is one: a member of the top object
// under a group's name.
std::string_view PresetMutator::GroupOf(const Value& root, const Value& container) const {
    for (std::size_t i = 0; root.kind == Kind::Object && i < root.items.size(); ++i)
        if (&root.items[i] == &container &&
            std::find(mGroups.begin(), mGroups.end(), root.keys[i]) != mGroups.end())
            return root.keys[i];
    return {};
}

// A new member of an object (a parameter of the map or of the group it is, or a key of the
// recipe it is), or a new element.
void PresetMutator::Insert(const Value& root, Value& container, int depth) {
    const auto pos = static_cast<std::ptrdiff_t>(Next() % (container.items.size() + 1));
    if (container.kind == Kind::Array) {
        Value v =
            !container.items.empty() && OneIn(2) ? Pick(container.items) : AnyValue(depth + 1);
        container.items.insert(container.items.begin() + pos, std::move(v));
        return;
    }
    const Param* p = HasKey(container, "map") ? &Pick(mRecipeKeys) : &Pick(mParams);
    std::string key = p->name;
    const std::string_view group = GroupOf(root, container);
    for (int tries = 0; !group.empty() && tries < 16; ++tries) {
        const Param& q = Pick(mParams);
        if (q.name.size() > group.size() && q.name.compare(0, group.size(), group) == 0 &&
            q.name[group.size()] == '.') {
            p = &q;
            key = q.name.substr(group.size() + 1);
            break;
        }
    }
    container.keys.insert(container.keys.begin() + pos, std::move(key));
    container.items.insert(container.items.begin() + pos, Generate(p, depth + 1));
}

// A member given twice (as it was, or with another value), or an element repeated.
void PresetMutator::Duplicate(const Site& s) {
    Value& list = *s.parent;
    const auto pos = static_cast<std::ptrdiff_t>(Next() % (list.items.size() + 1));
    Value copy = OneIn(2) ? *s.value : Generate(s.param, s.depth);
    if (list.kind == Kind::Object) {
        std::string key = list.keys[s.index];
        list.keys.insert(list.keys.begin() + pos, std::move(key));
    }
    list.items.insert(list.items.begin() + pos, std::move(copy));
}

void PresetMutator::Swap(const Site& s) {
    Value& list = *s.parent;
    const std::size_t j = Next() % list.items.size();
    std::swap(list.items[s.index], list.items[j]);
    if (list.kind == Kind::Object) std::swap(list.keys[s.index], list.keys[j]);
}

// `v` in the slot of a multi-sub map.
Value PresetMutator::InSlot(Value v) {
    Value outer = List(Kind::Object);
    AddMember(outer, "map", Scalar(Kind::String, "multisub"));
    AddMember(outer, "count", Scalar(Kind::Number, std::to_string(1 + Next() % 3)));
    Value maps = List(Kind::Array);
    maps.items.push_back(std::move(v));
    AddMember(outer, "maps", std::move(maps));
    return outer;
}

// A value wrapped in a multi-sub map's slot, an array or a relief output's group; or a list
// replaced by one of its own values.
void PresetMutator::Nest(const Site& s) {
    Value& v = *s.value;
    unsigned how = Next() % 4;
    if (HasKey(v, "map") && how != 0) how = 3;  // a map goes into a slot, one deeper
    if (how == 0 && !v.items.empty()) {
        Value inner = std::move(v.items[Next() % v.items.size()]);
        v = std::move(inner);
        return;
    }
    Value outer = List(how == 1 ? Kind::Array : Kind::Object);
    if (how == 1) {
        outer.items.push_back(std::move(v));
    } else if (how == 2 && s.parent && s.parent->kind == Kind::Object && !mGroups.empty()) {
        // {"x": v} -> {"normal": {"x": v}}
        AddMember(outer, s.parent->keys[s.index], std::move(v));
        s.parent->keys[s.index] = Pick(mGroups);
    } else {
        outer = InSlot(std::move(v));
    }
    v = std::move(outer);
}

// One mutation at `s`; false when `op` does not apply there.
bool PresetMutator::MutateSite(Value& root, const Site& s, unsigned op) {
    Value& v = *s.value;
    const bool inObject = s.parent && s.parent->kind == Kind::Object;
    const bool container = v.kind == Kind::Object || v.kind == Kind::Array;
    switch (op) {
        case 0:
        case 1:  // a value for its key, in range and beyond
            v = Generate(s.param, s.depth);
            return true;
        case 2:  // a value of any type
            v = AnyValue(s.depth);
            return true;
        case 3:  // another key
            if (!inObject) return false;
            s.parent->keys[s.index] = KeyFor(s);
            return true;
        case 4:  // a new member or element, here or beside
            if (!container && !s.parent) return false;
            Insert(root, container ? v : *s.parent, container ? s.depth : s.depth - 1);
            return true;
        case 5:  // dropped
            if (!s.parent) return false;
            s.parent->items.erase(s.parent->items.begin() + static_cast<std::ptrdiff_t>(s.index));
            if (inObject)
                s.parent->keys.erase(s.parent->keys.begin() + static_cast<std::ptrdiff_t>(s.index));
            return true;
        case 6:
            if (!s.parent) return false;
            Duplicate(s);
            return true;
        case 7:
            if (!s.parent) return false;
            Swap(s);
            return true;
        case 8:
            if (&v == &root && !container) return false;
            Nest(s);
            return true;
        case 9:  // escapes in a string or a key
            if (inObject && OneIn(2))
                s.parent->keys[s.index] = Escaped(s.parent->keys[s.index]);
            else if (v.kind == Kind::String)
                v.text = OneIn(2) ? Escaped(v.text) : kStrings[Next() % kStrings.size()];
            else
                return false;
            return true;
        default:  // bytes within a number or a string
            if (v.kind != Kind::Number && v.kind != Kind::String) return false;
            MutateText(v.text);
            return true;
    }
}

void PresetMutator::MutateOnce(Value& root) {
    mSites.clear();
    Collect(root, nullptr, 0, nullptr, false, 0, {});
    // Members of the top object are the parameters: they are chosen as often as the rest.
    const Site* s = &Pick(mSites);
    if (root.kind == Kind::Object && !root.items.empty() && OneIn(2)) {
        const std::size_t member = Next() % root.items.size();
        for (const Site& t : mSites)
            if (t.parent == &root && t.index == member) s = &t;
    }
    if (MutateSite(root, *s, Next() % 11)) return;
    if (root.kind == Kind::Object) return Insert(root, root, 0);
    // Not an object at the top: it becomes a member of one.
    Value top = List(Kind::Object);
    AddMember(top, Pick(mParams).name, std::move(root));
    root = std::move(top);
}

bool PresetMutator::Finish(const Value& root, std::uint8_t* data, std::size_t maxSize,
                           std::size_t& size) {
    mText.clear();
    Serialise(root, mText, OneIn(4));
    if (mText.size() > maxSize) return false;
    std::memcpy(data, mText.data(), mText.size());
    size = mText.size();
    return true;
}

std::size_t PresetMutator::Mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                  unsigned seed) {
    mRng.seed(seed);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (OneIn(8) || !Parse(text, mRoot)) return mBytes(data, size, maxSize);
    for (unsigned n = 1 + Next() % 3; n > 0; --n) MutateOnce(mRoot);
    std::size_t got = 0;
    return Finish(mRoot, data, maxSize, got) ? got : mBytes(data, size, maxSize);
}

std::size_t PresetMutator::CrossOver(const std::uint8_t* a, std::size_t aSize,
                                     const std::uint8_t* b, std::size_t bSize, std::uint8_t* out,
                                     std::size_t maxSize, unsigned seed) {
    mRng.seed(seed);
    const auto text = [](const std::uint8_t* d, std::size_t n) {
        return std::string_view(reinterpret_cast<const char*>(d), n);
    };
    if (!Parse(text(a, aSize), mRoot) || !Parse(text(b, bSize), mOther)) {
        // Not JSON: the head of one and the tail of the other.
        const std::size_t head = std::min(Next() % (aSize + 1), maxSize);
        const std::size_t from = Next() % (bSize + 1),
                          tail = std::min(bSize - from, maxSize - head);
        std::memcpy(out, a, head);
        std::memcpy(out + head, b + from, tail);
        return head + tail;
    }
    mSites.clear();
    Collect(mOther, nullptr, 0, nullptr, false, 0, {});
    const Site from = Pick(mSites);
    std::string key = from.parent && from.parent->kind == Kind::Object
                          ? from.parent->keys[from.index]
                          : std::string();
    Value given = std::move(*from.value);
    mSites.clear();
    Collect(mRoot, nullptr, 0, nullptr, false, 0, {});
    const Site into = Pick(mSites);
    if (!key.empty() && into.value->kind == Kind::Object) {
        AddMember(*into.value, std::move(key), std::move(given));
    } else {
        *into.value = std::move(given);
    }
    std::size_t got = 0;
    if (Finish(mRoot, out, maxSize, got)) return got;
    got = std::min(aSize, maxSize);
    std::memcpy(out, a, got);
    return got;
}

}  // namespace preset_fuzz
