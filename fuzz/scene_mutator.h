// A structure-aware mutator for scene files: an input is read as its nested chunks and changed
// at that level (chunks inserted, dropped, duplicated, reordered; ids, class ids, counts,
// lengths, object references and values changed at their own widths), so that most mutants
// still pass the loader's framing and reach the checks and the objects behind it. Byte-level
// mutations (the fuzzer's own) cover the rest.
//
// Reading never fails: the header (magic and version) is kept as it is, a payload that is an
// exact sequence of chunks is a container, any other payload a leaf, and bytes after the last
// whole chunk a tail. The mutator works in the fuzzer's buffer itself, through an index of
// chunk offsets that it keeps between calls: a mutation allocates nothing once the index has
// grown to the inputs' size, since the fuzzer runs it as often as the loader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace scene_fuzz {

// The chunks as a tree, for building and inspecting inputs (seeds, tests).
struct Chunk {
    std::uint16_t id = 0;
    bool container = false;
    std::vector<std::uint8_t> data;  // a leaf's payload
    std::vector<Chunk> children;     // a container's chunks
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
    void AddDonor(const std::uint8_t* data, std::size_t size);

    // One to a few mutations of the input in `data` (at most `maxSize` bytes); its new size.
    // `seed` makes them repeatable.
    std::size_t MutateBytes(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                            unsigned seed);

    // Cross-over: a chunk of `b` spliced into a copy of `a` at a random place. The result in
    // `out` (at most `maxSize` bytes); its size.
    std::size_t CrossOver(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b,
                          std::size_t bSize, std::uint8_t* out, std::size_t maxSize, unsigned seed);

    // A chunk as the index holds it: its header's offset, its end, the chunk around it (-1 at
    // the top) and whether its payload is itself a sequence of chunks.
    struct Node {
        std::size_t start = 0, end = 0;
        std::int32_t parent = -1;
        std::uint16_t id = 0;
        bool container = false;
    };

private:
    // The input being mutated: the fuzzer's buffer, its size and capacity.
    struct Buffer {
        std::uint8_t* data;
        std::size_t size, capacity;
    };

    void Index(const std::uint8_t* data, std::size_t size);
    std::uint32_t Next();

    void MutateOnce(Buffer& b);
    bool Splice(Buffer& b, std::int32_t list, std::size_t at, std::size_t oldLen,
                const std::uint8_t* src, std::size_t newLen);
    bool InsertInto(Buffer& b, const std::uint8_t* src, std::size_t len);
    std::size_t InsertionPoint(std::int32_t list);
    void Reorder(Buffer& b, const Node& n);
    bool ChangeClass(Buffer& b, std::int32_t node);
    void MutateField(Buffer& b, const Node& n);
    void MutatePayloadBytes(Buffer& b, std::int32_t node);
    std::size_t CountObjects() const;

    ByteMutator mBytes;
    std::uint64_t mState = 0;
    // Kept between calls so that mutating allocates nothing.
    std::vector<Node> mNodes;
    std::size_t mTopEnd = 0;  // where the top-level chunks end and the tail begins
    std::vector<std::uint8_t> mScratch;
    std::vector<std::uint8_t> mDonorBytes;
    std::vector<std::pair<std::size_t, std::size_t>> mDonors;  // offset and length in mDonorBytes
    std::vector<std::uint8_t> mClasses;                        // 12 bytes each, no repeats
};

}  // namespace scene_fuzz
