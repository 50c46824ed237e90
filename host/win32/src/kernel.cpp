// Kernel services over POSIX: recursive mutexes, local time, thread ids, directories.
#include <errno.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <atomic>

#include "commctrl.h"
#include "text_convert.h"
#include "windows.h"

namespace {

thread_local DWORD tLastError = ERROR_SUCCESS;

DWORD ErrorFromErrno(int e) {
    switch (e) {
        case EEXIST:
            return ERROR_ALREADY_EXISTS;
        case ENOENT:
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_INVALID_PARAMETER;
    }
}

void FillSystemTime(const struct tm& tmv, long nanoseconds, LPSYSTEMTIME st) {
    st->wYear = static_cast<WORD>(tmv.tm_year + 1900);
    st->wMonth = static_cast<WORD>(tmv.tm_mon + 1);
    st->wDayOfWeek = static_cast<WORD>(tmv.tm_wday);
    st->wDay = static_cast<WORD>(tmv.tm_mday);
    st->wHour = static_cast<WORD>(tmv.tm_hour);
    st->wMinute = static_cast<WORD>(tmv.tm_min);
    // A leap second reads as the last second of the minute, as Windows never reports 60.
    st->wSecond = static_cast<WORD>(tmv.tm_sec > 59 ? 59 : tmv.tm_sec);
    st->wMilliseconds = static_cast<WORD>(nanoseconds / 1000000);
}

std::atomic<DWORD> gCommonControls{0};

}  // namespace

extern "C" {

void InitializeCriticalSection(LPCRITICAL_SECTION cs) {
    if (!cs) return;
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&cs->mutex, &attr);
    pthread_mutexattr_destroy(&attr);
}

void EnterCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) pthread_mutex_lock(&cs->mutex);
}

void LeaveCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) pthread_mutex_unlock(&cs->mutex);
}

void DeleteCriticalSection(LPCRITICAL_SECTION cs) {
    if (cs) pthread_mutex_destroy(&cs->mutex);
}

void GetLocalTime(LPSYSTEMTIME st) {
    if (!st) return;
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tmv {};
    localtime_r(&ts.tv_sec, &tmv);
    FillSystemTime(tmv, ts.tv_nsec, st);
}

void GetSystemTime(LPSYSTEMTIME st) {
    if (!st) return;
    struct timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tmv {};
    gmtime_r(&ts.tv_sec, &tmv);
    FillSystemTime(tmv, ts.tv_nsec, st);
}

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

DWORD GetTickCount() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<DWORD>(static_cast<unsigned long long>(ts.tv_sec) * 1000ull +
                              static_cast<unsigned long long>(ts.tv_nsec) / 1000000ull) &
           0xFFFFFFFFul;
}

DWORD GetLastError() {
    return tLastError;
}

void SetLastError(DWORD code) {
    tLastError = code;
}

BOOL CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES) {
    if (!path || !*path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (mkdir(path, 0777) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES sa) {
    if (!path) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    return CreateDirectoryA(w32::ToUtf8(path).c_str(), sa);
}

BOOL DisableThreadLibraryCalls(HMODULE) {
    return TRUE;
}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
    if (!icc || icc->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    gCommonControls.fetch_or(icc->dwICC);
    return TRUE;
}

DWORD W32RegisteredCommonControls() {
    return gCommonControls.load();
}

}  // extern "C"
