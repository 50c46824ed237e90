// QMPostLoadCallback: runs the repair on one loaded QuarelMap once the whole scene is loaded,
// then deletes itself. The map's Load registers it.
//
// The map and its pending callback know each other: a map that goes first leaves the callback
// with nothing to repair, and a callback that goes first (run, or deleted unrun by a load that
// failed) is forgotten by the map. So the callback never reaches a map that is gone.
#pragma once

#include "ioapi.h"

namespace QuarelNS {

class QuarelMap;

class QMPostLoadCallback : public PostLoadCallback {
public:
    // Becomes the map's pending callback; an earlier one of the same map is left with nothing.
    explicit QMPostLoadCallback(QuarelMap* map);
    ~QMPostLoadCallback() override;
    QMPostLoadCallback(const QMPostLoadCallback&) = delete;
    QMPostLoadCallback& operator=(const QMPostLoadCallback&) = delete;

    void proc(ILoad* iload) override;

    QuarelMap* Map() const { return mMap; }

private:
    friend class QuarelMap;
    void MapGone() { mMap = nullptr; }

    QuarelMap* mMap;
};

}  // namespace QuarelNS
