#include "wincheck/load_check.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "imtl.h"
#include "iparamb2.h"
#include "pattern/catalogue.h"
#include "ref.h"
#include "resources/resource_symbols.h"
#include "wincheck/report.h"

namespace QuarelWin {
namespace {

constexpr wchar_t kLogDir[] = L"C:\\Temp";
constexpr wchar_t kLogFile[] = L"C:\\Temp\\QuarelMap.log";
constexpr wchar_t kDescription[] =
    L"QuarelMap - per-brick projection texture with VRayMultiSubTex support";
constexpr unsigned long kVersionWord = 0x65904000ul;
constexpr unsigned long kClassIdA = 0x58D7C091ul;

struct ClassRow {
    const wchar_t* className;
    const wchar_t* internalName;
    unsigned long superClass;
    unsigned long classIdB;
    bool isPublic;
};

// What the host must see from LibClassDesc(0..4).
constexpr ClassRow kClasses[] = {
    {L"QuarelMap", L"QuarelMap", 0xC10, 0x3F4B8A12, true},
    {L"QuarelMapBump", L"QuarelMapBump", 0xC10, 0x3F4B8A13, false},
    {L"QuarelMap Normal", L"QuarelMapNormal", 0xC10, 0x3F4B8A14, false},
    {L"QuarelMap NormalBump Carrier", L"QuarelMapNormalCarrier", 0xC00, 0x3F4B8A15, false},
    {L"QuarelMap Bump", L"QuarelMapBump", 0xC10, 0x3F4B8A16, false},
};

struct Exports {
    LibDescriptionFn description = nullptr;
    LibNumberClassesFn numberClasses = nullptr;
    LibClassDescFn classDesc = nullptr;
    LibVersionFn version = nullptr;
    LibInitializeFn initialize = nullptr;
    LibShutdownFn shutdown = nullptr;
};

std::string Narrow(const wchar_t* text) {
    if (text == nullptr) return "(null)";
    std::string out;
    for (; *text; ++text) out += *text < 128 ? static_cast<char>(*text) : '?';
    return out;
}

bool SameText(const wchar_t* a, const wchar_t* b) {
    return a != nullptr && b != nullptr && std::wcscmp(a, b) == 0;
}

std::string Hex(unsigned long long v) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%llX", v);
    return buf;
}

bool FileExists(const wchar_t* path) {
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

// The log as lines, without their line ends; empty when there is no file.
std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::FILE* f = _wfopen(kLogFile, L"r");
    if (f == nullptr) return lines;
    char buf[2048];
    while (std::fgets(buf, sizeof buf, f) != nullptr) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
    }
    std::fclose(f);
    return lines;
}

// The message of a log line after its "[hh:mm:ss.mmm tNNNN] " prefix, with the thread id;
// false when the prefix is malformed.
bool SplitLine(const std::string& line, std::string& message, unsigned long& thread) {
    int h = 0, m = 0, s = 0, ms = 0, used = 0;
    if (std::sscanf(line.c_str(), "[%2d:%2d:%2d.%3d t%lu] %n", &h, &m, &s, &ms, &thread, &used) !=
            5 ||
        used == 0)
        return false;
    char again[64];
    std::snprintf(again, sizeof again, "[%02d:%02d:%02d.%03d t%04lu] ", h, m, s, ms, thread);
    if (line.compare(0, static_cast<std::size_t>(used), again) != 0) return false;
    message = line.substr(static_cast<std::size_t>(used));
    return h < 24 && m < 60 && s < 60 && ms < 1000;
}

bool IsOpeningBanner(const std::string& line) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (std::sscanf(line.c_str(), "================ QuarelMap log started %d-%d-%d %d:%d:%d", &y,
                    &mo, &d, &h, &mi, &s) != 6)
        return false;
    char again[128];
    std::snprintf(again, sizeof again,
                  "================ QuarelMap log started %04d-%02d-%02d %02d:%02d:%02d "
                  "================",
                  y, mo, d, h, mi, s);
    SYSTEMTIME now;
    GetLocalTime(&now);
    return line == again && (y == now.wYear || y + 1 == now.wYear);  // a new year may have begun
}

bool IsClosingBanner(const std::string& line) {
    int h = 0, mi = 0, s = 0;
    if (std::sscanf(line.c_str(), "================ QuarelMap log closed %d:%d:%d", &h, &mi, &s) !=
        3)
        return false;
    char again[96];
    std::snprintf(again, sizeof again,
                  "================ QuarelMap log closed %02d:%02d:%02d ================", h, mi,
                  s);
    return line == again;
}

// Sets or removes QUARELMAP_LOG in the C runtime the module reads it from (one msvcrt.dll for
// every module of the process).
void SetLogSwitch(const char* value) {
    const std::string entry = std::string("QUARELMAP_LOG=") + (value ? value : "");
    _putenv(entry.c_str());
}

HMODULE LoadModule(const std::wstring& path) {
    return LoadLibraryW(path.c_str());
}

// Through void*: GetProcAddress's FARPROC has no prototype of its own.
template <typename Fn>
void Resolve(HMODULE m, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

Exports ResolveExports(HMODULE m) {
    Exports e;
    Resolve(m, "LibDescription", e.description);
    Resolve(m, "LibNumberClasses", e.numberClasses);
    Resolve(m, "LibClassDesc", e.classDesc);
    Resolve(m, "LibVersion", e.version);
    Resolve(m, "LibInitialize", e.initialize);
    Resolve(m, "LibShutdown", e.shutdown);
    return e;
}

// A log switched off creates neither the directory nor the file, on load or on unload; one
// that is on by any other value ("off" included) writes its banner.
void CheckLogSwitch(Report& r, const std::wstring& path) {
    DeleteFileW(kLogFile);
    const bool dirGone = RemoveDirectoryW(kLogDir) != 0 || !FileExists(kLogDir);
    SetLogSwitch("0");
    HMODULE m = LoadModule(path);
    if (!r.Expect(m != nullptr, "LoadLibrary with QUARELMAP_LOG=0 failed, error " +
                                    std::to_string(GetLastError())))
        return;
    FreeLibrary(m);
    r.Expect(!FileExists(kLogFile), "QUARELMAP_LOG=0 still created C:\\Temp\\QuarelMap.log");
    if (dirGone)
        r.Expect(!FileExists(kLogDir), "QUARELMAP_LOG=0 still created the directory C:\\Temp");

    SetLogSwitch("off");
    m = LoadModule(path);
    if (!r.Expect(m != nullptr, "LoadLibrary with QUARELMAP_LOG=off failed")) return;
    const std::vector<std::string> lines = LogLines();
    r.Expect(!lines.empty() && IsOpeningBanner(lines[0]),
             "QUARELMAP_LOG=off: the log does not start with the opening banner");
    FreeLibrary(m);
}

void CheckClassDescs(Report& r, HMODULE m, const Exports& e) {
    for (int i = 0; i < 5; ++i) {
        const ClassRow& row = kClasses[i];
        ClassDesc* cd = e.classDesc(i);
        const std::string at = "LibClassDesc(" + std::to_string(i) + ")";
        if (!r.Expect(cd != nullptr, at + " is null")) continue;
        r.Expect(SameText(cd->ClassName(), row.className),
                 at + " class name " + Narrow(cd->ClassName()));
        r.Expect(SameText(cd->NonLocalizedClassName(), row.className),
                 at + " non-localised class name " + Narrow(cd->NonLocalizedClassName()));
        r.Expect(SameText(cd->InternalName(), row.internalName),
                 at + " internal name " + Narrow(cd->InternalName()));
        r.Expect(SameText(cd->Category(), L"QuarelMap"),
                 at + " category " + Narrow(cd->Category()));
        r.Expect((cd->IsPublic() != 0) == row.isPublic, at + " public flag");
        r.Expect(cd->SuperClassID() == row.superClass,
                 at + " superclass " + Hex(cd->SuperClassID()));
        const Class_ID id = cd->ClassID();
        r.Expect(id.PartA() == kClassIdA && id.PartB() == row.classIdB,
                 at + " class id (" + Hex(id.PartA()) + ", " + Hex(id.PartB()) + ")");
        r.Expect(cd->HInstance() == m, at + " HInstance is not the module's handle");
    }
    r.Expect(e.classDesc(5) == nullptr, "LibClassDesc(5) is not null");
    r.Expect(e.classDesc(-1) == nullptr, "LibClassDesc(-1) is not null");
}

// The string table and the dialog templates came through windres: every fixed string and every
// pattern and category name loads with its text, through Win32 and through the descriptor.
void CheckResources(Report& r, HMODULE m, ClassDesc* mapClass) {
    wchar_t buf[256];
    auto expectString = [&](int id, const std::wstring& text) {
        const int n = LoadStringW(m, static_cast<UINT>(id), buf, 256);
        r.Expect(n == static_cast<int>(text.size()) && text == buf,
                 "string " + std::to_string(id) + " reads '" + Narrow(n > 0 ? buf : L"") +
                     "', not '" + Narrow(text.c_str()) + "'");
    };
#define QR_CHECK_STRING(name, id, text) expectString(id, text);
    QUAREL_STRINGS(QR_CHECK_STRING)
#undef QR_CHECK_STRING
    auto widen = [](std::string_view s) { return std::wstring(s.begin(), s.end()); };
    for (const QuarelNS::PatternInfo& p : QuarelNS::kPatternCatalogue)
        expectString(p.nameStringId, widen(p.name));
    for (const QuarelNS::PatternCategoryInfo& c : QuarelNS::kPatternCategories)
        expectString(c.nameStringId, widen(c.name));

#define QR_CHECK_DIALOG(name, id)                                                    \
    r.Expect(FindResourceW(m, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)) != nullptr, \
             "dialog template " #name " is missing");
    QUAREL_DIALOGS(QR_CHECK_DIALOG)
#undef QR_CHECK_DIALOG

    // The host's copy of a module string must end where the string does.
    auto* cd2 = dynamic_cast<ClassDesc2*>(mapClass);
    if (r.Expect(cd2 != nullptr, "the QuarelMap descriptor is no ClassDesc2")) {
#define QR_CHECK_RSRC(name, id, text)                \
    r.Expect(SameText(cd2->GetRsrcString(id), text), \
             "GetRsrcString(" #name ") reads '" + Narrow(cd2->GetRsrcString(id)) + "'");
        QUAREL_STRINGS(QR_CHECK_RSRC)
#undef QR_CHECK_RSRC
    }
}

// A QuarelMap made through its descriptor is a texture map of the module's class, and goes
// when its last reference does.
void CheckCreate(Report& r, ClassDesc* mapClass) {
    auto* object = static_cast<Animatable*>(mapClass->Create(FALSE));
    auto* map = dynamic_cast<Texmap*>(object);
    if (!r.Expect(map != nullptr, "the QuarelMap descriptor made no texture map")) {
        if (object != nullptr) object->DeleteThis();
        return;
    }
    r.Expect(map->ClassID() == Class_ID(kClassIdA, 0x3F4B8A12), "the new map's class id");
    r.Expect(map->SuperClassID() == 0xC10, "the new map's superclass");
    SingleRefMaker slot(map);
    r.Expect(slot.GetRef() == map, "a reference to the new map was refused");
}

// Every line the exports must have written, in order, after the attach line.
void CheckExportLines(Report& r, HMODULE m, const std::vector<std::string>& lines) {
    if (!r.Expect(lines.size() >= 2, "the log has " + std::to_string(lines.size()) + " lines"))
        return;
    r.Expect(IsOpeningBanner(lines[0]), "first line is not the opening banner: " + lines[0]);
    std::vector<std::string> messages;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string message;
        unsigned long thread = 0;
        if (!r.Expect(SplitLine(lines[i], message, thread), "malformed line: " + lines[i]))
            continue;
        messages.push_back(message);
        r.Expect(thread == GetCurrentThreadId(), "line of another thread: " + lines[i]);
    }
    char attach[96];
    std::snprintf(attach, sizeof attach, "DllMain: PROCESS_ATTACH, hInstance=0x%016llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(m)));
    r.Expect(!messages.empty() && messages[0] == attach,
             "second line is not '" + std::string(attach) + "'");

    std::vector<std::string> expected = {"LibDescription called", "LibNumberClasses called",
                                         "LibVersion called, returning 1703952384"};
    for (int i : {0, 1, 2, 3, 4, 5, -1})
        expected.push_back("LibClassDesc(" + std::to_string(i) + ") called");
    expected.push_back("LibInitialize called");
    std::size_t at = 0;
    for (const std::string& want : expected) {
        while (at < messages.size() && messages[at] != want) ++at;
        if (!r.Expect(at < messages.size(), "missing or out of order: '" + want + "'")) return;
        ++at;
    }
    // The first-call-only lines, although each export was called twice.
    for (const char* once : {"LibDescription called", "LibNumberClasses called",
                             "LibVersion called, returning 1703952384"}) {
        int count = 0;
        for (const std::string& msg : messages) count += msg == once;
        r.Expect(count == 1,
                 "'" + std::string(once) + "' written " + std::to_string(count) + " times");
    }
}

void CheckUnload(Report& r, HMODULE m, const Exports& e, const std::wstring& path) {
    r.Expect(e.shutdown() == TRUE, "LibShutdown did not answer TRUE");
    r.Expect(FreeLibrary(m) != 0, "FreeLibrary failed");
    r.Expect(GetModuleHandleW(path.c_str()) == nullptr, "the module stayed loaded");
    const std::vector<std::string> lines = LogLines();
    if (!r.Expect(lines.size() >= 3, "the log lost its lines on unload")) return;
    std::string message;
    unsigned long thread = 0;
    r.Expect(SplitLine(lines[lines.size() - 3], message, thread) && message == "LibShutdown called",
             "'LibShutdown called' is not before the detach line");
    r.Expect(
        SplitLine(lines[lines.size() - 2], message, thread) && message == "DllMain: PROCESS_DETACH",
        "'DllMain: PROCESS_DETACH' is not the last line before the banner");
    r.Expect(IsClosingBanner(lines.back()), "last line is not the closing banner: " + lines.back());
}

}  // namespace

int RunLoadCheck(const std::wstring& modulePath) {
    Report r("load");
    CheckLogSwitch(r, modulePath);

    SetLogSwitch(nullptr);
    DeleteFileW(kLogFile);
    HMODULE m = LoadModule(modulePath);
    if (!r.Expect(m != nullptr, "LoadLibrary failed, error " + std::to_string(GetLastError())))
        return r.Finish();
    r.Expect(GetProcAddress(m, "DllMain") == nullptr, "DllMain is exported");
    const Exports e = ResolveExports(m);
    if (!r.Expect(e.description && e.numberClasses && e.classDesc && e.version && e.initialize &&
                      e.shutdown,
                  "an export is missing")) {
        FreeLibrary(m);
        return r.Finish();
    }
    for (int call = 0; call < 2; ++call) {
        r.Expect(SameText(e.description(), kDescription),
                 "LibDescription answers '" + Narrow(e.description()) + "'");
        r.Expect(e.numberClasses() == 5, "LibNumberClasses is not 5");
        r.Expect(e.version() == kVersionWord, "LibVersion answers " + Hex(e.version()));
    }
    CheckClassDescs(r, m, e);
    r.Expect(e.initialize() == TRUE, "LibInitialize did not answer TRUE");
    CheckExportLines(r, m, LogLines());
    if (ClassDesc* mapClass = e.classDesc(0)) {
        CheckResources(r, m, mapClass);
        CheckCreate(r, mapClass);
    }
    CheckUnload(r, m, e, modulePath);
    return r.Finish();
}

}  // namespace QuarelWin
