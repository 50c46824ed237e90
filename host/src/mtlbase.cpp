// Material-base services shared by maps and materials.
#include "imtl.h"

#include "host/host_interfaces.h"

// The host's material base answers interfaces of its own; derived classes pass on what they
// do not know.
void* MtlBase::GetInterface(ULONG id) {
    if (id == host::kMtlBaseProbeInterfaceId) return this;
    return ReferenceTarget::GetInterface(id);
}

MSTR MtlBase::GetFullName(bool localized) {
    MSTR cls;
    GetClassName(cls, localized);
    const MSTR name = GetName(localized);
    if (name.isNull()) return cls;
    return MSTR(name + L" ( " + cls + L" )");
}

ULONG MtlBase::Requirements(int subMtlNum) {
    ULONG req = LocalRequirements(subMtlNum);
    for (int i = 0, n = NumSubTexmaps(); i < n; ++i) {
        if (Texmap* m = GetSubTexmap(i); m && SubTexmapOn(i)) req |= m->Requirements(subMtlNum);
    }
    return req;
}

void MtlBase::MappingsRequired(int subMtlNum, BitArray& mapreq, BitArray& bumpreq) {
    LocalMappingsRequired(subMtlNum, mapreq, bumpreq);
    for (int i = 0, n = NumSubTexmaps(); i < n; ++i) {
        if (Texmap* m = GetSubTexmap(i); m && SubTexmapOn(i))
            m->MappingsRequired(subMtlNum, mapreq, bumpreq);
    }
}

void MtlBase::BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir&) {
    auto* f = dynamic_cast<MtlBase*>(from);
    auto* t = dynamic_cast<MtlBase*>(to);
    if (!f || !t || f == t) return;
    t->SetName(f->GetName());
    t->gbufID = f->gbufID;
    t->mtlFlags = f->mtlFlags;
}

AColor ShadeContext::EvalEnvironMap(Texmap* map, Point3) {
    return map ? map->EvalColor(*this) : AColor(0.f, 0.f, 0.f, 0.f);
}
