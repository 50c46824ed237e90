#include "map/map_post_load.h"

#include "map/map_missing_files.h"
#include "map/map_repair.h"
#include "map/quarel_map.h"

namespace QuarelNS {

QMPostLoadCallback::QMPostLoadCallback(QuarelMap* map) : mMap(map) {
    if (mMap == nullptr) return;
    if (mMap->mPendingLoad != nullptr) mMap->mPendingLoad->MapGone();
    mMap->mPendingLoad = this;
}

QMPostLoadCallback::~QMPostLoadCallback() {
    if (mMap != nullptr && mMap->mPendingLoad == this) mMap->mPendingLoad = nullptr;
}

void QMPostLoadCallback::proc(ILoad*) {
    if (mMap != nullptr) {
        QMEnsureEditorSafeRefs(mMap);
        QMLogMissingFiles(mMap);
    }
    delete this;
}

}  // namespace QuarelNS
