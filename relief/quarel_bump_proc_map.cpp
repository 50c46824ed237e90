#include "relief/quarel_bump_proc_map.h"

#include <atomic>
#include <new>

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "map/quarel_map.h"
#include "params/relief_params.h"
#include "relief/output_post_load.h"
#include "shading/bump_relief.h"

namespace QuarelNS {

static_assert(kBumpProcBlock.ownerRefNo == QuarelBumpProcMap::kRefPBlock);

namespace {

// Module-wide and set from any render thread: an atomic, so the line is written once and the
// flag is never a data race.
std::atomic<bool> gFirstColorLogged{false};

MSTR BumpName(const QuarelMap* parent) {
    if (parent == nullptr) return MSTR(ClassInfo(QuarelClass::BumpProcMap).className);
    const MSTR name = parent->GetName();
    std::wstring s(L"BumpMap:");
    s += name.empty() ? std::wstring(L"QuarelMap") : static_cast<const std::wstring&>(name);
    return MSTR(s);
}

}  // namespace

QuarelBumpProcMap::QuarelBumpProcMap(bool loading) {
    DiagLog("QuarelBumpProcMap::ctor [this=0x%p] loading=%d", static_cast<void*>(this),
            loading ? 1 : 0);
    if (!loading) {
        QuarelClassDescOf(QuarelClass::BumpProcMap).MakeAutoParamBlocks(this);
        DiagLog("  after MakeAutoParamBlocks: mPBlock=0x%p", static_cast<void*>(mPBlock));
    }
}

QuarelBumpProcMap::~QuarelBumpProcMap() {
    DiagLog("QuarelBumpProcMap::dtor [this=0x%p]", static_cast<void*>(this));
    if (mPendingLoad != nullptr) mPendingLoad->MapGone();
    mPendingLoad = nullptr;
    LinkParent(nullptr);
    DeleteAllRefs();
}

void QuarelBumpProcMap::SetParent(QuarelMap* p) {
    DiagLog("QuarelBumpProcMap::SetParent [this=0x%p, p=0x%p]", static_cast<void*>(this),
            static_cast<void*>(p));
    LinkParent(p);
}

void QuarelBumpProcMap::LinkParent(QuarelMap* p) {
    if (mParent == p) return;
    if (mParent != nullptr) mParent->DetachOutput(this);
    mParent = p;
    if (mParent != nullptr) mParent->AttachOutput(this);
}

RefTargetHandle QuarelBumpProcMap::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelBumpProcMap(false);
    if (clone == nullptr) return nullptr;
    DiagLog("QuarelBumpProcMap::Clone src=0x%p new=0x%p src.mParent=0x%p", static_cast<void*>(this),
            static_cast<void*>(clone), static_cast<void*>(mParent));
    clone->LinkParent(mParent);
    if (mPBlock != nullptr) clone->ReplaceReference(kRefPBlock, remap.CloneRef(mPBlock));
    if (mBumpTexture != nullptr)
        clone->ReplaceReference(kRefBumpTexture, remap.CloneRef(mBumpTexture));
    BaseClone(this, clone, remap);
    DiagLog("QuarelBumpProcMap::Clone done new=0x%p new.mParent=0x%p new.mPBlock=0x%p",
            static_cast<void*>(clone), static_cast<void*>(clone->mParent),
            static_cast<void*>(clone->mPBlock));
    return clone;
}

// --- names ----------------------------------------------------------------------------------

void QuarelBumpProcMap::GetClassName(MSTR& s, bool) const {
    s = BumpName(mParent);
}

MSTR QuarelBumpProcMap::GetFullName(bool) {
    return BumpName(mParent);
}

Class_ID QuarelBumpProcMap::ClassID() {
    return ClassIdOf(QuarelClass::BumpProcMap);
}

MSTR QuarelBumpProcMap::SubAnimName(int i, bool) {
    switch (i) {
        case kRefPBlock:
            return MSTR(L"Bump Parameters");
        case kRefBumpTexture:
            return MSTR(L"Bump Texture");
        default:
            return MSTR();
    }
}

int QuarelBumpProcMap::SubNumToRefNum(int subNum) {
    return subNum >= 0 && subNum < kNumRefs ? subNum : -1;
}

// --- references and the sub-map ------------------------------------------------------------

RefTargetHandle QuarelBumpProcMap::GetReference(int i) {
    switch (i) {
        case kRefPBlock:
            return mPBlock;
        case kRefBumpTexture:
            return mBumpTexture;
        default:
            return nullptr;
    }
}

// A slot keeps only a target of its kind (or nothing); anything else leaves it as it was.
void QuarelBumpProcMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i == kRefPBlock) {
        if (rtarg == nullptr || rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID)
            mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
        else
            DiagLog("QuarelBumpProcMap::SetReference(0): rejecting non-pblock target");
    } else if (i == kRefBumpTexture) {
        if (rtarg == nullptr || rtarg->SuperClassID() == TEXMAP_CLASS_ID)
            mBumpTexture = dynamic_cast<Texmap*>(rtarg);
        else
            DiagLog("QuarelBumpProcMap::SetReference(1): rejecting non-Texmap target");
    }
}

RefResult QuarelBumpProcMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                              RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (hTarget != nullptr && hTarget == mPBlock) mPBlock = nullptr;
        if (hTarget != nullptr && hTarget == mBumpTexture) mBumpTexture = nullptr;
        mValidity.SetEmpty();
    } else if (message == REFMSG_CHANGE) {
        mValidity.SetEmpty();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }
    return REF_SUCCEED;
}

IParamBlock2* QuarelBumpProcMap::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

void QuarelBumpProcMap::SetSubTexmap(int i, Texmap* m) {
    if (i != 0 || m == mBumpTexture) return;
    ReplaceReference(kRefBumpTexture, m);
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

MSTR QuarelBumpProcMap::GetSubTexmapSlotName(int i, bool) {
    return i == 0 ? MSTR(L"Bump Texture") : MSTR();
}

// --- editing, loading, updates (main thread) ------------------------------------------------

IOResult QuarelBumpProcMap::Load(ILoad* iload) {
    if (iload == nullptr) return IO_OK;
    if (auto* callback = new (std::nothrow) QuarelBumpProcMapPostLoad(this))
        iload->RegisterPostLoadCallback(callback);
    return IO_OK;
}

void QuarelBumpProcMap::Update(TimeValue t, Interval& valid) {
    if (!mValidity.InInterval(t)) {
        mValidity = FOREVER;
        if (mPBlock != nullptr) ReadSnapshot(*mPBlock, kBumpProcParams, t, mValues, mValidity);
        if (mBumpTexture != nullptr) mBumpTexture->Update(t, mValidity);
    }
    // Every call, not only when the cache is re-read: the parent may have changed since, and
    // evaluation reads its snapshot without ever updating it.
    if (mParent != nullptr) mParent->Update(t, mValidity);
    valid &= mValidity;
}

void QuarelBumpProcMap::Reset() {
    mValidity.SetEmpty();
}

Interval QuarelBumpProcMap::Validity(TimeValue t) {
    Interval local = FOREVER;
    Update(t, local);
    return mValidity;
}

ParamDlg* QuarelBumpProcMap::CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) {
    DiagLog("QuarelBumpProcMap::CreateParamDlg [this=0x%p] mParent=0x%p mPBlock=0x%p",
            static_cast<void*>(this), static_cast<void*>(mParent), static_cast<void*>(mPBlock));
    return QuarelClassDescOf(QuarelClass::BumpProcMap).CreateParamDlgs(hwMtlEdit, imp, this);
}

// --- evaluation (render threads) ------------------------------------------------------------

// Reads the cache and the parent's snapshot as the last Update left them: no Update here, so
// no render thread ever rebuilds what another one is reading.
AColor QuarelBumpProcMap::EvalColor(ShadeContext& sc) {
    if (!gFirstColorLogged.load(std::memory_order_relaxed) &&
        !gFirstColorLogged.exchange(true, std::memory_order_relaxed)) {
        DiagLog(
            "QuarelBumpProcMap::EvalColor FIRST CALL [this=0x%p] mParent=0x%p mPBlock=0x%p "
            "doMaps=%d",
            static_cast<void*>(this), static_cast<void*>(mParent), static_cast<void*>(mPBlock),
            sc.doMaps ? 1 : 0);
    }
    QuarelMap* parent = mParent;
    if (parent == nullptr) return AColor(0.f, 0.f, 0.f, 1.f);
    return EvalBumpReliefColor(parent->EvalSource(), parent->GetTheUVGen(), sc, Relief());
}

float QuarelBumpProcMap::EvalMono(ShadeContext& sc) {
    return ReliefGrey(EvalColor(sc));
}

BumpReliefValues QuarelBumpProcMap::Relief() const {
    const BumpOutputValues& v = mValues;
    return BumpReliefValues{v.brick_color, v.brick_color_2, v.grout_color, mBumpTexture,
                            v.bump_map_on, v.depth,         v.tex_relief};
}

Point3 QuarelBumpProcMap::EvalNormalPerturb(ShadeContext& sc) {
    QuarelMap* parent = mParent;
    if (!sc.doMaps || parent == nullptr) return Point3(0.f, 0.f, 0.f);
    return EvalBumpReliefPerturb(parent->EvalSource(), parent->GetTheUVGen(), sc, Relief());
}

UVGen* QuarelBumpProcMap::GetTheUVGen() {
    return mParent != nullptr ? mParent->GetTheUVGen() : nullptr;
}

}  // namespace QuarelNS
