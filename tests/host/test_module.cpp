// A small plug-in module for the host's loader tests, written as a plug-in would be.
#include <w32_resources.h>
#include <windows.h>

namespace {

const W32StringResource kStrings[] = {
    {1, L"Test Module"},
    {2, L"A rather longer string for truncation"},
};
const W32DialogItem kItems[] = {
    {1001, "BUTTON", L"Use", 0x50010003u, 0, 7, 8, 30, 10},
};
const W32DialogResource kDialogs[] = {
    {100, L"", 0x54000040u, 217, 26, kItems, 1},
};
const W32ModuleResources kResources = {kW32ResourcesVersion, kStrings, 2, kDialogs, 1};

HINSTANCE gInstance = nullptr;
int gAttachCount = 0;

}  // namespace

extern "C" __declspec(dllexport) const W32ModuleResources* W32StandInModuleResources() {
    return &kResources;
}

BOOL WINAPI DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID) {
    if (fdwReason == DLL_PROCESS_ATTACH) {
        gInstance = hinstDLL;
        ++gAttachCount;
        DisableThreadLibraryCalls(hinstDLL);
    } else if (fdwReason == DLL_PROCESS_DETACH) {
        --gAttachCount;
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HINSTANCE TestModuleInstance() {
    return gInstance;
}

extern "C" __declspec(dllexport) int TestModuleAttachCount() {
    return gAttachCount;
}
