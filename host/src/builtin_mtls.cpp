// The host's standard material and multi-material.
#include <algorithm>

#include "host/builtin_classes.h"
#include "ioapi.h"
#include "slot_target.h"

using quarel_host::SlotTarget;

namespace {
enum : USHORT { kChunkDiffuse = 0x0100, kChunkCount = 0x0110 };
}

// ---------------------------------------------------------------------------------------------
// StdMtl

StdMtl::StdMtl() = default;

StdMtl::~StdMtl() {
    DeleteAllRefs();
}

RefTargetHandle StdMtl::GetReference(int i) {
    return i == 0 || i == 1 ? mMaps[i] : nullptr;
}

void StdMtl::SetReference(int i, RefTargetHandle rtarg) {
    if (i == 0 || i == 1) mMaps[i] = SlotTarget<Texmap>(rtarg, TEXMAP_CLASS_ID);
}

RefResult StdMtl::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                   RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED)
        for (auto& m : mMaps)
            if (m == hTarget) m = nullptr;
    return REF_SUCCEED;
}

Texmap* StdMtl::GetSubTexmap(int i) {
    return i == 0 || i == 1 ? mMaps[i] : nullptr;
}

void StdMtl::Shade(ShadeContext& sc) {
    const Color c = mMaps[0] && sc.doMaps ? Color(mMaps[0]->EvalColor(sc)) : diffuse;
    sc.out.c = c;
    sc.out.t = Color(0.f, 0.f, 0.f);
    sc.out.ior = 1.f;
}

void StdMtl::Update(TimeValue t, Interval& valid) {
    for (Texmap* m : mMaps)
        if (m) m->Update(t, valid);
}

Interval StdMtl::Validity(TimeValue t) {
    Interval v = FOREVER;
    Update(t, v);
    return v;
}

RefTargetHandle StdMtl::Clone(RemapDir& remap) {
    auto* c = new StdMtl;
    c->diffuse = diffuse;
    for (int i = 0; i < 2; ++i)
        if (mMaps[i]) c->ReplaceReference(i, remap.CloneRef(mMaps[i]));
    BaseClone(this, c, remap);
    return c;
}

IOResult StdMtl::Save(ISave* isave) {
    ULONG nb = 0;
    isave->BeginChunk(kChunkDiffuse);
    isave->Write(&diffuse, sizeof(diffuse), &nb);
    isave->EndChunk();
    return IO_OK;
}

IOResult StdMtl::Load(ILoad* iload) {
    ULONG nb = 0;
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() == kChunkDiffuse &&
            iload->Read(&diffuse, sizeof(diffuse), &nb) != IO_OK)
            return IO_ERROR;
        iload->CloseChunk();
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}

// ---------------------------------------------------------------------------------------------
// MultiMtl

MultiMtl::MultiMtl(int count) {
    mMtls.assign(static_cast<std::size_t>(std::clamp(count, 1, kMaxSubs)), nullptr);
}

MultiMtl::~MultiMtl() {
    DeleteAllRefs();
}

void MultiMtl::SetNumSubMtls(int n) {
    n = std::clamp(n, 1, kMaxSubs);
    for (int i = n; i < NumRefs(); ++i) DeleteReference(i);
    mMtls.resize(static_cast<std::size_t>(n), nullptr);
}

RefTargetHandle MultiMtl::GetReference(int i) {
    return i >= 0 && i < NumRefs() ? mMtls[i] : nullptr;
}

void MultiMtl::SetReference(int i, RefTargetHandle rtarg) {
    if (i < 0 || i >= NumRefs()) return;
    mMtls[i] = SlotTarget<Mtl>(rtarg, MATERIAL_CLASS_ID);
}

RefResult MultiMtl::NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                                     RefMessage message, BOOL) {
    if (message == REFMSG_TARGET_DELETED)
        for (auto& m : mMtls)
            if (m == hTarget) m = nullptr;
    return REF_SUCCEED;
}

Mtl* MultiMtl::GetSubMtl(int i) {
    return i >= 0 && i < NumRefs() ? mMtls[i] : nullptr;
}

Mtl* MultiMtl::Pick(int mtlNum) {
    const int n = NumRefs();
    return mMtls[((mtlNum % n) + n) % n];
}

Color MultiMtl::GetAmbient(int n, BOOL b) {
    Mtl* m = Pick(n);
    return m ? m->GetAmbient(n, b) : Color(0.f, 0.f, 0.f);
}

Color MultiMtl::GetDiffuse(int n, BOOL b) {
    Mtl* m = Pick(n);
    return m ? m->GetDiffuse(n, b) : Color(0.f, 0.f, 0.f);
}

void MultiMtl::Shade(ShadeContext& sc) {
    if (Mtl* m = Pick(sc.mtlNum)) {
        m->Shade(sc);
    } else {
        sc.out.c = Color(0.f, 0.f, 0.f);
        sc.out.t = Color(0.f, 0.f, 0.f);
    }
}

void MultiMtl::Update(TimeValue t, Interval& valid) {
    for (Mtl* m : mMtls)
        if (m) m->Update(t, valid);
}

Interval MultiMtl::Validity(TimeValue t) {
    Interval v = FOREVER;
    Update(t, v);
    return v;
}

RefTargetHandle MultiMtl::Clone(RemapDir& remap) {
    auto* c = new MultiMtl(NumRefs());
    for (int i = 0; i < NumRefs(); ++i)
        if (mMtls[i]) c->ReplaceReference(i, remap.CloneRef(mMtls[i]));
    BaseClone(this, c, remap);
    return c;
}

IOResult MultiMtl::Save(ISave* isave) {
    ULONG nb = 0;
    const std::int32_t n = NumRefs();
    isave->BeginChunk(kChunkCount);
    isave->Write(&n, sizeof(n), &nb);
    isave->EndChunk();
    return IO_OK;
}

IOResult MultiMtl::Load(ILoad* iload) {
    ULONG nb = 0;
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() == kChunkCount) {
            std::int32_t n = 2;
            if (iload->Read(&n, sizeof(n), &nb) != IO_OK) return IO_ERROR;
            mMtls.assign(static_cast<std::size_t>(std::clamp(n, 1, kMaxSubs)), nullptr);
        }
        iload->CloseChunk();
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}
