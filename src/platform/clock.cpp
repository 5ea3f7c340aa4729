#include "platform/clock.h"
#include "platform/event_pump.h"

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>
#ifdef _WIN32
#include <windows.h> // brings timeBeginPeriod (timeapi.h) with it
#else
#include <sys/prctl.h>
#endif

namespace platform {

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

void PumpThenSleep(int ms) {
    const MonoTime start = MonoNow();
    PumpMessages();
    SleepUntil(MonoAfter(start, ms));
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
