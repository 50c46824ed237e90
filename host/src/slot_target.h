// What a built-in maker's slot keeps of a target it is given.
#pragma once

#include "ref.h"

namespace quarel_host {

// The target if it is of the superclass the slot takes, else nothing. A refusal empties the
// slot: the host no longer counts the earlier target there and may already have deleted it.
template <class T>
T* SlotTarget(RefTargetHandle rtarg, SClass_ID sclass) {
    return rtarg && rtarg->SuperClassID() == sclass ? static_cast<T*>(rtarg) : nullptr;
}

}  // namespace quarel_host
