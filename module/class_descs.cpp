#include "module/class_descs.h"

#include <new>

#include "base/module_instance.h"
#include "map/quarel_map.h"
#include "relief/quarel_bump_map.h"
#include "relief/quarel_bump_proc_map.h"
#include "relief/quarel_normal_carrier_mtl.h"
#include "relief/quarel_normal_map.h"

namespace QuarelNS {
namespace {

// The host takes Create's answer as the object's Animatable base; null when out of memory.
void* AsAnimatable(Animatable* object) {
    return object;
}

}  // namespace

HINSTANCE QuarelClassDesc::HInstance() {
    return ModuleInstance();
}

void* QuarelMapClassDesc::Create(BOOL loading) {
    return AsAnimatable(new (std::nothrow) QuarelMap(loading != FALSE));
}

void* QuarelBumpMapClassDesc::Create(BOOL) {
    return AsAnimatable(new (std::nothrow) QuarelBumpMap());
}

void* QuarelNormalMapClassDesc::Create(BOOL loading) {
    return AsAnimatable(new (std::nothrow) QuarelNormalMap(loading != FALSE));
}

void* QuarelNormalCarrierMtlClassDesc::Create(BOOL loading) {
    return AsAnimatable(new (std::nothrow) QuarelNormalCarrierMtl(loading != FALSE));
}

void* QuarelBumpProcMapClassDesc::Create(BOOL loading) {
    return AsAnimatable(new (std::nothrow) QuarelBumpProcMap(loading != FALSE));
}

ClassDesc2& QuarelClassDescOf(QuarelClass c) {
    // One group, constructed in table order on first use, so every block descriptor finds its
    // owner alive whichever file the linker initialises first.
    struct Descs {
        QuarelMapClassDesc map;
        QuarelBumpMapClassDesc bumpMap;
        QuarelNormalMapClassDesc normalMap;
        QuarelNormalCarrierMtlClassDesc carrier;
        QuarelBumpProcMapClassDesc bumpProcMap;
    };
    static Descs descs;
    switch (c) {
        case QuarelClass::Map:
            return descs.map;
        case QuarelClass::BumpMap:
            return descs.bumpMap;
        case QuarelClass::NormalMap:
            return descs.normalMap;
        case QuarelClass::NormalCarrierMtl:
            return descs.carrier;
        case QuarelClass::BumpProcMap:
            break;
    }
    return descs.bumpProcMap;
}

}  // namespace QuarelNS
