// The six functions by which the host discovers the module's classes.
#include <windows.h>

#include "base/diag_log.h"
#include "iparamb2.h"
#include "module/class_descs.h"

namespace {

// First-call flags: they only thin out the log (main thread only).
bool gDescriptionLogged = false;
bool gNumberLogged = false;
bool gVersionLogged = false;

}  // namespace

extern "C" {

__declspec(dllexport) const MCHAR* LibDescription() {
    if (!gDescriptionLogged) {
        gDescriptionLogged = true;
        QuarelNS::DiagLog("LibDescription called");
    }
    return L"QuarelMap - per-brick projection texture with VRayMultiSubTex support";
}

__declspec(dllexport) int LibNumberClasses() {
    if (!gNumberLogged) {
        gNumberLogged = true;
        QuarelNS::DiagLog("LibNumberClasses called");
    }
    return QuarelNS::kQuarelClassCount;
}

__declspec(dllexport) ClassDesc* LibClassDesc(int i) {
    QuarelNS::DiagLog("LibClassDesc(%d) called", i);
    if (i < 0 || i >= QuarelNS::kQuarelClassCount) return nullptr;
    return &QuarelNS::QuarelClassDescOf(static_cast<QuarelNS::QuarelClass>(i));
}

__declspec(dllexport) ULONG LibVersion() {
    if (!gVersionLogged) {
        gVersionLogged = true;
        QuarelNS::DiagLog("LibVersion called, returning %d", static_cast<int>(VERSION_3DSMAX));
    }
    return VERSION_3DSMAX;
}

__declspec(dllexport) int LibInitialize() {
    QuarelNS::DiagLog("LibInitialize called");
    return TRUE;
}

__declspec(dllexport) int LibShutdown() {
    QuarelNS::DiagLog("LibShutdown called");
    return TRUE;
}

}  // extern "C"
