#include "relief/quarel_bump_map.h"

#include "module/class_ids.h"
#include "module/diag_log.h"

namespace QuarelNS {

QuarelBumpMap::QuarelBumpMap() {
    DiagLog("QuarelBumpMap::ctor [this=0x%p]", static_cast<void*>(this));
}

QuarelBumpMap::~QuarelBumpMap() {
    DiagLog("QuarelBumpMap::dtor [this=0x%p]", static_cast<void*>(this));
    DeleteAllRefs();
}

void QuarelBumpMap::GetClassName(MSTR& s, bool) const {
    s = ClassInfo(QuarelClass::BumpMap).className;
}

Class_ID QuarelBumpMap::ClassID() {
    return ClassIdOf(QuarelClass::BumpMap);
}

void QuarelBumpMap::SetReference(int i, RefTargetHandle rtarg) {
    if (i != kRefParent) return;
    if (rtarg == nullptr || IsQuarelClass(rtarg, QuarelClass::Map))
        mParent = rtarg;
    else
        DiagLog("QuarelBumpMap::SetReference rejecting foreign parent class");
}

// No evaluation yet: an orphan's answers.
AColor QuarelBumpMap::EvalColor(ShadeContext&) {
    return AColor(0.5f, 0.5f, 0.5f, 1.f);
}

Point3 QuarelBumpMap::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.f, 0.f, 0.f);
}

}  // namespace QuarelNS
