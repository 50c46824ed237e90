// The default remap directory: each source target is cloned once.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "ref.h"
#include "ref_host_access.h"

namespace {

class DefaultRemapDir final : public RemapDir {
public:
    RefTargetHandle FindMapping(RefTargetHandle from) override {
        auto it = mMap.find(from);
        return it == mMap.end() ? nullptr : it->second;
    }
    void AddEntry(RefTargetHandle hfrom, RefTargetHandle hto) override {
        if (hfrom && hto) mMap[hfrom] = hto;
    }
    RefTargetHandle CloneRef(RefTargetHandle oldTarg) override {
        if (!oldTarg) return nullptr;
        if (RefTargetHandle found = FindMapping(oldTarg)) return found;
        ++mDepth;
        RefTargetHandle clone = oldTarg->Clone(*this);
        --mDepth;
        if (!clone) return nullptr;
        AddEntry(oldTarg, clone);
        if (mDepth > 0) {
            // Kept alive until the outermost clone is done: its owner may store it later.
            RefHostAccess::Hold(clone);
            mNested.push_back(clone);
        } else {
            ReleaseNested(clone);
        }
        return clone;
    }
    void PatchPointer(RefTargetHandle* patchThis, RefTargetHandle oldTarg) override {
        if (!patchThis) return;
        if (RefTargetHandle found = FindMapping(oldTarg)) *patchThis = found;
    }
    void Backpatch() override {}
    void Clear() override { mMap.clear(); }
    void DeleteThis() override { delete this; }

private:
    // Clones made on the way that no clone went on to reference (a maker refused them) would
    // be lost; they are deleted, with whatever only they referenced, except the clone handed
    // back to the caller. Their entries leave the directory first.
    void ReleaseNested(RefTargetHandle result) {
        std::vector<RefTargetHandle> nested;
        nested.swap(mNested);
        std::vector<RefTargetHandle> dying;
        auto isDying = [&](const ReferenceMaker* m) {
            return std::find(dying.begin(), dying.end(), m) != dying.end();
        };
        for (bool grew = true; grew;) {
            grew = false;
            for (RefTargetHandle c : nested) {
                if (c == result || isDying(c)) continue;
                bool allDying = true;
                for (int i = 0; i < c->DependentCount() && allDying; ++i)
                    allDying = isDying(c->GetDependent(i));
                if (allDying) {
                    dying.push_back(c);
                    grew = true;
                }
            }
        }
        std::vector<RefTargetHandle> roots;
        for (RefTargetHandle c : dying) {
            if (c->DependentCount() == 0) roots.push_back(c);
            for (auto it = mMap.begin(); it != mMap.end();) {
                it = it->second == c ? mMap.erase(it) : std::next(it);
            }
        }
        for (RefTargetHandle c : nested) RefHostAccess::Release(c);
        for (RefTargetHandle c : roots) c->DeleteMe();
    }

    std::unordered_map<RefTargetHandle, RefTargetHandle> mMap;
    std::vector<RefTargetHandle> mNested;
    int mDepth = 0;
};

}  // namespace

RemapDir* NewRemapDir(BOOL) {
    return new DefaultRemapDir;
}

ReferenceTarget* CloneRefHierarchy(ReferenceTarget* rt) {
    if (!rt) return nullptr;
    DefaultRemapDir remap;
    return remap.CloneRef(rt);
}
