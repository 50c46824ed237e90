#include "map/map_repair.h"

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "map/quarel_map.h"
#include "params/relief_params.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {
namespace {

constexpr float kLegacyDepth = 1.f;
constexpr float kLegacyRelief = 0.f;

// Older scenes keep depth and relief in the map's relief block; a normal output still at the
// legacy pair takes them over once, and the relief block goes back to the legacy pair so that a
// later repair finds nothing to move. The test compares with the legacy pair on both sides, not
// with the output's own default depth (5.0): an output at its defaults is never overwritten.
void MigrateLegacyRelief(QuarelMap* map, IParamBlock2* legacy, QuarelNormalMap* normal) {
    IParamBlock2* own = normal->GetParamBlockByID(kNormalBlock.id);
    if (own == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: creating missing pblock for QuarelNormalMap 0x%p",
                static_cast<void*>(normal));
        QuarelClassDescOf(QuarelClass::NormalMap).MakeAutoParamBlocks(normal);
        own = normal->GetParamBlockByID(kNormalBlock.id);
        if (own == nullptr) return;
    }
    float legacyDepth = kLegacyDepth, legacyRelief = kLegacyRelief;
    float depth = kLegacyDepth, relief = kLegacyRelief;
    Interval valid = FOREVER;
    legacy->GetValue(BumpParam::normal_depth, 0, legacyDepth, valid);
    legacy->GetValue(BumpParam::relief_tex_amount, 0, legacyRelief, valid);
    own->GetValue(NormalParam::normal_depth, 0, depth, valid);
    own->GetValue(NormalParam::relief_tex_amount, 0, relief, valid);

    const bool ownAtLegacy = depth == kLegacyDepth && relief == kLegacyRelief;
    const bool legacyAtLegacy = legacyDepth == kLegacyDepth && legacyRelief == kLegacyRelief;
    if (!ownAtLegacy || legacyAtLegacy) return;

    DiagLog(
        "QMEnsureEditorSafeRefs: migrating depth=%.3f relief=%.3f from legacy pblock_bump to "
        "QuarelNormalMap pblock for 0x%p",
        static_cast<double>(legacyDepth), static_cast<double>(legacyRelief),
        static_cast<void*>(map));
    own->SetValue(NormalParam::normal_depth, 0, legacyDepth);
    own->SetValue(NormalParam::relief_tex_amount, 0, legacyRelief);
    legacy->SetValue(BumpParam::normal_depth, 0, kLegacyDepth);
    legacy->SetValue(BumpParam::relief_tex_amount, 0, kLegacyRelief);
}

// Makes only the blocks the map lacks, each from its descriptor: the class's automatic block
// creation makes every block afresh and would reset the user's values in the blocks it still
// has.
void CreateMissingBlocks(QuarelMap* map) {
    ClassDesc2& cd = QuarelClassDescOf(QuarelClass::Map);
    for (int i = 0, n = cd.NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* desc = cd.GetParamBlockDesc(i);
        if (desc == nullptr || (desc->flags & P_AUTO_CONSTRUCT) == 0) continue;
        if (desc->ref_no < 0 || desc->ref_no >= map->NumRefs()) continue;
        RefTargetHandle held = map->GetReference(desc->ref_no);
        if (held != nullptr && held->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) continue;
        map->ReplaceReference(desc->ref_no, CreateParameterBlock2(desc, map));
    }
}

}  // namespace

void QMEnsureEditorSafeRefs(QuarelMap* map) {
    if (map == nullptr) return;
    void* const self = map;

    // A refused button block leaves its slot empty while the host may still count a target
    // there; deleting the reference clears it on the host's side too.
    if (map->mRefs[QuarelMap::kRefPBlockNormalBtn] == nullptr)
        map->DeleteReference(QuarelMap::kRefPBlockNormalBtn);
    if (map->mRefs[QuarelMap::kRefPBlockBumpBtn] == nullptr)
        map->DeleteReference(QuarelMap::kRefPBlockBumpBtn);

    if (map->BlockIn(QuarelMap::kRefPBlock) == nullptr ||
        map->BlockIn(QuarelMap::kRefPBlockBump) == nullptr ||
        map->BlockIn(QuarelMap::kRefPBlockNormalBtn) == nullptr ||
        map->BlockIn(QuarelMap::kRefPBlockBumpBtn) == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing ParamBlock2 for 0x%p", self);
        CreateMissingBlocks(map);
    }
    if (map->mUVGen == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing UVGen for 0x%p", self);
        map->InstallNewUVGen();
    }
    if (map->mRefs[QuarelMap::kRefNormalOutMap] == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing QuarelNormalMap for 0x%p", self);
        map->InstallNewNormalOut();
    }
    if (map->mRefs[QuarelMap::kRefBumpOutMap] == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing QuarelBumpProcMap for 0x%p", self);
        map->InstallNewBumpOut();
    }
    if (QuarelNormalMap* normal = map->NormalOut();
        normal != nullptr && normal->GetParamBlockByID(kNormalBlock.id) == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing pblock for QuarelNormalMap 0x%p",
                static_cast<void*>(normal));
        QuarelClassDescOf(QuarelClass::NormalMap).MakeAutoParamBlocks(normal);
    }
    if (QuarelBumpProcMap* bump = map->BumpOut();
        bump != nullptr && bump->GetParamBlockByID(kBumpProcBlock.id) == nullptr) {
        DiagLog("QMEnsureEditorSafeRefs: recreating missing pblock for QuarelBumpProcMap 0x%p",
                static_cast<void*>(bump));
        QuarelClassDescOf(QuarelClass::BumpProcMap).MakeAutoParamBlocks(bump);
    }
    if (IParamBlock2* button = map->BlockIn(QuarelMap::kRefPBlockNormalBtn))
        button->NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);

    RefTargetHandle normalSlot = map->mRefs[QuarelMap::kRefNormalOutMap];
    const Class_ID cid = normalSlot != nullptr ? normalSlot->ClassID() : Class_ID(0, 0);
    DiagLog(
        "QMEnsureEditorSafeRefs DONE for 0x%p: pblock=0x%p pblock_bump=0x%p "
        "pblock_normal_btn=0x%p uvGen=0x%p normalOutMap=0x%p (class=(%x,%x))",
        self, static_cast<void*>(map->mRefs[QuarelMap::kRefPBlock]),
        static_cast<void*>(map->mRefs[QuarelMap::kRefPBlockBump]),
        static_cast<void*>(map->mRefs[QuarelMap::kRefPBlockNormalBtn]),
        static_cast<void*>(map->mRefs[QuarelMap::kRefUVGen]), static_cast<void*>(normalSlot),
        static_cast<unsigned>(cid.PartA()), static_cast<unsigned>(cid.PartB()));

    IParamBlock2* legacy = map->BlockIn(QuarelMap::kRefPBlockBump);
    QuarelNormalMap* normal = map->NormalOut();
    if (legacy != nullptr && normal != nullptr) MigrateLegacyRelief(map, legacy, normal);
}

}  // namespace QuarelNS
