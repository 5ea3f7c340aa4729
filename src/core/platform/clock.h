// Millisecond clock and sleeps of the exchange: a monotonic stand-in for
// the tick counter, so pauses and time-outs never jump with the wall clock.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

// An instant of the monotonic clock: waits that end at a fixed instant,
// rather than after a sum of sleeps, do not gather each sleep's late wake-up.
using MonoTime = std::chrono::steady_clock::time_point;
inline MonoTime MonoNow() {
    return std::chrono::steady_clock::now();
}
inline MonoTime MonoAfter(MonoTime from, int ms) {
    return from + std::chrono::milliseconds(ms);
}

// Milliseconds since an arbitrary start, wrapping at 2^32 like a tick counter.
std::uint32_t TickCount();
// Sleeps the calling thread; 0 only yields.
void SleepMs(int ms);
// Sleeps the calling thread until the instant; returns at once when it has passed.
void SleepUntil(MonoTime when);
// Waits until the instant, then returns at once after it: sleeps until the
// active stretch before it, then waits actively (spinning on the clock) for
// the rest. An idle CPU can wake from a sleep milliseconds late; the spin
// absorbs that, at the cost of the stretch's CPU. Only for the instants the
// line sees: byte gaps and the ends of the exchange's pauses.
void WaitUntilSharp(MonoTime when);
// The active stretch before a sharp instant: covers the late wake-ups of an
// idle core (at 0.3 ms a byte was still handed over more than 1 ms late in
// half the idle runs, at 0.5 ms in one of five), and stays short of a
// scheduler slice: on a loaded machine a thread that spins for milliseconds
// loses its turn and sends later, not sooner (bench_send --stretch tries
// others).
inline constexpr int kSharpStretchUs = 500;
// Set for measuring: the benchmarks look for the shortest that meets the line.
std::chrono::microseconds SharpStretch();
void SetSharpStretch(std::chrono::microseconds stretch);
// Time spent waiting actively so far, all threads together: on a core that
// does nothing else, this is the CPU the sharp waits cost.
std::chrono::nanoseconds ActiveWaitTotal();
// Pumps the event loop once, then waits until ms have passed since the call:
// the time the events took is part of the pause instead of added to it. The
// end is sharp.
void PumpThenSleep(int ms);
// Asks for short sleeps of the calling thread to end close to their length
// (the thread's timer slack drops from the default 50 us to 1 us; on Windows
// the system timer runs at 1 ms, timeBeginPeriod(1)), as the
// exchange's 1 ms polls and 4 ms byte gaps need. Cheap to repeat.
void RaiseTimerResolution();
// Runs the pending events of the calling thread's event loop once.
void PumpMessages();

} // namespace platform
