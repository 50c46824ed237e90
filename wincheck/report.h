// Check results of quarel-wincheck: one line per failed check, and a closing count line that
// test runners read ("N passed, N failed").
#pragma once

#include <cstdio>
#include <string>

namespace QuarelWin {

class Report {
public:
    explicit Report(const char* section) : mSection(section) {}

    // Counts a check; a failed one prints its message.
    bool Expect(bool ok, const std::string& what) {
        if (ok) {
            ++mPassed;
        } else {
            ++mFailed;
            std::printf("FAIL %s: %s\n", mSection, what.c_str());
        }
        return ok;
    }

    int Failed() const { return mFailed; }

    // The closing line; the exit code of the check.
    int Finish() const {
        std::printf("%s: %d passed, %d failed\n", mSection, mPassed, mFailed);
        std::fflush(stdout);
        return mFailed == 0 ? 0 : 1;
    }

private:
    const char* mSection;
    int mPassed = 0;
    int mFailed = 0;
};

}  // namespace QuarelWin
