// Scene files: writing the reachable graph, and checking a file completely before loading it.
#include "host/scene_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "chunk_io.h"
#include "host/asset_paths.h"
#include "host/atomic_file.h"
#include "host/builtin_classes.h"
#include "host/class_directory.h"
#include "imtl.h"
#include "maxapi.h"
#include "ref_host_access.h"

using quarel_host::ChunkReader;
using quarel_host::ChunkWriter;

namespace {

constexpr char kMagic[8] = {'Q', 'R', 'L', 'S', 'C', 'E', 'N', 'E'};
constexpr std::size_t kHeaderSize = sizeof(kMagic) + 4;

enum : USHORT {
    kChunkInfo = 0x0010,
    kChunkObjects = 0x0020,
    kChunkObject = 0x0021,
    kChunkClass = 0x0022,
    kChunkBlock = 0x0023,
    kChunkRefs = 0x0024,
    kChunkData = 0x0025,
    kChunkName = 0x0026,  // a material or map's name, as the material editor shows it
    kChunkNodes = 0x0030,
    kChunkNode = 0x0031,
    kChunkRoots = 0x0040,
};

// Bounds that no real scene comes near; they keep hostile counts from costing memory.
constexpr std::uint32_t kMaxRefsPerObject = 1u << 16;
constexpr std::uint32_t kMaxNameLength = 1u << 12;
// Deeper reference chains than this are refused: notifications and deletions walk a chain
// recursively, and no real scene nests maps anywhere near this deep.
constexpr std::uint32_t kMaxChainDepth = 1000;
// Post-load callbacks may register further callbacks, which run in the next round; a callback
// that keeps registering again is not run forever.
constexpr int kMaxCallbackRounds = 16;

std::string Hex(unsigned long v) {
    char buf[24];
    std::snprintf(buf, sizeof(buf), "0x%lx", v);
    return buf;
}

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

// A name: its length, then each character as 32 bits (whatever the width of wchar_t).
void WriteName(ChunkWriter& w, const MSTR& name) {
    w.WriteU32(static_cast<std::uint32_t>(name.Length()));
    for (int i = 0; i < name.Length(); ++i) w.WriteU32(static_cast<std::uint32_t>(name[i]));
}

// The folder a scene file lies in, absolute ("scene.qscene" lies in the working folder).
std::string SceneFolder(const std::string& path) {
    return std::filesystem::path(quarel_host::AbsolutePath(path)).parent_path().generic_string();
}

// --- saving ----------------------------------------------------------------------------------

struct Collector {
    std::vector<ReferenceTarget*> order;
    std::unordered_map<ReferenceTarget*, int> index;

    int Add(ReferenceTarget* t) {
        if (!t || t->SuperClassID() == BASENODE_CLASS_ID) return -1;
        if (auto it = index.find(t); it != index.end()) return it->second;
        // Iterative depth-first walk: a deep graph must not exhaust the stack.
        std::vector<ReferenceTarget*> stack{t};
        while (!stack.empty()) {
            ReferenceTarget* cur = stack.back();
            stack.pop_back();
            if (index.count(cur)) continue;
            index[cur] = static_cast<int>(order.size());
            order.push_back(cur);
            for (int i = cur->NumRefs() - 1; i >= 0; --i) {
                ReferenceTarget* r = cur->GetReference(i);
                if (r && r->SuperClassID() != BASENODE_CLASS_ID && !index.count(r))
                    stack.push_back(r);
            }
        }
        return index[t];
    }
};

void CollectNodes(INode* node, Collector& c, std::vector<INode*>& nodes) {
    for (int i = 0; i < node->NumberOfChildren(); ++i) {
        INode* child = node->GetChildNode(i);
        nodes.push_back(child);
        c.Add(child->GetMtl());
        CollectNodes(child, c, nodes);
    }
}

// One object: its class, name, block header, references and its own data.
bool WriteObject(ChunkWriter& w, ReferenceTarget* t, const Collector& c, std::string* error) {
    w.BeginChunk(kChunkObject);
    w.BeginChunk(kChunkClass);
    w.WriteU32(static_cast<std::uint32_t>(t->SuperClassID()));
    w.WriteU32(static_cast<std::uint32_t>(t->ClassID().PartA()));
    w.WriteU32(static_cast<std::uint32_t>(t->ClassID().PartB()));
    w.EndChunk();
    if (auto* mb = dynamic_cast<MtlBase*>(t); mb && !mb->GetName().isNull()) {
        w.BeginChunk(kChunkName);
        WriteName(w, mb->GetName());
        w.EndChunk();
    }
    if (t->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) {
        auto* pb = dynamic_cast<IParamBlock2*>(t);
        ParamBlockDesc2* d = pb ? pb->GetDesc() : nullptr;
        if (!d || !d->cd) return Fail(error, "a parameter block has no owner class to save");
        w.BeginChunk(kChunkBlock);
        w.WriteU32(static_cast<std::uint32_t>(d->cd->SuperClassID()));
        w.WriteU32(static_cast<std::uint32_t>(d->cd->ClassID().PartA()));
        w.WriteU32(static_cast<std::uint32_t>(d->cd->ClassID().PartB()));
        w.WriteI32(d->ID);
        w.EndChunk();
    }
    w.BeginChunk(kChunkRefs);
    const int n = std::max(0, t->NumRefs());
    w.WriteU32(static_cast<std::uint32_t>(n));
    for (int i = 0; i < n; ++i) {
        ReferenceTarget* r = t->GetReference(i);
        auto it = r ? c.index.find(r) : c.index.end();
        w.WriteI32(it == c.index.end() ? -1 : it->second);
    }
    w.EndChunk();
    w.BeginChunk(kChunkData);
    const int depth = w.CurChunkDepth();
    if (t->Save(&w) != IO_OK) return Fail(error, "an object could not save its data");
    while (w.CurChunkDepth() > depth) w.EndChunk();
    w.EndChunk();
    w.EndChunk();
    return true;
}

// The scene's nodes: parent index, material index and name of each, parents first.
void WriteNodes(ChunkWriter& w, const std::vector<INode*>& nodes, const Collector& c) {
    w.BeginChunk(kChunkNodes);
    for (INode* n : nodes) {
        w.BeginChunk(kChunkNode);
        INode* parent = n->GetParentNode();
        auto pit = std::find(nodes.begin(), nodes.end(), parent);
        w.WriteI32(pit == nodes.end() ? -1 : static_cast<std::int32_t>(pit - nodes.begin()));
        auto mit = n->GetMtl() ? c.index.find(n->GetMtl()) : c.index.end();
        w.WriteI32(mit == c.index.end() ? -1 : mit->second);
        WriteName(w, n->GetName());
        w.EndChunk();
    }
    w.EndChunk();
}

}  // namespace

bool SaveSceneBytes(const std::vector<ReferenceTarget*>& roots, std::vector<std::uint8_t>& out,
                    std::string* error, const std::string& sceneDir) {
    Interface* ip = GetCOREInterface();
    Collector c;
    std::vector<INode*> nodes;
    CollectNodes(ip->GetRootNode(), c, nodes);
    std::vector<int> rootIndex;
    for (ReferenceTarget* r : roots) rootIndex.push_back(c.Add(r));

    ChunkWriter w;
    w.refTable = &c.order;
    w.assetBase = sceneDir.empty() ? std::string() : quarel_host::AbsolutePath(sceneDir);
    w.WriteBytes(kMagic, sizeof(kMagic));
    w.WriteU32(kSceneFormatVersion);

    w.BeginChunk(kChunkInfo);
    w.WriteI32(ip->GetTime());
    w.EndChunk();

    w.BeginChunk(kChunkObjects);
    for (ReferenceTarget* t : c.order)
        if (!WriteObject(w, t, c, error)) return false;
    w.EndChunk();

    WriteNodes(w, nodes, c);

    w.BeginChunk(kChunkRoots);
    w.WriteU32(static_cast<std::uint32_t>(rootIndex.size()));
    for (int i : rootIndex) w.WriteI32(i);
    w.EndChunk();

    out = std::move(w.Bytes());
    return true;
}

bool SaveSceneFile(const std::string& path, const std::vector<ReferenceTarget*>& roots,
                   std::string* error) {
    std::vector<std::uint8_t> bytes;
    if (!SaveSceneBytes(roots, bytes, error, SceneFolder(path))) return false;
    // A failed save leaves the previous file as it was.
    return quarel_host::WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}

// --- loading ---------------------------------------------------------------------------------

namespace {

struct ObjectRecord {
    SClass_ID sclass = 0;
    Class_ID cid;
    bool isBlock = false;
    SClass_ID ownerSclass = 0;
    Class_ID ownerCid;
    BlockID blockId = 0;
    std::vector<std::int32_t> refs;
    std::size_t dataStart = 0, dataSize = 0;
    std::wstring name;
    ClassDesc* desc = nullptr;
    ParamBlockDesc2* blockDesc = nullptr;
};

struct NodeRecord {
    std::int32_t parent = -1;
    std::int32_t mtl = -1;
    std::wstring name;
};

struct ParsedScene {
    TimeValue time = 0;
    std::vector<ObjectRecord> objects;
    std::vector<NodeRecord> nodes;
    std::vector<std::int32_t> roots;
};

// The object or node a message is about. Its text is made for a message only, not for every
// record of a file that loads.
struct Where {
    const char* kind;
    std::size_t index;
    std::string operator+(const std::string& rest) const {
        std::string text = kind;
        text += ' ';
        text += std::to_string(index);
        return text += rest;
    }
};

std::string At(const ChunkReader& r) {
    return " at byte " + std::to_string(r.Position());
}

// A name: its length, then each character as 32 bits (whatever the width of wchar_t).
bool ReadName(ChunkReader& r, const Where& where, std::wstring& name, std::string* error) {
    std::uint32_t len = 0;
    if (!r.ReadU32(len)) return Fail(error, where + ": truncated name" + At(r));
    if (len > kMaxNameLength || std::uint64_t{len} * 4 > r.CurChunkRemaining())
        return Fail(error, where + ": name length " + std::to_string(len) + " exceeds its data");
    name.clear();
    for (std::uint32_t i = 0; i < len; ++i) {
        std::uint32_t ch = 0;
        if (!r.ReadU32(ch)) return Fail(error, where + ": truncated name");
        name += static_cast<wchar_t>(ch <= 0x10FFFF && ch != 0 ? ch : 0xFFFD);
    }
    return true;
}

bool ReadClassChunk(ChunkReader& r, ObjectRecord& o) {
    std::uint32_t s = 0, a = 0, b = 0;
    if (!r.ReadU32(s) || !r.ReadU32(a) || !r.ReadU32(b)) return false;
    o.sclass = s;
    o.cid = Class_ID(a, b);
    return true;
}

bool ParseObject(ChunkReader& r, std::size_t index, ObjectRecord& o, std::string* error) {
    const Where where{"object", index};
    bool haveClass = false;
    IOResult res;
    while ((res = r.OpenChunk()) == IO_OK) {
        switch (r.CurChunkID()) {
            case kChunkClass:
                if (!ReadClassChunk(r, o)) return Fail(error, where + ": truncated class" + At(r));
                haveClass = true;
                break;
            case kChunkBlock: {
                std::uint32_t s = 0, a = 0, b = 0;
                std::int32_t id = 0;
                if (!r.ReadU32(s) || !r.ReadU32(a) || !r.ReadU32(b) || !r.ReadI32(id))
                    return Fail(error, where + ": truncated parameter block header" + At(r));
                o.isBlock = true;
                o.ownerSclass = s;
                o.ownerCid = Class_ID(a, b);
                o.blockId = static_cast<BlockID>(id);
                if (id != o.blockId)
                    return Fail(error,
                                where + ": block id " + std::to_string(id) + " out of range");
                break;
            }
            case kChunkRefs: {
                std::uint32_t n = 0;
                if (!r.ReadU32(n)) return Fail(error, where + ": truncated reference list" + At(r));
                if (n > kMaxRefsPerObject || std::uint64_t{n} * 4 > r.CurChunkRemaining())
                    return Fail(error, where + ": reference count " + std::to_string(n) +
                                           " exceeds its data" + At(r));
                o.refs.resize(n);
                for (auto& ref : o.refs)
                    if (!r.ReadI32(ref)) return Fail(error, where + ": truncated references");
                break;
            }
            case kChunkName:
                if (!ReadName(r, where, o.name, error)) return false;
                break;
            case kChunkData:
                o.dataStart = r.Position();
                o.dataSize = static_cast<std::size_t>(r.CurChunkLength());
                break;
            default:
                break;  // chunks of a later format revision are skipped
        }
        r.CloseChunk();
    }
    if (res == IO_ERROR) return Fail(error, where + ": corrupt or truncated chunk" + At(r));
    if (!haveClass) return Fail(error, where + ": no class identity");
    return true;
}

bool ParseNode(ChunkReader& r, std::size_t index, NodeRecord& n, std::string* error) {
    const Where where{"node", index};
    if (!r.ReadI32(n.parent) || !r.ReadI32(n.mtl))
        return Fail(error, where + ": truncated" + At(r));
    return ReadName(r, where, n.name, error);
}

bool Parse(const std::uint8_t* data, std::size_t size, ParsedScene& scene, std::string* error) {
    if (!data || size < kHeaderSize) return Fail(error, "not a scene file: too short for a header");
    if (std::memcmp(data, kMagic, sizeof(kMagic)) != 0)
        return Fail(error, "not a scene file: bad magic");
    std::uint32_t version = 0;
    for (int i = 0; i < 4; ++i) version |= std::uint32_t{data[sizeof(kMagic) + i]} << (8 * i);
    if (version != kSceneFormatVersion)
        return Fail(error, "unsupported scene format version " + std::to_string(version) +
                               " (this host reads version " + std::to_string(kSceneFormatVersion) +
                               ")");

    ChunkReader r(data + kHeaderSize, size - kHeaderSize);
    bool haveObjects = false, haveRoots = false;
    IOResult res;
    while ((res = r.OpenChunk()) == IO_OK) {
        switch (r.CurChunkID()) {
            case kChunkInfo: {
                std::int32_t t = 0;
                if (!r.ReadI32(t)) return Fail(error, "truncated scene information" + At(r));
                scene.time = t;
                break;
            }
            case kChunkObjects: {
                haveObjects = true;
                IOResult sub;
                while ((sub = r.OpenChunk()) == IO_OK) {
                    if (r.CurChunkID() == kChunkObject) {
                        scene.objects.emplace_back();
                        if (!ParseObject(r, scene.objects.size() - 1, scene.objects.back(), error))
                            return false;
                    }
                    r.CloseChunk();
                }
                if (sub == IO_ERROR) return Fail(error, "corrupt or truncated object list" + At(r));
                break;
            }
            case kChunkNodes: {
                IOResult sub;
                while ((sub = r.OpenChunk()) == IO_OK) {
                    if (r.CurChunkID() == kChunkNode) {
                        scene.nodes.emplace_back();
                        if (!ParseNode(r, scene.nodes.size() - 1, scene.nodes.back(), error))
                            return false;
                    }
                    r.CloseChunk();
                }
                if (sub == IO_ERROR) return Fail(error, "corrupt or truncated node list" + At(r));
                break;
            }
            case kChunkRoots: {
                haveRoots = true;
                std::uint32_t n = 0;
                if (!r.ReadU32(n)) return Fail(error, "truncated root list" + At(r));
                if (std::uint64_t{n} * 4 > r.CurChunkRemaining())
                    return Fail(error, "root count " + std::to_string(n) + " exceeds its data");
                scene.roots.resize(n);
                for (auto& i : scene.roots)
                    if (!r.ReadI32(i)) return Fail(error, "truncated root list");
                break;
            }
            default:
                break;
        }
        r.CloseChunk();
    }
    if (res == IO_ERROR) return Fail(error, "corrupt or truncated chunk" + At(r));
    if (!haveObjects || !haveRoots)
        return Fail(error, "truncated scene: object or root list missing");
    return true;
}

// Every object's references in range and its class (or its block's owner class) known.
bool CheckObjects(ParsedScene& s, std::string* error) {
    const std::size_t n = s.objects.size();
    auto inRange = [&](std::int32_t i) { return i >= -1 && i < static_cast<std::int64_t>(n); };
    for (std::size_t i = 0; i < n; ++i) {
        ObjectRecord& o = s.objects[i];
        const Where where{"object", i};
        for (std::size_t k = 0; k < o.refs.size(); ++k) {
            if (!inRange(o.refs[k]))
                return Fail(error, where + ": reference " + std::to_string(k) + " names object " +
                                       std::to_string(o.refs[k]) + ", but the file has " +
                                       std::to_string(n) + " objects");
        }
        if (o.isBlock) {
            if (o.sclass != PARAMETER_BLOCK2_CLASS_ID)
                return Fail(error, where + ": block header on a non-block object");
            auto* owner = dynamic_cast<ClassDesc2*>(FindClassDesc(o.ownerSclass, o.ownerCid));
            if (!owner)
                return Fail(error, where + ": parameter block of unknown owner class (" +
                                       Hex(o.ownerCid.PartA()) + ", " + Hex(o.ownerCid.PartB()) +
                                       ")");
            o.blockDesc = owner->GetParamBlockDescByID(o.blockId);
            if (!o.blockDesc)
                return Fail(error, where + ": owner class has no parameter block " +
                                       std::to_string(o.blockId));
        } else {
            o.desc = FindClassDesc(o.sclass, o.cid);
            if (!o.desc)
                return Fail(error, where + ": unknown class (" + Hex(o.cid.PartA()) + ", " +
                                       Hex(o.cid.PartB()) + ") of superclass " + Hex(o.sclass));
        }
    }
    return true;
}

// No reference loops and no chain deeper than kMaxChainDepth: an iterative depth-first search
// with three colours; a finished object's depth is one more than its deepest target's.
bool CheckReferenceChains(const ParsedScene& s, std::string* error) {
    const std::size_t n = s.objects.size();
    std::vector<unsigned char> colour(n, 0);
    std::vector<std::uint32_t> depth(n, 1);
    for (std::size_t start = 0; start < n; ++start) {
        if (colour[start]) continue;
        std::vector<std::pair<std::size_t, std::size_t>> stack{{start, 0}};
        colour[start] = 1;
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next == s.objects[node].refs.size()) {
                colour[node] = 2;
                for (std::int32_t to : s.objects[node].refs)
                    if (to >= 0) depth[node] = std::max(depth[node], depth[to] + 1);
                if (depth[node] > kMaxChainDepth)
                    return Fail(error, "object " + std::to_string(node) +
                                           ": reference chain deeper than " +
                                           std::to_string(kMaxChainDepth));
                stack.pop_back();
                continue;
            }
            const std::int32_t to = s.objects[node].refs[next++];
            if (to < 0) continue;
            if (colour[to] == 1)
                return Fail(error, "object " + std::to_string(node) +
                                       ": reference loop through object " + std::to_string(to));
            if (colour[to] == 0) {
                colour[to] = 1;
                stack.push_back({static_cast<std::size_t>(to), 0});
            }
        }
    }
    return true;
}

// Node parents before their children, materials that are materials, roots in range.
bool CheckNodesAndRoots(const ParsedScene& s, std::string* error) {
    const std::size_t n = s.objects.size();
    auto inRange = [&](std::int32_t i) { return i >= -1 && i < static_cast<std::int64_t>(n); };
    for (std::size_t i = 0; i < s.nodes.size(); ++i) {
        const NodeRecord& nd = s.nodes[i];
        const Where where{"node", i};
        // A parent comes before its children, which also rules out loops.
        if (nd.parent < -1 || nd.parent >= static_cast<std::int64_t>(i))
            return Fail(error,
                        where + ": parent index " + std::to_string(nd.parent) + " out of range");
        if (!inRange(nd.mtl))
            return Fail(error,
                        where + ": material index " + std::to_string(nd.mtl) + " out of range");
        if (nd.mtl >= 0 && s.objects[nd.mtl].sclass != MATERIAL_CLASS_ID)
            return Fail(error, where + ": material index " + std::to_string(nd.mtl) +
                                   " names an object that is not a material");
    }
    for (std::size_t i = 0; i < s.roots.size(); ++i) {
        if (!inRange(s.roots[i]))
            return Fail(error, "root " + std::to_string(i) + ": index " +
                                   std::to_string(s.roots[i]) + " out of range");
    }
    return true;
}

// Indices in range, no reference loops, every class known: all before anything is made.
bool Check(ParsedScene& s, std::string* error) {
    return CheckObjects(s, error) && CheckReferenceChains(s, error) && CheckNodesAndRoots(s, error);
}

std::string Narrow(const MSTR& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i)
        out += s[i] > 0 && s[i] < 0x80 ? static_cast<char>(s[i]) : '?';
    return out;
}

// "QuarelMap 'wall'", or the class name alone for an object without a name.
std::string Describe(MtlBase* m) {
    MSTR cls;
    m->GetClassName(cls, false);
    const std::string name = Narrow(m->GetName());
    return Narrow(cls) + (name.empty() ? std::string() : " '" + name + "'");
}

void AddMissing(std::vector<MissingAsset>& list, BitmapMap* bm, std::string wantedBy) {
    const std::string& file = bm->GivenName().empty() ? bm->FileName() : bm->GivenName();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const MissingAsset& m) { return m.file == file; });
    if (it == list.end()) it = list.insert(list.end(), MissingAsset{file, bm->LoadError(), {}});
    if (std::find(it->wantedBy.begin(), it->wantedBy.end(), wantedBy) == it->wantedBy.end())
        it->wantedBy.push_back(std::move(wantedBy));
}

// Every bitmap among `objects` whose file could not be used, once per file, with the maps and
// slots that hold it; a bitmap that no map or material holds is wanted by the scene itself.
std::vector<MissingAsset> MissingAssets(const std::vector<ReferenceTarget*>& objects) {
    std::vector<MissingAsset> list;
    std::unordered_set<BitmapMap*> held;
    for (ReferenceTarget* o : objects) {
        auto* owner = dynamic_cast<MtlBase*>(o);
        if (!owner) continue;
        for (int k = 0; k < owner->NumSubTexmaps(); ++k) {
            auto* bm = dynamic_cast<BitmapMap*>(owner->GetSubTexmap(k));
            if (!bm || bm->LoadError().empty()) continue;
            held.insert(bm);
            AddMissing(
                list, bm,
                Describe(owner) + ", slot '" + Narrow(owner->GetSubTexmapSlotName(k, false)) + "'");
        }
    }
    for (ReferenceTarget* t : objects) {
        auto* bm = dynamic_cast<BitmapMap*>(t);
        if (bm && !bm->LoadError().empty() && !held.count(bm)) AddMissing(list, bm, "the scene");
    }
    return list;
}

// Adds callbacks not yet listed: one registered twice must still run (and delete itself) once.
void AddCallbacks(std::vector<PostLoadCallback*>& into,
                  const std::vector<PostLoadCallback*>& from) {
    for (PostLoadCallback* cb : from)
        if (std::find(into.begin(), into.end(), cb) == into.end()) into.push_back(cb);
}

// Runs the callbacks by priority, then those they registered, round after round.
void RunPostLoadCallbacks(std::vector<PostLoadCallback*> callbacks) {
    for (int round = 0; !callbacks.empty(); ++round) {
        if (round == kMaxCallbackRounds) {
            for (PostLoadCallback* cb : callbacks) delete cb;
            return;
        }
        std::stable_sort(
            callbacks.begin(), callbacks.end(),
            [](PostLoadCallback* a, PostLoadCallback* b) { return a->Priority() < b->Priority(); });
        ChunkReader during(nullptr, 0);
        for (PostLoadCallback* cb : callbacks) cb->proc(&during);
        callbacks = std::move(during.callbacks);
    }
}

// Deletes what a failed load made; each object is held, so no deletion cascades into another.
void Undo(std::vector<ReferenceTarget*>& made, std::vector<PostLoadCallback*>& callbacks) {
    for (PostLoadCallback* cb : callbacks) delete cb;
    callbacks.clear();
    for (ReferenceTarget* t : made)
        if (t) t->DeleteMe();
    made.clear();
}

// Makes the objects; each stays held until its references are in place. On failure what was
// made is deleted.
bool MakeObjects(const ParsedScene& s, std::vector<ReferenceTarget*>& made,
                 std::vector<PostLoadCallback*>& callbacks, std::string* error) {
    made.reserve(s.objects.size());
    for (std::size_t i = 0; i < s.objects.size(); ++i) {
        const ObjectRecord& o = s.objects[i];
        const Where where{"object", i};
        ReferenceTarget* t = nullptr;
        if (o.isBlock) {
            t = CreateParameterBlock2(o.blockDesc, nullptr);
        } else {
            auto* a = static_cast<Animatable*>(o.desc->Create(TRUE));
            t = dynamic_cast<ReferenceTarget*>(a);
            if (a && !t) a->DeleteThis();
            if (!t) {
                Undo(made, callbacks);
                return Fail(error, where + ": its class made no reference target");
            }
            if (t->SuperClassID() != o.sclass) {
                const SClass_ID got = t->SuperClassID();
                t->DeleteMe();
                Undo(made, callbacks);
                return Fail(error, where + ": the class made an object of superclass " + Hex(got) +
                                       ", the file says " + Hex(o.sclass));
            }
        }
        if (auto* mb = dynamic_cast<MtlBase*>(t); mb && !o.name.empty())
            mb->SetName(MSTR(o.name.c_str()));
        RefHostAccess::Hold(t);
        made.push_back(t);
    }
    return true;
}

// Each object reads its own data, bounded by its data chunk. On failure what was made is
// deleted.
bool LoadObjectData(const ParsedScene& s, const std::uint8_t* body,
                    const quarel_host::AssetSearch& assets, std::vector<ReferenceTarget*>& made,
                    std::vector<PostLoadCallback*>& callbacks, std::string* error) {
    for (std::size_t i = 0; i < s.objects.size(); ++i) {
        const ObjectRecord& o = s.objects[i];
        ChunkReader sub(body + o.dataStart, o.dataSize);
        sub.objects = &made;
        sub.assets = &assets;
        const IOResult res = made[i]->Load(&sub);
        AddCallbacks(callbacks, sub.callbacks);
        if (res != IO_OK || sub.Failed()) {
            Undo(made, callbacks);
            return Fail(error, "object " + std::to_string(i) + ": its data could not be read");
        }
    }
    return true;
}

// Objects that nothing holds (a callback replaced them, or the file names them nowhere) are
// not kept: with every object still held, delete those whose dependents are all going too, then
// let go of the rest. Answers the files that what is kept could not use.
std::vector<MissingAsset> KeepOnlyHeld(const std::vector<ReferenceTarget*>& made) {
    std::vector<ReferenceTarget*> dying;  // in the order found, which is the order deleted
    dying.reserve(made.size());
    // Whether a maker is going: a look-up among the made objects, sorted once, not a search
    // through the growing list of those going.
    std::vector<const ReferenceMaker*> sorted(made.begin(), made.end());
    std::sort(sorted.begin(), sorted.end(), std::less<>());
    std::vector<char> going(sorted.size(), 0);
    auto slot = [&](const ReferenceMaker* m) {
        auto it = std::lower_bound(sorted.begin(), sorted.end(), m, std::less<>());
        return it != sorted.end() && *it == m ? it - sorted.begin() : -1;
    };
    auto isDying = [&](const ReferenceMaker* m) {
        const auto i = slot(m);
        return i >= 0 && going[static_cast<std::size_t>(i)] != 0;
    };
    for (bool grew = true; grew;) {
        grew = false;
        for (ReferenceTarget* t : made) {
            if (isDying(t)) continue;
            bool all = true;
            for (int d = 0; d < t->DependentCount() && all; ++d) all = isDying(t->GetDependent(d));
            if (all) {
                dying.push_back(t);
                going[static_cast<std::size_t>(slot(t))] = 1;
                grew = true;
            }
        }
    }
    std::vector<ReferenceTarget*> kept;
    kept.reserve(made.size() - dying.size());
    for (ReferenceTarget* t : made)
        if (!isDying(t)) kept.push_back(t);
    std::vector<MissingAsset> missing = MissingAssets(kept);
    for (ReferenceTarget* t : dying) t->DeleteMe();
    for (ReferenceTarget* t : kept) RefHostAccess::Release(t);
    return missing;
}

}  // namespace

bool LoadSceneBytes(const std::uint8_t* data, std::size_t size, LoadedScene& out,
                    std::string* error, const SceneLoadOptions& options) {
    ParsedScene s;
    if (!Parse(data, size, s, error) || !Check(s, error)) return false;
    const std::uint8_t* body = data + kHeaderSize;

    // Make the objects; each stays held until its references are in place.
    std::vector<ReferenceTarget*> made;
    std::vector<PostLoadCallback*> callbacks;
    if (!MakeObjects(s, made, callbacks, error)) return false;
    for (const NodeRecord& nd : s.nodes) {
        if (nd.mtl >= 0 && !dynamic_cast<Mtl*>(made[nd.mtl])) {
            Undo(made, callbacks);
            return Fail(error, "a node's material is not a material object");
        }
    }

    const quarel_host::AssetSearch assets{
        options.sceneDir.empty() ? std::string() : quarel_host::AbsolutePath(options.sceneDir),
        options.searchPaths};
    if (!LoadObjectData(s, body, assets, made, callbacks, error)) return false;

    // From here on nothing fails. Slots are set through SetReference and the host counts the
    // file's target in each, kept or not; what a constructor made in a slot is replaced and
    // goes when nothing else refers to it.
    for (std::size_t i = 0; i < s.objects.size(); ++i) {
        const ObjectRecord& o = s.objects[i];
        const int n = std::min(static_cast<int>(o.refs.size()), made[i]->NumRefs());
        for (int k = 0; k < n; ++k)
            RefHostAccess::SetSlot(made[i], k, o.refs[k] < 0 ? nullptr : made[o.refs[k]]);
    }

    std::vector<INode*> nodes;
    for (const NodeRecord& nd : s.nodes) {
        auto* node = new INode(nd.name.c_str());
        if (nd.mtl >= 0) node->SetMtl(static_cast<Mtl*>(made[nd.mtl]));
        if (nd.parent >= 0) nodes[nd.parent]->AttachChild(node);
        nodes.push_back(node);
    }
    LoadedScene result;
    for (std::int32_t i : s.roots)
        result.roots.push_back(std::make_unique<SingleRefMaker>(i < 0 ? nullptr : made[i]));

    Interface* ip = GetCOREInterface();
    ip->ResetScene();
    for (std::size_t i = 0; i < nodes.size(); ++i)
        if (s.nodes[i].parent < 0) ip->GetRootNode()->AttachChild(nodes[i]);
    ip->SetTime(s.time);

    out.roots = std::move(result.roots);
    out.objectCount = static_cast<int>(made.size());

    // The callbacks run while every loaded object is still held, so none of them meets an
    // object that the clean-up below has already deleted.
    RunPostLoadCallbacks(std::move(callbacks));

    out.missing = KeepOnlyHeld(made);
    return true;
}

bool LoadSceneFile(const std::string& path, LoadedScene& out, std::string* error,
                   const std::vector<std::string>& searchPaths) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return Fail(error, "cannot open '" + path + "'");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                                    std::istreambuf_iterator<char>());
    return LoadSceneBytes(bytes.data(), bytes.size(), out, error,
                          SceneLoadOptions{SceneFolder(path), searchPaths});
}
