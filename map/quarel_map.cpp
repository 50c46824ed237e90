#include "map/quarel_map.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "base/class_lookup.h"
#include "base/diag_log.h"
#include "iparamm2.h"
#include "map/map_post_load.h"
#include "map/map_repair.h"
#include "maxapi.h"
#include "params/main_params.h"
#include "params/relief_params.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"
#include "shading/mono.h"
#include "shading/relief_height.h"
#include "stdmat.h"

namespace QuarelNS {
namespace {

constexpr int kBlockSlots[] = {QuarelMap::kRefPBlock, QuarelMap::kRefPBlockBump,
                               QuarelMap::kRefPBlockNormalBtn, QuarelMap::kRefPBlockBumpBtn};
static_assert(kMainBlock.ownerRefNo == QuarelMap::kRefPBlock &&
              kBumpBlock.ownerRefNo == QuarelMap::kRefPBlockBump &&
              kNormalButtonBlock.ownerRefNo == QuarelMap::kRefPBlockNormalBtn &&
              kBumpButtonBlock.ownerRefNo == QuarelMap::kRefPBlockBumpBtn);

// Slot names as the log lines print them.
constexpr const char* kSlotNames[QuarelMap::kNumRefs] = {
    "pblock",         "uvGen",       "tilesMap",     "groutMap",          "tilesMap2",
    "legacyBumpMap",  "pblock_bump", "normalOutMap", "pblock_normal_btn", "bumpOutMap",
    "pblock_bump_btn"};

constexpr const MCHAR* kSubAnimNames[QuarelMap::kNumRefs] = {
    L"Parameters",         L"Coordinates",       L"Tiles Map",       L"Grout Map",
    L"Brick 2 Map",        L"Bump Map (legacy)", L"Bump Parameters", L"Normal Bump Output",
    L"Normal Bump Button", L"Bump Output",       L"Bump Button"};

constexpr const MCHAR* kSubMapSlotNames[QuarelMap::kNumSubMaps] = {L"Tiles", L"Grout", L"Brick 2",
                                                                   L"Normal Out", L""};

// Sub-maps 0 to 2 and their "Use" switches in the main block.
constexpr int kNestedSlots[] = {QuarelMap::kRefTilesMap, QuarelMap::kRefGroutMap,
                                QuarelMap::kRefTilesMap2};
constexpr ParamID kNestedSwitches[] = {MainParam::brick_map_on, MainParam::grout_map_on,
                                       MainParam::brick_map_2_on};

// Counts sub-map queries module-wide to log only every 32nd; render threads query too.
std::atomic<unsigned> gSubTexmapQueries{0};

const char* SlotName(int i) {
    return i >= 0 && i < QuarelMap::kNumRefs ? kSlotNames[i] : "?";
}

IParamBlock2* AsBlock(RefTargetHandle target) {
    if (target == nullptr || target->SuperClassID() != PARAMETER_BLOCK2_CLASS_ID) return nullptr;
    return dynamic_cast<IParamBlock2*>(target);
}

Texmap* AsTexmap(RefTargetHandle target) {
    if (target == nullptr || target->SuperClassID() != TEXMAP_CLASS_ID) return nullptr;
    return dynamic_cast<Texmap*>(target);
}

UVGen* AsUVGen(RefTargetHandle target) {
    if (target == nullptr || target->SuperClassID() != UVGEN_CLASS_ID) return nullptr;
    return dynamic_cast<UVGen*>(target);
}

template <typename Output>
Output* AsOutput(Animatable* target, QuarelClass cls) {
    return IsQuarelClass(target, cls) ? dynamic_cast<Output*>(target) : nullptr;
}

// A new output of its class parented to `map` and stored in `slot`; dropped again if the slot
// did not take it.
template <typename Output>
Output* InstallOutput(QuarelMap* map, int slot) {
    auto* output = new (std::nothrow) Output(false);
    if (output == nullptr) return nullptr;
    output->SetParent(map);
    map->ReplaceReference(slot, output);
    if (map->GetReference(slot) != output) {
        output->MaybeAutoDelete();
        return nullptr;
    }
    return output;
}

unsigned Word(ULONG w) {
    return static_cast<unsigned>(w);
}

}  // namespace

QuarelMap::QuarelMap(bool loading) {
    DiagLog("QuarelMap::ctor [this=0x%p] loading=%d createDefaultRefs=%d", static_cast<void*>(this),
            loading ? 1 : 0, 1);
    if (mRefs[kRefNormalOutMap] == nullptr) {
        InstallNewNormalOut();
        DiagLog("  after ReplaceReference(NormalOut): normalOutMap=0x%p",
                static_cast<void*>(mRefs[kRefNormalOutMap]));
    }
    if (mRefs[kRefBumpOutMap] == nullptr) {
        InstallNewBumpOut();
        DiagLog("  after ReplaceReference(BumpOut): bumpOutMap=0x%p",
                static_cast<void*>(mRefs[kRefBumpOutMap]));
    }
    QuarelClassDescOf(QuarelClass::Map).MakeAutoParamBlocks(this);
    DiagLog(
        "  after MakeAutoParamBlocks: pblock=0x%p pblock_bump=0x%p pblock_normal_btn=0x%p "
        "pblock_bump_btn=0x%p",
        static_cast<void*>(mRefs[kRefPBlock]), static_cast<void*>(mRefs[kRefPBlockBump]),
        static_cast<void*>(mRefs[kRefPBlockNormalBtn]),
        static_cast<void*>(mRefs[kRefPBlockBumpBtn]));
    if (!loading) {
        InstallNewUVGen();
        DiagLog("  after ReplaceReference(UVGen): uvGen=0x%p",
                static_cast<void*>(mRefs[kRefUVGen]));
    }
    DiagLog("QuarelMap::ctor done");
}

QuarelMap::~QuarelMap() {
    DiagLog("QuarelMap::dtor [this=0x%p]", static_cast<void*>(this));
    if (mPendingLoad != nullptr) mPendingLoad->MapGone();
    mPendingLoad = nullptr;
    // Every output that points here, held in slot 7 or 9 or not (a clone of one), forgets this
    // map before the references go, so none is left with a dangling parent.
    std::vector<Texmap*> outputs;
    outputs.swap(mOutputs);
    for (Texmap* output : outputs) {
        if (auto* normal = dynamic_cast<QuarelNormalMap*>(output))
            normal->ParentGone();
        else if (auto* bump = dynamic_cast<QuarelBumpProcMap*>(output))
            bump->ParentGone();
    }
    DeleteAllRefs();
    DiagLog("QuarelMap::dtor done");
}

// --- slots ----------------------------------------------------------------------------------

BrickEvalSource QuarelMap::EvalSource() const {
    return BrickEvalSource{&mSnapshot, mNested[0], mNested[1], mNested[2], this, mLogStamp};
}

QuarelNormalMap* QuarelMap::NormalOut() const {
    return AsOutput<QuarelNormalMap>(mRefs[kRefNormalOutMap], QuarelClass::NormalMap);
}

QuarelBumpProcMap* QuarelMap::BumpOut() const {
    return AsOutput<QuarelBumpProcMap>(mRefs[kRefBumpOutMap], QuarelClass::BumpProcMap);
}

void QuarelMap::AttachOutput(Texmap* output) {
    if (output != nullptr && std::find(mOutputs.begin(), mOutputs.end(), output) == mOutputs.end())
        mOutputs.push_back(output);
}

void QuarelMap::DetachOutput(Texmap* output) {
    mOutputs.erase(std::remove(mOutputs.begin(), mOutputs.end(), output), mOutputs.end());
}

void QuarelMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::Map).className;
}

Class_ID QuarelMap::ClassID() {
    return ClassIdOf(QuarelClass::Map);
}

RefTargetHandle QuarelMap::GetReference(int i) {
    return i >= 0 && i < kNumRefs ? mRefs[static_cast<std::size_t>(i)] : nullptr;
}

void QuarelMap::Store(int i, RefTargetHandle target) {
    // The snapshot reads blocks and outputs through these slots: a new target needs a rebuild.
    if (mRefs[static_cast<std::size_t>(i)] != target && updatingCount.load() == 0)
        ivalid.SetEmpty();
    mRefs[static_cast<std::size_t>(i)] = target;
    if (i == kRefUVGen) mUVGen = AsUVGen(target);
    if (i >= kRefTilesMap && i <= kRefTilesMap2)
        mNested[static_cast<std::size_t>(i - kRefTilesMap)] = AsTexmap(target);
}

// Slots 7 to 10 take only their kind of target. A refused target empties the slot rather than
// leaving the earlier one there: the host may release the earlier target after this call, and
// the map must not go on using it. The repair fills the emptied slot again.
void QuarelMap::SetReference(int i, RefTargetHandle rtarg) {
    const unsigned super = rtarg != nullptr ? Word(rtarg->SuperClassID()) : 0u;
    const Class_ID cid = rtarg != nullptr ? rtarg->ClassID() : Class_ID(0, 0);
    DiagLog(
        "QuarelMap::SetReference(this=0x%p, i=%d/%s, rtarg=0x%p, rtargSuper=0x%x, "
        "rtargClassA=0x%x, rtargClassB=0x%x)",
        static_cast<void*>(this), i, SlotName(i), static_cast<void*>(rtarg), super,
        Word(cid.PartA()), Word(cid.PartB()));
    if (i < 0 || i >= kNumRefs) return;
    if (rtarg == nullptr || i < kRefNormalOutMap) {
        Store(i, rtarg);
        return;
    }
    switch (i) {
        case kRefNormalOutMap: {
            auto* normal = AsOutput<QuarelNormalMap>(rtarg, QuarelClass::NormalMap);
            if (normal == nullptr) {
                DiagLog(
                    "QuarelMap::SetReference(7): ignoring non-QuarelNormalMap target "
                    "(classID=(%x,%x))",
                    Word(cid.PartA()), Word(cid.PartB()));
                Store(i, nullptr);
                return;
            }
            Store(i, normal);
            if (normal->Parent() != this) normal->SetParent(this);
            return;
        }
        case kRefBumpOutMap: {
            auto* bump = AsOutput<QuarelBumpProcMap>(rtarg, QuarelClass::BumpProcMap);
            if (bump == nullptr) {
                DiagLog(
                    "QuarelMap::SetReference(9): ignoring non-QuarelBumpProcMap target "
                    "(classID=(%x,%x))",
                    Word(cid.PartA()), Word(cid.PartB()));
                Store(i, nullptr);
                return;
            }
            Store(i, bump);
            if (bump->Parent() != this) bump->SetParent(this);
            return;
        }
        case kRefPBlockNormalBtn:
            if (super != PARAMETER_BLOCK2_CLASS_ID) {
                DiagLog(
                    "QuarelMap::SetReference(8): ignoring legacy non-pblock target "
                    "(superclass=0x%x, classID=(%x,%x))",
                    super, Word(cid.PartA()), Word(cid.PartB()));
                Store(i, nullptr);
                return;
            }
            Store(i, rtarg);
            return;
        default:  // slot 10
            if (super != PARAMETER_BLOCK2_CLASS_ID) {
                DiagLog("QuarelMap::SetReference(10): ignoring non-pblock target");
                Store(i, nullptr);
                return;
            }
            Store(i, rtarg);
            return;
    }
}

RefResult QuarelMap::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                      RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED) {
        if (updatingCount.load() == 0) ivalid.SetEmpty();
        for (int i = 0; i < kNumRefs; ++i) {
            if (mRefs[static_cast<std::size_t>(i)] == hTarget) Store(i, nullptr);
        }
    } else if (message == REFMSG_CHANGE) {
        if (updatingCount.load() == 0) ivalid.SetEmpty();
    }
    return REF_SUCCEED;
}

MSTR QuarelMap::SubAnimName(int i, bool) {
    return i >= 0 && i < kNumRefs ? MSTR(kSubAnimNames[i]) : MSTR();
}

IParamBlock2* QuarelMap::BlockIn(int slot) const {
    return AsBlock(mRefs[static_cast<std::size_t>(slot)]);
}

IParamBlock2* QuarelMap::GetParamBlock(int i) {
    return i >= 0 && i < NumParamBlocks() ? BlockIn(kBlockSlots[i]) : nullptr;
}

IParamBlock2* QuarelMap::GetParamBlockByID(BlockID id) {
    for (int slot : kBlockSlots) {
        IParamBlock2* pb = BlockIn(slot);
        if (pb != nullptr && pb->ID() == id) return pb;
    }
    return nullptr;
}

// --- parts the map makes itself -------------------------------------------------------------

void QuarelMap::InstallNewUVGen() {
    UVGen* uv = GetNewDefaultUVGen();
    if (uv != nullptr && uv->IsStdUVGen()) {
        if (auto* standard = dynamic_cast<StdUVGen*>(uv)) {
            standard->SetUseRealWorldScale(TRUE);
            standard->SetUScl(1000.f, 0);
            standard->SetVScl(1000.f, 0);
        }
    }
    ReplaceReference(kRefUVGen, uv);
    if (uv != nullptr && mRefs[kRefUVGen] != uv) uv->MaybeAutoDelete();
}

QuarelNormalMap* QuarelMap::InstallNewNormalOut() {
    return InstallOutput<QuarelNormalMap>(this, kRefNormalOutMap);
}

QuarelBumpProcMap* QuarelMap::InstallNewBumpOut() {
    return InstallOutput<QuarelBumpProcMap>(this, kRefBumpOutMap);
}

// --- sub-maps -------------------------------------------------------------------------------

Texmap* QuarelMap::GetSubTexmap(int i) {
    Texmap* m = nullptr;
    if (i >= kSubTiles && i <= kSubTiles2)
        m = mNested[static_cast<std::size_t>(i)];
    else if (i == kSubNormalOut)
        m = NormalOut();
    else if (i == kSubBumpOut)
        m = BumpOut();
    if (gSubTexmapQueries.fetch_add(1, std::memory_order_relaxed) % 32 == 0) {
        DiagLog("QuarelMap::GetSubTexmap(this=0x%p, i=%d) -> 0x%p", static_cast<void*>(this), i,
                static_cast<void*>(m));
    }
    return m;
}

int QuarelMap::SubTexmapOn(int i) {
    IParamBlock2* pb = BlockIn(kRefPBlock);
    if (pb == nullptr || i < kSubTiles || i > kSubTiles2) return 1;
    Interface* ip = GetCOREInterface();
    const TimeValue t = ip != nullptr ? ip->GetTime() : 0;
    int on = 0;
    Interval valid = FOREVER;
    pb->GetValue(kNestedSwitches[i], t, on, valid);
    return on;
}

MSTR QuarelMap::GetSubTexmapSlotName(int i, bool) {
    return i >= 0 && i < kNumSubMaps ? MSTR(kSubMapSlotNames[i]) : MSTR();
}

void QuarelMap::RedrawBlockUI(int slot) {
    if (IParamBlock2* pb = BlockIn(slot)) {
        if (IParamMap2* pm = pb->GetMap(0)) pm->Invalidate();
    }
}

void QuarelMap::NotifyChanged() {
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

// The relief outputs can be neither cleared nor replaced by a foreign map through the sub-map
// interface: such a request keeps the map's own output, or makes a new one.
void QuarelMap::SetSubTexmap(int i, Texmap* m) {
    DiagLog("QuarelMap::SetSubTexmap(i=%d, m=0x%p)", i, static_cast<void*>(m));
    if (m == this) {
        DiagLog("QuarelMap::SetSubTexmap ignored self-reference request");
        return;
    }
    if (i >= kSubTiles && i <= kSubTiles2) {
        const int slot = kNestedSlots[i];
        if (mRefs[static_cast<std::size_t>(slot)] == m) {
            DiagLog("QuarelMap::SetSubTexmap ignored unchanged map pointer");
            return;
        }
        ReplaceReference(slot, m);
        RedrawBlockUI(kRefPBlock);
        ivalid.SetEmpty();
        NotifyChanged();
        return;
    }
    if (i == kSubNormalOut) {
        if (mRefs[kRefNormalOutMap] == m) {
            DiagLog("QuarelMap::SetSubTexmap normal-out unchanged");
            return;
        }
        if (auto* normal = AsOutput<QuarelNormalMap>(m, QuarelClass::NormalMap)) {
            DiagLog("QuarelMap::SetSubTexmap accepting QuarelNormalMap replacement");
            ReplaceReference(kRefNormalOutMap, normal);
            if (normal->Parent() != this) normal->SetParent(this);
            RedrawBlockUI(kRefPBlock);
            RedrawBlockUI(kRefPBlockBump);
            ivalid.SetEmpty();
        } else {
            DiagLog("QuarelMap::SetSubTexmap rejecting normal-out replacement, restoring own");
            if (mRefs[kRefNormalOutMap] == nullptr) InstallNewNormalOut();
            RedrawBlockUI(kRefPBlock);
            RedrawBlockUI(kRefPBlockBump);
        }
        NotifyChanged();
        return;
    }
    if (i == kSubBumpOut) {
        if (mRefs[kRefBumpOutMap] == m) {
            DiagLog("QuarelMap::SetSubTexmap bump-out unchanged");
            return;
        }
        if (auto* bump = AsOutput<QuarelBumpProcMap>(m, QuarelClass::BumpProcMap)) {
            DiagLog("QuarelMap::SetSubTexmap accepting QuarelBumpProcMap replacement");
            ReplaceReference(kRefBumpOutMap, bump);
            if (bump->Parent() != this) bump->SetParent(this);
            RedrawBlockUI(kRefPBlock);
            ivalid.SetEmpty();
        } else {
            DiagLog("QuarelMap::SetSubTexmap rejecting bump-out replacement, restoring own");
            if (mRefs[kRefBumpOutMap] == nullptr) InstallNewBumpOut();
            RedrawBlockUI(kRefPBlock);
        }
        NotifyChanged();
        return;
    }
    DiagLog("QuarelMap::SetSubTexmap ignored invalid submap index %d", i);
}

// --- editing, loading -----------------------------------------------------------------------

void QuarelMap::Reset() {
    DiagLog("QuarelMap::Reset");
    if (IParamBlock2* pb = BlockIn(kRefPBlock)) pb->ResetAll(TRUE, TRUE);
    InstallNewUVGen();
    for (int slot : kNestedSlots) {
        if (mRefs[static_cast<std::size_t>(slot)] != nullptr) DeleteReference(slot);
    }
    ivalid.SetEmpty();
    DiagLog("QuarelMap::Reset done");
}

ParamDlg* QuarelMap::CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) {
    DiagLog("QuarelMap::CreateParamDlg called, hwMtlEdit=0x%p", static_cast<void*>(hwMtlEdit));
    QMEnsureEditorSafeRefs(this);
    if (BlockIn(kRefPBlock) == nullptr) {
        DiagLog("QuarelMap::CreateParamDlg failed: ParamBlock2 is still null after recovery");
        return nullptr;
    }
    IAutoMParamDlg* master =
        QuarelClassDescOf(QuarelClass::Map).CreateParamDlgs(hwMtlEdit, imp, this);
    DiagLog("  master dlg = 0x%p", static_cast<void*>(master));
    if (master == nullptr) {
        DiagLog("QuarelMap::CreateParamDlg failed: master dialog is null");
        return nullptr;
    }
    if (mUVGen != nullptr) {
        DiagLog("  calling uvGen->CreateParamDlg...");
        ParamDlg* coords = mUVGen->CreateParamDlg(hwMtlEdit, imp);
        DiagLog("  coord dlg = 0x%p", static_cast<void*>(coords));
        if (coords != nullptr) master->AddDlg(coords);
    }
    DiagLog("QuarelMap::CreateParamDlg done");
    return master;
}

IOResult QuarelMap::Load(ILoad* iload) {
    if (iload == nullptr) return IO_OK;
    if (auto* callback = new (std::nothrow) QMPostLoadCallback(this))
        iload->RegisterPostLoadCallback(callback);
    return IO_OK;
}

// --- mapping queries ------------------------------------------------------------------------

ULONG QuarelMap::LocalRequirements(int subMtlNum) {
    ULONG req = mUVGen != nullptr ? mUVGen->Requirements(subMtlNum) : 0;
    for (Texmap* m : mNested) {
        if (m != nullptr) req |= m->LocalRequirements(subMtlNum);
    }
    return req;
}

void QuarelMap::LocalMappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) {
    if (mUVGen != nullptr) mUVGen->MappingsRequired(subMtlNum, mapreq, bumpreq);
    for (Texmap* m : mNested) {
        if (m != nullptr) m->LocalMappingsRequired(subMtlNum, mapreq, bumpreq);
    }
}

void QuarelMap::GetUVTransform(Matrix3& uvtrans) {
    uvtrans.IdentityMatrix();
    if (mUVGen == nullptr) return;
    Matrix3 gen;
    mUVGen->GetUVTransform(gen);
    const Point3 r0 = gen.GetRow(0);
    const Point3 r1 = gen.GetRow(1);
    float su = std::sqrt(r0.x * r0.x + r0.y * r0.y);
    float sv = std::sqrt(r1.x * r1.x + r1.y * r1.y);
    // Written so that a NaN length counts as degenerate too.
    if (!(su >= 1e-6f)) su = 1.f;
    if (!(sv >= 1e-6f)) sv = 1.f;
    uvtrans.SetRow(0, Point3(su, 0.f, 0.f));
    uvtrans.SetRow(1, Point3(0.f, sv, 0.f));
}

int QuarelMap::GetTextureTiling() {
    return mUVGen != nullptr ? mUVGen->GetTextureTiling() : U_WRAP | V_WRAP;
}

int QuarelMap::GetUVWSource() {
    return mUVGen != nullptr ? mUVGen->GetUVWSource() : UVWSRC_EXPLICIT;
}

int QuarelMap::GetMapChannel() {
    return mUVGen != nullptr ? mUVGen->GetMapChannel() : 1;
}

void QuarelMap::InitSlotType(int sType) {
    if (mUVGen != nullptr) mUVGen->InitSlotType(sType);
}

// --- evaluation (render threads) ------------------------------------------------------------

// Reads only what the last Update stored; never rebuilds.
AColor QuarelMap::EvalColor(ShadeContext& sc) {
    return EvalMapColor(EvalSource(), mUVGen, GetGBufID(), sc);
}

float QuarelMap::EvalMono(ShadeContext& sc) {
    return MapMono(EvalColor(sc));
}

// The relief of the bump colours; reads only what the last Update stored.
Point3 QuarelMap::EvalNormalPerturb(ShadeContext& sc) {
    return EvalReliefPerturb(EvalSource(), mUVGen, sc);
}

}  // namespace QuarelNS
