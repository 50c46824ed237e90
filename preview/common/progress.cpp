#include "preview/common/progress.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace QuarelPreview {

namespace {
constexpr int kBarWidth = 40;
}

bool ProgressBar::StderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

ProgressBar::ProgressBar(bool enabled, std::int64_t total, std::string label)
    : mEnabled(enabled && total > 0), mTotal(total), mLabel(std::move(label)) {
    if (!mEnabled) return;
    mDrawer = std::thread([this] {
        std::unique_lock<std::mutex> lock(mMutex);
        while (!mFinished) {
            Draw(Done());
            mWake.wait_for(lock, std::chrono::milliseconds(100));
        }
    });
}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Finish() {
    {
        std::lock_guard<std::mutex> lock(mMutex);
        if (mFinished) return;
        mFinished = true;
    }
    mWake.notify_all();
    if (!mEnabled) return;
    mDrawer.join();
    Draw(mTotal);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

void ProgressBar::Draw(std::int64_t done) const {
    done = std::clamp<std::int64_t>(done, 0, mTotal);
    const int filled = static_cast<int>(done * kBarWidth / mTotal);
    char bar[kBarWidth + 1];
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = '\0';
    std::fprintf(stderr, "\r%s [%s] %3d%%", mLabel.c_str(), bar,
                 static_cast<int>(done * 100 / mTotal));
    std::fflush(stderr);
}

}  // namespace QuarelPreview
