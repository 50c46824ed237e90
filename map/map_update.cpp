// QuarelMap::Update: the snapshot rebuild. Runs on the host's main thread, never while the map
// is being evaluated; evaluation only reads what the last rebuild stored.
#include <atomic>

#include "base/diag_log.h"
#include "map/map_repair.h"
#include "map/quarel_map.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {
namespace {

// Rebuilds in this process, to log the values of the 1st, 257th, 513th and so on.
std::atomic<unsigned> gRebuilds{0};

// One value of a block at t, narrowing `valid`; a failed read leaves v as it was.
template <typename T>
void Read(IParamBlock2* pb, ParamID id, TimeValue t, T& v, Interval& valid) {
    pb->GetValue(id, t, v, valid);
}

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

    if (IParamBlock2* pb = BlockIn(kRefPBlock)) {
        using namespace MainParam;
        Read(pb, pattern, t, s.pattern, local);
        Read(pb, projection_mode, t, s.projection_mode, local);
        Read(pb, nx, t, s.nx, local);
        Read(pb, ny, t, s.ny, local);
        Read(pb, gap_u, t, s.gap_u, local);
        Read(pb, gap_v, t, s.gap_v, local);
        Read(pb, brick_color, t, s.brick_color, local);
        Read(pb, brick_color_2, t, s.brick_color_2, local);
        Read(pb, grout_color, t, s.grout_color, local);
        Read(pb, brick_map_on, t, s.brick_map_on, local);
        Read(pb, grout_map_on, t, s.grout_map_on, local);
        Read(pb, brick_map_2_on, t, s.brick_map_2_on, local);
        Read(pb, color_variance, t, s.color_variance, local);
        Read(pb, random_shift, t, s.random_shift, local);
        Read(pb, seed, t, s.seed, local);
        Read(pb, random_second_color_on, t, s.random_second_color_on, local);
        Read(pb, random_texture_rotation_step, t, s.random_texture_rotation_step, local);
        Read(pb, hue_shift, t, s.hue_shift, local);
        Read(pb, random_fragment_on, t, s.random_fragment_on, local);
        Read(pb, fragment_size, t, s.fragment_size, local);
        Read(pb, brick_u_tiling, t, s.brick_u_tiling, local);
        Read(pb, brick_v_tiling, t, s.brick_v_tiling, local);
        Read(pb, brick_u_offset, t, s.brick_u_offset, local);
        Read(pb, brick_v_offset, t, s.brick_v_offset, local);
        Read(pb, brick_angle, t, s.brick_angle, local);
        Read(pb, master_u_tiling, t, s.master_u_tiling, local);
        Read(pb, master_v_tiling, t, s.master_v_tiling, local);
        Read(pb, master_u_offset, t, s.master_u_offset, local);
        Read(pb, master_v_offset, t, s.master_v_offset, local);
        Read(pb, master_angle, t, s.master_angle, local);
    }
    IParamBlock2* bump = BlockIn(kRefPBlockBump);
    if (bump != nullptr) {
        Read(bump, BumpParam::bump_brick_color, t, s.bump_brick_color, local);
        Read(bump, BumpParam::bump_brick_color_2, t, s.bump_brick_color_2, local);
        Read(bump, BumpParam::bump_grout_color, t, s.bump_grout_color, local);
    }

    // Depth and relief belong to the normal output; the relief block keeps them only for
    // scenes that have none.
    if (QuarelNormalMap* normal = NormalOut()) {
        float depth = 1.f;
        float relief = 0.f;
        if (IParamBlock2* own = normal->GetParamBlockByID(kNormalBlock.id)) {
            Read(own, NormalParam::normal_depth, t, depth, local);
            Read(own, NormalParam::relief_tex_amount, t, relief, local);
            if (depth < 0.0001f) depth = 0.0001f;
            if (relief < 0.f) relief = 0.f;
            if (relief > 1.f) relief = 1.f;
        }
        s.normal_depth = depth;
        s.relief_tex_amount = relief;
    } else if (bump != nullptr) {
        Read(bump, BumpParam::normal_depth, t, s.normal_depth, local);
        Read(bump, BumpParam::relief_tex_amount, t, s.relief_tex_amount, local);
    }

    ClampSnapshot(s);
    mSnapshot = s;

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
