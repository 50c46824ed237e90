#include "host/plugin_module.h"
#include "host/param_declarations.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>

#include "w32_module.h"
#include "windows.h"
#endif

#include <cstdio>
#include <cwchar>

#include "host/class_directory.h"

namespace {

// More classes than this is taken as a corrupt answer, not a module.
constexpr int kMaxClasses = 4096;

std::string VersionHex(unsigned long v) {
    char buf[24];
    std::snprintf(buf, sizeof(buf), "0x%lx", v);
    return buf;
}

#ifdef _WIN32
// Windows' loader runs DllMain itself and a DLL need not export it.
constexpr bool kHostCallsDllMain = false;

std::string LastErrorText() {
    return "error " + std::to_string(GetLastError());
}

void* OpenModule(const std::string& path, std::string* why) {
    // The path is UTF-8, as everywhere in the host.
    const int n = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? static_cast<std::size_t>(n) : 0, L'\0');
    HMODULE handle = nullptr;
    if (n > 0 && MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), n) == n)
        handle = LoadLibraryW(wide.c_str());
    if (!handle) *why = LastErrorText();
    return reinterpret_cast<void*>(handle);
}

void CloseModule(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}

void* Symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

HINSTANCE AttachInstance(void* handle, const std::string&) {
    return static_cast<HINSTANCE>(handle);
}

void DetachInstance(HINSTANCE) {}
#else
constexpr bool kHostCallsDllMain = true;

void* OpenModule(const std::string& path, std::string* why) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* text = dlerror();
        *why = text ? text : "unknown error";
    }
    return handle;
}

void CloseModule(void* handle) {
    dlclose(handle);
}

void* Symbol(void* handle, const char* name) {
    dlerror();
    return dlsym(handle, name);
}

HINSTANCE AttachInstance(void* handle, const std::string& path) {
    return W32AttachModule(handle, path.c_str());
}

void DetachInstance(HINSTANCE instance) {
    W32DetachModule(instance);
}
#endif

// The first parameter block declaration of the classes that the stand-in could not read.
std::string FirstDeclarationFault(const std::vector<ClassDesc*>& classes) {
    for (ClassDesc* cd : classes) {
        if (!cd) continue;
        for (int b = 0, nb = cd->NumParamBlockDescs(); b < nb; ++b) {
            const ParamBlockDesc2* d = cd->GetParamBlockDesc(b);
            std::string e = d ? quarel_host::DeclarationError(*d) : std::string();
            if (!e.empty()) return e;
        }
    }
    return {};
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string* error) {
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return std::unique_ptr<PluginModule>();
    };
    std::string why;
    void* handle = OpenModule(path, &why);
    if (!handle) return fail("cannot load module '" + path + "': " + why);
    static const char* const kExports[] = {"DllMain",      "LibDescription", "LibNumberClasses",
                                           "LibClassDesc", "LibVersion",     "LibInitialize",
                                           "LibShutdown"};
    void* fns[7] = {};
    for (int i = kHostCallsDllMain ? 0 : 1; i < 7; ++i) {
        fns[i] = Symbol(handle, kExports[i]);
        if (!fns[i]) {
            CloseModule(handle);
            return fail("module '" + path + "' refused: it lacks the export " + kExports[i]);
        }
    }

    std::unique_ptr<PluginModule> m(new PluginModule);
    m->mPath = path;
    m->mHandle = handle;
    m->mDllMain = reinterpret_cast<BOOL(WINAPI*)(HINSTANCE, ULONG, LPVOID)>(fns[0]);
    m->mShutdown = reinterpret_cast<LibShutdownFn>(fns[6]);
    m->mInstance = AttachInstance(handle, path);

    if (m->mDllMain && !m->mDllMain(m->mInstance, DLL_PROCESS_ATTACH, nullptr)) {
        // As on Windows: a refused attach is followed by the detach call, then the unload.
        m->Unload();
        return fail("module '" + path + "' refused: DllMain failed on process attach");
    }
    const ULONG version = reinterpret_cast<LibVersionFn>(fns[4])();
    m->mVersion = version;
    if (version != VERSION_3DSMAX) {
        m->Unload();
        return fail("module '" + path + "' refused: it was built for version " +
                    VersionHex(version) + ", this host is version " + VersionHex(VERSION_3DSMAX));
    }
    if (const MCHAR* d = reinterpret_cast<LibDescriptionFn>(fns[1])()) m->mDescription = d;
    const int n = reinterpret_cast<LibNumberClassesFn>(fns[2])();
    if (n < 0 || n > kMaxClasses) {
        m->Unload();
        return fail("module '" + path + "' refused: it reports " + std::to_string(n) + " classes");
    }
    auto classDesc = reinterpret_cast<LibClassDescFn>(fns[3]);
    for (int i = 0; i < n; ++i) m->mClasses.push_back(classDesc(i));
    const std::string fault = FirstDeclarationFault(m->mClasses);
    if (!fault.empty()) {
        m->Unload();
        return fail("module '" + path + "' refused: " + fault);
    }
    if (!reinterpret_cast<LibInitializeFn>(fns[5])()) {
        m->Unload();
        return fail("module '" + path + "' refused: LibInitialize failed");
    }
    m->mInitialized = true;
    for (ClassDesc* cd : m->mClasses) {
        if (cd && RegisterClassDesc(cd)) m->mRegistered.push_back(cd);
    }
    return m;
}

PluginModule::~PluginModule() {
    Unload();
}

void PluginModule::Unload() {
    if (!mHandle) return;
    for (ClassDesc* cd : mRegistered) UnregisterClassDesc(cd);
    mRegistered.clear();
    mClasses.clear();
    if (mInitialized && mShutdown) mShutdown();
    mInitialized = false;
    if (mDllMain) mDllMain(mInstance, DLL_PROCESS_DETACH, nullptr);
    DetachInstance(mInstance);
    mInstance = nullptr;
    CloseModule(mHandle);
    mHandle = nullptr;
}

ClassDesc* PluginModule::GetClassDesc(int i) const {
    return i >= 0 && i < NumClasses() ? mClasses[i] : nullptr;
}

ClassDesc* PluginModule::FindClass(const MCHAR* className) const {
    if (!className) return nullptr;
    for (ClassDesc* cd : mClasses)
        if (cd && cd->ClassName() && std::wcscmp(cd->ClassName(), className) == 0) return cd;
    return nullptr;
}
