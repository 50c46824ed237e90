// quarel-wincheck: the Windows build of the module checked for real, under Windows or Wine.
//
//   quarel-wincheck load [MODULE]    loading, exports, descriptors, resources and the log
//
// MODULE defaults to QuarelMap.dlt beside the program. Exit code 0 when every check passed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "wincheck/load_check.h"

namespace {

std::wstring ModuleBesideProgram() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n < MAX_PATH ? n : 0);
    const std::size_t slash = dir.find_last_of(L"\\/");
    dir = slash == std::wstring::npos ? std::wstring() : dir.substr(0, slash + 1);
    return dir + L"QuarelMap.dlt";
}

std::wstring Widen(const char* text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(n > 0 ? static_cast<std::size_t>(n) : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
    out.resize(std::wcslen(out.c_str()));
    return out;
}

int Usage() {
    std::fprintf(stderr, "usage: quarel-wincheck load [MODULE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::wstring module = argc > 2 ? Widen(argv[2]) : ModuleBesideProgram();
    if (std::strcmp(argv[1], "load") == 0) return QuarelWin::RunLoadCheck(module);
    return Usage();
}
