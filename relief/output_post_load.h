// Post-load callbacks of the two relief outputs: once the whole scene is loaded, each loaded
// output that is still without a parent gets the first QuarelMap of the scene
// (parent_resolution.h). The outputs' Load registers them (the host's default priority, 5);
// each runs once and then deletes itself, as does one that the host deletes unrun after a
// failed load.
//
// An output and its pending callback know each other: an output that goes first leaves the
// callback with nothing to do, and a callback that goes first is forgotten by the output. So a
// callback never reaches an output that is gone. Main thread only.
#pragma once

#include "ioapi.h"

namespace QuarelNS {

class QuarelNormalMap;
class QuarelBumpProcMap;

class QuarelNormalMapPostLoad : public PostLoadCallback {
public:
    // Becomes the map's pending callback; an earlier one of the same map is left with nothing.
    explicit QuarelNormalMapPostLoad(QuarelNormalMap* map);
    ~QuarelNormalMapPostLoad() override;
    QuarelNormalMapPostLoad(const QuarelNormalMapPostLoad&) = delete;
    QuarelNormalMapPostLoad& operator=(const QuarelNormalMapPostLoad&) = delete;

    // Nothing for a map that is gone or already has its parent; otherwise the map gets the
    // first QuarelMap of the scene, if there is one. Deletes the callback in every case.
    void proc(ILoad* iload) override;

    QuarelNormalMap* Map() const { return mMap; }

private:
    friend class QuarelNormalMap;
    void MapGone() { mMap = nullptr; }

    QuarelNormalMap* mMap;
};

class QuarelBumpProcMapPostLoad : public PostLoadCallback {
public:
    explicit QuarelBumpProcMapPostLoad(QuarelBumpProcMap* map);
    ~QuarelBumpProcMapPostLoad() override;
    QuarelBumpProcMapPostLoad(const QuarelBumpProcMapPostLoad&) = delete;
    QuarelBumpProcMapPostLoad& operator=(const QuarelBumpProcMapPostLoad&) = delete;

    void proc(ILoad* iload) override;

    QuarelBumpProcMap* Map() const { return mMap; }

private:
    friend class QuarelBumpProcMap;
    void MapGone() { mMap = nullptr; }

    QuarelBumpProcMap* mMap;
};

}  // namespace QuarelNS
