// QuarelNormalMap, the normal-bump output of a QuarelMap, as a host object: one reference, its
// block 100 "normalparams", and a plain back-pointer to the QuarelMap whose pattern it shows.
//
// The back-pointer `mParent` is neither a reference nor saved. It never dangles: SetParent
// registers the output with its parent, the output leaves the parent's list when it dies or
// changes parent, and the parent clears the pointers of every output in its list when it goes.
// All of this runs on the host's main thread.
#pragma once

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

class QuarelMap;

class QuarelNormalMap : public Texmap {
public:
    enum RefSlot : int { kRefPBlock = 0, kNumRefs = 1 };

    explicit QuarelNormalMap(bool loading);
    ~QuarelNormalMap() override;

    // Logs the call and makes p the parent (null: none).
    void SetParent(QuarelMap* p);
    QuarelMap* Parent() const { return mParent; }

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;

    int NumParamBlocks() override { return mPBlock ? 1 : 0; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mPBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    // A new output with a copy of the block; it shares the source's parent, which does not
    // hold it.
    RefTargetHandle Clone(RemapDir& remap) override;

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue t) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    friend class QuarelMap;
    // Moves the output from its parent's list to p's, without a log line.
    void LinkParent(QuarelMap* p);
    // The parent is going: forget it without telling it.
    void ParentGone() { mParent = nullptr; }

    QuarelMap* mParent = nullptr;
    IParamBlock2* mPBlock = nullptr;
};

}  // namespace QuarelNS
