// The diagnostic log, written for real into a private directory and read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <cstdint>

#include <atomic>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/diag_log.h"
#include "log_fixture.h"

namespace QuarelNS {
namespace {

using QuarelTest::IsCloseBanner;
using QuarelTest::IsOpenBanner;
using QuarelTest::LineMessage;
using QuarelTest::LinePrefixLength;
using QuarelTest::LineThread;
using QuarelTest::ScopedEnv;

class DiagLogTest : public QuarelTest::LogDirTest {
protected:
    void TearDown() override {
        DiagLogClose();
        LogDirTest::TearDown();
    }
};

std::string ThreadText(unsigned long id) {
    char text[32];
    std::snprintf(text, sizeof text, "%04lu", id);
    return text;
}

// An argument that would crash the process if it were ever formatted with "%s".
const char* const kPoison = reinterpret_cast<const char*>(16);

TEST(DiagLogSwitch, OnlyTheFirstCharacterCounts) {
    for (const char* off : {"0", "N", "n", "No", "F", "f", "false", "FALSE", "0x1"})
        EXPECT_FALSE(DiagLogSwitchIsOn(off)) << off;
    for (const char* on : {"off", "yes", "1", "", "true", "on", " 0", "Y"})
        EXPECT_TRUE(DiagLogSwitchIsOn(on)) << '"' << on << '"';
    EXPECT_TRUE(DiagLogSwitchIsOn(nullptr));
}

TEST_F(DiagLogTest, TheSwitchDecidesWhetherTheFileStartsWithTheOpeningBanner) {
    for (const char* value :
         {"0", "N", "false", "off", "yes", "", static_cast<const char*>(nullptr)}) {
        const bool on = DiagLogSwitchIsOn(value);
        SCOPED_TRACE(value ? value : "(unset)");
        ScopedEnv env("QUARELMAP_LOG", value);
        DiagLogOpen();
        ASSERT_EQ(LogExists(), on);
        if (on) {
            const auto lines = LogLines();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_TRUE(IsOpenBanner(lines[0])) << lines[0];
        } else {
            DiagLog("%s", kPoison);  // nothing is formatted when off
        }
        DiagLogClose();
        std::filesystem::remove(LogPath());
    }
    std::ofstream(LogPath()) << "earlier load\n";
    ScopedEnv env("QUARELMAP_LOG", "n");
    DiagLogOpen();
    DiagLogClose();
    EXPECT_EQ(LogText(), "earlier load\n");
}

// Pointers read as on Windows: "0x" and 16 upper-case hex digits, whatever %p prints here. The
// other C library the module is built with (MinGW's) prints %p as 16 lower-case digits without
// "0x"; such a pointer is upper-cased too, while shorter hex numbers stay as written.
TEST_F(DiagLogTest, LinesCarryTimeThreadAndWholeMessagesAndTheFileEndsWithTheClosingBanner) {
    ScopedEnv env("QUARELMAP_LOG", nullptr);
    DiagLogOpen();
    int local = 0;
    const std::string longText(3000, 'x');
    DiagLog("QuarelMap::Reset [this=0x%p] n=%d", static_cast<void*>(&local), 42);
    DiagLog("a=0x%p b=0x%p c=%d", static_cast<void*>(nullptr),
            reinterpret_cast<void*>(std::uintptr_t{0xABC}), 7);
    DiagLog("h=0x%s id=0x%x,0x%x long=0x%s", "00007ffab1c20000", 0x58d7c091u, 0u,
            "00007ffab1c200001");
    DiagLog("%s", longText.c_str());
    DiagLogClose();
    const std::string expected[] = {
        "QuarelMap::Reset [this=" + QuarelTest::Ptr(&local) + "] n=42",
        "a=0x0000000000000000 b=0x0000000000000ABC c=7",
        "h=0x00007FFAB1C20000 id=0x58d7c091,0x0 long=0x00007ffab1c200001",
        longText,
    };
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), std::size(expected) + 2);
    EXPECT_TRUE(IsOpenBanner(lines.front())) << lines.front();
    EXPECT_TRUE(IsCloseBanner(lines.back())) << lines.back();
    const std::string tid = ThreadText(GetCurrentThreadId());
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_NE(LinePrefixLength(lines[i + 1]), 0u) << lines[i + 1];
        EXPECT_EQ(LineThread(lines[i + 1]), tid) << lines[i + 1];
        EXPECT_EQ(LineMessage(lines[i + 1]), expected[i]);
    }
    EXPECT_EQ(LogText().back(), '\n');
}

TEST_F(DiagLogTest, WritesOutsideOpenAndCloseAreDroppedAndEachLoadTruncates) {
    ScopedEnv env("QUARELMAP_LOG", "1");
    DiagLogClose();  // never opened: nothing to close
    DiagLog("%s", kPoison);
    EXPECT_FALSE(LogExists());

    DiagLogOpen();
    DiagLog("first load");
    DiagLogOpen();  // already open: no second banner, no truncation
    DiagLogClose();
    DiagLog("%s", kPoison);
    DiagLogClose();
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(LineMessage(lines[1]), "first load");
    EXPECT_TRUE(IsCloseBanner(lines.back()));

    DiagLogOpen();
    DiagLog("second load");
    DiagLogClose();
    lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(LineMessage(lines[1]), "second load");
}

TEST_F(DiagLogTest, ConcurrentWritersNeverInterleaveWithinALine) {
    ScopedEnv env("QUARELMAP_LOG", nullptr);
    DiagLogOpen();
    constexpr int kLines = 400;
    struct Writer {
        std::string payload;
        std::string tid;
        int count = 0;
    };
    Writer writers[2] = {{std::string(300, 'a'), "", 0}, {std::string(300, 'b'), "", 0}};
    auto run = [](Writer& w) {
        w.tid = ThreadText(GetCurrentThreadId());
        for (int i = 0; i < kLines; ++i) DiagLog("w %s %d", w.payload.c_str(), i);
    };
    std::thread a(run, std::ref(writers[0]));
    std::thread b(run, std::ref(writers[1]));
    a.join();
    b.join();
    DiagLogClose();
    ASSERT_NE(writers[0].tid, writers[1].tid);

    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 2u + 2 * kLines);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::string_view msg = LineMessage(lines[i]);
        ASSERT_NE(LinePrefixLength(lines[i]), 0u) << lines[i];
        Writer& w = msg.substr(0, 3) == "w a" ? writers[0] : writers[1];
        const std::string want = "w " + w.payload + " " + std::to_string(w.count);
        ASSERT_EQ(msg, want) << "line " << i;  // whole, and each writer's lines in order
        EXPECT_EQ(LineThread(lines[i]), w.tid);
        ++w.count;
    }
    EXPECT_EQ(writers[0].count, kLines);
    EXPECT_EQ(writers[1].count, kLines);
}

// A render thread still writing while the module detaches: every line is whole or absent, and
// nothing follows the closing banner.
TEST_F(DiagLogTest, AWriteRacingTheCloseIsWholeOrAbsent) {
    ScopedEnv env("QUARELMAP_LOG", nullptr);
    for (int round = 0; round < 20; ++round) {
        DiagLogOpen();
        std::atomic<bool> stop{false};
        std::atomic<int> started{0};
        std::vector<std::thread> writers;
        for (int t = 0; t < 3; ++t) {
            writers.emplace_back([&] {
                ++started;
                while (!stop.load()) DiagLog("render %s", "line");
            });
        }
        while (started.load() < 3) std::this_thread::yield();
        DiagLogClose();
        for (int i = 0; i < 1000; ++i) DiagLog("%s", kPoison);  // closed: dropped unformatted
        stop = true;
        for (auto& w : writers) w.join();

        const auto lines = LogLines();
        ASSERT_GE(lines.size(), 2u);
        EXPECT_TRUE(IsOpenBanner(lines.front()));
        EXPECT_TRUE(IsCloseBanner(lines.back())) << lines.back();
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
            ASSERT_NE(LinePrefixLength(lines[i]), 0u) << lines[i];
            ASSERT_EQ(LineMessage(lines[i]), "render line");
        }
    }
}

TEST_F(DiagLogTest, AnUnusableDirectoryLeavesTheModuleWorkingWithoutALog) {
    ScopedEnv env("QUARELMAP_LOG", nullptr);
    const auto blocker = mDir / "file";
    std::ofstream(blocker) << "x";
    // A directory below a file, and a path too long for the log's buffer.
    for (const std::string& dir :
         {(blocker / "sub").string(), mDir.string() + "/" + std::string(1100, 'd')}) {
        ScopedEnv tmp("TMPDIR", dir.c_str());
        DiagLogOpen();
        DiagLog("%s", kPoison);
        DiagLogClose();
    }
    EXPECT_FALSE(LogExists());
}

TEST_F(DiagLogTest, ALinkPlantedAtTheLogPathIsReplacedNotFollowed) {
    ScopedEnv env("QUARELMAP_LOG", nullptr);
    const auto victim = mDir / "victim.txt";
    std::ofstream(victim) << "keep me\n";
    std::filesystem::create_symlink(victim, LogPath());
    DiagLogOpen();
    DiagLog("line");
    DiagLogClose();
    EXPECT_FALSE(std::filesystem::is_symlink(LogPath()));
    EXPECT_EQ(LogLines().size(), 3u);
    std::ifstream in(victim);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "keep me");
}

}  // namespace
}  // namespace QuarelNS
