// The host's private access to the reference bookkeeping (loading and cloning).
#pragma once

#include "ref.h"

class RefHostAccess {
public:
    // Sets a slot as loading does: through SetReference, counting the file's target there; the
    // target the slot held before (one a constructor made) goes when nothing else refers to it.
    static void SetSlot(ReferenceMaker* maker, int i, ReferenceTarget* target) {
        maker->SetReference(i, target);
        maker->Count(i, target, true);
    }
    // While held, a target is not deleted when its last reference goes.
    static void Hold(ReferenceTarget* t) { ++t->mHostHolds; }
    static void Release(ReferenceTarget* t) { --t->mHostHolds; }
    static bool IsHeld(const ReferenceTarget* t) { return t->mHostHolds > 0; }
};
