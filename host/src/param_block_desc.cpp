// Block descriptors, their registration with class descriptors, and ClassDesc2's services.
#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include <windows.h>

#include "host/param_declarations.h"
#include "iparamb2.h"
#include "param_decl_parser.h"
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

}  // namespace

namespace quarel_host {

int SafeFloatToInt(float f) {
    if (std::isnan(f)) return 0;
    if (f >= 2147483520.f) return 2147483647;
    if (f <= -2147483648.f) return -2147483647 - 1;
    return static_cast<int>(std::lround(f));
}

}  // namespace quarel_host

ParamBlockDesc2::ParamBlockDesc2(BlockID id, const MCHAR* name, StringResID localName,
                                 ClassDesc2* owner, USHORT blockFlags,
                                 std::initializer_list<quarel_host::PB2Arg> args)
    : ID(id),
      int_name(name),
      local_name(localName),
      cd(owner),
      flags(blockFlags),
      version(0),
      ref_no(-1),
      mStorage(std::make_unique<Storage>()) {
    quarel_host::DeclParser::Block(*this, args);
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

void ParamBlockDesc2::AddParamArgs(ParamID id, std::initializer_list<quarel_host::PB2Arg> args) {
    quarel_host::DeclParser::AddParam(*this, id, args);
}

void ParamBlockDesc2::ParamOptionArgs(ParamID id, int tag,
                                      std::initializer_list<quarel_host::PB2Arg> args) {
    quarel_host::DeclParser::Option(*this, id, tag, args);
}

bool ParamBlockDesc2::ParamOptionContentValues(ParamID id, Tab<int>& stringItems,
                                               Tab<int>* stringItemValues) {
    if (stringItemValues) {
        quarel_host::DeclParser::Fail(*this, "combo box item values are not read by the stand-in");
        return false;
    }
    quarel_host::DeclParser::SetItems(*this, id, stringItems);
    return quarel_host::DeclarationError(*this).empty();
}

int ParamBlockDesc2::IDtoIndex(ParamID id) const {
    const std::vector<int>& index = mStorage->index;
    return id >= 0 && static_cast<std::size_t>(id) < index.size() ? index[id] : -1;
}

const ParamDef& ParamBlockDesc2::GetParamDefByIndex(int i) const {
    return *mStorage->byIndex[static_cast<std::size_t>(i)];
}

void ParamBlockDesc2::SetUserDlgProc(MapID mapId, ParamMap2UserDlgProc* proc) {
    for (int i = 0; i < map_specs.Count(); ++i)
        if (map_specs[i].map_id == mapId) map_specs[i].dlgProc = proc;
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
