#include "platform/thread_priority.h"

#include <atomic>

namespace platform {

namespace {
std::atomic<bool> raising{true};
std::atomic<int> assumedRtprio{-1};
std::atomic<int> assumedNice{-1};
} // namespace

void SetThreadRaising(bool on) {
    raising.store(on, std::memory_order_relaxed);
}

bool ThreadRaising() {
    return raising.load(std::memory_order_relaxed);
}

void AssumeRaiseLimits(int rtprio, int nice) {
    assumedRtprio.store(rtprio, std::memory_order_relaxed);
    assumedNice.store(nice, std::memory_order_relaxed);
}

int AssumedRtprioLimit() {
    return assumedRtprio.load(std::memory_order_relaxed);
}

int AssumedNiceLimit() {
    return assumedNice.load(std::memory_order_relaxed);
}

const char* ThreadRaiseName(ThreadRaise raise) {
    switch (raise) {
    case ThreadRaise::Nice:
        return "lower nice";
    case ThreadRaise::Realtime:
        return "SCHED_FIFO";
    case ThreadRaise::Highest:
        return "THREAD_PRIORITY_HIGHEST";
    case ThreadRaise::None:
        break;
    }
    return "none";
}

} // namespace platform
