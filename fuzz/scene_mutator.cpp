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

// Whole chunks from `at` to `end`; false unless they fill it exactly (the top level keeps
// what is left in `stop`).
bool ParseSeq(const std::uint8_t* d, std::size_t at, std::size_t end, int depth,
              std::vector<Chunk>& out, std::size_t* stop) {
    while (at < end) {
        if (end - at < kChunkHeader) break;
        const std::uint32_t len = Load32(d + at + 2);
        if (len > end - at - kChunkHeader) break;
        Chunk c;
        c.id = static_cast<std::uint16_t>(d[at] | d[at + 1] << 8);
        const std::size_t start = at + kChunkHeader, stopAt = start + len;
        if (depth + 1 < kMaxDepth && len >= kChunkHeader &&
            ParseSeq(d, start, stopAt, depth + 1, c.children, nullptr)) {
            c.container = true;
        } else {
            c.children.clear();
            c.data.assign(d + start, d + stopAt);
        }
        out.push_back(std::move(c));
        at = stopAt;
    }
    if (stop) *stop = at;
    return at == end;
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
        const auto len = static_cast<std::uint32_t>(
            static_cast<std::int64_t>(out.size() - lenAt - 4) + c.lengthDelta);
        for (int i = 0; i < 4; ++i) out[lenAt + i] = static_cast<std::uint8_t>(len >> (8 * i));
    }
}

// A chunk in the tree: its list, its place in it, and the id of the chunk around it.
struct Place {
    std::vector<Chunk>* list;
    std::size_t index;
    std::uint16_t parentId;
    Chunk& Get() const { return (*list)[index]; }
};

void Collect(std::vector<Chunk>& list, std::uint16_t parentId, std::vector<Place>& chunks,
             std::vector<Place>& lists) {
    lists.push_back({&list, 0, parentId});
    for (std::size_t i = 0; i < list.size(); ++i) {
        chunks.push_back({&list, i, parentId});
        if (list[i].container) Collect(list[i].children, list[i].id, chunks, lists);
    }
}

std::size_t CountObjects(const std::vector<Chunk>& top) {
    std::size_t n = 0;
    for (const Chunk& c : top)
        if (c.id == kObjects && c.container)
            for (const Chunk& o : c.children) n += o.id == kObject ? 1 : 0;
    return n;
}

void CollectClasses(const std::vector<Chunk>& list, std::vector<std::vector<std::uint8_t>>& out) {
    for (const Chunk& c : list) {
        if (c.container)
            CollectClasses(c.children, out);
        else if (c.id == kClass && c.data.size() == 12 &&
                 std::find(out.begin(), out.end(), c.data) == out.end())
            out.push_back(c.data);
    }
}

enum class Kind { Any, Count, Ref, Small16 };

struct Field {
    std::size_t offset;
    int width;
    Kind kind;
};

// The fields of a leaf, at their widths, as the format lays them out.
std::vector<Field> FieldsOf(const Chunk& c, std::uint16_t parentId) {
    std::vector<Field> f;
    std::size_t at = 0;
    auto add = [&](int width, Kind kind) {
        if (at + static_cast<std::size_t>(width) <= c.data.size()) f.push_back({at, width, kind});
        at += static_cast<std::size_t>(width);
    };
    switch (c.id) {
        case kRefs:
        case kRoots:
            add(4, Kind::Count);
            while (at < c.data.size()) add(4, Kind::Ref);
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
            if (c.id == kParam && parentId == kData) {
                add(2, Kind::Small16);
                add(2, Kind::Small16);
            }
            while (at < c.data.size()) add(4, Kind::Any);
            break;
    }
    return f;
}

constexpr std::array<std::uint32_t, 14> kInteresting = {
    0u,          1u,          2u,          0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x7FC00000u,
    0x7F800000u, 0xFF800000u, 0x00010000u, 0x3F800000u, 0xBF800000u, 0x7149F2CAu, 0x00000001u};

}  // namespace

SceneTree Parse(const std::uint8_t* data, std::size_t size) {
    SceneTree t;
    const std::size_t head = std::min(size, kHeaderBytes);
    t.header.assign(data, data + head);
    std::size_t stop = head;
    ParseSeq(data, head, size, 0, t.chunks, &stop);
    t.tail.assign(data + stop, data + size);
    return t;
}

std::vector<std::uint8_t> Serialise(const SceneTree& tree) {
    std::vector<std::uint8_t> out(tree.header);
    SerialiseSeq(tree.chunks, out);
    out.insert(out.end(), tree.tail.begin(), tree.tail.end());
    return out;
}

void SceneMutator::AddDonor(const SceneTree& tree) {
    std::vector<Chunk> copy = tree.chunks;
    std::vector<Place> chunks, lists;
    Collect(copy, 0, chunks, lists);
    for (const Place& p : chunks) mDonors.push_back(p.Get());
}

void SceneMutator::MutateField(Chunk& c, std::uint16_t parentId, std::size_t objectCount) {
    const std::vector<Field> fields = FieldsOf(c, parentId);
    if (fields.empty()) return;
    const Field& f = fields[mRng() % fields.size()];
    std::uint32_t old = 0;
    std::memcpy(&old, &c.data[f.offset], static_cast<std::size_t>(f.width));
    std::uint32_t v = old;
    const unsigned pick = mRng() % 4;
    switch (f.kind) {
        case Kind::Ref: {
            const auto span = static_cast<std::int64_t>(objectCount) + 3;
            v = static_cast<std::uint32_t>(static_cast<std::int64_t>(mRng() % span) - 2);
            if (pick == 0) v = 0xFFFFFFFFu;
            break;
        }
        case Kind::Count:
            v = pick == 0 ? old + 1 : pick == 1 ? old - 1 : pick == 2 ? old * 2 + 1 : mRng();
            break;
        case Kind::Small16:
            v = pick == 0 ? old + 1 : pick == 1 ? old - 1 : mRng() % 80;
            break;
        case Kind::Any:
            v = pick == 0   ? old + 1
                : pick == 1 ? mRng()
                            : kInteresting[mRng() % kInteresting.size()];
            break;
    }
    std::memcpy(&c.data[f.offset], &v, static_cast<std::size_t>(f.width));
}

void SceneMutator::MutateLeafBytes(Chunk& c) {
    const std::size_t size = c.data.size();
    c.data.resize(size + 64);
    const std::size_t got = mBytes(c.data.data(), size, c.data.size());
    c.data.resize(std::min(got, size + 64));
}

void SceneMutator::MutateHeader(SceneTree& tree) {
    if (tree.header.size() < kHeaderBytes) return;
    static constexpr std::uint32_t kVersions[] = {0, 1, 2, 0xFFFFFFFFu};
    const std::uint32_t v = kVersions[mRng() % 4];
    std::memcpy(&tree.header[8], &v, 4);
}

void SceneMutator::MutateOnce(SceneTree& tree) {
    std::vector<Place> chunks, lists;
    Collect(tree.chunks, 0, chunks, lists);
    const unsigned op = mRng() % 16;
    if (chunks.empty() || op == 15) {
        // Rarely: the header, or a chunk from elsewhere at the top.
        if (op == 15 && mRng() % 2) return MutateHeader(tree);
        if (!mDonors.empty()) tree.chunks.push_back(mDonors[mRng() % mDonors.size()]);
        return;
    }
    const Place& p = chunks[mRng() % chunks.size()];
    Chunk& c = p.Get();
    switch (op) {
        case 0:  // drop
            p.list->erase(p.list->begin() + static_cast<std::ptrdiff_t>(p.index));
            return;
        case 1: {  // duplicate, next to it or elsewhere among its siblings
            Chunk copy = c;
            const std::size_t at = mRng() % (p.list->size() + 1);
            p.list->insert(p.list->begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
            return;
        }
        case 2:
        case 3: {  // insert a chunk of this input or of a valid scene into any list
            const Chunk copy = (op == 2 && !mDonors.empty()) ? mDonors[mRng() % mDonors.size()]
                                                             : chunks[mRng() % chunks.size()].Get();
            std::vector<Chunk>& into = *lists[mRng() % lists.size()].list;
            into.insert(into.begin() + static_cast<std::ptrdiff_t>(mRng() % (into.size() + 1)),
                        copy);
            return;
        }
        case 4: {  // reorder among siblings
            const std::size_t other = mRng() % p.list->size();
            std::swap((*p.list)[p.index], (*p.list)[other]);
            return;
        }
        case 5:  // another id
            c.id = mRng() % 4 ? kKnownIds[mRng() % kKnownIds.size()]
                              : static_cast<std::uint16_t>(c.id + (mRng() % 2 ? 1 : -1));
            return;
        case 6: {  // a length that lies
            static constexpr std::int64_t kDeltas[] = {1, -1, 4, -4, 6, -6, 0x7FFFFFFF};
            c.lengthDelta = kDeltas[mRng() % 7];
            return;
        }
        case 7: {  // another class (or block owner) from the input or a valid scene
            std::vector<std::vector<std::uint8_t>> classes;
            CollectClasses(tree.chunks, classes);
            CollectClasses(mDonors, classes);
            if (classes.empty() || c.container) break;
            const auto& cls = classes[mRng() % classes.size()];
            if (c.id == kBlock && c.data.size() >= 12) {
                std::copy(cls.begin(), cls.end(), c.data.begin());
            } else {
                c.id = kClass;
                c.data = cls;
            }
            return;
        }
        case 8:
        case 9:
        case 10:
        case 11:  // a field at its width
            if (!c.container) {
                MutateField(c, p.parentId, CountObjects(tree.chunks));
                return;
            }
            break;
        default:
            break;
    }
    // The rest: bytes of a leaf, or a container's chunk list emptied into bytes.
    if (c.container && mRng() % 4 == 0) {
        Chunk leaf;
        leaf.id = c.id;
        SerialiseSeq(c.children, leaf.data);
        c = std::move(leaf);
    }
    if (!c.container) MutateLeafBytes(c);
}

void SceneMutator::Mutate(SceneTree& tree, unsigned seed) {
    mRng.seed(seed);
    const unsigned n = 1 + mRng() % 3;
    for (unsigned i = 0; i < n; ++i) MutateOnce(tree);
}

std::size_t SceneMutator::MutateBytes(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                      unsigned seed) {
    // One in eight: the fuzzer's own byte-level mutation of the whole input.
    if (seed % 8 == 0 || size < kHeaderBytes) return mBytes(data, size, maxSize);
    SceneTree tree = Parse(data, size);
    Mutate(tree, seed);
    const std::vector<std::uint8_t> out = Serialise(tree);
    if (out.size() > maxSize || out.empty()) return mBytes(data, size, maxSize);
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

std::size_t SceneMutator::CrossOver(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b,
                                    std::size_t bSize, std::uint8_t* out, std::size_t maxSize,
                                    unsigned seed) {
    mRng.seed(seed);
    SceneTree into = Parse(a, aSize);
    SceneTree from = Parse(b, bSize);
    std::vector<Place> fromChunks, fromLists, intoChunks, intoLists;
    Collect(from.chunks, 0, fromChunks, fromLists);
    Collect(into.chunks, 0, intoChunks, intoLists);
    if (!fromChunks.empty()) {
        const Chunk copy = fromChunks[mRng() % fromChunks.size()].Get();
        std::vector<Chunk>& list = *intoLists[mRng() % intoLists.size()].list;
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(mRng() % (list.size() + 1)), copy);
    }
    const std::vector<std::uint8_t> bytes = Serialise(into);
    const std::size_t n = std::min(bytes.size(), maxSize);
    std::memcpy(out, bytes.data(), n);
    return n;
}

}  // namespace scene_fuzz
