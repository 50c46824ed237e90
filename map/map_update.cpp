// QuarelMap::Update: the snapshot rebuild. Runs on the host's main thread, never while the map
// is being evaluated; evaluation only reads what the last rebuild stored.
#include <atomic>

#include "base/diag_log.h"
#include "map/map_repair.h"
#include "map/quarel_map.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/quarel_normal_map.h"
#include "shading/eval_log.h"

namespace QuarelNS {
namespace {

// Rebuilds in this process, to log the values of the 1st, 257th, 513th and so on.
std::atomic<unsigned> gRebuilds{0};

}  // namespace

void QuarelMap::Update(TimeValue t, Interval& valid) {
    if (BlockIn(kRefPBlock) == nullptr) {
        valid.SetEmpty();
        ivalid.SetEmpty();
        return;
    }
    if (BlockIn(kRefPBlockBump) == nullptr) QMEnsureEditorSafeRefs(this);
    // A dependant that updates this map from its own Update (a nested map that is one of this
    // map's outputs) meets the rebuild already running: it gets the validity as it stands
    // instead of starting the same rebuild again, endlessly.
    if (!ivalid.InInterval(t) && updatingCount.load() == 0) Rebuild(t);
    valid &= ivalid;
}

void QuarelMap::Rebuild(TimeValue t) {
    updatingCount.fetch_add(1);
    Interval local = FOREVER;
    EvalSnapshot s = mSnapshot;

    if (IParamBlock2* pb = BlockIn(kRefPBlock)) ReadSnapshot(*pb, kMainParams, t, s, local);
    IParamBlock2* bump = BlockIn(kRefPBlockBump);
    if (bump != nullptr) ReadSnapshot(*bump, kBumpParams, t, s, local);

    // The texture relief belongs to the normal output; the relief block keeps it only for
    // scenes that have none. Both blocks are read whole, depth included, so the map's validity
    // covers the same values as it always has.
    if (QuarelNormalMap* normal = NormalOut()) {
        NormalOutputValues own = kNormalOutputWithoutBlock;
        if (IParamBlock2* pb = normal->GetParamBlockByID(kNormalBlock.id)) {
            ReadSnapshot(*pb, kNormalParams, t, own, local);
            ClampSnapshotRows(kNormalParams, own);
        }
        s.relief_tex_amount = own.relief_tex_amount;
    } else if (bump != nullptr) {
        LegacyReliefValues legacy;
        ReadSnapshot(*bump, kBumpParams, t, legacy, local);
        s.relief_tex_amount = legacy.relief_tex_amount;
    }

    ClampSnapshot(s);
    mSnapshot = s;
    mLogStamp = NewLogStamp();

    if ((gRebuilds.fetch_add(1, std::memory_order_relaxed) & 0xFFu) == 0) {
        DiagLog(
            "QuarelMap::Update values: mode=%d pat=%d nx=%d ny=%d gapU=%.3f gapV=%.3f frag=%d "
            "size=%.3f texRotStep=%d hue=%.3f masterT=%.3f,%.3f masterO=%.3f,%.3f masterA=%.3f "
            "tilesMap=0x%p groutMap=0x%p tilesMap2=0x%p uvGen=0x%p",
            s.projection_mode, s.pattern, s.nx, s.ny, static_cast<double>(s.gap_u),
            static_cast<double>(s.gap_v), s.random_fragment_on,
            static_cast<double>(s.fragment_size), s.random_texture_rotation_step,
            static_cast<double>(s.hue_shift), static_cast<double>(s.master_u_tiling),
            static_cast<double>(s.master_v_tiling), static_cast<double>(s.master_u_offset),
            static_cast<double>(s.master_v_offset), static_cast<double>(s.master_angle),
            static_cast<void*>(mNested[0]), static_cast<void*>(mNested[1]),
            static_cast<void*>(mNested[2]), static_cast<void*>(mUVGen));
    }

    // The slots are read afresh for each: an Update may change what the map holds.
    if (mUVGen != nullptr) mUVGen->Update(t, local);
    if (mNested[0] != nullptr && s.brick_map_on != 0) mNested[0]->Update(t, local);
    if (mNested[1] != nullptr && s.grout_map_on != 0) mNested[1]->Update(t, local);
    if (mNested[2] != nullptr && s.brick_map_2_on != 0) mNested[2]->Update(t, local);

    ivalid = local;
    updatingCount.fetch_sub(1);
}

Interval QuarelMap::Validity(TimeValue t) {
    Interval valid = FOREVER;
    Update(t, valid);
    return valid;
}

}  // namespace QuarelNS
