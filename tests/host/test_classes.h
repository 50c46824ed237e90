// Small plug-in classes written against the host, for the host's own tests: a texture map
// with a parameter block, three sub-map slots and some data of its own, and its descriptor.
#pragma once

#include <imtl.h>
#include <ioapi.h>
#include <iparamb2.h>

#include <vector>

namespace hosttest {

enum { kBlockMain = 0, kBlockExtra = 1 };
enum {
    kCount = 0,     // TYPE_INT, animatable
    kAmount = 1,    // TYPE_FLOAT, animatable, range 0..1
    kTint = 2,      // TYPE_RGBA, animatable
    kAngle = 3,     // TYPE_ANGLE
    kOn = 4,        // TYPE_BOOL
    kSubMap = 5,    // TYPE_TEXMAP, P_SUBTEX sub-map 1
    kOwnMap = 6,    // TYPE_TEXMAP held by the block
    kOwnersMap = 7  // TYPE_TEXMAP, P_OWNERS_REF reference 4
};
// References: 0 main block, 1 extra block, 2..3 sub-maps 0..1, 4 the owner-held map.
constexpr int kNumRefs = 5;

class TestMapDesc;
TestMapDesc& Desc();
extern int gLiveMaps;

class TestMap : public Texmap {
public:
    explicit TestMap(bool loading = false);
    ~TestMap() override;

    Class_ID ClassID() override;
    void GetClassName(MSTR& s, bool) const override { s = L"TestMap"; }
    int NumRefs() override { return kNumRefs; }
    RefTargetHandle GetReference(int i) override {
        return i >= 0 && i < kNumRefs ? mRefs[i] : nullptr;
    }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                               RefMessage message, BOOL) override;
    int NumParamBlocks() override { return 2; }
    IParamBlock2* GetParamBlock(int i) override;
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    int NumSubTexmaps() override { return 2; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override;

    AColor EvalColor(ShadeContext& sc) override { return color; }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval& valid) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }
    RefTargetHandle Clone(RemapDir& remap) override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

    IParamBlock2* Block() { return static_cast<IParamBlock2*>(mRefs[0]); }

    AColor color{0.25f, 0.5f, 0.75f, 1.f};
    std::vector<RefMessage> messages;
    bool refuseBlocks = false;
    std::vector<int> loadOrder;  // filled by post-load callbacks

protected:
    void SetReference(int i, RefTargetHandle rtarg) override;

private:
    RefTargetHandle mRefs[kNumRefs] = {};
};

class TestMapDesc : public ClassDesc2 {
public:
    int IsPublic() override { return TRUE; }
    void* Create(BOOL loading) override { return new TestMap(loading != FALSE); }
    const MCHAR* ClassName() override { return L"TestMap"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(0x7E570001, 0x00000001); }
    const MCHAR* Category() override { return L"Test"; }
    const MCHAR* InternalName() override { return L"TestMap"; }
};

// Registers the test classes with the host's class directory (once per process).
void RegisterTestClasses();

}  // namespace hosttest
