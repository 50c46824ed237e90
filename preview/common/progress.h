// A progress bar on standard error. Workers call Advance from any thread (one relaxed atomic
// add); while the bar is shown, a thread of its own redraws it a few times a second, so the
// render threads never write to the terminal. Shown only when enabled, which callers decide
// (standard error a terminal, no --quiet).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace QuarelPreview {

class ProgressBar {
public:
    ProgressBar(bool enabled, std::int64_t total, std::string label);
    ~ProgressBar();  // finishes the bar
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Advance(std::int64_t n = 1) { mDone.fetch_add(n, std::memory_order_relaxed); }
    std::int64_t Done() const { return mDone.load(std::memory_order_relaxed); }
    // Draws the full bar and ends its line; later calls do nothing.
    void Finish();

    // True when standard error is a terminal.
    static bool StderrIsTerminal();

private:
    void Draw(std::int64_t done) const;

    const bool mEnabled;
    const std::int64_t mTotal;
    const std::string mLabel;
    std::atomic<std::int64_t> mDone{0};
    std::mutex mMutex;
    std::condition_variable mWake;
    bool mFinished = false;
    std::thread mDrawer;
};

}  // namespace QuarelPreview
