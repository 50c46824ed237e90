#include "relief/parent_resolution.h"

#include <algorithm>
#include <functional>

#include "base/class_ids.h"
#include "base/diag_log.h"
#include "map/quarel_map.h"
#include "maxapi.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {

// Iterative, with the children pushed in reverse: the same pre-order as a recursive walk, but
// a deep chain of maps or nodes from a damaged file cannot exhaust the stack.
void CollectQuarelMaps(MtlBase* object, QuarelMapList& list) {
    std::vector<MtlBase*> pending{object};
    while (!pending.empty()) {
        MtlBase* cur = pending.back();
        pending.pop_back();
        // Visiting an object once adds everything below it, so meeting it again adds nothing.
        if (cur == nullptr) continue;
        const auto at = std::lower_bound(list.walked.begin(), list.walked.end(), cur,
                                         std::less<const MtlBase*>());
        if (at != list.walked.end() && *at == cur) continue;
        list.walked.insert(at, cur);
        if (IsQuarelClass(cur, QuarelClass::Map)) {
            if (auto* map = dynamic_cast<QuarelMap*>(cur)) list.maps.push_back(map);
        }
        if (cur->SuperClassID() == MATERIAL_CLASS_ID) {
            if (auto* mtl = dynamic_cast<Mtl*>(cur)) {
                for (int i = mtl->NumSubMtls() - 1; i >= 0; --i)
                    pending.push_back(mtl->GetSubMtl(i));
            }
        }
        for (int i = cur->NumSubTexmaps() - 1; i >= 0; --i) pending.push_back(cur->GetSubTexmap(i));
    }
}

void CollectQuarelMapsUnderNode(INode* node, QuarelMapList& list) {
    std::vector<INode*> pending{node};
    while (!pending.empty()) {
        INode* cur = pending.back();
        pending.pop_back();
        if (cur == nullptr) continue;
        if (Mtl* mtl = cur->GetMtl()) CollectQuarelMaps(mtl, list);
        for (int i = cur->NumberOfChildren() - 1; i >= 0; --i)
            pending.push_back(cur->GetChildNode(i));
    }
}

QuarelMap* FindAnyQuarelMapInScene() {
    Interface* ip = GetCOREInterface();
    if (ip == nullptr) return nullptr;
    INode* root = ip->GetRootNode();
    if (root == nullptr) return nullptr;
    QuarelMapList list;
    // The root's own material is not part of the scene's objects.
    for (int i = 0; i < root->NumberOfChildren(); ++i)
        CollectQuarelMapsUnderNode(root->GetChildNode(i), list);
    if (list.maps.empty()) {
        DiagLog("FindAnyQuarelMapInScene: no QuarelMap found in scene");
        return nullptr;
    }
    DiagLog("FindAnyQuarelMapInScene: found %d QuarelMap(s), using first 0x%p",
            static_cast<int>(list.maps.size()), static_cast<void*>(list.maps.front()));
    return list.maps.front();
}

void ResolveParentAfterLoad(QuarelNormalMap* output) {
    if (output == nullptr || output->Parent() != nullptr) return;
    QuarelMap* parent = FindAnyQuarelMapInScene();
    if (parent == nullptr) return;
    DiagLog("QuarelNormalMapPostLoad: resolved mParent for 0x%p -> 0x%p",
            static_cast<void*>(output), static_cast<void*>(parent));
    output->SetParent(parent);
}

void ResolveParentAfterLoad(QuarelBumpProcMap* output) {
    if (output == nullptr || output->Parent() != nullptr) return;
    QuarelMap* parent = FindAnyQuarelMapInScene();
    if (parent == nullptr) {
        DiagLog(
            "QuarelBumpProcMapPostLoad: no QuarelMap in the scene for 0x%p, it stays without "
            "a parent",
            static_cast<void*>(output));
        return;
    }
    DiagLog("QuarelBumpProcMapPostLoad: resolved mParent for 0x%p -> 0x%p",
            static_cast<void*>(output), static_cast<void*>(parent));
    output->SetParent(parent);
}

}  // namespace QuarelNS
