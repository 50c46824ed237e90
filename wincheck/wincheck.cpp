// quarel-wincheck: the Windows build of the module checked for real, under Windows or Wine.
//
//   quarel-wincheck load [MODULE]      loading, exports, descriptors, resources and the log
//   quarel-wincheck sample [--module MODULE] [--set NAME=VALUE]...
//                                      colours at points from standard input, as
//                                      `quarel-preview sample` prints them
//   quarel-wincheck swatches           the editor's swatches drawn by GDI, pixel by pixel
//   quarel-wincheck editor [--expect FILE] [--pictures DIR]
//                                      the editor script on real windows (a display is
//                                      needed); compared line by line with FILE, the
//                                      transcript of quarel-editor-script; window pictures
//                                      into DIR as PPM files
//
// MODULE defaults to QuarelMap.dlt beside the program. Exit code 0 when every check passed;
// 3 for a command this build was made without.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "wincheck/load_check.h"
#ifdef QUAREL_WINCHECK_SAMPLE
#include "wincheck/sample_check.h"
#endif
#ifdef QUAREL_WINCHECK_SWATCHES
#include "wincheck/swatch_pixels.h"
#include "wincheck/win32_desk.h"
#endif

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

[[maybe_unused]] std::string Narrow(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: quarel-wincheck load [MODULE]\n"
                 "       quarel-wincheck sample [--module MODULE] [--set NAME=VALUE]...\n"
                 "       quarel-wincheck swatches\n"
                 "       quarel-wincheck editor [--expect FILE] [--pictures DIR]\n");
    return 2;
}

[[maybe_unused]] int Missing(const char* command, const char* what) {
    std::fprintf(stderr, "quarel-wincheck: this build has no %s command: %s\n", command, what);
    return 3;
}

}  // namespace

int main(int argc, char** argv) {
    // Listings byte for byte as on Linux: no carriage returns.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return Usage();
    const char* command = argv[1];
    if (std::strcmp(command, "load") == 0)
        return QuarelWin::RunLoadCheck(argc > 2 ? Widen(argv[2]) : ModuleBesideProgram());
    if (std::strcmp(command, "sample") == 0) {
#ifdef QUAREL_WINCHECK_SAMPLE
        return QuarelWin::RunSample(argc - 2, argv + 2, Narrow(ModuleBesideProgram()).c_str());
#else
        return Missing(command, "it was built without the preview's shading contexts");
#endif
    }
    if (std::strcmp(command, "swatches") == 0) {
#ifdef QUAREL_WINCHECK_SWATCHES
        if (!QuarelWin::PrintSwatchPixels(stdout)) {
            std::fprintf(stderr, "quarel-wincheck: cannot make a bitmap to draw into\n");
            return 1;
        }
        return std::fflush(stdout) == 0 ? 0 : 1;
#else
        return Missing(command, "it was built without the editor's swatch drawing");
#endif
    }
    if (std::strcmp(command, "editor") == 0) {
#ifdef QUAREL_WINCHECK_SWATCHES
        std::string expect, pictures;
        for (int i = 2; i < argc; i += 2) {
            if (i + 1 >= argc) return Usage();
            if (std::strcmp(argv[i], "--expect") == 0)
                expect = argv[i + 1];
            else if (std::strcmp(argv[i], "--pictures") == 0)
                pictures = argv[i + 1];
            else
                return Usage();
        }
        return QuarelWin::RunEditorCheck(Narrow(ModuleBesideProgram()), expect, pictures);
#else
        return Missing(command, "it was built without the editor's swatch drawing");
#endif
    }
    return Usage();
}
