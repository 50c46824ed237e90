// Reference bookkeeping: the host's count of held references, loop tests, notifications and
// deletion of targets whose last reference goes.
#include "ref.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "ref_host_access.h"

namespace {

// A depth-first walk over makers, each visited once. Loading a scene walks for every reference
// it sets, so the lists are kept from walk to walk (one per kind of walk and thread) rather than
// allocated each time; `seen` stays sorted for the look-up. Walks do not nest.
template <typename Maker>
class Walk {
public:
    static Walk& From(Maker* start) {
        thread_local Walk w;
        w.mStack.assign(1, start);
        w.mSeen.clear();
        return w;
    }
    // The next maker not visited yet; null when the walk is over.
    Maker* Next() {
        while (!mStack.empty()) {
            Maker* m = mStack.back();
            mStack.pop_back();
            const auto at = std::lower_bound(mSeen.begin(), mSeen.end(), m, std::less<>());
            if (at != mSeen.end() && *at == m) continue;
            mSeen.insert(at, m);
            return m;
        }
        return nullptr;
    }
    void Push(Maker* m) { mStack.push_back(m); }

private:
    std::vector<Maker*> mStack, mSeen;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// ReferenceMaker

ReferenceMaker::~ReferenceMaker() {
    const auto held = std::move(mHeld);
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (ReferenceTarget* t = held[i]) {
            t->RemoveDependent(this, static_cast<int>(i));
            t->MaybeAutoDelete();
        }
    }
}

RefTargetHandle ReferenceMaker::HostCountedReference(int i) const {
    return i >= 0 && static_cast<std::size_t>(i) < mHeld.size() ? mHeld[i] : nullptr;
}

bool ReferenceMaker::DependsOn(const ReferenceTarget* target) const {
    return target && Reaches(target);
}

bool ReferenceMaker::Reaches(const ReferenceMaker* target) const {
    if (this == target) return true;
    // Most makers asked (a new block or output just made) hold nothing: no search to set up.
    if (std::none_of(mHeld.begin(), mHeld.end(), [](const ReferenceTarget* t) { return t; }))
        return false;
    auto& walk = Walk<const ReferenceMaker>::From(this);
    while (const ReferenceMaker* m = walk.Next()) {
        for (ReferenceTarget* t : m->mHeld) {
            if (!t) continue;
            if (t == target) return true;
            walk.Push(t);
        }
    }
    return false;
}

void ReferenceMaker::Count(int which, ReferenceTarget* target, bool delOld) {
    if (static_cast<std::size_t>(which) >= mHeld.size()) {
        if (!target) return;
        // Room for every slot at once: a maker's slots are usually filled one after another.
        mHeld.grow(std::max(static_cast<std::size_t>(which) + 1,
                            static_cast<std::size_t>(std::max(NumRefs(), 0))),
                   nullptr);
    }
    ReferenceTarget* recorded = mHeld[which];
    if (target == recorded) return;
    if (target) target->AddDependent(this, which);
    mHeld[which] = target;
    if (recorded) {
        recorded->RemoveDependent(this, which);
        if (delOld) recorded->MaybeAutoDelete();
    }
}

// The host counts the target it was asked to store, whatever SetReference kept, until the
// slot is replaced or DeleteReference clears it.
RefResult ReferenceMaker::ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld) {
    if (which < 0 || which >= NumRefs()) return REF_FAIL;
    if (newtarg && newtarg->IsBeingDeleted()) return REF_FAIL;
    // A maker reachable from newtarg (itself included) would close a loop.
    if (newtarg && newtarg->Reaches(this)) return REF_FAIL;
    if (GetReference(which) == newtarg && HostCountedReference(which) == newtarg) {
        return REF_SUCCEED;
    }
    SetReference(which, newtarg);
    Count(which, newtarg, delOld != FALSE);
    return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteReference(int which) {
    if (which < 0) return REF_FAIL;
    ReferenceTarget* recorded = HostCountedReference(which);
    if (which < NumRefs()) SetReference(which, nullptr);
    if (static_cast<std::size_t>(which) < mHeld.size()) mHeld[which] = nullptr;
    if (recorded) {
        recorded->RemoveDependent(this, which);
        recorded->MaybeAutoDelete();
    }
    return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteAllRefsFromMe() {
    const int n = std::max(NumRefs(), static_cast<int>(mHeld.size()));
    for (int i = 0; i < n; ++i) {
        if (HostCountedReference(i) || (i < NumRefs() && GetReference(i))) DeleteReference(i);
    }
    return REF_SUCCEED;
}

void ReferenceMaker::EnumAuxFiles(AssetEnumCallback& assetEnum, DWORD flags) {
    if (flags & FILE_ENUM_CHECK_AWORK1) {
        if (TestAFlag(A_WORK1)) return;
        SetAFlag(A_WORK1);
    }
    // The host refuses loops it counts, but a maker answers GetReference as it likes.
    if (!(flags & FILE_ENUM_DONT_RECURSE) && !mEnumeratingFiles) {
        struct Busy {
            explicit Busy(bool& b) : flag(b) { flag = true; }
            ~Busy() { flag = false; }
            bool& flag;
        } busy(mEnumeratingFiles);
        for (int i = 0; i < NumRefs(); ++i) {
            if (ReferenceTarget* t = GetReference(i)) t->EnumAuxFiles(assetEnum, flags);
        }
    }
    Animatable::EnumAuxFiles(assetEnum, flags);
}

void ClearAFlagInHierarchy(RefMakerHandle rm, DWORD mask) {
    if (!rm) return;
    auto& walk = Walk<ReferenceMaker>::From(rm);
    while (ReferenceMaker* m = walk.Next()) {
        m->ClearAFlag(mask);
        for (int i = 0; i < m->NumRefs(); ++i) {
            if (ReferenceTarget* t = m->GetReference(i)) walk.Push(t);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// ReferenceTarget

ReferenceTarget::~ReferenceTarget() {
    // Deleted while still referenced (a direct delete): the makers must not keep the pointer.
    mDeleting = true;
    const auto deps = std::move(mDependents);
    for (const RefEntry& e : deps) {
        if (static_cast<std::size_t>(e.slot) < e.maker->mHeld.size() &&
            e.maker->mHeld[e.slot] == this) {
            e.maker->mHeld[e.slot] = nullptr;
            e.maker->SetReference(e.slot, nullptr);
        }
    }
}

void ReferenceTarget::AddDependent(ReferenceMaker* maker, int slot) {
    mDependents.push_back({maker, slot});
}

void ReferenceTarget::RemoveDependent(ReferenceMaker* maker, int slot) {
    auto it = std::find_if(mDependents.begin(), mDependents.end(),
                           [&](const RefEntry& e) { return e.maker == maker && e.slot == slot; });
    if (it != mDependents.end()) mDependents.erase(it);
}

ReferenceMaker* ReferenceTarget::GetDependent(int i) const {
    return i >= 0 && i < DependentCount() ? mDependents[i].maker : nullptr;
}

bool ReferenceTarget::HasDependent(const ReferenceMaker* maker) const {
    return std::any_of(mDependents.begin(), mDependents.end(),
                       [&](const RefEntry& e) { return e.maker == maker; });
}

RefResult ReferenceTarget::NotifyDependents(const Interval& changeInt, PartID partID,
                                            RefMessage message, SClass_ID sclass, BOOL propagate,
                                            RefTargetHandle hTarg) {
    if (!hTarg) hTarg = this;
    // Most targets have a few dependents: the snapshot stays on the stack.
    quarel_host::InlineList<ReferenceMaker*, 8> makers;
    for (const RefEntry& e : mDependents) {
        if (std::find(makers.begin(), makers.end(), e.maker) == makers.end())
            makers.push_back(e.maker);
    }
    for (ReferenceMaker* m : makers) {
        // An earlier dependent's answer may have released or deleted this one.
        if (!HasDependent(m)) continue;
        if (sclass != NOTIFY_ALL && m->SuperClassID() != sclass) continue;
        PartID part = partID;
        const RefResult r = m->NotifyRefChanged(changeInt, hTarg, part, message, propagate);
        if (r == REF_STOP || !propagate || !HasDependent(m) || !m->IsRefTarget()) continue;
        static_cast<ReferenceTarget*>(m)->NotifyDependents(changeInt, part, message, sclass,
                                                           propagate, nullptr);
    }
    return REF_SUCCEED;
}

// One message per counted reference, as the host sends a deletion: a maker holding this
// target in two slots hears of it twice.
void ReferenceTarget::NotifyEachReference(RefMessage message) {
    quarel_host::InlineList<RefEntry, 8> entries;
    for (const RefEntry& e : mDependents) entries.push_back(e);
    for (const RefEntry& entry : entries) {
        ReferenceMaker* m = entry.maker;
        // An earlier answer may have released this reference.
        auto still = std::find_if(mDependents.begin(), mDependents.end(), [&](const RefEntry& e) {
            return e.maker == m && e.slot == entry.slot;
        });
        if (still == mDependents.end()) continue;
        PartID part = PART_ALL;
        m->NotifyRefChanged(FOREVER, this, part, message, FALSE);
    }
}

RefResult ReferenceTarget::DeleteAllRefsToMe() {
    while (!mDependents.empty()) {
        const RefEntry e = mDependents.back();
        mDependents.pop_back();
        if (static_cast<std::size_t>(e.slot) < e.maker->mHeld.size() &&
            e.maker->mHeld[e.slot] == this) {
            e.maker->mHeld[e.slot] = nullptr;
        }
        if (e.slot < e.maker->NumRefs() && e.maker->GetReference(e.slot) == this) {
            e.maker->SetReference(e.slot, nullptr);
        }
    }
    return REF_SUCCEED;
}

RefResult ReferenceTarget::DeleteAllRefs() {
    DeleteAllRefsFromMe();
    return DeleteAllRefsToMe();
}

RefResult ReferenceTarget::DeleteMe() {
    if (mDeleting) return REF_SUCCEED;
    mDeleting = true;
    NotifyEachReference(REFMSG_TARGET_DELETED);
    DeleteAllRefsToMe();
    DeleteAllRefsFromMe();
    DeleteThis();
    return REF_SUCCEED;
}

RefResult ReferenceTarget::MaybeAutoDelete() {
    if (mDeleting || mHostHolds > 0 || !mDependents.empty()) return REF_FAIL;
    return DeleteMe();
}
