// QuarelMap, the module's public brick-and-tile texture map, as a host object: its eleven
// reference slots and its four parameter blocks. Slot numbers are stored in scene files and
// never change.
#pragma once

#include <array>

#include "imtl.h"
#include "iparamb2.h"

namespace QuarelNS {

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

    // `loading`: the host fills the slots from a scene file next.
    explicit QuarelMap(bool loading);
    ~QuarelMap() override;

    void GetClassName(MSTR& s, bool localized = true) const override;
    Class_ID ClassID() override;

    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override;

    // Blocks 0 to 3, in slots 0, 6, 8 and 10.
    int NumParamBlocks() override { return 4; }
    IParamBlock2* GetParamBlock(int i) override;
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    AColor EvalColor(ShadeContext& sc) override;
    Point3 EvalNormalPerturb(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue t) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    std::array<RefTargetHandle, kNumRefs> mRefs{};
};

}  // namespace QuarelNS
