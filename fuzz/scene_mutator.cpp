#include "scene_mutator.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace scene_fuzz {

namespace {

constexpr std::size_t kChunkHeader = 6;
constexpr int kMaxDepth = 16;

// The scene format's chunk ids, and those the objects write inside their data chunks.
constexpr std::array<std::uint16_t, 17> kKnownIds = {0x0010, 0x0020, 0x0021, 0x0022, 0x0023, 0x0024,
                                                     0x0025, 0x0026, 0x0030, 0x0031, 0x0040, 0x0001,
                                                     0x0100, 0x0110, 0x0111, 0x0112, 0x0120};
enum : std::uint16_t {
    kObjects = 0x0020,
    kObject = 0x0021,
    kClass = 0x0022,
    kBlock = 0x0023,
    kRefs = 0x0024,
    kData = 0x0025,
    kName = 0x0026,
    kNode = 0x0031,
    kRoots = 0x0040,
    kParam = 0x0100,
};

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

using Node = SceneMutator::Node;

// Whole chunks from `at` to `end`, in `nodes` in file order; false unless they fill it exactly
// (the top level keeps what is left in `stop`). A payload that is not an exact sequence of
// chunks loses the nodes recorded for it and stays a leaf.
bool IndexSeq(const std::uint8_t* d, std::size_t at, std::size_t end, int depth,
              std::int32_t parent, std::vector<Node>& nodes, std::size_t* stop) {
    while (at < end) {
        if (end - at < kChunkHeader) break;
        const std::uint32_t len = Load32(d + at + 2);
        if (len > end - at - kChunkHeader) break;
        const std::size_t start = at + kChunkHeader, stopAt = start + len;
        const std::size_t me = nodes.size();
        nodes.push_back({at, stopAt, parent, static_cast<std::uint16_t>(d[at] | d[at + 1] << 8)});
        if (depth + 1 < kMaxDepth && len >= kChunkHeader &&
            IndexSeq(d, start, stopAt, depth + 1, static_cast<std::int32_t>(me), nodes, nullptr))
            nodes[me].container = true;
        else
            nodes.resize(me + 1);
        at = stopAt;
    }
    if (stop) *stop = at;
    return at == end;
}

// The chunks of `list` (-1: the top level) as a tree.
std::vector<Chunk> Tree(const std::uint8_t* d, const std::vector<Node>& nodes, std::int32_t list) {
    std::vector<Chunk> out;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const Node& n = nodes[i];
        if (n.parent != list) continue;
        Chunk& c = out.emplace_back();
        c.id = n.id;
        c.container = n.container;
        if (n.container)
            c.children = Tree(d, nodes, static_cast<std::int32_t>(i));
        else
            c.data.assign(d + n.start + kChunkHeader, d + n.end);
    }
    return out;
}

void Store32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void SerialiseSeq(const std::vector<Chunk>& chunks, std::vector<std::uint8_t>& out) {
    for (const Chunk& c : chunks) {
        out.push_back(static_cast<std::uint8_t>(c.id));
        out.push_back(static_cast<std::uint8_t>(c.id >> 8));
        const std::size_t lenAt = out.size();
        Put32(out, 0);
        if (c.container)
            SerialiseSeq(c.children, out);
        else
            out.insert(out.end(), c.data.begin(), c.data.end());
        Store32(&out[lenAt], static_cast<std::uint32_t>(out.size() - lenAt - 4));
    }
}

constexpr std::size_t kClassBytes = 12;

// Adds a class identity to `classes` unless it is there already.
void AddClass(std::vector<std::uint8_t>& classes, const std::uint8_t* c) {
    for (std::size_t at = 0; at < classes.size(); at += kClassBytes)
        if (std::memcmp(&classes[at], c, kClassBytes) == 0) return;
    classes.insert(classes.end(), c, c + kClassBytes);
}

enum class Kind { Any, Count, Ref, Small16 };

struct Field {
    std::size_t offset;
    int width;
    Kind kind;
};

// The fields of a leaf of `size` bytes, at their widths, as the format lays them out: how many
// there are, and the k-th in `out` when there are more than k.
std::size_t FieldAt(std::uint16_t id, std::size_t size, std::uint16_t parentId, std::size_t k,
                    Field& out) {
    std::size_t count = 0, at = 0;
    auto add = [&](int width, Kind kind) {
        if (at + static_cast<std::size_t>(width) <= size) {
            if (count == k) out = {at, width, kind};
            ++count;
        }
        at += static_cast<std::size_t>(width);
    };
    switch (id) {
        case kRefs:
        case kRoots:
            add(4, Kind::Count);
            while (at < size) add(4, Kind::Ref);
            break;
        case kName:
            add(4, Kind::Count);
            break;
        case kNode:
            add(4, Kind::Ref);
            add(4, Kind::Ref);
            add(4, Kind::Count);
            break;
        case kBlock:
            at = 12;
            add(4, Kind::Small16);
            break;
        default:
            if (id == kParam && parentId == kData) {
                add(2, Kind::Small16);
                add(2, Kind::Small16);
            }
            while (at < size) add(4, Kind::Any);
            break;
    }
    return count;
}

constexpr std::array<std::uint32_t, 14> kInteresting = {
    0u,          1u,          2u,          0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x7FC00000u,
    0x7F800000u, 0xFF800000u, 0x00010000u, 0x3F800000u, 0xBF800000u, 0x7149F2CAu, 0x00000001u};

}  // namespace

SceneTree Parse(const std::uint8_t* data, std::size_t size) {
    SceneTree t;
    const std::size_t head = std::min(size, kHeaderBytes);
    t.header.assign(data, data + head);
    std::vector<Node> nodes;
    std::size_t stop = head;
    IndexSeq(data, head, size, 0, -1, nodes, &stop);
    t.chunks = Tree(data, nodes, -1);
    t.tail.assign(data + stop, data + size);
    return t;
}

std::vector<std::uint8_t> Serialise(const SceneTree& tree) {
    std::vector<std::uint8_t> out(tree.header);
    SerialiseSeq(tree.chunks, out);
    out.insert(out.end(), tree.tail.begin(), tree.tail.end());
    return out;
}

void SceneMutator::AddDonor(const std::uint8_t* data, std::size_t size) {
    Index(data, size);
    for (const Node& n : mNodes) {
        mDonors.emplace_back(mDonorBytes.size(), n.end - n.start);
        mDonorBytes.insert(mDonorBytes.end(), data + n.start, data + n.end);
        if (!n.container && n.id == kClass && n.end - n.start == kChunkHeader + kClassBytes)
            AddClass(mClasses, data + n.start + kChunkHeader);
    }
}

void SceneMutator::Index(const std::uint8_t* data, std::size_t size) {
    mNodes.clear();
    mTopEnd = std::min(size, kHeaderBytes);
    IndexSeq(data, mTopEnd, size, 0, -1, mNodes, &mTopEnd);
}

// A cheap generator (splitmix64): seeding it costs nothing, and the mutator is seeded per call.
std::uint32_t SceneMutator::Next() {
    std::uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

// Replaces `oldLen` bytes at `at` by `newLen` bytes of `src` (which must not lie in the buffer)
// and corrects the length of `list` and of every chunk around it. False, and nothing changed,
// when the result would not fit.
bool SceneMutator::Splice(Buffer& b, std::int32_t list, std::size_t at, std::size_t oldLen,
                          const std::uint8_t* src, std::size_t newLen) {
    const std::size_t size = b.size - oldLen + newLen;
    if (size > b.capacity) return false;
    std::memmove(b.data + at + newLen, b.data + at + oldLen, b.size - at - oldLen);
    if (newLen > 0) std::memcpy(b.data + at, src, newLen);
    b.size = size;
    // Modulo 2^32, as the length fields are.
    const auto delta = static_cast<std::uint32_t>(newLen - oldLen);
    for (std::int32_t p = list; p >= 0; p = mNodes[static_cast<std::size_t>(p)].parent) {
        std::uint8_t* field = b.data + mNodes[static_cast<std::size_t>(p)].start + 2;
        Store32(field, Load32(field) + delta);
    }
    return true;
}

// A place between the chunks of `list` (a container, or -1 for the top level).
std::size_t SceneMutator::InsertionPoint(std::int32_t list) {
    std::size_t count = 0;
    for (const Node& n : mNodes) count += n.parent == list ? 1 : 0;
    std::size_t r = Next() % (count + 1);
    for (const Node& n : mNodes)
        if (n.parent == list && r-- == 0) return n.start;
    return list < 0 ? mTopEnd : mNodes[static_cast<std::size_t>(list)].end;
}

// `len` bytes of `src` as a chunk of any list, at any place in it.
bool SceneMutator::InsertInto(Buffer& b, const std::uint8_t* src, std::size_t len) {
    std::size_t lists = 1;
    for (const Node& n : mNodes) lists += n.container ? 1 : 0;
    std::size_t r = Next() % lists;
    std::int32_t list = -1;
    for (std::size_t i = 0; r > 0 && i < mNodes.size(); ++i)
        if (mNodes[i].container && --r == 0) list = static_cast<std::int32_t>(i);
    return Splice(b, list, InsertionPoint(list), 0, src, len);
}

// Swaps `n` with one of its siblings (or itself).
void SceneMutator::Reorder(Buffer& b, const Node& n) {
    std::size_t count = 0;
    for (const Node& m : mNodes) count += m.parent == n.parent ? 1 : 0;
    std::size_t r = Next() % count;
    const Node* other = &n;
    for (const Node& m : mNodes)
        if (m.parent == n.parent && r-- == 0) {
            other = &m;
            break;
        }
    if (other->start == n.start) return;
    const Node& first = other->start < n.start ? *other : n;
    const Node& second = other->start < n.start ? n : *other;
    // first, between, second -> second, between, first
    mScratch.assign(b.data + second.start, b.data + second.end);
    mScratch.insert(mScratch.end(), b.data + first.end, b.data + second.start);
    mScratch.insert(mScratch.end(), b.data + first.start, b.data + first.end);
    std::memcpy(b.data + first.start, mScratch.data(), mScratch.size());
}

// Another class (or block owner) from the input or a valid scene into a leaf; false when there
// is none to take.
bool SceneMutator::ChangeClass(Buffer& b, std::int32_t node) {
    const std::size_t donorClasses = mClasses.size();
    for (const Node& m : mNodes)
        if (!m.container && m.id == kClass && m.end - m.start == kChunkHeader + kClassBytes)
            AddClass(mClasses, b.data + m.start + kChunkHeader);
    if (mClasses.empty()) return false;
    std::array<std::uint8_t, kClassBytes> cls;
    std::memcpy(cls.data(), &mClasses[(Next() % (mClasses.size() / kClassBytes)) * kClassBytes],
                kClassBytes);
    mClasses.resize(donorClasses);
    const Node n = mNodes[static_cast<std::size_t>(node)];
    const std::size_t payload = n.end - n.start - kChunkHeader;
    if (n.id == kBlock && payload >= kClassBytes) {
        std::memcpy(b.data + n.start + kChunkHeader, cls.data(), kClassBytes);
    } else if (Splice(b, node, n.start + kChunkHeader, payload, cls.data(), kClassBytes)) {
        b.data[n.start] = static_cast<std::uint8_t>(kClass);
        b.data[n.start + 1] = static_cast<std::uint8_t>(kClass >> 8);
    }
    return true;
}

std::size_t SceneMutator::CountObjects() const {
    std::size_t count = 0;
    for (const Node& n : mNodes) {
        if (n.id != kObject || n.parent < 0) continue;
        const Node& list = mNodes[static_cast<std::size_t>(n.parent)];
        count += list.id == kObjects && list.parent < 0 ? 1 : 0;
    }
    return count;
}

void SceneMutator::MutateField(Buffer& b, const Node& n) {
    const std::uint16_t parentId = n.parent < 0 ? 0 : mNodes[static_cast<std::size_t>(n.parent)].id;
    const std::size_t size = n.end - n.start - kChunkHeader;
    Field f{};
    const std::size_t count = FieldAt(n.id, size, parentId, SIZE_MAX, f);
    if (count == 0) return;
    FieldAt(n.id, size, parentId, Next() % count, f);
    std::uint8_t* at = b.data + n.start + kChunkHeader + f.offset;
    std::uint32_t old = 0;
    std::memcpy(&old, at, static_cast<std::size_t>(f.width));
    std::uint32_t v = old;
    const unsigned pick = Next() % 4;
    switch (f.kind) {
        case Kind::Ref: {
            const auto span = static_cast<std::int64_t>(CountObjects()) + 3;
            v = static_cast<std::uint32_t>(static_cast<std::int64_t>(Next() % span) - 2);
            if (pick == 0) v = 0xFFFFFFFFu;
            break;
        }
        case Kind::Count:
            v = pick == 0 ? old + 1 : pick == 1 ? old - 1 : pick == 2 ? old * 2 + 1 : Next();
            break;
        case Kind::Small16:
            v = pick == 0 ? old + 1 : pick == 1 ? old - 1 : Next() % 80;
            break;
        case Kind::Any:
            v = pick == 0   ? old + 1
                : pick == 1 ? Next()
                            : kInteresting[Next() % kInteresting.size()];
            break;
    }
    std::memcpy(at, &v, static_cast<std::size_t>(f.width));
}

// The fuzzer's byte mutation of one chunk's payload (a container's chunks become bytes).
void SceneMutator::MutatePayloadBytes(Buffer& b, std::int32_t node) {
    const Node n = mNodes[static_cast<std::size_t>(node)];
    const std::size_t at = n.start + kChunkHeader, size = n.end - at, room = size + 64;
    mScratch.resize(room);
    std::memcpy(mScratch.data(), b.data + at, size);
    const std::size_t got = std::min(mBytes(mScratch.data(), size, room), room);
    Splice(b, node, at, size, mScratch.data(), got);
}

void SceneMutator::MutateOnce(Buffer& b) {
    Index(b.data, b.size);
    const unsigned op = Next() % 16;
    if (mNodes.empty() || op == 15) {
        // Rarely: the header's version, or a chunk of a valid scene at the top.
        if (op == 15 && Next() % 2) {
            static constexpr std::uint32_t kVersions[] = {0, 1, 2, 0xFFFFFFFFu};
            if (b.size >= kHeaderBytes) Store32(b.data + 8, kVersions[Next() % 4]);
        } else if (!mDonors.empty()) {
            const auto [offset, len] = mDonors[Next() % mDonors.size()];
            Splice(b, -1, mTopEnd, 0, mDonorBytes.data() + offset, len);
        }
        return;
    }
    const auto i = static_cast<std::int32_t>(Next() % mNodes.size());
    const Node n = mNodes[static_cast<std::size_t>(i)];
    switch (op) {
        case 0:  // drop
            Splice(b, n.parent, n.start, n.end - n.start, nullptr, 0);
            return;
        case 1:  // duplicate, next to it or elsewhere among its siblings
            mScratch.assign(b.data + n.start, b.data + n.end);
            Splice(b, n.parent, InsertionPoint(n.parent), 0, mScratch.data(), mScratch.size());
            return;
        case 2:
        case 3:  // insert a chunk of a valid scene or of this input into any list
            if (op == 2 && !mDonors.empty()) {
                const auto [offset, len] = mDonors[Next() % mDonors.size()];
                InsertInto(b, mDonorBytes.data() + offset, len);
            } else {
                const Node& m = mNodes[Next() % mNodes.size()];
                mScratch.assign(b.data + m.start, b.data + m.end);
                InsertInto(b, mScratch.data(), mScratch.size());
            }
            return;
        case 4:  // reorder among siblings
            Reorder(b, n);
            return;
        case 5: {  // another id
            const std::uint16_t id = Next() % 4
                                         ? kKnownIds[Next() % kKnownIds.size()]
                                         : static_cast<std::uint16_t>(n.id + (Next() % 2 ? 1 : -1));
            b.data[n.start] = static_cast<std::uint8_t>(id);
            b.data[n.start + 1] = static_cast<std::uint8_t>(id >> 8);
            return;
        }
        case 6: {  // a length that lies
            static constexpr std::uint32_t kDeltas[] = {1, ~0u, 4, ~3u, 6, ~5u, 0x7FFFFFFF};
            Store32(b.data + n.start + 2, Load32(b.data + n.start + 2) + kDeltas[Next() % 7]);
            return;
        }
        case 7:  // another class (or block owner)
            if (!n.container && ChangeClass(b, i)) return;
            break;
        case 8:
        case 9:
        case 10:
        case 11:  // a field at its width
            if (!n.container) return MutateField(b, n);
            break;
        default:
            break;
    }
    // The rest: bytes of a leaf, or now and then of a container's chunks.
    if (n.container && Next() % 4 != 0) return;
    MutatePayloadBytes(b, i);
}

std::size_t SceneMutator::MutateBytes(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                      unsigned seed) {
    // One in eight: the fuzzer's own byte-level mutation of the whole input.
    if (seed % 8 == 0 || size < kHeaderBytes) return mBytes(data, size, maxSize);
    mState = seed;
    Buffer b{data, size, maxSize};
    const unsigned n = 1 + Next() % 3;
    for (unsigned k = 0; k < n; ++k) MutateOnce(b);
    return b.size;
}

std::size_t SceneMutator::CrossOver(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b,
                                    std::size_t bSize, std::uint8_t* out, std::size_t maxSize,
                                    unsigned seed) {
    mState = seed;
    const std::size_t size = std::min(aSize, maxSize);
    std::memcpy(out, a, size);
    Index(b, bSize);
    if (mNodes.empty() || size < aSize) return size;
    const Node& c = mNodes[Next() % mNodes.size()];
    mScratch.assign(b + c.start, b + c.end);
    Index(out, size);
    Buffer into{out, size, maxSize};
    InsertInto(into, mScratch.data(), mScratch.size());
    return into.size;
}

}  // namespace scene_fuzz
