// The module entry point: attach opens the log and registers the common controls; detach writes
// the last line and closes the log.
// <commctrl.h> builds on the types of <windows.h>, which must come first.
#include <windows.h>

#include <commctrl.h>

#include "module/diag_log.h"
#include "module/module_instance.h"

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
            break;
        }
        case DLL_PROCESS_DETACH:
            QuarelNS::DiagLog("DllMain: PROCESS_DETACH");
            QuarelNS::DiagLogClose();
            break;
        default:
            break;
    }
    return TRUE;
}
