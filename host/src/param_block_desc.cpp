// Block descriptors, their registration with class descriptors, and ClassDesc2's services.
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include <windows.h>

#include "iparamb2.h"
#include "param_internal.h"

namespace {

// Descriptors are kept here rather than in the class descriptor, so registration works
// whichever of the two static objects a module constructs first.
struct DescRegistry {
    std::mutex mutex;
    std::map<const ClassDesc2*, std::vector<ParamBlockDesc2*>> byClass;
};

DescRegistry& Registry() {
    static DescRegistry* r = new DescRegistry;  // outlives every module's static destructors
    return *r;
}

bool IsIntLike(int t) {
    return t == TYPE_INT || t == TYPE_BOOL;
}
bool IsColorLike(int t) {
    return t == TYPE_RGBA || t == TYPE_FRGBA || t == TYPE_POINT3;
}

// Converts a declared default or range bound to the parameter's own type.
PB2Value Normalise(const PB2Value& v, int type) {
    if (!v.IsSet()) return v;
    PB2Value out = v;
    if (IsIntLike(type)) {
        out = PB2Value(v.kind == PB2Value::kFloat ? quarel_host::SafeFloatToInt(v.f) : v.i);
    } else if (IsColorLike(type)) {
        if (v.kind != PB2Value::kColor) out = PB2Value(AColor(v.f, v.f, v.f, 1.f));
    } else if (v.kind == PB2Value::kColor) {
        out = PB2Value(v.c.r);
    } else {
        out = PB2Value(v.kind == PB2Value::kInt ? static_cast<float>(v.i) : v.f);
    }
    return out;
}

}  // namespace

namespace quarel_host {

int SafeFloatToInt(float f) {
    if (std::isnan(f)) return 0;
    if (f >= 2147483520.f) return 2147483647;
    if (f <= -2147483648.f) return -2147483647 - 1;
    return static_cast<int>(std::lround(f));
}

}  // namespace quarel_host

ParamBlockDesc2::ParamBlockDesc2(BlockDef def, std::vector<ParamDef> params)
    : ID(def.id),
      int_name(def.internalName),
      local_name(def.localName),
      cd(def.owner),
      flags(def.flags),
      version((def.flags & P_VERSION) ? def.version : 0),
      ref_no(def.ownerRefNo),
      mParams(std::move(params)),
      mRollouts(std::move(def.rollouts)) {
    if (!(flags & P_MULTIMAP) && mRollouts.size() > 1) mRollouts.resize(1);
    for (std::size_t i = 0; i < mParams.size(); ++i) {
        ParamDef& p = mParams[i];
        p.def = Normalise(p.def, p.type);
        p.rangeLow = Normalise(p.rangeLow, p.type);
        p.rangeHigh = Normalise(p.rangeHigh, p.type);
        if (p.id < 0) continue;
        if (static_cast<std::size_t>(p.id) >= mIndex.size()) mIndex.resize(p.id + 1, -1);
        if (mIndex[p.id] < 0) mIndex[p.id] = static_cast<int>(i);  // the first of a duplicate id
    }
    if (cd) cd->AddParamBlockDesc(this);
}

ParamBlockDesc2::~ParamBlockDesc2() {
    DescRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (auto it = r.byClass.begin(); it != r.byClass.end();) {
        auto& v = it->second;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        it = v.empty() ? r.byClass.erase(it) : std::next(it);
    }
}

void ParamBlockDesc2::SetUserDlgProc(MapID mapId, ParamMap2UserDlgProc* proc) {
    for (RolloutDef& r : mRollouts)
        if (r.mapId == mapId) r.dlgProc = proc;
}

ParamMap2UserDlgProc* ParamBlockDesc2::GetUserDlgProc(MapID mapId) const {
    for (const RolloutDef& r : mRollouts)
        if (r.mapId == mapId) return r.dlgProc;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// ClassDesc2

void ClassDesc2::AddParamBlockDesc(ParamBlockDesc2* pbd) {
    if (!pbd) return;
    DescRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto& v = r.byClass[this];
    if (std::find(v.begin(), v.end(), pbd) == v.end()) v.push_back(pbd);
}

void ClassDesc2::ClearParamBlockDescs() {
    DescRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.byClass.erase(this);
}

int ClassDesc2::NumParamBlockDescs() {
    DescRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byClass.find(this);
    return it == r.byClass.end() ? 0 : static_cast<int>(it->second.size());
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDesc(int i) {
    DescRegistry& r = Registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byClass.find(this);
    if (it == r.byClass.end() || i < 0 || i >= static_cast<int>(it->second.size())) return nullptr;
    return it->second[i];
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) {
    for (int i = 0, n = NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* d = GetParamBlockDesc(i);
        if (d && d->ID == id) return d;
    }
    return nullptr;
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByName(const MCHAR* name) {
    if (!name) return nullptr;
    for (int i = 0, n = NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* d = GetParamBlockDesc(i);
        if (d && d->int_name && MSTR(d->int_name) == name) return d;
    }
    return nullptr;
}

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner) {
    if (!owner) return;
    for (int i = 0, n = NumParamBlockDescs(); i < n; ++i) {
        ParamBlockDesc2* d = GetParamBlockDesc(i);
        if (!d || !(d->flags & P_AUTO_CONSTRUCT) || d->ref_no < 0) continue;
        // Always a new block with the defaults: a block already in the slot is replaced.
        owner->ReplaceReference(d->ref_no, CreateParameterBlock2(d, owner));
    }
}

const MCHAR* ClassDesc2::GetRsrcString(StringResID id) {
    const wchar_t* text = nullptr;
    const int n =
        LoadStringW(HInstance(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) return L"";
    // LoadString hands out the resource in place, and a compiled string table does not
    // terminate its strings: answer a terminated copy, kept for the life of the process.
    static std::mutex mutex;
    static auto* copies = new std::set<std::wstring>;  // nodes never move
    std::lock_guard<std::mutex> lock(mutex);
    return copies->emplace(text, static_cast<std::size_t>(n)).first->c_str();
}
