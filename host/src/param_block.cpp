// IParamBlock2: values by parameter id, linear keys, references, routing to the owner,
// persistence by parameter id.
#include <algorithm>
#include <cstring>

#include "ioapi.h"
#include "iparamm2.h"
#include "param_internal.h"

namespace {

enum class Kind { Int, Float, Color, Ref };

Kind KindOf(int t) {
    switch (t) {
        case TYPE_INT:
        case TYPE_BOOL:
            return Kind::Int;
        case TYPE_RGBA:
        case TYPE_FRGBA:
        case TYPE_POINT3:
            return Kind::Color;
        case TYPE_MTL:
        case TYPE_TEXMAP:
        case TYPE_REFTARG:
            return Kind::Ref;
        default:
            return Kind::Float;
    }
}

// The kind of a type read from a file. Only the declared types are values of the enum at all:
// anything else is refused before it is converted.
bool StoredKind(std::int16_t type, Kind& kind) {
    switch (type) {
        case TYPE_FLOAT:
        case TYPE_INT:
        case TYPE_RGBA:
        case TYPE_POINT3:
        case TYPE_BOOL:
        case TYPE_ANGLE:
        case TYPE_PCNT_FRAC:
        case TYPE_WORLD:
        case TYPE_MTL:
        case TYPE_TEXMAP:
        case TYPE_REFTARG:
        case TYPE_FRGBA:
            kind = KindOf(type);
            return true;
        default:
            return false;
    }
}

// Chunk ids of a block's own data.
constexpr USHORT kChunkVersion = 0x0001;
constexpr USHORT kChunkParam = 0x0100;

struct Key {
    TimeValue t;
    AColor v;  // numbers in r
};

struct Value {
    int i = 0;
    float f = 0.f;
    AColor c{0.f, 0.f, 0.f, 1.f};
    ReferenceTarget* ref = nullptr;
    std::vector<Key> keys;  // sorted by time, unique times
};

AColor Interpolate(const std::vector<Key>& keys, TimeValue t) {
    if (t <= keys.front().t) return keys.front().v;
    if (t >= keys.back().t) return keys.back().v;
    auto hi = std::upper_bound(keys.begin(), keys.end(), t,
                               [](TimeValue tv, const Key& k) { return tv < k.t; });
    auto lo = hi - 1;
    // In double: the tick difference of far-apart keys does not fit an int.
    const float s =
        static_cast<float>((static_cast<double>(t) - lo->t) / (static_cast<double>(hi->t) - lo->t));
    return lo->v + (hi->v - lo->v) * s;
}

class ParamBlock2Impl final : public IParamBlock2 {
public:
    ParamBlock2Impl(ParamBlockDesc2* desc, ReferenceMaker* owner) : mDesc(desc), mOwner(owner) {
        const int n = desc->Count();
        mValues.resize(n);
        for (int i = 0; i < n; ++i) {
            const ParamDef& p = desc->GetParamDefByIndex(i);
            if (KindOf(p.type) == Kind::Ref && !IsRouted(p)) mParamOfRef.push_back(i);
            SetDefaultValue(p, mValues[i]);  // a new value holds no keys and no reference
        }
        // Most blocks hold no references of their own: no table to allocate for them.
        if (mParamOfRef.empty()) return;
        mRefOfParam.assign(n, -1);
        for (std::size_t r = 0; r < mParamOfRef.size(); ++r)
            mRefOfParam[mParamOfRef[r]] = static_cast<int>(r);
    }

    ~ParamBlock2Impl() override {
        for (IParamMap2* m : mMaps)
            if (m) quarel_host::DetachMapFromBlock(m);
        DeleteAllRefs();
    }

    // --- identity and structure
    BlockID ID() override { return mDesc->ID; }
    ParamBlockDesc2* GetDesc() override { return mDesc; }
    ReferenceMaker* GetOwner() override {
        if (mOwner && HasDependent(mOwner)) return mOwner;
        return DependentCount() > 0 ? GetDependent(0) : nullptr;
    }
    int NumParams() override { return mDesc->Count(); }
    ParamID IndextoID(int i) override { return mDesc->IndextoID(i); }
    int IDtoIndex(ParamID id) override { return mDesc->IDtoIndex(id); }
    int GetParameterType(ParamID id) override {
        const ParamDef* p = mDesc->GetParamDefPtr(id);
        return p ? p->type : -1;
    }
    int GetVersion() override { return mDesc->version; }
    void GetClassName(MSTR& s, bool) const override { s = L"ParamBlock2"; }

    int NumSubs() override { return 0; }
    int NumRefs() override { return static_cast<int>(mParamOfRef.size()); }
    RefTargetHandle GetReference(int i) override {
        return i >= 0 && i < NumRefs() ? mValues[mParamOfRef[i]].ref : nullptr;
    }

    // --- reading
    BOOL GetValue(ParamID id, TimeValue t, float& v, Interval& ivalid, int) override {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        const Kind k = KindOf(Def(i).type);
        if (k != Kind::Int && k != Kind::Float) return FALSE;
        v = Number(i, t, ivalid);
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, int& v, Interval& ivalid, int) override {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        const Kind k = KindOf(Def(i).type);
        if (k == Kind::Int && mValues[i].keys.empty()) {
            v = mValues[i].i;
            return TRUE;
        }
        if (k != Kind::Int && k != Kind::Float) return FALSE;
        v = quarel_host::SafeFloatToInt(Number(i, t, ivalid));
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, Point3& v, Interval& ivalid, int) override {
        AColor c;
        if (!ReadColor(id, t, c, ivalid)) return FALSE;
        v = Point3(c.r, c.g, c.b);
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, Color& v, Interval& ivalid, int) override {
        AColor c;
        if (!ReadColor(id, t, c, ivalid)) return FALSE;
        v = Color(c.r, c.g, c.b);
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, AColor& v, Interval& ivalid, int) override {
        return ReadColor(id, t, v, ivalid);
    }
    BOOL GetValue(ParamID id, TimeValue t, Texmap*& v, Interval& ivalid, int) override {
        ReferenceTarget* r = nullptr;
        if (!ReadRef(id, TYPE_TEXMAP, r)) return FALSE;
        v = dynamic_cast<Texmap*>(r);
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, Mtl*& v, Interval& ivalid, int) override {
        ReferenceTarget* r = nullptr;
        if (!ReadRef(id, TYPE_MTL, r)) return FALSE;
        v = dynamic_cast<Mtl*>(r);
        return TRUE;
    }
    BOOL GetValue(ParamID id, TimeValue t, ReferenceTarget*& v, Interval& ivalid, int) override {
        return ReadRef(id, TYPE_REFTARG, v);
    }

    // --- writing
    BOOL SetValue(ParamID id, TimeValue t, float v, int) override {
        return WriteNumber(id, t, v, quarel_host::SafeFloatToInt(v));
    }
    BOOL SetValue(ParamID id, TimeValue t, int v, int) override {
        return WriteNumber(id, t, static_cast<float>(v), v);
    }
    BOOL SetValue(ParamID id, TimeValue t, const Point3& v, int) override {
        return WriteColor(id, t, AColor(v.x, v.y, v.z, 1.f));
    }
    BOOL SetValue(ParamID id, TimeValue t, const Color& v, int) override {
        return WriteColor(id, t, AColor(v, 1.f));
    }
    BOOL SetValue(ParamID id, TimeValue t, const AColor& v, int) override {
        return WriteColor(id, t, v);
    }
    BOOL SetValue(ParamID id, TimeValue t, Texmap* v, int) override {
        return WriteRef(id, TYPE_TEXMAP, v);
    }
    BOOL SetValue(ParamID id, TimeValue t, Mtl* v, int) override {
        return WriteRef(id, TYPE_MTL, v);
    }
    BOOL SetValue(ParamID id, TimeValue t, ReferenceTarget* v, int) override {
        return WriteRef(id, TYPE_REFTARG, v);
    }

    // --- keys
    BOOL SetKey(ParamID id, TimeValue t, float v) override {
        const int i = IDtoIndex(id);
        if (i < 0 || !(Def(i).flags & P_ANIMATABLE)) return FALSE;
        const Kind k = KindOf(Def(i).type);
        if (k != Kind::Int && k != Kind::Float) return FALSE;
        PutKey(i, t, AColor(v, 0.f, 0.f, 0.f));
        Changed(id);
        return TRUE;
    }
    BOOL SetKey(ParamID id, TimeValue t, const AColor& v) override {
        const int i = IDtoIndex(id);
        if (i < 0 || !(Def(i).flags & P_ANIMATABLE) || KindOf(Def(i).type) != Kind::Color)
            return FALSE;
        PutKey(i, t, v);
        Changed(id);
        return TRUE;
    }
    int NumKeys(ParamID id) override {
        const int i = IDtoIndex(id);
        return i < 0 ? 0 : static_cast<int>(mValues[i].keys.size());
    }
    void DeleteKeys(ParamID id) override {
        const int i = IDtoIndex(id);
        if (i < 0 || mValues[i].keys.empty()) return;
        mValues[i].keys.clear();
        Changed(id);
    }

    // --- reset
    void ResetAll(BOOL updateUI, BOOL) override {
        for (int i = 0; i < NumParams(); ++i) SetToDefault(i);
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
        if (updateUI)
            for (IParamMap2* m : mMaps)
                if (m) m->Invalidate();
    }
    BOOL Reset(ParamID id, int, BOOL updateUI, BOOL) override {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        SetToDefault(i);
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
        if (updateUI)
            for (IParamMap2* m : mMaps)
                if (m) m->Invalidate(id);
        return TRUE;
    }

    // --- maps
    IParamMap2* GetMap(MapID mapId) override {
        return mapId >= 0 && static_cast<std::size_t>(mapId) < mMaps.size() ? mMaps[mapId]
                                                                            : nullptr;
    }
    void SetMap(IParamMap2* m, MapID mapId) override {
        if (mapId < 0 || mapId > 255) return;
        if (static_cast<std::size_t>(mapId) >= mMaps.size()) mMaps.resize(mapId + 1, nullptr);
        mMaps[mapId] = m;
    }

    // --- references, cloning, persistence
    RefResult NotifyRefChanged(const Interval&, RefTargetHandle hTarget, PartID&,
                               RefMessage message, BOOL) override {
        if (message == REFMSG_TARGET_DELETED) {
            for (Value& v : mValues)
                if (v.ref == hTarget) v.ref = nullptr;
        }
        return REF_SUCCEED;
    }

    RefTargetHandle Clone(RemapDir& remap) override {
        auto* copy = new ParamBlock2Impl(mDesc, nullptr);
        for (int i = 0; i < NumParams(); ++i) {
            copy->mValues[i].i = mValues[i].i;
            copy->mValues[i].f = mValues[i].f;
            copy->mValues[i].c = mValues[i].c;
            copy->mValues[i].keys = mValues[i].keys;
        }
        for (int r = 0; r < NumRefs(); ++r) {
            if (ReferenceTarget* t = GetReference(r)) copy->ReplaceReference(r, remap.CloneRef(t));
        }
        BaseClone(this, copy, remap);
        return copy;
    }

    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

protected:
    void SetReference(int i, RefTargetHandle rtarg) override {
        if (i < 0 || i >= NumRefs()) return;
        const int p = mParamOfRef[i];
        // A refusal empties the parameter: the host lets go of the earlier target.
        mValues[p].ref = rtarg && !Accepts(Def(p).type, rtarg) ? nullptr : rtarg;
    }

private:
    const ParamDef& Def(int i) const { return mDesc->GetParamDefByIndex(i); }
    // The block's own reference slot of parameter i; -1 for a parameter that has none.
    int RefOfParam(int i) const { return mRefOfParam.empty() ? -1 : mRefOfParam[i]; }
    static bool IsRouted(const ParamDef& p) {
        return (p.flags & (P_SUBTEX | P_NO_REF)) || (p.flags & P_OWNERS_REF);
    }
    static bool Accepts(int type, ReferenceTarget* t) {
        if (type == TYPE_TEXMAP) return t->SuperClassID() == TEXMAP_CLASS_ID;
        if (type == TYPE_MTL) return t->SuperClassID() == MATERIAL_CLASS_ID;
        return true;
    }

    void SetToDefault(int i) {
        Value& v = mValues[i];
        v.keys.clear();
        SetDefaultValue(Def(i), v);
        if (RefOfParam(i) >= 0 && v.ref) DeleteReference(RefOfParam(i));
    }
    static void SetDefaultValue(const ParamDef& p, Value& v) {
        const bool has = (p.flags & P_HAS_DEFAULT) != 0;
        const Kind k = KindOf(p.type);
        v.i = has && k == Kind::Int ? p.def.i : 0;
        v.f = has && k == Kind::Float ? p.def.f : 0.f;
        v.c = has && k == Kind::Color && p.def.p ? AColor(p.def.p->x, p.def.p->y, p.def.p->z, 1.f)
                                                 : AColor(0.f, 0.f, 0.f, 1.f);
    }

    float Number(int i, TimeValue t, Interval& ivalid) const {
        const Value& v = mValues[i];
        if (!v.keys.empty()) {
            ivalid &= Interval(t, t);
            return Interpolate(v.keys, t).r;
        }
        return KindOf(Def(i).type) == Kind::Int ? static_cast<float>(v.i) : v.f;
    }

    BOOL ReadColor(ParamID id, TimeValue t, AColor& out, Interval& ivalid) const {
        const int i = mDesc->IDtoIndex(id);
        if (i < 0 || KindOf(Def(i).type) != Kind::Color) return FALSE;
        const Value& v = mValues[i];
        if (!v.keys.empty()) {
            ivalid &= Interval(t, t);
            out = Interpolate(v.keys, t);
        } else {
            out = v.c;
        }
        return TRUE;
    }

    MtlBase* OwnerMtlBase() { return dynamic_cast<MtlBase*>(GetOwner()); }

    // `want` TYPE_REFTARG accepts any map, material or target parameter.
    BOOL ReadRef(ParamID id, int want, ReferenceTarget*& out) {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        const ParamDef& p = Def(i);
        if (KindOf(p.type) != Kind::Ref || (want != TYPE_REFTARG && p.type != want)) return FALSE;
        out = nullptr;
        if ((p.flags & P_SUBTEX) && p.type == TYPE_TEXMAP) {
            if (MtlBase* o = OwnerMtlBase()) out = o->GetSubTexmap(p.sub_texno);
        } else if (p.flags & P_OWNERS_REF) {
            if (ReferenceMaker* o = GetOwner()) out = o->GetReference(p.ref_no);
        } else if (!(p.flags & P_NO_REF)) {
            out = mValues[i].ref;
        }
        return TRUE;
    }

    BOOL WriteRef(ParamID id, int given, ReferenceTarget* v) {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        const ParamDef& p = Def(i);
        if (KindOf(p.type) != Kind::Ref || (given != TYPE_REFTARG && p.type != given)) return FALSE;
        if (v && !Accepts(p.type, v)) return FALSE;
        BOOL ok = FALSE;
        if ((p.flags & P_SUBTEX) && p.type == TYPE_TEXMAP) {
            MtlBase* o = OwnerMtlBase();
            if (!o) return FALSE;
            o->SetSubTexmap(p.sub_texno, static_cast<Texmap*>(v));
            ok = TRUE;
        } else if (p.flags & P_OWNERS_REF) {
            ReferenceMaker* o = GetOwner();
            if (!o) return FALSE;
            ok = o->ReplaceReference(p.ref_no, v) == REF_SUCCEED;
        } else if (!(p.flags & P_NO_REF)) {
            ok = ReplaceReference(RefOfParam(i), v) == REF_SUCCEED;
        }
        if (ok) Changed(id);
        return ok;
    }

    BOOL WriteNumber(ParamID id, TimeValue t, float f, int n) {
        const int i = IDtoIndex(id);
        if (i < 0) return FALSE;
        const Kind k = KindOf(Def(i).type);
        if (k != Kind::Int && k != Kind::Float) return FALSE;
        Value& v = mValues[i];
        if (!v.keys.empty()) {
            PutKey(i, t, AColor(k == Kind::Int ? static_cast<float>(n) : f, 0.f, 0.f, 0.f));
        } else if (k == Kind::Int) {
            v.i = n;
        } else {
            v.f = f;
        }
        Changed(id);
        return TRUE;
    }

    BOOL WriteColor(ParamID id, TimeValue t, const AColor& c) {
        const int i = IDtoIndex(id);
        if (i < 0 || KindOf(Def(i).type) != Kind::Color) return FALSE;
        Value& v = mValues[i];
        if (!v.keys.empty())
            PutKey(i, t, c);
        else
            v.c = c;
        Changed(id);
        return TRUE;
    }

    void PutKey(int i, TimeValue t, const AColor& value) {
        auto& keys = mValues[i].keys;
        auto it = std::lower_bound(keys.begin(), keys.end(), t,
                                   [](const Key& k, TimeValue tv) { return k.t < tv; });
        if (it != keys.end() && it->t == t)
            it->v = value;
        else
            keys.insert(it, Key{t, value});
    }

    void Changed(ParamID id) {
        NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
        for (IParamMap2* m : mMaps)
            if (m) m->Invalidate(id);
    }

    ParamBlockDesc2* mDesc;
    ReferenceMaker* mOwner;
    std::vector<Value> mValues;
    std::vector<int> mRefOfParam;
    std::vector<int> mParamOfRef;
    std::vector<IParamMap2*> mMaps;
};

// Each parameter is one chunk: id, type, value, then its keys. Map references are not
// written here: the host stores them as the block's reference slots.
IOResult ParamBlock2Impl::Save(ISave* isave) {
    ULONG nb = 0;
    const std::uint32_t ver = static_cast<std::uint32_t>(mDesc->version);
    isave->BeginChunk(kChunkVersion);
    isave->Write(&ver, sizeof(ver), &nb);
    isave->EndChunk();
    for (int i = 0; i < NumParams(); ++i) {
        const ParamDef& p = Def(i);
        const Kind k = KindOf(p.type);
        if (k == Kind::Ref) continue;
        const Value& v = mValues[i];
        isave->BeginChunk(kChunkParam);
        const std::int16_t id = static_cast<std::int16_t>(p.ID);
        const std::int16_t type = static_cast<std::int16_t>(p.type);
        isave->Write(&id, sizeof(id), &nb);
        isave->Write(&type, sizeof(type), &nb);
        if (k == Kind::Int)
            isave->Write(&v.i, sizeof(v.i), &nb);
        else if (k == Kind::Float)
            isave->Write(&v.f, sizeof(v.f), &nb);
        else
            isave->Write(&v.c, sizeof(float) * 4, &nb);
        const std::uint32_t nkeys = static_cast<std::uint32_t>(v.keys.size());
        isave->Write(&nkeys, sizeof(nkeys), &nb);
        for (const Key& key : v.keys) {
            isave->Write(&key.t, sizeof(key.t), &nb);
            isave->Write(&key.v, sizeof(float) * 4, &nb);
        }
        isave->EndChunk();
    }
    return IO_OK;
}

IOResult ParamBlock2Impl::Load(ILoad* iload) {
    ULONG nb = 0;
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CurChunkID() != kChunkParam) {
            iload->CloseChunk();
            continue;
        }
        std::int16_t id = 0, type = 0;
        if (iload->Read(&id, sizeof(id), &nb) != IO_OK ||
            iload->Read(&type, sizeof(type), &nb) != IO_OK)
            return IO_ERROR;
        const int i = IDtoIndex(id);
        // A parameter this version does not declare, or declares with another kind, is skipped.
        Kind stored = Kind::Float;
        if (i < 0 || !StoredKind(type, stored) || KindOf(Def(i).type) != stored ||
            KindOf(Def(i).type) == Kind::Ref) {
            iload->CloseChunk();
            continue;
        }
        Value& v = mValues[i];
        const Kind k = KindOf(Def(i).type);
        IOResult r = IO_OK;
        if (k == Kind::Int)
            r = iload->Read(&v.i, sizeof(v.i), &nb);
        else if (k == Kind::Float)
            r = iload->Read(&v.f, sizeof(v.f), &nb);
        else
            r = iload->Read(&v.c, sizeof(float) * 4, &nb);
        std::uint32_t nkeys = 0;
        if (r != IO_OK || iload->Read(&nkeys, sizeof(nkeys), &nb) != IO_OK) return IO_ERROR;
        constexpr std::uint64_t kKeyBytes = sizeof(TimeValue) + sizeof(float) * 4;
        if (std::uint64_t{nkeys} * kKeyBytes > iload->CurChunkRemaining()) return IO_ERROR;
        v.keys.clear();
        for (std::uint32_t n = 0; n < nkeys; ++n) {
            Key key{};
            if (iload->Read(&key.t, sizeof(key.t), &nb) != IO_OK ||
                iload->Read(&key.v, sizeof(float) * 4, &nb) != IO_OK)
                return IO_ERROR;
            if (Def(i).flags & P_ANIMATABLE) PutKey(i, key.t, key.v);
        }
        iload->CloseChunk();
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}

}  // namespace

IParamBlock2* CreateParameterBlock2(ParamBlockDesc2* pdesc, ReferenceMaker* owner) {
    return pdesc ? new ParamBlock2Impl(pdesc, owner) : nullptr;
}

float IParamBlock2::GetFloat(ParamID id, TimeValue t, int tabIndex) {
    float v = 0.f;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
int IParamBlock2::GetInt(ParamID id, TimeValue t, int tabIndex) {
    int v = 0;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
Color IParamBlock2::GetColor(ParamID id, TimeValue t, int tabIndex) {
    Color v;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
AColor IParamBlock2::GetAColor(ParamID id, TimeValue t, int tabIndex) {
    AColor v;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
Point3 IParamBlock2::GetPoint3(ParamID id, TimeValue t, int tabIndex) {
    Point3 v;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
Texmap* IParamBlock2::GetTexmap(ParamID id, TimeValue t, int tabIndex) {
    Texmap* v = nullptr;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
Mtl* IParamBlock2::GetMtl(ParamID id, TimeValue t, int tabIndex) {
    Mtl* v = nullptr;
    Interval iv = FOREVER;
    GetValue(id, t, v, iv, tabIndex);
    return v;
}
