#include "test_classes.h"

#include <host/class_directory.h>

namespace hosttest {

int gLiveMaps = 0;

TestMapDesc& Desc() {
    static TestMapDesc desc;
    return desc;
}

namespace {

// Declared the SDK's way; out of id order on purpose: values are found by id.
// clang-format off
ParamBlockDesc2 gMainBlock(kBlockMain, L"params", 0, &Desc(),
    P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP | P_VERSION, 2, 0,
    // rollouts: map id, dialog, title, test and rollup flags, procedure
    2, 0, 100, 1, 0, 0, nullptr,
       1, 101, 2, 0, 0, nullptr,
    kAmount, L"amount", TYPE_FLOAT, P_ANIMATABLE, 0,
        p_default, 0.5f,
        p_range, 0.f, 1.f,
        p_ui, 0, TYPE_SPINNER, EDITTYPE_FLOAT, 1002, 1003, 0.01f,
        p_end,
    kCount, L"count", TYPE_INT, P_ANIMATABLE, 0, p_default, 4, p_end,
    kTint, L"tint", TYPE_RGBA, P_ANIMATABLE, 0, p_default, Color(0.7f, 0.35f, 0.25f), p_end,
    kAngle, L"angle", TYPE_ANGLE, 0, 0, p_default, 0.f, p_end,
    kOn, L"on", TYPE_BOOL, 0, 0, p_default, TRUE, p_end,
    kSubMap, L"sub_map", TYPE_TEXMAP, P_SUBTEX | P_NO_REF | P_SHORT_LABELS, 0,
        p_subtexno, 1,
        p_end,
    kOwnMap, L"own_map", TYPE_TEXMAP, 0, 0, p_end,
    kOwnersMap, L"owners_map", TYPE_TEXMAP, P_OWNERS_REF | P_SHORT_LABELS, 0,
        p_refno, 4,
        p_end,
    p_end);

ParamBlockDesc2 gExtraBlock(kBlockExtra, L"extra", 0, &Desc(), P_AUTO_CONSTRUCT, 1,
    0, L"depth", TYPE_FLOAT, 0, 0, p_default, 1.0, p_end,
    p_end);
// clang-format on

// Appends the map's tag to its own list, so tests can see the order callbacks ran in; may
// register a follow-up callback while it runs.
class OrderCallback : public PostLoadCallback {
public:
    OrderCallback(TestMap* m, int prio, int then = -1) : mMap(m), mPrio(prio), mThen(then) {}
    void proc(ILoad* iload) override {
        mMap->loadOrder.push_back(mPrio);
        if (mThen >= 0) iload->RegisterPostLoadCallback(new OrderCallback(mMap, mThen));
        delete this;
    }
    int Priority() override { return mPrio; }

private:
    TestMap* mMap;
    int mPrio;
    int mThen;
};

constexpr USHORT kColorChunk = 0x0042;

}  // namespace

TestMap::TestMap(bool loading) {
    ++gLiveMaps;
    Desc().MakeAutoParamBlocks(this);
}

TestMap::~TestMap() {
    DeleteAllRefs();
    --gLiveMaps;
}

Class_ID TestMap::ClassID() {
    return Desc().ClassID();
}

RefResult TestMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                    RefMessage message, BOOL) {
    messages.push_back(message);
    if (message == REFMSG_TARGET_DELETED) {
        for (auto& r : mRefs)
            if (r == hTarget) r = nullptr;
    }
    return REF_SUCCEED;
}

IParamBlock2* TestMap::GetParamBlock(int i) {
    return i == 0 || i == 1 ? static_cast<IParamBlock2*>(mRefs[i]) : nullptr;
}

IParamBlock2* TestMap::GetParamBlockByID(BlockID id) {
    for (int i = 0; i < 2; ++i)
        if (auto* pb = GetParamBlock(i); pb && pb->ID() == id) return pb;
    return nullptr;
}

Texmap* TestMap::GetSubTexmap(int i) {
    return i == 0 || i == 1 ? static_cast<Texmap*>(mRefs[2 + i]) : nullptr;
}

void TestMap::SetSubTexmap(int i, Texmap* m) {
    if (i == 0 || i == 1) ReplaceReference(2 + i, m);
}

void TestMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i < 0 || i >= kNumRefs) return;
    // A refusal empties the slot: the host no longer counts the earlier target there.
    const bool refused =
        rtarg && (i <= 1 ? refuseBlocks || rtarg->SuperClassID() != PARAMETER_BLOCK2_CLASS_ID
                         : rtarg->SuperClassID() != TEXMAP_CLASS_ID);
    mRefs[i] = refused ? nullptr : rtarg;
}

RefTargetHandle TestMap::Clone(RemapDir& remap) {
    auto* m = new TestMap(false);
    for (int i = 0; i < kNumRefs; ++i)
        if (mRefs[i]) m->ReplaceReference(i, remap.CloneRef(mRefs[i]));
    m->color = color;
    BaseClone(this, m, remap);
    return m;
}

IOResult TestMap::Save(ISave* isave) {
    ULONG nb = 0;
    isave->BeginChunk(kColorChunk);
    isave->Write(&color, sizeof(color), &nb);
    isave->EndChunk();
    return IO_OK;
}

IOResult TestMap::Load(ILoad* iload) {
    ULONG nb = 0;
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() == kColorChunk && iload->Read(&color, sizeof(color), &nb) != IO_OK)
            return IO_ERROR;
        iload->CloseChunk();
    }
    // Registered out of priority order: the host sorts them. One is registered twice, and one
    // registers another while it runs.
    auto* five = new OrderCallback(this, 5);
    iload->RegisterPostLoadCallback(new OrderCallback(this, 7));
    iload->RegisterPostLoadCallback(new OrderCallback(this, 2, 1));
    iload->RegisterPostLoadCallback(five);
    iload->RegisterPostLoadCallback(five);
    return res == IO_END ? IO_OK : IO_ERROR;
}

void RegisterTestClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterClassDesc(&Desc());
}

}  // namespace hosttest
