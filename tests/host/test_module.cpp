// A small plug-in module for the host's loader tests, written as a plug-in would be: DllMain,
// the six exports, a class descriptor with a parameter block, and a string table. Built three
// times: as it should be, with a wrong version word, and without LibShutdown.
#include <max.h>
#include <w32_resources.h>

namespace {

const W32StringResource kStrings[] = {
    {1, L"Test Module"},
    {2, L"A rather longer string for truncation"},
};
const W32DialogItem kItems[] = {
    {1001, "BUTTON", L"Use", 0x50010003u, 0, 7, 8, 30, 10},
};
const W32DialogResource kDialogs[] = {
    {100, L"", 0x54000040u, 217, 26, kItems, 1},
};
const W32ModuleResources kResources = {kW32ResourcesVersion, kStrings, 2, kDialogs, 1};

HINSTANCE gInstance = nullptr;
int gAttachCount = 0;
int gInitCount = 0;
wchar_t gDescription[64];

class ModuleMapDesc;
ModuleMapDesc& Desc();

class ModuleMap : public Texmap {
public:
    explicit ModuleMap(BOOL loading);
    ~ModuleMap() override { DeleteAllRefs(); }
    Class_ID ClassID() override { return Class_ID(0x7E570002, 0x2); }
    void GetClassName(MSTR& s, bool) const override { s = L"ModuleMap"; }
    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? mBlock : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle h, PartID&, RefMessage m,
                               BOOL) override {
        if (m == REFMSG_TARGET_DELETED && h == mBlock) mBlock = nullptr;
        return REF_SUCCEED;
    }
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? mBlock : nullptr; }
    IParamBlock2* GetParamBlockByID(BlockID id) override {
        return mBlock && mBlock->ID() == id ? mBlock : nullptr;
    }
    AColor EvalColor(ShadeContext&) override {
        return AColor(mBlock ? mBlock->GetColor(0) : Color(0.f, 0.f, 0.f));
    }
    Point3 EvalNormalPerturb(ShadeContext&) override { return Point3(); }
    void Update(TimeValue, Interval&) override {}
    void Reset() override {}
    Interval Validity(TimeValue) override { return FOREVER; }
    ParamDlg* CreateParamDlg(HWND, IMtlParams*) override { return nullptr; }

protected:
    void SetReference(int i, RefTargetHandle r) override {
        if (i == 0 && (!r || r->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID))
            mBlock = static_cast<IParamBlock2*>(r);
    }

private:
    IParamBlock2* mBlock = nullptr;
};

class ModuleMapDesc : public ClassDesc2 {
public:
    int IsPublic() override { return TRUE; }
    void* Create(BOOL loading) override { return new ModuleMap(loading); }
    const MCHAR* ClassName() override { return L"ModuleMap"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(0x7E570002, 0x2); }
    const MCHAR* Category() override { return L"Test"; }
    HINSTANCE HInstance() override { return gInstance; }
};

ModuleMapDesc& Desc() {
    static ModuleMapDesc desc;
    return desc;
}

// clang-format off
ParamBlockDesc2 gBlock(0, L"params", 0, &Desc(), P_AUTO_CONSTRUCT, 0,
    0, L"color", TYPE_RGBA, P_ANIMATABLE, 0,
#ifdef TEST_MODULE_BAD_DECLARATION
        p_default, 1,  // an int where a colour is due
#else
        p_default, Color(0.2f, 0.4f, 0.6f),
#endif
        p_end,
    p_end);
// clang-format on

ModuleMap::ModuleMap(BOOL) {
    Desc().MakeAutoParamBlocks(this);
}

}  // namespace

extern "C" __declspec(dllexport) const W32ModuleResources* W32StandInModuleResources() {
    return &kResources;
}

BOOL WINAPI DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        gInstance = hinstDLL;
        ++gAttachCount;
        DisableThreadLibraryCalls(hinstDLL);
    } else if (fdwReason == DLL_PROCESS_DETACH) {
        --gAttachCount;
    }
    return TRUE;
}

extern "C" {

__declspec(dllexport) const TCHAR* LibDescription() {
    LoadString(gInstance, 1, gDescription, 64);
    return gDescription;
}
__declspec(dllexport) int LibNumberClasses() {
    return 1;
}
__declspec(dllexport) ClassDesc* LibClassDesc(int i) {
    return i == 0 ? &Desc() : nullptr;
}
__declspec(dllexport) ULONG LibVersion() {
#ifdef TEST_MODULE_WRONG_VERSION
    return VERSION_3DSMAX + 1;
#else
    return VERSION_3DSMAX;
#endif
}
__declspec(dllexport) int LibInitialize() {
    ++gInitCount;
    return TRUE;
}
#ifndef TEST_MODULE_NO_SHUTDOWN
__declspec(dllexport) int LibShutdown() {
    --gInitCount;
    return TRUE;
}
#endif

// Queries for the tests.
__declspec(dllexport) HINSTANCE TestModuleInstance() {
    return gInstance;
}
__declspec(dllexport) int TestModuleAttachCount() {
    return gAttachCount;
}
__declspec(dllexport) int TestModuleInitCount() {
    return gInitCount;
}

}  // extern "C"
