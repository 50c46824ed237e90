// The preset fuzzer's mutator: its reader takes every seed and preset and writes back the same
// JSON, refuses what is no JSON without running out of stack, and keeps words it cannot read as
// written; mutants respect the size limit and are repeatable, and most of them are still JSON
// naming real parameters, which byte-level mutation rarely leaves.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "flip_byte.h"
#include "preset_mutator.h"

namespace {

using preset_fuzz::Param;
using preset_fuzz::PresetMutator;
using preset_fuzz::Value;

std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const char* dir : {QUAREL_PRESET_CORPUS, QUAREL_PRESETS}) {
        for (const auto& e : std::filesystem::directory_iterator(dir)) {
            if (e.path().extension() != ".json") continue;
            std::ifstream f(e.path(), std::ios::binary);
            texts.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        }
    }
    return texts;
}

bool IsJson(const std::string& text) {
    return nlohmann::json::accept(text);
}

std::string Write(const Value& v, bool pretty = false) {
    std::string out;
    preset_fuzz::Serialise(v, out, pretty);
    return out;
}

// A few parameters of each type, as the harness passes them.
std::vector<Param> Params() {
    using T = Param::Type;
    return {{"pattern", T::Int, true, 0, 2, {"Stack Bond", "1/2 Running", "Herringbone"}},
            {"nx", T::Int, true, 1, 256, {}},
            {"gap_u", T::Float, true, 0, 1, {}},
            {"master_angle", T::Float, true, -360, 360, {}},
            {"random_second_color_on", T::Bool, false, 0, 0, {}},
            {"brick_color", T::Color, true, 0, 1, {}},
            {"brick_map", T::Map, false, 0, 0, {}},
            {"normal.normal_depth", T::Float, true, 0.01, 100, {}}};
}

std::string Mutant(PresetMutator& m, const std::string& s, std::size_t limit, unsigned seed) {
    std::string out(s);
    out.resize(std::max(limit, s.size()));
    out.resize(m.Mutate(reinterpret_cast<std::uint8_t*>(out.data()), s.size(), limit, seed));
    return out;
}

TEST(PresetMutatorTest, SeedsAndPresetsReadAndWriteBackTheSameJson) {
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 10u);
    int valid = 0;
    for (const auto& t : texts) {
        Value v;
        const bool json = IsJson(t);
        // The reader is more lenient than JSON (bare words), never stricter.
        if (json) {
            EXPECT_TRUE(preset_fuzz::Parse(t, v)) << t;
        }
        if (!json || !preset_fuzz::Parse(t, v)) continue;
        ++valid;
        for (const bool pretty : {false, true}) {
            const std::string out = Write(v, pretty);
            EXPECT_EQ(nlohmann::ordered_json::parse(out), nlohmann::ordered_json::parse(t));
        }
    }
    EXPECT_GE(valid, 10);
}

TEST(PresetMutatorTest, ReaderKeepsWordsAsWrittenAndRefusesWhatIsNoJson) {
    Value v;
    const std::string lenient =
        R"({"a": nan, "b": 01, "c": 1e999, "d": "\u00e9\"", "e": [true, null]})";
    ASSERT_TRUE(preset_fuzz::Parse(lenient, v));
    EXPECT_EQ(Write(v), R"({"a": nan,"b": 01,"c": 1e999,"d": "\u00e9\"","e": [true,null]})");
    for (const std::string bad : {"", "{", R"({"a" 1})", R"({"a": 1,})", "[1 2]", R"("open)",
                                  "{} x", R"({1: 2})", "[,]", R"("\)"})
        EXPECT_FALSE(preset_fuzz::Parse(bad, v)) << bad;
    // Nesting beyond the limit is refused, not followed down the stack.
    const std::string deep = std::string(1 << 20, '[') + std::string(1 << 20, ']');
    EXPECT_FALSE(preset_fuzz::Parse(deep, v));
    const int ok = preset_fuzz::kMaxDepth - 1;
    EXPECT_TRUE(preset_fuzz::Parse(std::string(ok, '[') + std::string(ok, ']'), v));
}

TEST(PresetMutatorTest, MutantsFitTheLimitAndAreRepeatable) {
    PresetMutator m(Params(), FlipByte);
    const auto texts = Texts();
    for (unsigned seed = 1; seed < 600; ++seed) {
        const std::string& s = texts[seed % texts.size()];
        const std::size_t limit = s.size() + (seed % 3 == 0 ? 0 : 64);
        const std::string a = Mutant(m, s, limit, seed), b = Mutant(m, s, limit, seed);
        ASSERT_LE(a.size(), limit) << seed;
        EXPECT_EQ(a, b) << seed;
        std::string out(limit, '\0');
        const std::string& other = texts[(seed / 7) % texts.size()];
        const auto* pa = reinterpret_cast<const std::uint8_t*>(s.data());
        const auto* pb = reinterpret_cast<const std::uint8_t*>(other.data());
        const std::size_t n = m.CrossOver(pa, s.size(), pb, other.size(),
                                          reinterpret_cast<std::uint8_t*>(out.data()), limit, seed);
        ASSERT_LE(n, limit) << seed;
    }
}

// Mutants of valid presets are mostly JSON objects whose keys are still real parameters, and
// between them they change every parameter and put values outside the ranges.
TEST(PresetMutatorTest, MostMutantsStayJsonWithRealNames) {
    PresetMutator m(Params(), FlipByte);
    const std::string preset =
        R"({"pattern": "Herringbone", "nx": 4, "gap_u": 0.05, "brick_color": [0.6, 0.3, 0.2],)"
        R"( "brick_map": {"map": "checker", "color1": [0, 0, 0]}})";
    int json = 0, named = 0, outOfRange = 0;
    const int runs = 2000;
    for (unsigned seed = 1; seed <= runs; ++seed) {
        const std::string mutant = Mutant(m, preset, 4096, seed);
        if (!IsJson(mutant)) continue;
        ++json;
        const auto doc = nlohmann::json::parse(mutant);
        if (!doc.is_object()) continue;
        bool allReal = true;
        for (const auto& item : doc.items()) {
            bool real = false;
            for (const Param& p : Params()) real = real || p.name == item.key();
            allReal = allReal && real;
        }
        named += allReal ? 1 : 0;
        const auto nx = doc.find("nx");
        if (nx != doc.end() && nx->is_number() && (*nx < 1 || *nx > 256)) ++outOfRange;
    }
    EXPECT_GT(json, runs * 2 / 3);  // the rest: bytes, bad escapes, words that are no JSON
    EXPECT_GT(named, runs / 3);
    EXPECT_GT(outOfRange, 10);
}

// Cross-overs of two presets carry a member of the second into the first and stay JSON.
TEST(PresetMutatorTest, CrossOversCarryMembersOfTheOtherInput) {
    PresetMutator m(Params(), FlipByte);
    const std::string a = R"({"nx": 4, "gap_u": 0.05})";
    const std::string b =
        R"({"master_angle": 45, "brick_map": {"map": "color", "color": [1, 0, 0]}})";
    int json = 0, carried = 0;
    for (unsigned seed = 1; seed <= 500; ++seed) {
        std::string out(4096, '\0');
        out.resize(m.CrossOver(reinterpret_cast<const std::uint8_t*>(a.data()), a.size(),
                               reinterpret_cast<const std::uint8_t*>(b.data()), b.size(),
                               reinterpret_cast<std::uint8_t*>(out.data()), out.size(), seed));
        if (!IsJson(out)) continue;
        ++json;
        carried += out.find("master_angle") != std::string::npos ||
                           out.find("\"color\"") != std::string::npos
                       ? 1
                       : 0;
    }
    EXPECT_EQ(json, 500);
    EXPECT_GT(carried, 100);
}

// How deep map recipes nest in `v`: a map in a multi-sub map's slot is one deeper.
int MapDepth(const nlohmann::json& v) {
    int deepest = 0;
    if (v.is_object() || v.is_array())
        for (const auto& item : v) deepest = std::max(deepest, MapDepth(item));
    return deepest + (v.is_object() && v.contains("map") ? 1 : 0);
}

// Each mutant fed back in, as the fuzzer does with what it keeps: long chains of mutations on
// growing and shrinking inputs stay within the limit, and nest maps deeper than readers take.
TEST(PresetMutatorTest, ChainsOfMutationsNestMapsDeepWithinTheLimit) {
    PresetMutator m(Params(), FlipByte);
    const std::size_t limit = 2048;
    int deepest = 0;
    for (unsigned chain = 0; chain < 20; ++chain) {
        std::string input = R"({"brick_map": {"map": "multisub", "count": 2}, "nx": 3})";
        for (unsigned step = 0; step < 300; ++step) {
            std::string next = Mutant(m, input, limit, chain * 1000 + step);
            ASSERT_LE(next.size(), limit);
            if (!IsJson(next)) continue;  // kept only when still JSON, to go deeper
            deepest = std::max(deepest, MapDepth(nlohmann::json::parse(next)));
            input = std::move(next);
        }
    }
    EXPECT_GT(deepest, 9);
}

}  // namespace
