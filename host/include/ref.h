// The reference system: makers hold targets in numbered slots; targets know their dependents.
//
// The host keeps its own count of what each maker holds. ReplaceReference asks the maker to
// store a target (SetReference) and counts the target in that slot whether or not the maker
// kept it, until the slot is replaced or DeleteReference clears it. A target whose last
// reference goes is deleted, after REFMSG_TARGET_DELETED has reached each reference to it.
// ReplaceReference refuses a target that would close a loop (the maker reachable from it).
// All of this runs on the host's main thread; nothing here is thread-safe.
#pragma once

#include <vector>

#include "animatable.h"
#include "host/inline_list.h"
#include "interval.h"

class ReferenceMaker;
class ReferenceTarget;
class RemapDir;
class ISave;
class ILoad;
typedef ReferenceTarget* RefTargetHandle;
typedef ReferenceMaker* RefMakerHandle;

typedef unsigned int RefMessage;
typedef ULONG_PTR PartID;

enum RefResult { REF_FAIL = 0, REF_SUCCEED, REF_DONTCARE, REF_STOP, REF_INVALID, REF_HALT };

#define REFMSG_LOOPTEST 0x00000010
#define REFMSG_TARGET_DELETED 0x00000020
#define REFMSG_EVAL 0x00000030
#define REFMSG_CHANGE 0x00000050
#define REFMSG_SUBANIM_STRUCTURE_CHANGED 0x000000F3
#define REFMSG_USER 0x00010000

#define PART_TOPO (1 << 0)
#define PART_GEOM (1 << 1)
#define PART_TEXMAP (1 << 2)
#define PART_MTL (1 << 3)
#define PART_ALL 0x800037FFul

// Passed as the superclass filter of NotifyDependents: every dependent receives the message.
#define NOTIFY_ALL 0xFFFFFFF0ul

class ReferenceMaker : public Animatable {
public:
    ReferenceMaker() = default;
    // Releases whatever the host still counts for this maker (derived classes normally release
    // their references themselves, with DeleteAllRefs, while they can still answer).
    ~ReferenceMaker() override;

    SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }

    virtual int NumRefs() { return 0; }
    virtual RefTargetHandle GetReference(int i) { return nullptr; }

    virtual RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget,
                                       PartID& partID, RefMessage message, BOOL propagate) = 0;

    // Stores newtarg in slot `which` through SetReference and counts it there. REF_FAIL for a
    // slot outside NumRefs or a target that would close a loop.
    // With delOld the previous target is deleted if that was its last reference.
    RefResult ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld = TRUE);
    // Clears slot `which` on both sides, even if the maker already let go of the target.
    RefResult DeleteReference(int which);
    RefResult DeleteAllRefsFromMe();
    virtual RefResult DeleteAllRefs() { return DeleteAllRefsFromMe(); }

    virtual IOResult Save(ISave* isave) { return IO_OK; }
    virtual IOResult Load(ILoad* iload) { return IO_OK; }

    virtual BOOL IsRefTarget() { return FALSE; }

    // The files of this maker and of everything it references: each reference's own
    // EnumAuxFiles, unless FILE_ENUM_DONT_RECURSE. With FILE_ENUM_CHECK_AWORK1 a maker whose
    // A_WORK1 is set is skipped and a maker visited sets it, so a shared target is enumerated
    // once; clear the flag first (ClearAFlagInHierarchy). A maker never recurses into itself
    // while its own references are being enumerated, so a loop cannot recurse for ever.
    void EnumAuxFiles(AssetEnumCallback& assetEnum, DWORD flags) override;

    // The target the host counts in slot i (what the maker held after the last host call).
    RefTargetHandle HostCountedReference(int i) const;

protected:
    virtual void SetReference(int i, RefTargetHandle rtarg) {}

private:
    friend class ReferenceTarget;
    friend class RefHostAccess;
    // True if `target` is reachable from this maker through references the host counts.
    bool DependsOn(const ReferenceTarget* target) const;
    bool Reaches(const ReferenceMaker* target) const;
    void Count(int which, ReferenceTarget* target, bool delOld);
    quarel_host::InlineList<ReferenceTarget*, 4> mHeld;
    bool mEnumeratingFiles = false;
};

// Clears `mask` in the flags of rm and of every object reachable from it through references.
void ClearAFlagInHierarchy(RefMakerHandle rm, DWORD mask);

class ReferenceTarget : public ReferenceMaker {
public:
    ReferenceTarget() = default;
    ~ReferenceTarget() override;

    SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
    BOOL IsRefTarget() override { return TRUE; }

    RefResult NotifyRefChanged(const Interval& changeInt, RefTargetHandle hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override {
        return REF_SUCCEED;
    }

    // Sends `message` to every dependent (once per maker, filtered by superclass unless
    // NOTIFY_ALL). With propagate, a dependent that is itself a target passes the message on
    // to its own dependents unless it answered REF_STOP.
    RefResult NotifyDependents(const Interval& changeInt, PartID partID, RefMessage message,
                               SClass_ID sclass = NOTIFY_ALL, BOOL propagate = TRUE,
                               RefTargetHandle hTarg = nullptr);

    virtual RefTargetHandle Clone(RemapDir& remap) { return nullptr; }
    virtual void BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap) {}

    RefResult DeleteAllRefsToMe();
    RefResult DeleteAllRefs() override;
    // Tells the dependents (REFMSG_TARGET_DELETED), clears their slots, releases this
    // target's own references and deletes it.
    RefResult DeleteMe();
    // Deletes the target if nothing references it any more.
    RefResult MaybeAutoDelete();

    // One entry per counted reference: a maker holding this target twice appears twice.
    int DependentCount() const { return static_cast<int>(mDependents.size()); }
    ReferenceMaker* GetDependent(int i) const;
    bool HasDependent(const ReferenceMaker* maker) const;

private:
    friend class ReferenceMaker;
    friend class RefHostAccess;
    bool IsBeingDeleted() const { return mDeleting; }
    struct RefEntry {
        ReferenceMaker* maker;
        int slot;
    };
    void AddDependent(ReferenceMaker* maker, int slot);
    void NotifyEachReference(RefMessage message);
    void RemoveDependent(ReferenceMaker* maker, int slot);
    quarel_host::InlineList<RefEntry, 2> mDependents;
    bool mDeleting = false;
    int mHostHolds = 0;  // the host keeps the target alive while it is loading or cloning
};

// Clones each target once: a target met again (a shared target) maps to the same clone.
class RemapDir {
public:
    virtual ~RemapDir() = default;
    virtual RefTargetHandle FindMapping(RefTargetHandle from) = 0;
    virtual void AddEntry(RefTargetHandle hfrom, RefTargetHandle hto) = 0;
    // The clone of oldTarg, made with its Clone the first time it is asked for.
    virtual RefTargetHandle CloneRef(RefTargetHandle oldTarg) = 0;
    virtual void PatchPointer(RefTargetHandle* patchThis, RefTargetHandle oldTarg) = 0;
    virtual void Backpatch() = 0;
    virtual void Clear() = 0;
    virtual void DeleteThis() = 0;
};

// A new remap directory; release it with DeleteThis.
RemapDir* NewRemapDir(BOOL use_A_WORK2_flag = FALSE);
// Clones rt and everything it references, each shared target once. The caller owns the result.
ReferenceTarget* CloneRefHierarchy(ReferenceTarget* rt);

// A maker with one reference: keeps a target alive the way a material-editor slot does.
class SingleRefMaker : public ReferenceMaker {
public:
    SingleRefMaker() = default;
    explicit SingleRefMaker(RefTargetHandle target) { SetRef(target); }
    ~SingleRefMaker() override { DeleteAllRefsFromMe(); }

    void SetRef(RefTargetHandle rtarg) { ReplaceReference(0, rtarg); }
    RefTargetHandle GetRef() const { return mRef; }

    int NumRefs() override { return 1; }
    RefTargetHandle GetReference(int i) override { return i == 0 ? mRef : nullptr; }
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                               RefMessage message, BOOL) override {
        if (message == REFMSG_TARGET_DELETED && hTarget == mRef) mRef = nullptr;
        return REF_DONTCARE;
    }

protected:
    void SetReference(int i, RefTargetHandle rtarg) override {
        if (i == 0) mRef = rtarg;
    }

private:
    RefTargetHandle mRef = nullptr;
};
