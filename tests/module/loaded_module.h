// Test support: the module loaded the way the host loads it (dlopen, an instance record of the
// Win32 stand-in, DllMain and the six exports), from a private copy so that every load starts
// with fresh module state even if an earlier copy stays mapped.
#pragma once

#include <windows.h>

#include <filesystem>

#include "iparamb2.h"

namespace QuarelTest {

class LoadedModule {
public:
    // Copies the module into `dir` and loads it; does not call DllMain.
    explicit LoadedModule(const std::filesystem::path& dir);
    ~LoadedModule();
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    bool ok() const { return mDl != nullptr && mInstance != nullptr && DllMain && LibClassDesc; }
    HINSTANCE instance() const { return mInstance; }

    BOOL (*DllMain)(HINSTANCE, DWORD, LPVOID) = nullptr;
    const MCHAR* (*LibDescription)() = nullptr;
    int (*LibNumberClasses)() = nullptr;
    ClassDesc* (*LibClassDesc)(int) = nullptr;
    ULONG (*LibVersion)() = nullptr;
    int (*LibInitialize)() = nullptr;
    int (*LibShutdown)() = nullptr;

private:
    void* mDl = nullptr;
    HINSTANCE mInstance = nullptr;
};

}  // namespace QuarelTest
