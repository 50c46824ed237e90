// Instance records: the link between an HINSTANCE and a module's dlopen handle and resources.
#include <dlfcn.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "text_convert.h"
#include "w32_module.h"
#include "windows.h"

// The record an HINSTANCE points at.
struct HINSTANCE__ {
    void* dlHandle = nullptr;
    std::string fileName;
    int attachCount = 0;
};

namespace {

struct ModuleTable {
    std::mutex mutex;
    std::vector<std::unique_ptr<HINSTANCE__>> records;
    HINSTANCE__* program = nullptr;
};

ModuleTable& Table() {
    static ModuleTable* table = new ModuleTable;  // outlives every static destructor
    return *table;
}

// Caller holds the table lock.
HINSTANCE__* FindLive(ModuleTable& t, HINSTANCE instance) {
    for (auto& r : t.records) {
        if (r.get() == instance) return r.get();
    }
    return nullptr;
}

const W32ModuleResources* ResourcesOf(HINSTANCE instance) {
    ModuleTable& t = Table();
    void* handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        HINSTANCE__* r = FindLive(t, instance);
        if (!r) return nullptr;
        handle = r->dlHandle;
    }
    auto fn = reinterpret_cast<W32ModuleResourcesFn>(dlsym(handle, W32_MODULE_RESOURCES_EXPORT));
    if (!fn) return nullptr;
    const W32ModuleResources* res = fn();
    if (!res || res->version != kW32ResourcesVersion) return nullptr;
    return res;
}

}  // namespace

extern "C" {

HINSTANCE W32AttachModule(void* dlHandle, const char* fileName) {
    if (!dlHandle) return nullptr;
    ModuleTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    for (auto& r : t.records) {
        if (r->dlHandle == dlHandle) {
            ++r->attachCount;
            return r.get();
        }
    }
    auto rec = std::make_unique<HINSTANCE__>();
    rec->dlHandle = dlHandle;
    rec->fileName = fileName ? fileName : "";
    rec->attachCount = 1;
    t.records.push_back(std::move(rec));
    return t.records.back().get();
}

void W32DetachModule(HINSTANCE instance) {
    ModuleTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = std::find_if(t.records.begin(), t.records.end(),
                           [&](const auto& r) { return r.get() == instance; });
    if (it == t.records.end() || --(*it)->attachCount > 0) return;
    if (t.program == it->get()) t.program = nullptr;
    t.records.erase(it);
}

void* W32ModuleDlHandle(HINSTANCE instance) {
    ModuleTable& t = Table();
    std::lock_guard<std::mutex> lock(t.mutex);
    HINSTANCE__* r = FindLive(t, instance);
    return r ? r->dlHandle : nullptr;
}

const W32ModuleResources* W32GetModuleResources(HINSTANCE instance) {
    return ResourcesOf(instance);
}

const W32DialogResource* W32FindDialogResource(HINSTANCE instance, UINT id) {
    const W32ModuleResources* res = ResourcesOf(instance);
    if (!res || !res->dialogs) return nullptr;
    for (std::uint32_t i = 0; i < res->dialogCount; ++i) {
        if (res->dialogs[i].id == id) return &res->dialogs[i];
    }
    return nullptr;
}

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int cchBufferMax) {
    if (!buffer || cchBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const W32ModuleResources* res = ResourcesOf(instance);
    if (!res) {
        SetLastError(instance ? ERROR_RESOURCE_DATA_NOT_FOUND : ERROR_INVALID_HANDLE);
        if (cchBufferMax > 0) buffer[0] = L'\0';
        return 0;
    }
    const wchar_t* text = nullptr;
    for (std::uint32_t i = 0; res->strings && i < res->stringCount; ++i) {
        if (res->strings[i].id == id) {
            text = res->strings[i].text;
            break;
        }
    }
    if (!text) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        if (cchBufferMax > 0) buffer[0] = L'\0';
        return 0;
    }
    const int length = static_cast<int>(std::wcslen(text));
    if (cchBufferMax == 0) {
        // Windows hands out a pointer into the read-only resource instead of a copy.
        *reinterpret_cast<const wchar_t**>(buffer) = text;
        return length;
    }
    const int n = std::min(length, cchBufferMax - 1);
    std::wmemcpy(buffer, text, static_cast<std::size_t>(n));
    buffer[n] = L'\0';
    return n;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    ModuleTable& t = Table();
    if (!moduleName) {
        {
            std::lock_guard<std::mutex> lock(t.mutex);
            if (t.program) return t.program;
        }
        HINSTANCE program = W32AttachModule(dlopen(nullptr, RTLD_NOW), "");
        std::lock_guard<std::mutex> lock(t.mutex);
        t.program = program;
        return program;
    }
    const std::string wanted = w32::ToUtf8(moduleName);
    std::lock_guard<std::mutex> lock(t.mutex);
    for (auto& r : t.records) {
        const std::string& f = r->fileName;
        const std::size_t slash = f.find_last_of('/');
        const std::string base = slash == std::string::npos ? f : f.substr(slash + 1);
        if (f == wanted || base == wanted) return r.get();
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    if (!fileName || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string name;
    {
        ModuleTable& t = Table();
        std::lock_guard<std::mutex> lock(t.mutex);
        HINSTANCE__* r = module ? FindLive(t, module) : t.program;
        if (!r && module) {
            SetLastError(ERROR_INVALID_HANDLE);
            fileName[0] = L'\0';
            return 0;
        }
        if (r) name = r->fileName;
    }
    const std::wstring wide = w32::FromUtf8(name.c_str());
    const DWORD n = std::min<DWORD>(static_cast<DWORD>(wide.size()), size - 1);
    std::wmemcpy(fileName, wide.data(), n);
    fileName[n] = L'\0';
    return n;
}

}  // extern "C"
