#include "relief/quarel_normal_map.h"

#include <new>

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "map/quarel_map.h"
#include "params/relief_params.h"
#include "relief/output_post_load.h"
#include "relief/parent_update.h"
#include "shading/relief_height.h"

namespace QuarelNS {

static_assert(kNormalBlock.ownerRefNo == QuarelNormalMap::kRefPBlock);

namespace {

// The parent's name, or "QuarelMap" when it has none, after a prefix.
MSTR WithParentName(const wchar_t* prefix, const QuarelMap& parent) {
    const MSTR name = parent.GetName();
    std::wstring s(prefix);
    s += name.empty() ? std::wstring(L"QuarelMap") : static_cast<const std::wstring&>(name);
    return MSTR(s);
}

}  // namespace

QuarelNormalMap::QuarelNormalMap(bool loading) {
    DiagLog("QuarelNormalMap::ctor [this=0x%p] loading=%d", static_cast<void*>(this),
            loading ? 1 : 0);
    if (!loading) {
        QuarelClassDescOf(QuarelClass::NormalMap).MakeAutoParamBlocks(this);
        DiagLog("  after MakeAutoParamBlocks: mPBlock=0x%p", static_cast<void*>(mPBlock));
    }
}

QuarelNormalMap::~QuarelNormalMap() {
    DiagLog("QuarelNormalMap::dtor [this=0x%p]", static_cast<void*>(this));
    if (mPendingLoad != nullptr) mPendingLoad->MapGone();
    mPendingLoad = nullptr;
    LinkParent(nullptr);
    DeleteAllRefs();
}

void QuarelNormalMap::SetParent(QuarelMap* p) {
    DiagLog("QuarelNormalMap::SetParent [this=0x%p, p=0x%p]", static_cast<void*>(this),
            static_cast<void*>(p));
    LinkParent(p);
}

void QuarelNormalMap::LinkParent(QuarelMap* p) {
    if (mParent == p) return;
    if (mParent != nullptr) mParent->DetachOutput(this);
    mParent = p;
    if (mParent != nullptr) mParent->AttachOutput(this);
}

RefTargetHandle QuarelNormalMap::Clone(RemapDir& remap) {
    auto* clone = new (std::nothrow) QuarelNormalMap(false);
    if (clone == nullptr) return nullptr;
    clone->LinkParent(mParent);
    if (mPBlock != nullptr) clone->ReplaceReference(kRefPBlock, remap.CloneRef(mPBlock));
    BaseClone(this, clone, remap);
    return clone;
}

// --- names ----------------------------------------------------------------------------------

void QuarelNormalMap::GetClassName(MSTR& s, bool) const {
    s = mParent != nullptr ? WithParentName(L"NormalMap:", *mParent)
                           : MSTR(ClassInfo(QuarelClass::NormalMap).className);
}

MSTR QuarelNormalMap::GetFullName(bool) {
    return mParent != nullptr ? WithParentName(L"NormalBump:", *mParent)
                              : MSTR(ClassInfo(QuarelClass::NormalMap).className);
}

Class_ID QuarelNormalMap::ClassID() {
    return ClassIdOf(QuarelClass::NormalMap);
}

MSTR QuarelNormalMap::SubAnimName(int i, bool) {
    return i == 0 ? MSTR(L"Relief Parameters") : MSTR();
}

// --- references -----------------------------------------------------------------------------

RefTargetHandle QuarelNormalMap::GetReference(int i) {
    return i == kRefPBlock ? mPBlock : nullptr;
}

// Only a parameter block (or nothing) is kept; anything else leaves the slot as it was.
void QuarelNormalMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i != kRefPBlock) return;
    mValuesValid.SetEmpty();
    if (rtarg == nullptr) {
        mPBlock = nullptr;
    } else if (rtarg->SuperClassID() == PARAMETER_BLOCK2_CLASS_ID) {
        mPBlock = dynamic_cast<IParamBlock2*>(rtarg);
    } else {
        DiagLog("QuarelNormalMap::SetReference(0): rejecting non-pblock target");
    }
}

RefResult QuarelNormalMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                            RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (hTarget != nullptr && hTarget == mPBlock) {
            mPBlock = nullptr;
            mValidity.SetEmpty();
            mValuesValid.SetEmpty();
        }
    } else if (message == REFMSG_CHANGE) {
        mValidity.SetEmpty();
        mValuesValid.SetEmpty();
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
    }
    return REF_SUCCEED;
}

IParamBlock2* QuarelNormalMap::GetParamBlockByID(BlockID id) {
    return mPBlock != nullptr && mPBlock->ID() == id ? mPBlock : nullptr;
}

// --- editing, loading, updates (main thread) ------------------------------------------------

IOResult QuarelNormalMap::Load(ILoad* iload) {
    if (iload == nullptr) return IO_OK;
    if (auto* callback = new (std::nothrow) QuarelNormalMapPostLoad(this))
        iload->RegisterPostLoadCallback(callback);
    return IO_OK;
}

void QuarelNormalMap::Update(TimeValue t, Interval& valid) {
    UpdateFromParent(mParent, t, valid, mValidity);
    if (!mValuesValid.InInterval(t)) {
        Interval held = FOREVER;
        mValues = ReadValues(t, held);
        mValuesValid = held;
    }
}

void QuarelNormalMap::Reset() {
    mValidity.SetEmpty();
    mValuesValid.SetEmpty();
}

NormalOutputValues QuarelNormalMap::ReadValues(TimeValue t, Interval& valid) const {
    NormalOutputValues v = kNormalOutputWithoutBlock;
    if (mPBlock != nullptr) {
        ReadSnapshot(*mPBlock, kNormalParams, t, v, valid);
        ClampSnapshotRows(kNormalParams, v);
    }
    return v;
}

Interval QuarelNormalMap::Validity(TimeValue t) {
    Interval valid = FOREVER;
    Update(t, valid);
    return valid;
}

ParamDlg* QuarelNormalMap::CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) {
    DiagLog("QuarelNormalMap::CreateParamDlg [this=0x%p] mParent=0x%p mPBlock=0x%p",
            static_cast<void*>(this), static_cast<void*>(mParent), static_cast<void*>(mPBlock));
    ParamDlg* dlg = QuarelClassDescOf(QuarelClass::NormalMap).CreateParamDlgs(hwMtlEdit, imp, this);
    DiagLog("QuarelNormalMap::CreateParamDlg done, dlg=0x%p", static_cast<void*>(dlg));
    return dlg;
}

// --- evaluation (render threads) ------------------------------------------------------------

// An animated value is read at the shading time, as it always was; a render of constant values
// never reaches the block from a render thread.
NormalOutputValues QuarelNormalMap::ValuesAt(TimeValue t) const {
    if (mValuesValid.InInterval(t)) return mValues;
    Interval ignored = FOREVER;
    return ReadValues(t, ignored);
}

AColor QuarelNormalMap::EvalColor(ShadeContext& sc) {
    if (!sc.doMaps) return AColor(0.f, 0.f, 0.f, 0.f);
    QuarelMap* parent = mParent;
    if (parent == nullptr) return AColor(0.5f, 0.5f, 1.f, 1.f);

    // The values at the shading time, so animated depth and relief follow the frame.
    const NormalOutputValues v = ValuesAt(sc.CurTime());
    const NormalSlopes g =
        EvalNormalSlopes(parent->EvalSource(), parent->GetTheUVGen(), sc, v.relief_tex_amount);
    return NormalColorFromSlopes(g, v.normal_depth);
}

float QuarelNormalMap::EvalMono(ShadeContext& sc) {
    return ReliefGrey(EvalColor(sc));
}

Point3 QuarelNormalMap::EvalNormalPerturb(ShadeContext& sc) {
    QuarelMap* parent = mParent;
    if (!sc.doMaps || parent == nullptr) return Point3(0.f, 0.f, 0.f);
    return parent->EvalNormalPerturb(sc);
}

UVGen* QuarelNormalMap::GetTheUVGen() {
    return mParent != nullptr ? mParent->GetTheUVGen() : nullptr;
}

void* QuarelNormalMap::GetInterface(ULONG id) {
    return id == kQuarelReliefHeightId ? static_cast<IQuarelReliefHeight*>(this) : nullptr;
}

float QuarelNormalMap::ReliefHeight(ShadeContext& sc) {
    QuarelMap* parent = mParent;
    if (!sc.doMaps || parent == nullptr) return 0.f;
    return EvalReliefHeight(parent->EvalSource(), parent->GetTheUVGen(), sc,
                            ValuesAt(sc.CurTime()).relief_tex_amount);
}

}  // namespace QuarelNS
