// Millisecond clock and sleeps of the exchange: a monotonic stand-in for
// the tick counter, so pauses and time-outs never jump with the wall clock.
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 like a tick counter.
std::uint32_t TickCount();
// Sleeps the calling thread; 0 only yields.
void SleepMs(int ms);
// Runs the pending events of the calling thread's event loop once.
void PumpMessages();

} // namespace platform
