// A structure-aware mutator for presets: an input is read as JSON and changed at that level
// (values replaced by others of their parameter's type or of a wrong one, numbers moved to the
// ends of their range and just beyond, keys renamed to other parameters or misspelt, members
// inserted, dropped, duplicated and reordered, map recipes nested and unnested, strings given
// escapes), so that most mutants still pass the JSON parser and reach the checks behind it.
// What it knows of the parameters (names, types, ranges, item texts) the harness gives it from
// the module's table; it reads JSON with a small tokenizer of its own.
//
// Reading is tolerant: a bare word that is no JSON literal ("nan", "01", "1e999") is kept as a
// number, as written. Input it cannot read at all goes to the fuzzer's byte mutations, as does
// one call in eight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace preset_fuzz {

// What the mutator knows of a key: enough to write values of its type, at and beyond its range.
struct Param {
    // Int, Float, Bool, Color, Map: parameter types. The rest are the keys of a map recipe:
    // a label from `items` ("map", "by"), a tiling, a file name, a list of maps.
    enum class Type { Int, Float, Bool, Color, Map, Label, Tiling, File, MapList, Other };
    std::string name;  // with its prefix ("normal.normal_depth")
    Type type = Type::Other;
    bool hasRange = false;
    double lo = 0.0, hi = 0.0;
    std::vector<std::string> items;  // combo item texts
};

// A JSON value as the mutator holds it. Numbers, strings and keys keep their text as written,
// escapes and all, so that what a mutation leaves alone is written back as it was.
struct Value {
    enum class Kind { Null, True, False, Number, String, Array, Object };
    Kind kind = Kind::Null;
    std::string text;               // a number's text, or a string's between its quotes
    std::vector<std::string> keys;  // an object's keys, between their quotes
    std::vector<Value> items;       // an array's elements, or an object's values
};

// Nesting beyond this is left to the byte mutations (it also bounds the reader's recursion).
inline constexpr int kMaxDepth = 40;

// Reads `text` as one JSON value; false when it is none.
bool Parse(std::string_view text, Value& out);
// Writes `v` as JSON text; `pretty` puts each member and element on a line of its own.
void Serialise(const Value& v, std::string& out, bool pretty = false);

// Mutates bytes in place (up to `capacity`): the fuzzer's byte mutator, given by the caller.
using ByteMutator = std::function<std::size_t(std::uint8_t*, std::size_t, std::size_t)>;

class PresetMutator {
public:
    // `params`: the module's parameters; the keys of map recipes are known already.
    PresetMutator(std::vector<Param> params, ByteMutator bytes);

    // One to a few mutations of the input in `data` (at most `maxSize` bytes); its new size.
    // `seed` makes them repeatable.
    std::size_t Mutate(std::uint8_t* data, std::size_t size, std::size_t maxSize, unsigned seed);

    // Cross-over: a member or value of `b` put into `a`, the result in `out` (at most `maxSize`
    // bytes); its size.
    std::size_t CrossOver(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b,
                          std::size_t bSize, std::uint8_t* out, std::size_t maxSize, unsigned seed);

    // A place in the tree: a value, the object or array that holds it (null at the top), its
    // index there and what its key names.
    struct Site {
        Value* value = nullptr;
        Value* parent = nullptr;
        std::size_t index = 0;
        const Param* param = nullptr;
        bool inRecipe = false;  // a member of a map recipe
        int depth = 0;
    };

private:
    std::uint32_t Next() { return static_cast<std::uint32_t>(mRng()); }
    bool OneIn(std::uint32_t n) { return Next() % n == 0; }
    template <typename T>
    const T& Pick(const std::vector<T>& v) {
        return v[Next() % v.size()];
    }

    void Collect(Value& v, Value* parent, std::size_t index, const Param* param, bool inRecipe,
                 int depth, std::string_view group);
    const Param* Lookup(std::string_view key, bool inRecipe, std::string_view group) const;
    void MutateOnce(Value& root);
    bool MutateSite(Value& root, const Site& s, unsigned op);

    // Values, keys and text.
    Value Generate(const Param* p, int depth);
    Value AnyValue(int depth);
    Value Recipe(int depth);
    Value InSlot(Value v);
    Value Number(const Param* p);
    Value Label(const Param& p);
    Value Colour();
    std::string KeyFor(const Site& s);
    std::string Misspell(std::string word);
    std::string Escaped(std::string_view raw);
    void MutateText(std::string& text);

    // Changes of members and elements.
    std::string_view GroupOf(const Value& root, const Value& container) const;
    void Insert(const Value& root, Value& container, int depth);
    void Duplicate(const Site& s);
    void Swap(const Site& s);
    void Nest(const Site& s);

    // `root` written into `data`; false, and nothing written, when it takes more than maxSize.
    bool Finish(const Value& root, std::uint8_t* data, std::size_t maxSize, std::size_t& size);

    std::vector<Param> mParams;
    std::vector<Param> mRecipeKeys;
    // What a colour's parts and a map list's slots hold.
    const Param mPart{"", Param::Type::Float, true, 0.0, 1.0, {}};
    const Param mSlot{"", Param::Type::Map, false, 0.0, 0.0, {}};
    std::map<std::string, std::size_t, std::less<>> mByName;  // index in mParams
    std::vector<std::string> mGroups;                         // "normal", "bump"
    ByteMutator mBytes;
    std::minstd_rand mRng;
    std::vector<Site> mSites;
    Value mRoot, mOther;
    std::string mText;
};

}  // namespace preset_fuzz
