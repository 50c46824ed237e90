#include "relief/output_post_load.h"

#include "relief/parent_resolution.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {

// An output held by a loaded QuarelMap got its parent while the references were restored; one
// that has none yet is given the first QuarelMap of the scene (parent_resolution.h).

QuarelNormalMapPostLoad::QuarelNormalMapPostLoad(QuarelNormalMap* map) : mMap(map) {
    if (mMap == nullptr) return;
    if (mMap->mPendingLoad != nullptr) mMap->mPendingLoad->MapGone();
    mMap->mPendingLoad = this;
}

QuarelNormalMapPostLoad::~QuarelNormalMapPostLoad() {
    if (mMap != nullptr && mMap->mPendingLoad == this) mMap->mPendingLoad = nullptr;
}

void QuarelNormalMapPostLoad::proc(ILoad*) {
    ResolveParentAfterLoad(mMap);
    delete this;
}

QuarelBumpProcMapPostLoad::QuarelBumpProcMapPostLoad(QuarelBumpProcMap* map) : mMap(map) {
    if (mMap == nullptr) return;
    if (mMap->mPendingLoad != nullptr) mMap->mPendingLoad->MapGone();
    mMap->mPendingLoad = this;
}

QuarelBumpProcMapPostLoad::~QuarelBumpProcMapPostLoad() {
    if (mMap != nullptr && mMap->mPendingLoad == this) mMap->mPendingLoad = nullptr;
}

void QuarelBumpProcMapPostLoad::proc(ILoad*) {
    ResolveParentAfterLoad(mMap);
    delete this;
}

}  // namespace QuarelNS
