#include "host/class_directory.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "builtin_registry.h"

namespace {

struct Directory {
    std::mutex mutex;
    std::vector<ClassDesc*> descs;
};

Directory& Dir() {
    static Directory* d = [] {
        auto* dir = new Directory;  // outlives every module's static destructors
        for (ClassDesc* cd : quarel_host::BuiltinClassDescs()) dir->descs.push_back(cd);
        return dir;
    }();
    return *d;
}

}  // namespace

bool RegisterClassDesc(ClassDesc* cd) {
    if (!cd) return false;
    Directory& d = Dir();
    std::lock_guard<std::mutex> lock(d.mutex);
    for (ClassDesc* c : d.descs) {
        if (c == cd) return true;
        if (c->SuperClassID() == cd->SuperClassID() && c->ClassID() == cd->ClassID()) return false;
    }
    d.descs.push_back(cd);
    return true;
}

void UnregisterClassDesc(ClassDesc* cd) {
    Directory& d = Dir();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.descs.erase(std::remove(d.descs.begin(), d.descs.end(), cd), d.descs.end());
}

ClassDesc* FindClassDesc(SClass_ID sclass, const Class_ID& cid) {
    Directory& d = Dir();
    std::lock_guard<std::mutex> lock(d.mutex);
    for (ClassDesc* c : d.descs)
        if (c->SuperClassID() == sclass && c->ClassID() == cid) return c;
    return nullptr;
}

int NumRegisteredClassDescs() {
    Directory& d = Dir();
    std::lock_guard<std::mutex> lock(d.mutex);
    return static_cast<int>(d.descs.size());
}

ClassDesc* GetRegisteredClassDesc(int i) {
    Directory& d = Dir();
    std::lock_guard<std::mutex> lock(d.mutex);
    return i >= 0 && i < static_cast<int>(d.descs.size()) ? d.descs[i] : nullptr;
}
