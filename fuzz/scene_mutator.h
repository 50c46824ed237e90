// A structure-aware mutator for scene files: an input is parsed into its nested chunks and
// changed at that level (chunks inserted, dropped, duplicated, reordered; ids, class ids,
// counts, lengths, object references and values changed at their own widths), so that most
// mutants still pass the loader's framing and reach the checks and the objects behind it.
// Byte-level mutations (the fuzzer's own) cover the rest.
//
// Parsing never fails: the header (magic and version) is kept as it is, a payload that is an
// exact sequence of chunks is a container, any other payload a leaf, and bytes after the last
// whole chunk a tail. Serialising a parsed input gives back the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace scene_fuzz {

struct Chunk {
    std::uint16_t id = 0;
    bool container = false;
    std::vector<std::uint8_t> data;  // a leaf's payload
    std::vector<Chunk> children;     // a container's chunks
    // Added to the length field when serialising: a mutation that lies about the length.
    std::int64_t lengthDelta = 0;
};

struct SceneTree {
    std::vector<std::uint8_t> header;  // the first bytes, up to the first chunk
    std::vector<Chunk> chunks;
    std::vector<std::uint8_t> tail;  // what follows the last whole chunk
};

// The size of the header: an 8-byte magic and a 4-byte version.
inline constexpr std::size_t kHeaderBytes = 12;

SceneTree Parse(const std::uint8_t* data, std::size_t size);
std::vector<std::uint8_t> Serialise(const SceneTree& tree);

// Mutates bytes in place (up to `capacity`): the fuzzer's byte mutator, given by the caller.
using ByteMutator = std::function<std::size_t(std::uint8_t*, std::size_t, std::size_t)>;

class SceneMutator {
public:
    explicit SceneMutator(ByteMutator bytes) : mBytes(std::move(bytes)) {}

    // Chunks that insertions may copy (from valid scenes), besides those of the input itself.
    void AddDonor(const SceneTree& tree);

    // One to a few mutations of `tree`; `seed` makes them repeatable.
    void Mutate(SceneTree& tree, unsigned seed);

    // The mutated input in `data` (at most `maxSize` bytes); its new size.
    std::size_t MutateBytes(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                            unsigned seed);

    // Cross-over: a chunk of `b` spliced into `a`'s tree at a random place. The result in
    // `out` (at most `maxSize` bytes); its size.
    std::size_t CrossOver(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b,
                          std::size_t bSize, std::uint8_t* out, std::size_t maxSize, unsigned seed);

private:
    void MutateOnce(SceneTree& tree);
    void MutateField(Chunk& c, std::uint16_t parentId, std::size_t objectCount);
    void MutateLeafBytes(Chunk& c);
    void MutateHeader(SceneTree& tree);

    ByteMutator mBytes;
    std::vector<Chunk> mDonors;
    std::mt19937 mRng;
};

}  // namespace scene_fuzz
