// The scene fuzzer's mutator: every seed comes back byte for byte through parse and serialise;
// mutants respect the size limit and are repeatable; and most mutants of valid scenes keep the
// framing that the loader checks first, which byte-level mutation rarely does.
#include <gtest/gtest.h>

#include <host/class_directory.h>
#include <host/scene_file.h>
#include <maxapi.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "base/class_lookup.h"
#include "flip_byte.h"
#include "scene_mutator.h"

namespace {

using scene_fuzz::Parse;
using scene_fuzz::SceneMutator;
using scene_fuzz::Serialise;

std::vector<std::vector<std::uint8_t>> Seeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& e : std::filesystem::directory_iterator(QUAREL_SCENE_CORPUS)) {
        std::ifstream f(e.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return seeds;
}

// Chunks at every depth: a container whose length is wrong reads as a leaf, and its chunks
// are lost from the count.
std::size_t CountChunks(const std::vector<scene_fuzz::Chunk>& list) {
    std::size_t n = list.size();
    for (const auto& c : list) n += CountChunks(c.children);
    return n;
}

std::size_t CountChunks(const std::vector<std::uint8_t>& bytes) {
    return CountChunks(Parse(bytes.data(), bytes.size()).chunks);
}

bool Loads(const std::vector<std::uint8_t>& bytes) {
    bool ok = false;
    {
        LoadedScene scene;
        ok = LoadSceneBytes(bytes.data(), bytes.size(), scene);
    }
    GetCOREInterface()->ResetScene();
    return ok;
}

TEST(SceneMutatorTest, SeedsSurviveParseAndSerialiseUnchanged) {
    const auto seeds = Seeds();
    ASSERT_GE(seeds.size(), 4u);
    for (const auto& s : seeds) {
        const scene_fuzz::SceneTree tree = Parse(s.data(), s.size());
        EXPECT_TRUE(tree.tail.empty());
        EXPECT_FALSE(tree.chunks.empty());
        EXPECT_EQ(Serialise(tree), s);
    }
    // Damaged bytes too: what is not a whole chunk is kept as it was.
    std::vector<std::uint8_t> cut = seeds.front();
    cut.resize(cut.size() - 3);
    cut.push_back(0xEE);
    EXPECT_EQ(Serialise(Parse(cut.data(), cut.size())), cut);
}

TEST(SceneMutatorTest, MutantsFitTheLimitAndAreRepeatable) {
    SceneMutator m(FlipByte);
    const auto seeds = Seeds();
    for (const auto& s : seeds) m.AddDonor(s.data(), s.size());
    for (unsigned seed = 1; seed < 400; ++seed) {
        const auto& s = seeds[seed % seeds.size()];
        std::vector<std::uint8_t> a(s), b(s);
        const std::size_t limit = s.size() + 256;
        a.resize(limit);
        b.resize(limit);
        const std::size_t na = m.MutateBytes(a.data(), s.size(), limit, seed);
        const std::size_t nb = m.MutateBytes(b.data(), s.size(), limit, seed);
        ASSERT_LE(na, limit);
        ASSERT_EQ(na, nb);
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(na), b.begin()));
    }
}

// The mutator works in place and corrects the length of every chunk around what it inserts,
// drops or resizes: mutants and cross-overs still read as whole chunks to the end.
TEST(SceneMutatorTest, LengthsAroundAChangedChunkAreCorrected) {
    SceneMutator m(FlipByte);
    const auto seeds = Seeds();
    for (const auto& s : seeds) m.AddDonor(s.data(), s.size());
    int framed = 0, runs = 0, grown = 0;
    for (unsigned seed = 1; seed < 600; ++seed) {
        if (seed % 8 == 0) continue;  // the byte-level path
        const auto& a = seeds[seed % seeds.size()];
        const auto& b = seeds[(seed / 7) % seeds.size()];
        std::vector<std::uint8_t> out(a.size() + b.size());
        out.resize(
            m.CrossOver(a.data(), a.size(), b.data(), b.size(), out.data(), out.size(), seed));
        EXPECT_TRUE(Parse(out.data(), out.size()).tail.empty()) << "cross-over " << seed;
        EXPECT_GT(CountChunks(out), CountChunks(a)) << "cross-over " << seed;
        grown += out.size() > a.size() ? 1 : 0;
        std::vector<std::uint8_t> mutant(a);
        mutant.resize(a.size() + 4096);
        mutant.resize(m.MutateBytes(mutant.data(), a.size(), mutant.size(), seed));
        framed += Parse(mutant.data(), mutant.size()).tail.empty() ? 1 : 0;
        ++runs;
    }
    EXPECT_EQ(grown, runs);
    // Only a length that lies on purpose leaves bytes that are no whole chunk.
    EXPECT_GT(framed, runs * 3 / 4);
}

TEST(SceneMutatorTest, MostMutantsStillPassTheFormatChecks) {
    for (int i = 0; i < QuarelNS::kQuarelClassCount; ++i)
        RegisterClassDesc(&QuarelNS::QuarelClassDescOf(static_cast<QuarelNS::QuarelClass>(i)));
    SceneMutator m(FlipByte);
    const auto seeds = Seeds();
    for (const auto& s : seeds) m.AddDonor(s.data(), s.size());
    int structured = 0, flipped = 0;
    std::mt19937 rng(7);
    constexpr int kRuns = 300;
    for (int run = 0; run < kRuns; ++run) {
        const auto& s = seeds[static_cast<std::size_t>(run) % seeds.size()];
        std::vector<std::uint8_t> a(s);
        a.resize(s.size() + 4096);
        // Seeds that are multiples of 8 take the byte-level path; the others the chunk level.
        const unsigned seed = 8 * (static_cast<unsigned>(run) + 1) + 1 + rng() % 7;
        a.resize(m.MutateBytes(a.data(), s.size(), a.size(), seed));
        structured += Loads(a) ? 1 : 0;
        std::vector<std::uint8_t> b(s);
        for (int k = 0; k < 3; ++k)
            b[rng() % b.size()] ^= static_cast<std::uint8_t>(1 + rng() % 255);
        flipped += Loads(b) ? 1 : 0;
    }
    EXPECT_GT(structured, kRuns / 3) << "byte flips: " << flipped;
}

}  // namespace
