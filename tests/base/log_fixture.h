// Test support: a private temporary directory that the diagnostic log writes into (TMPDIR points
// at it while the fixture lives), and helpers to read the log back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace QuarelTest {

// Sets or unsets an environment variable for the life of the object, then restores it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string mName;
    std::optional<std::string> mOld;
};

class LogDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::filesystem::path LogPath() const { return mDir / "QuarelMap.log"; }
    bool LogExists() const { return std::filesystem::exists(LogPath()); }
    std::vector<std::string> LogLines() const;
    std::string LogText() const;

    std::filesystem::path mDir;
    std::optional<ScopedEnv> mTmpDir;
};

// The log's fixed formats. A '#' of `shape` matches one decimal digit.
bool MatchesShape(std::string_view line, std::string_view shape);
bool IsOpenBanner(std::string_view line);
bool IsCloseBanner(std::string_view line);
// "[hh:mm:ss.mmm tNNNN] ": the prefix's length, or 0 when the line does not start with one. The
// thread id has at least four digits.
std::size_t LinePrefixLength(std::string_view line);
// The thread id of a prefixed line as printed, or an empty text.
std::string_view LineThread(std::string_view line);
// The message after the prefix, or the whole line when it has none.
std::string_view LineMessage(std::string_view line);
// "0x" and 16 upper-case hex digits, as the log prints pointers.
std::string Ptr(const void* p);

}  // namespace QuarelTest
