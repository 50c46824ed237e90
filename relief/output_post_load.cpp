#include "relief/output_post_load.h"

#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {

// An output held by a loaded QuarelMap got its parent while the references were restored. One
// that has none yet stays an orphan for now and evaluates as one.

QuarelNormalMapPostLoad::QuarelNormalMapPostLoad(QuarelNormalMap* map) : mMap(map) {
    if (mMap == nullptr) return;
    if (mMap->mPendingLoad != nullptr) mMap->mPendingLoad->MapGone();
    mMap->mPendingLoad = this;
}

QuarelNormalMapPostLoad::~QuarelNormalMapPostLoad() {
    if (mMap != nullptr && mMap->mPendingLoad == this) mMap->mPendingLoad = nullptr;
}

void QuarelNormalMapPostLoad::proc(ILoad*) {
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
    delete this;
}

}  // namespace QuarelNS
