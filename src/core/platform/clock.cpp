#include "platform/clock.h"
#include "platform/event_pump.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#ifdef _WIN32
#include <windows.h> // brings timeBeginPeriod (timeapi.h) with it
#else
#include <sys/prctl.h>
#endif

namespace platform {

namespace {

std::atomic<std::int64_t> sharpStretchUs{kSharpStretchUs};
std::atomic<std::int64_t> activeWaitNs{0};

// Tells the core that this is a spin, so it spends less power and yields to
// its sibling hyperthread.
inline void SpinPause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

} // namespace

std::uint32_t TickCount() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

void SleepMs(int ms) {
    if (ms <= 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SleepUntil(MonoTime when) {
    std::this_thread::sleep_until(when);
}

void WaitUntilSharp(MonoTime when) {
    const MonoTime wake = when - SharpStretch();
    if (MonoNow() < wake)
        SleepUntil(wake);
    const MonoTime from = MonoNow();
    MonoTime now = from;
    while (now < when) {
        SpinPause();
        now = MonoNow();
    }
    activeWaitNs.fetch_add(std::chrono::nanoseconds(now - from).count(), std::memory_order_relaxed);
}

std::chrono::microseconds SharpStretch() {
    return std::chrono::microseconds(sharpStretchUs.load(std::memory_order_relaxed));
}

void SetSharpStretch(std::chrono::microseconds stretch) {
    sharpStretchUs.store(std::max<std::int64_t>(0, stretch.count()), std::memory_order_relaxed);
}

std::chrono::nanoseconds ActiveWaitTotal() {
    return std::chrono::nanoseconds(activeWaitNs.load(std::memory_order_relaxed));
}

void PumpThenSleep(int ms) {
    const MonoTime start = MonoNow();
    PumpMessages();
    WaitUntilSharp(MonoAfter(start, ms));
}

void RaiseTimerResolution() {
#ifdef _WIN32
    // The system timer's 1 ms period holds for the whole process, until it ends.
    static const bool raised = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    (void)raised;
#else
    thread_local bool raised = false;
    if (!raised)
        raised = ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
#endif
}

namespace {
std::atomic<bool> pumping{true};
}

void SetEventPumping(bool on) {
    pumping = on;
}

void PumpMessages() {
    if (pumping && QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace platform
