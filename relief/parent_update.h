// The Update of a relief map that draws everything from its parent QuarelMap: it is valid for
// as long as the parent is, and for ever without one.
#pragma once

#include "map/quarel_map.h"

namespace QuarelNS {

inline void UpdateFromParent(QuarelMap* parent, TimeValue t, Interval& valid, Interval& own) {
    if (parent == nullptr) {
        own = FOREVER;
        return;
    }
    Interval local = FOREVER;
    parent->Update(t, local);
    own = local;
    valid &= local;
}

}  // namespace QuarelNS
