#include "log_fixture.h"

#include <stdlib.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace QuarelTest {

bool MatchesShape(std::string_view line, std::string_view shape) {
    if (line.size() != shape.size()) return false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool ok = shape[i] == '#' ? (line[i] >= '0' && line[i] <= '9') : line[i] == shape[i];
        if (!ok) return false;
    }
    return true;
}

bool IsOpenBanner(std::string_view line) {
    return MatchesShape(
        line, "================ QuarelMap log started ####-##-## ##:##:## ================");
}

bool IsCloseBanner(std::string_view line) {
    return MatchesShape(line, "================ QuarelMap log closed ##:##:## ================");
}

std::size_t LinePrefixLength(std::string_view line) {
    constexpr std::string_view kTime = "[##:##:##.### t";
    if (line.size() < kTime.size() || !MatchesShape(line.substr(0, kTime.size()), kTime)) return 0;
    std::size_t i = kTime.size();
    const std::size_t digits = i;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    if (i - digits < 4 || line.substr(i, 2) != "] ") return 0;
    return i + 2;
}

std::string_view LineThread(std::string_view line) {
    const std::size_t n = LinePrefixLength(line);
    return n == 0 ? std::string_view() : line.substr(15, n - 17);
}

std::string_view LineMessage(std::string_view line) {
    return line.substr(LinePrefixLength(line));
}

std::string Ptr(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016" PRIXPTR, reinterpret_cast<std::uintptr_t>(p));
    return text;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : mName(name) {
    if (const char* old = getenv(name)) mOld = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (mOld)
        setenv(mName.c_str(), mOld->c_str(), 1);
    else
        unsetenv(mName.c_str());
}

void LogDirTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quarel-log-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    mDir = pattern;
    mTmpDir.emplace("TMPDIR", mDir.c_str());
}

void LogDirTest::TearDown() {
    mTmpDir.reset();
    std::error_code ec;
    std::filesystem::remove_all(mDir, ec);
}

std::string LogDirTest::LogText() const {
    std::ifstream in(LogPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> LogDirTest::LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(LogText());
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace QuarelTest
