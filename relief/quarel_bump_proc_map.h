// QuarelBumpProcMap, the procedural bump output of a QuarelMap, as a host object: its block 101
// "bumpparams" in reference 0, its bump texture in reference 1 (also its one sub-map), a cache
// of the block's values, and a plain back-pointer to the QuarelMap whose pattern it shows.
//
// As a colour it is a grey relief picture of the parent's pattern in the output's own three
// colours, blended on the bricks towards the grey level of a texture; as a bump map it returns
// the gradient of a height field built the same way (shading/bump_relief.h). Without a parent
// (an orphan) it answers opaque black and no perturbation.
//
// The back-pointer `mParent` is neither a reference nor saved. It never dangles: SetParent
// registers the output with its parent, the output leaves the parent's list when it dies or
// changes parent, and the parent clears the pointers of every output in its list when it goes.
//
// Threads: Update, the only writer of the cache, runs on the host's main thread, and brings the
// parent's snapshot up to date as well. Evaluation runs on any number of render threads and
// never updates anything: it reads the cache and the parent's snapshot as the last Update left
// them, whatever the shading time, so it always sees one consistent set of values.
#pragma once

#include "imtl.h"
#include "iparamb2.h"
#include "params/snapshots.h"
#include "shading/bump_relief.h"

namespace QuarelNS {

class QuarelMap;
class QuarelBumpProcMapPostLoad;

class QuarelBumpProcMap : public Texmap {
public:
    enum RefSlot : int { kRefPBlock = 0, kRefBumpTexture = 1, kNumRefs = 2 };

    explicit QuarelBumpProcMap(bool loading);
    ~QuarelBumpProcMap() override;

    // Logs the call and makes p the parent (null: none).
    void SetParent(QuarelMap* p);
    QuarelMap* Parent() const { return mParent; }

    // "BumpMap:" and the parent's name; "QuarelMap Bump" for an orphan. Both names alike.
    void GetClassName(MSTR& s, bool localized = true) const override;
    MSTR GetFullName(bool localized = true) override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;

    // Sub-animatable i is reference i.
    int NumSubs() override { return kNumRefs; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    MSTR SubAnimName(int i, bool localized = true) override;
    int SubNumToRefNum(int subNum) override;

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    // Sub-map 0 is the bump texture (reference 1), always on.
    int NumSubTexmaps() override { return 1; }
    Texmap* GetSubTexmap(int i) override { return i == 0 ? mBumpTexture : nullptr; }
    void SetSubTexmap(int i, Texmap* m) override;
    MSTR GetSubTexmapSlotName(int i, bool localized = true) override;

    // A new output with copies of the block and the bump texture; it shares the source's
    // parent, which does not hold it.
    RefTargetHandle Clone(RemapDir& remap) override;

    // The host saves both references; Load registers the post-load parent check.
    IOResult Save(ISave* isave) override { return IO_OK; }
    IOResult Load(ILoad* iload) override;

    // Re-reads the block into the cache when t lies outside its validity, and brings the
    // parent's snapshot up to date on every call (the parent rebuilds only outside its own
    // validity).
    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;

    AColor EvalColor(ShadeContext& sc) override;
    float EvalMono(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    // The parent's generator, or null for an orphan.
    UVGen* GetTheUVGen() override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    friend class QuarelMap;
    friend class QuarelBumpProcMapPostLoad;
    // Moves the output from its parent's list to p's, without a log line.
    void LinkParent(QuarelMap* p);
    // The parent is going: forget it without telling it.
    void ParentGone() { mParent = nullptr; }
    // What the relief evaluators take: the copied values and the bump texture.
    BumpReliefValues Relief() const;

    QuarelMap* mParent = nullptr;
    Interval mValidity = NEVER;
    IParamBlock2* mPBlock = nullptr;
    Texmap* mBumpTexture = nullptr;
    // The block's values, copied by Update only (defaults: a map without a block).
    BumpOutputValues mValues;
    QuarelBumpProcMapPostLoad* mPendingLoad = nullptr;
};

}  // namespace QuarelNS
