// QuarelMap::Clone: a new map with copies of the source's blocks, UV generator and nested maps,
// copies of its relief outputs parented to the new map, and new button blocks.
#include <new>

#include "base/class_ids.h"
#include "base/diag_log.h"
#include "map/map_repair.h"
#include "map/quarel_map.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {

RefTargetHandle QuarelMap::Clone(RemapDir& remap) {
    DiagLog("QuarelMap::Clone [this=0x%p]", static_cast<void*>(this));
    auto* copy = new (std::nothrow) QuarelMap(false);
    if (copy == nullptr) return nullptr;

    // The button blocks (8, 10) hold nothing of their own: the copy keeps its new ones.
    for (int slot : {kRefPBlock, kRefPBlockBump, kRefUVGen, kRefTilesMap, kRefGroutMap,
                     kRefTilesMap2, kRefLegacyBumpMap}) {
        if (RefTargetHandle source = mRefs[static_cast<std::size_t>(slot)])
            copy->ReplaceReference(slot, remap.CloneRef(source));
    }

    // A copied output comes with the source's parent; the slot setter, and then this step
    // once more, makes the copy its parent. One the slot refuses is replaced by a new output.
    if (RefTargetHandle source = mRefs[kRefNormalOutMap]) {
        RefTargetHandle clone = remap.CloneRef(source);
        copy->ReplaceReference(kRefNormalOutMap, clone);
        if (auto* normal = dynamic_cast<QuarelNormalMap*>(clone);
            normal != nullptr && IsQuarelClass(normal, QuarelClass::NormalMap))
            normal->SetParent(copy);
    }
    if (copy->mRefs[kRefNormalOutMap] == nullptr) copy->InstallNewNormalOut();

    if (RefTargetHandle source = mRefs[kRefBumpOutMap]) {
        RefTargetHandle clone = remap.CloneRef(source);
        copy->ReplaceReference(kRefBumpOutMap, clone);
        if (auto* bump = dynamic_cast<QuarelBumpProcMap*>(clone);
            bump != nullptr && IsQuarelClass(bump, QuarelClass::BumpProcMap))
            bump->SetParent(copy);
    }
    if (copy->mRefs[kRefBumpOutMap] == nullptr) copy->InstallNewBumpOut();

    QMEnsureEditorSafeRefs(copy);
    copy->ivalid.SetEmpty();
    BaseClone(this, copy, remap);
    DiagLog("QuarelMap::Clone done, new=0x%p pblock=0x%p uvGen=0x%p", static_cast<void*>(copy),
            static_cast<void*>(copy->mRefs[kRefPBlock]),
            static_cast<void*>(copy->mRefs[kRefUVGen]));
    return copy;
}

}  // namespace QuarelNS
