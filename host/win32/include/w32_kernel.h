// Kernel services of the Win32 stand-in: module entry, locks, time, threads, directories,
// last-error codes and string resources. Each call behaves as its Windows namesake for the
// arguments a module passes; see the notes where the platform forces a difference.
#pragma once

#include <pthread.h>

#include "w32_types.h"

// DllMain reasons.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

// Error codes reported through GetLastError.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L

// A module's entry point, looked up by the host under this unmangled name. Declaring it here
// with C linkage gives a later definition without `extern "C"` the same linkage.
extern "C" __declspec(dllexport) BOOL WINAPI
    DllMain(HINSTANCE hinstDLL, ULONG fdwReason, LPVOID lpvReserved);

// A recursive lock, as Windows critical sections are. Initialise before use; delete once.
struct CRITICAL_SECTION {
    pthread_mutex_t mutex;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef SYSTEMTIME* LPSYSTEMTIME;

struct SECURITY_ATTRIBUTES;
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

extern "C" {
void InitializeCriticalSection(LPCRITICAL_SECTION cs);
void EnterCriticalSection(LPCRITICAL_SECTION cs);
void LeaveCriticalSection(LPCRITICAL_SECTION cs);
void DeleteCriticalSection(LPCRITICAL_SECTION cs);

void GetLocalTime(LPSYSTEMTIME st);
void GetSystemTime(LPSYSTEMTIME st);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
DWORD GetTickCount();

DWORD GetLastError();
void SetLastError(DWORD code);

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES sa);
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES sa);

// Thread notifications are never sent on this platform; accepted for a module handle.
BOOL DisableThreadLibraryCalls(HMODULE module);

// Copies string `id` of the module's string table into `buffer` (at most cchBufferMax - 1
// characters and a terminating zero) and answers the number of characters copied; 0 when the
// string or the module is unknown. With cchBufferMax 0, `buffer` receives a read-only pointer
// to the string, which is not zero-terminated, and the answer is its length.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int cchBufferMax);

// The handle of the running program (null name) or of a module the host loaded, by file name.
HMODULE GetModuleHandleW(LPCWSTR moduleName);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
}

#define LoadString LoadStringW
#define CreateDirectory CreateDirectoryW
#define GetModuleHandle GetModuleHandleW
#define GetModuleFileName GetModuleFileNameW
