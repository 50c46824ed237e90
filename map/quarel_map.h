// QuarelMap, the module's public brick-and-tile texture map, as a host object.
//
// Eleven reference slots, whose numbers are stored in scene files and never change: the four
// parameter blocks, the UV generator, three nested maps, a legacy bump map that is kept but
// never evaluated, and the map's two relief outputs (a QuarelNormalMap in 7, a
// QuarelBumpProcMap in 9), which the map creates itself and whose parent it is. Slots 7 and 9
// take only an output of their class and slots 8 and 10 only a parameter block: a refused
// target leaves the slot empty, and the repair (map_repair.h) fills it again.
//
// Update, on the host's main thread, copies and clamps the blocks' values into the evaluation
// snapshot. Evaluation runs on any number of render threads at once: it reads the snapshot and
// the slots without locks and never rebuilds anything. Everything else runs on the main thread.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include "imtl.h"
#include "iparamb2.h"
#include "shading/brick_eval.h"
#include "shading/eval_snapshot.h"

namespace QuarelNS {

class QuarelNormalMap;
class QuarelBumpProcMap;
class QMPostLoadCallback;

class QuarelMap : public Texmap {
public:
    enum RefSlot : int {
        kRefPBlock = 0,           // main block, id 0
        kRefUVGen = 1,            // UV generator
        kRefTilesMap = 2,         // nested brick map (sub-map 0)
        kRefGroutMap = 3,         // nested grout map (sub-map 1)
        kRefTilesMap2 = 4,        // nested second brick map (sub-map 2)
        kRefLegacyBumpMap = 5,    // legacy bump map, kept but never evaluated
        kRefPBlockBump = 6,       // relief block, id 1
        kRefNormalOutMap = 7,     // the map's QuarelNormalMap (sub-map 3)
        kRefPBlockNormalBtn = 8,  // block id 2
        kRefBumpOutMap = 9,       // the map's QuarelBumpProcMap (sub-map 4)
        kRefPBlockBumpBtn = 10,   // block id 3
        kNumRefs = 11,
    };
    enum SubMap : int {
        kSubTiles = 0,
        kSubGrout = 1,
        kSubTiles2 = 2,
        kSubNormalOut = 3,
        kSubBumpOut = 4,
        kNumSubMaps = 5,
    };

    // `loading`: the host fills the slots from a scene file next, so no UV generator is made.
    explicit QuarelMap(bool loading);
    ~QuarelMap() override;

    // --- What the evaluators and the relief outputs read (render threads, no locks).
    const EvalSnapshot& Snapshot() const { return mSnapshot; }
    // The snapshot and the nested maps of slots 2, 3 and 4, for the per-point core.
    BrickEvalSource EvalSource() const;
    UVGen* GetTheUVGen() override { return mUVGen; }
    // The relief outputs in slots 7 and 9, or null.
    QuarelNormalMap* NormalOut() const;
    QuarelBumpProcMap* BumpOut() const;
    // Time over which the snapshot holds; empty until the first rebuild and after a change.
    Interval SnapshotValidity() const { return ivalid; }

    // --- Outputs whose `mParent` is this map, kept by their SetParent; the map clears those
    // pointers when it goes. Main thread only.
    void AttachOutput(Texmap* output);
    void DetachOutput(Texmap* output);

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;
    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    RefTargetHandle Clone(RemapDir& remap) override;

    // Sub-animatable i is reference i.
    int NumSubs() override { return kNumRefs; }
    Animatable* SubAnim(int i) override { return GetReference(i); }
    MSTR SubAnimName(int i, bool localized = true) override;
    int SubNumToRefNum(int subNum) override { return subNum; }

    // Blocks 0 to 3, in slots 0, 6, 8 and 10.
    int NumParamBlocks() override { return 4; }
    IParamBlock2* GetParamBlock(int i) override;
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    int NumSubTexmaps() override { return kNumSubMaps; }
    Texmap* GetSubTexmap(int i) override;
    int MapSlotType(int i) override { return MAPSLOT_TEXTURE; }
    void SetSubTexmap(int i, Texmap* m) override;
    int SubTexmapOn(int i) override;
    MSTR GetSubTexmapSlotName(int i, bool localized = true) override;
    BOOL SetDlgThing(ParamDlg* dlg) override { return FALSE; }

    // The map's whole stored state is its references, which the host saves itself.
    IOResult Save(ISave* isave) override { return IO_OK; }
    // Registers the post-load repair; reads nothing.
    IOResult Load(ILoad* iload) override;

    void Update(TimeValue t, Interval& valid) override;
    void Reset() override;
    Interval Validity(TimeValue t) override;
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;

    ULONG LocalRequirements(int subMtlNum) override;
    void LocalMappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) override;

    AColor EvalColor(ShadeContext& sc) override;
    float EvalMono(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;

    // The generator's scale only: the viewport shows no rotation and no offset.
    void GetUVTransform(Matrix3& uvtrans) override;
    int GetTextureTiling() override;
    int GetUVWSource() override;
    int GetMapChannel() override;
    void InitSlotType(int sType) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    friend void QMEnsureEditorSafeRefs(QuarelMap* map);
    friend class QMPostLoadCallback;

    // Sets slot i as the map sees it, with its typed view.
    void Store(int i, RefTargetHandle target);
    // The block in a slot, or null when it holds none.
    IParamBlock2* BlockIn(int slot) const;
    // A new standard UV generator (real-world scale, 1000 x 1000) in slot 1.
    void InstallNewUVGen();
    // A new output, parented to this map, in slot 7 or 9; null if it could not be stored.
    QuarelNormalMap* InstallNewNormalOut();
    QuarelBumpProcMap* InstallNewBumpOut();
    // Asks the open rollout of the block in `slot` to redraw.
    void RedrawBlockUI(int slot);
    void NotifyChanged();
    void Rebuild(TimeValue t);

    EvalSnapshot mSnapshot;
    std::uint32_t mLogStamp = 0;  // new with every rebuild, for the evaluators' log
    Interval ivalid = NEVER;
    // Non-zero while Update rebuilds the snapshot; changes announced meanwhile keep ivalid.
    std::atomic<int> updatingCount{0};

    std::array<RefTargetHandle, kNumRefs> mRefs{};
    // Typed views of slots 1 to 4, null when the slot holds nothing of that kind, so that
    // evaluation needs no casts.
    UVGen* mUVGen = nullptr;
    std::array<Texmap*, 3> mNested{};

    std::vector<Texmap*> mOutputs;
    QMPostLoadCallback* mPendingLoad = nullptr;
};

}  // namespace QuarelNS
