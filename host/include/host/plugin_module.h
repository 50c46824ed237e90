// Loading a plug-in module as the host does.
//
// Load opens the file, checks that it has all six exports and DllMain, calls DllMain with
// DLL_PROCESS_ATTACH and the module's instance handle, checks LibVersion against the host's
// version word, asks LibNumberClasses and LibClassDesc for each class, calls LibInitialize and
// registers the descriptors in the class directory. Unloading (also by the destructor) calls
// LibShutdown, unregisters the descriptors, calls DllMain with DLL_PROCESS_DETACH and closes
// the file; the module's objects must be gone by then, since their code goes with it. On
// Windows the system loader calls DllMain, which then need not be exported.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <iparamb2.h>

class PluginModule {
public:
    // The loaded module, or null with `error` saying why it was refused.
    static std::unique_ptr<PluginModule> Load(const std::string& path, std::string* error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    void Unload();
    bool IsLoaded() const { return mHandle != nullptr; }
    const std::string& Path() const { return mPath; }
    HINSTANCE Instance() const { return mInstance; }
    const MSTR& Description() const { return mDescription; }
    ULONG Version() const { return mVersion; }
    int NumClasses() const { return static_cast<int>(mClasses.size()); }
    // Class descriptor i as LibClassDesc gave it (null entries are kept in place).
    ClassDesc* GetClassDesc(int i) const;
    // A descriptor by class name, or null.
    ClassDesc* FindClass(const MCHAR* className) const;

private:
    PluginModule() = default;
    std::string mPath;
    void* mHandle = nullptr;
    HINSTANCE mInstance = nullptr;
    MSTR mDescription;
    ULONG mVersion = 0;
    std::vector<ClassDesc*> mClasses;
    std::vector<ClassDesc*> mRegistered;
    LibShutdownFn mShutdown = nullptr;
    BOOL(WINAPI* mDllMain)(HINSTANCE, ULONG, LPVOID) = nullptr;
    bool mInitialized = false;
};
