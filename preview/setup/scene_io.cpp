#include "preview/setup/scene_io.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "host/builtin_classes.h"
#include "maxapi.h"

namespace QuarelPreview {

namespace {

// Narrow text of a name, for messages; characters beyond ASCII become '?'.
std::string Narrow(const MSTR& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i)
        out += s[i] > 0 && s[i] < 0x80 ? static_cast<char>(s[i]) : '?';
    return out;
}

}  // namespace

std::vector<Texmap*> SceneMaps(const Class_ID& mapClass) {
    std::vector<Texmap*> maps;
    std::unordered_set<MtlBase*> walked;
    // Depth first with explicit stacks, children pushed in reverse: pre-order, and no deep
    // chain of a damaged scene can exhaust the call stack.
    auto collect = [&](MtlBase* top) {
        std::vector<MtlBase*> pending{top};
        while (!pending.empty()) {
            MtlBase* cur = pending.back();
            pending.pop_back();
            if (cur == nullptr || !walked.insert(cur).second) continue;
            if (cur->SuperClassID() == TEXMAP_CLASS_ID && cur->ClassID() == mapClass) {
                if (auto* map = dynamic_cast<Texmap*>(cur)) maps.push_back(map);
            }
            if (cur->SuperClassID() == MATERIAL_CLASS_ID) {
                if (auto* mtl = dynamic_cast<Mtl*>(cur)) {
                    for (int i = mtl->NumSubMtls() - 1; i >= 0; --i)
                        pending.push_back(mtl->GetSubMtl(i));
                }
            }
            for (int i = cur->NumSubTexmaps() - 1; i >= 0; --i)
                pending.push_back(cur->GetSubTexmap(i));
        }
    };
    INode* root = GetCOREInterface()->GetRootNode();
    std::vector<INode*> nodes;
    for (int i = root->NumberOfChildren() - 1; i >= 0; --i) nodes.push_back(root->GetChildNode(i));
    while (!nodes.empty()) {
        INode* node = nodes.back();
        nodes.pop_back();
        if (node == nullptr) continue;
        if (Mtl* m = node->GetMtl()) collect(m);
        for (int i = node->NumberOfChildren() - 1; i >= 0; --i)
            nodes.push_back(node->GetChildNode(i));
    }
    return maps;
}

Texmap* PickSceneMap(const Class_ID& mapClass, const std::string& name, std::string& error) {
    const std::vector<Texmap*> maps = SceneMaps(mapClass);
    if (maps.empty()) {
        error = "the scene has no QuarelMap in the materials of its nodes";
        return nullptr;
    }
    if (name.empty()) return maps.front();
    for (Texmap* m : maps) {
        if (Narrow(m->GetName()) == name) return m;
    }
    error = "the scene has no QuarelMap named '" + name + "'; its QuarelMaps, in order:";
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const std::string n = Narrow(maps[i]->GetName());
        error += (i == 0 ? " " : ", ") + (n.empty() ? std::string("(no name)") : "'" + n + "'");
    }
    return nullptr;
}

bool SaveMapScene(Texmap* map, const Class_ID& mapClass, const std::string& path,
                  std::string& error) {
    const std::vector<Texmap*> held = SceneMaps(mapClass);
    if (std::find(held.begin(), held.end(), map) == held.end()) {
        auto* mtl = new StdMtl;
        mtl->SetSubTexmap(0, map);
        GetCOREInterface()->GetRootNode()->CreateChild(L"QuarelMap")->SetMtl(mtl);
    }
    // Missing folders are made, as for pictures.
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    if (ec) {
        error = "cannot save scene '" + path + "': cannot create " + parent.string() + ": " +
                ec.message();
        return false;
    }
    if (!SaveSceneFile(path, {}, &error)) {
        error = "cannot save scene '" + path + "': " + error;
        return false;
    }
    return true;
}

}  // namespace QuarelPreview
