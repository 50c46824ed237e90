// QuarelNormalMap, the normal-bump output of a QuarelMap, as a host object: one reference, its
// block 100 "normalparams" (depth and texture relief), and a plain back-pointer to the
// QuarelMap whose pattern it shows.
//
// As a colour it is a tangent-space normal map of the parent's relief: the normalised vector
// (-du slope, -dv slope, depth) remapped from -1..1 to 0..1, so a flat region is
// (0.5, 0.5, 1, 1). As a bump map it hands the request to the parent's own perturbation.
// Without a parent (an orphan) it answers the flat normal and no perturbation. Tools that bake
// height maps get the height field itself through IQuarelReliefHeight.
//
// The back-pointer `mParent` is neither a reference nor saved. It never dangles: SetParent
// registers the output with its parent, the output leaves the parent's list when it dies or
// changes parent, and the parent clears the pointers of every output in its list when it goes.
// All of this, Update included, runs on the host's main thread. Evaluation runs on any number
// of render threads: it reads the parent's snapshot of its last rebuild and this map's own
// values as Update copied them, and never updates or rebuilds anything. The depth and relief
// are those at the shading time: the copy serves every shading time over which the block's
// values hold (all of them, unless they are animated); only at another time is the block read.
#pragma once

#include "imtl.h"
#include "iparamb2.h"
#include "params/snapshots.h"
#include "relief/relief_height_interface.h"

namespace QuarelNS {

class QuarelMap;
class QuarelNormalMapPostLoad;

class QuarelNormalMap : public Texmap, public IQuarelReliefHeight {
public:
    enum RefSlot : int { kRefPBlock = 0, kNumRefs = 1 };

    explicit QuarelNormalMap(bool loading);
    ~QuarelNormalMap() override;

    // Logs the call and makes p the parent (null: none).
    void SetParent(QuarelMap* p);
    QuarelMap* Parent() const { return mParent; }

    // "NormalMap:" / "NormalBump:" and the parent's name; "QuarelMap Normal" for an orphan.
    void GetClassName(MSTR& s, bool localized = true) const override;
    MSTR GetFullName(bool localized = true) override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;

    int NumSubs() override { return 1; }
    Animatable* SubAnim(int i) override { return i == 0 ? mPBlock : nullptr; }
    MSTR SubAnimName(int i, bool localized = true) override;
    int SubNumToRefNum(int subNum) override { return subNum == 0 ? kRefPBlock : -1; }

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    // A new output with a copy of the block; it shares the source's parent, which does not
    // hold it.
    RefTargetHandle Clone(RemapDir& remap) override;

    // The host saves the block reference; Load registers the post-load parent check.
    IOResult Save(ISave* isave) override { return IO_OK; }
    IOResult Load(ILoad* iload) override;

    // Refreshes the parent's snapshot (its Update rebuilds only outside its validity) and the
    // copy of the map's own values. The validity is the parent's, as it has always been.
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;

    AColor EvalColor(ShadeContext& sc) override;
    float EvalMono(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    // The parent's generator, or null for an orphan.
    UVGen* GetTheUVGen() override;

    // IQuarelReliefHeight for kQuarelReliefHeightId; nothing else.
    void* GetInterface(ULONG id) override;
    float ReliefHeight(ShadeContext& sc) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    friend class QuarelMap;
    friend class QuarelNormalMapPostLoad;
    // Moves the output from its parent's list to p's, without a log line.
    void LinkParent(QuarelMap* p);
    // The parent is going: forget it without telling it.
    void ParentGone() { mParent = nullptr; }
    // The block's values at t, clamped; those of a map without a block when it has none.
    NormalOutputValues ReadValues(TimeValue t, Interval& valid) const;
    // The values at shading time t: the copy when they hold at t, else read afresh.
    NormalOutputValues ValuesAt(TimeValue t) const;

    QuarelMap* mParent = nullptr;
    Interval mValidity = NEVER;
    IParamBlock2* mPBlock = nullptr;
    // Written only by Update, on the main thread; NEVER whenever the block may have changed.
    NormalOutputValues mValues = kNormalOutputWithoutBlock;
    Interval mValuesValid = NEVER;
    QuarelNormalMapPostLoad* mPendingLoad = nullptr;
};

}  // namespace QuarelNS
