#include "base/diag_log.h"

#include <windows.h>

#include <atomic>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace QuarelNS {
namespace {

constexpr char kFileName[] = "QuarelMap.log";
// Room for deep temporary directories; a longer path leaves the log closed rather than cut.
constexpr std::size_t kPathCapacity = 1024;

// The lock is created on the first open and never destroyed: a render thread that has passed
// the fast test in DiagLog may still be waiting for it while the log closes. Whether a line can
// be written is decided again under the lock, so nothing reaches a closed file.
struct LogState {
    CRITICAL_SECTION lock;
    std::atomic<bool> lockReady{false};
    std::atomic<bool> writable{false};  // open, enabled and a file: the writers' one test
    bool initialised = false;           // guarded by lock
    std::FILE* file = nullptr;          // guarded by lock
};

LogState gLog;

// Directory and file; false when the path does not fit, so the log stays closed.
bool LogPaths(char (&dir)[kPathCapacity], char (&path)[kPathCapacity]) {
#ifdef _WIN32
    const char* base = "C:\\Temp";
    const char* sep = "\\";
#else
    const char* base = std::getenv("TMPDIR");
    if (base == nullptr || base[0] == '\0') base = "/tmp";
    const char* sep = "/";
#endif
    const int d = std::snprintf(dir, sizeof dir, "%s", base);
    const int p = std::snprintf(path, sizeof path, "%s%s%s", base, sep, kFileName);
    return d > 0 && static_cast<unsigned>(d) < sizeof dir && p > 0 &&
           static_cast<unsigned>(p) < sizeof path;
}

std::FILE* OpenLogFile(const char* path) {
#ifdef _WIN32
    return std::fopen(path, "w");
#else
    // The directory may be shared with other users: replace whatever is there (a link
    // included) by a file of our own instead of writing through it.
    std::remove(path);
    return std::fopen(path, "wx");
#endif
}

bool SwitchFromEnvironment() {
#ifdef _MSC_VER
    char* value = nullptr;
    std::size_t length = 0;
    const bool on = _dupenv_s(&value, &length, "QUARELMAP_LOG") != 0 || DiagLogSwitchIsOn(value);
    std::free(value);
    return on;
#else
    return DiagLogSwitchIsOn(std::getenv("QUARELMAP_LOG"));
#endif
}

}  // namespace

bool DiagLogSwitchIsOn(const char* value) {
    if (value == nullptr) return true;
    switch (value[0]) {
        case '0':
        case 'F':
        case 'N':
        case 'f':
        case 'n':
            return false;
        default:
            return true;
    }
}

void DiagLogOpen() {
    if (!gLog.lockReady.load(std::memory_order_acquire)) {
        InitializeCriticalSection(&gLog.lock);
        gLog.lockReady.store(true, std::memory_order_release);
    }
    EnterCriticalSection(&gLog.lock);
    if (!gLog.initialised) {
        gLog.initialised = true;
        char dir[kPathCapacity];
        char path[kPathCapacity];
        if (SwitchFromEnvironment() && LogPaths(dir, path)) {
            CreateDirectoryA(dir, nullptr);  // an existing directory or a failure is fine
            gLog.file = OpenLogFile(path);
            if (gLog.file != nullptr) {
                SYSTEMTIME st;
                GetLocalTime(&st);
                std::fprintf(gLog.file,
                             "================ QuarelMap log started %04d-%02d-%02d "
                             "%02d:%02d:%02d ================\n",
                             st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
                std::fflush(gLog.file);
            }
        }
        gLog.writable.store(gLog.file != nullptr, std::memory_order_release);
    }
    LeaveCriticalSection(&gLog.lock);
}

void DiagLogClose() {
    if (!gLog.lockReady.load(std::memory_order_acquire)) return;
    EnterCriticalSection(&gLog.lock);
    if (gLog.initialised) {
        gLog.writable.store(false, std::memory_order_release);
        if (gLog.file != nullptr) {
            SYSTEMTIME st;
            GetLocalTime(&st);
            std::fprintf(gLog.file,
                         "================ QuarelMap log closed %02d:%02d:%02d "
                         "================\n",
                         st.wHour, st.wMinute, st.wSecond);
            std::fclose(gLog.file);
            gLog.file = nullptr;
        }
        gLog.initialised = false;
    }
    LeaveCriticalSection(&gLog.lock);
}

namespace {

#ifdef _MSC_VER
void WriteMessage(std::FILE* file, const char* format, std::va_list args) {
    std::vfprintf(file, format, args);
}
#else
int HexValue(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10;
}

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Length of the pointer that %p printed after a "0x" at `text`, with its value; 0 if none.
// glibc prints "0x" itself, drops leading zeros and prints null as "(nil)"; MinGW's C library
// prints 16 lower-case digits.
std::size_t PrintedPointer(const char* text, unsigned long long& value) {
    value = 0;
    if (std::strncmp(text, "(nil)", 5) == 0) return 5;
    std::size_t n = 0;
    if (text[0] == '0' && text[1] == 'x') {
        for (n = 2; IsHex(text[n]); ++n)
            value = value * 16 + static_cast<unsigned>(HexValue(text[n]));
        return n > 2 ? n : 0;
    }
    for (; n < 16 && IsHex(text[n]); ++n)
        value = value * 16 + static_cast<unsigned>(HexValue(text[n]));
    return n == 16 && !IsHex(text[n]) ? n : 0;
}

// Messages print pointers as "0x%p", the MSVC runtime's form, where %p is 16 upper-case hex
// digits. Other C libraries print %p differently; rewrite each pointer to that form so the log
// reads the same on every platform.
void WritePointerFixed(std::FILE* file, const char* text) {
    while (*text != '\0') {
        const char* mark = std::strstr(text, "0x");
        if (mark == nullptr) {
            std::fputs(text, file);
            return;
        }
        std::fwrite(text, 1, static_cast<std::size_t>(mark + 2 - text), file);
        unsigned long long value = 0;
        const std::size_t length = PrintedPointer(mark + 2, value);
        if (length > 0) {
            std::fprintf(file, "%016llX", value);
        }
        text = mark + 2 + length;
    }
}

void WriteMessage(std::FILE* file, const char* format, std::va_list args) {
    char buffer[1024];
    std::va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n >= 0 && static_cast<std::size_t>(n) < sizeof buffer) {
        WritePointerFixed(file, buffer);
    } else {
        std::vfprintf(file, format, again);  // too long to rewrite: written as formatted
    }
    va_end(again);
}
#endif

}  // namespace

void DiagLog(const char* format, ...) {
    // A closed or disabled log costs this one test and formats nothing.
    if (!gLog.writable.load(std::memory_order_acquire)) return;
    EnterCriticalSection(&gLog.lock);
    if (gLog.file != nullptr) {
        SYSTEMTIME st;
        GetLocalTime(&st);
        std::fprintf(gLog.file, "[%02d:%02d:%02d.%03d t%04lu] ", st.wHour, st.wMinute, st.wSecond,
                     st.wMilliseconds, static_cast<unsigned long>(GetCurrentThreadId()));
        std::va_list args;
        va_start(args, format);
        WriteMessage(gLog.file, format, args);
        va_end(args);
        std::fputc('\n', gLog.file);
        std::fflush(gLog.file);
    }
    LeaveCriticalSection(&gLog.lock);
}

}  // namespace QuarelNS
