// The module entry point: attach opens the log, registers the common controls and attaches the
// rollout procedures; detach releases the editor's bitmaps, writes the last line and closes the
// log.
#include <windows.h>

// <commctrl.h> builds on the types of <windows.h>, which must come first.
#include <commctrl.h>

#include "base/diag_log.h"
#include "base/module_instance.h"
#include "module/editor_attach.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hinstDLL, DWORD fdwReason, LPVOID /*lpvReserved*/) {
    switch (fdwReason) {
        case DLL_PROCESS_ATTACH: {
            QuarelNS::SetModuleInstance(hinstDLL);
            DisableThreadLibraryCalls(hinstDLL);
            QuarelNS::DiagLogOpen();
            QuarelNS::DiagLog("DllMain: PROCESS_ATTACH, hInstance=0x%p",
                              static_cast<void*>(hinstDLL));
            INITCOMMONCONTROLSEX icc{};
            icc.dwSize = sizeof(icc);
            icc.dwICC = ICC_WIN95_CLASSES;
            InitCommonControlsEx(&icc);
            QuarelNS::AttachEditorProcedures();
            break;
        }
        case DLL_PROCESS_DETACH:
            QuarelNS::ReleaseEditorResources();
            QuarelNS::DiagLog("DllMain: PROCESS_DETACH");
            QuarelNS::DiagLogClose();
            break;
        default:
            break;
    }
    return TRUE;
}
