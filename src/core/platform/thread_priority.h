// A higher scheduling priority for the thread that paces a request, as far as
// the system grants it without privileges. On a busy machine a thread at the
// normal priority wakes from its sleep behind the other programs' threads and
// hands a byte over milliseconds late; raised, it wakes on time.
#pragma once

namespace platform {

// What a raise gives the calling thread.
enum class ThreadRaise {
    None,     // not granted, or switched off: the thread stays as it was
    Nice,     // Linux: a lower nice value, as far as RLIMIT_NICE allows
    Realtime, // Linux: SCHED_FIFO, granted by RLIMIT_RTPRIO
    Highest,  // Windows: THREAD_PRIORITY_HIGHEST
};

// Raises the calling thread for the object's lifetime and puts back what it
// had when it ends. Never fails: where nothing is granted the thread stays as
// it was. A thread that is already at or above the raise is left alone, so
// raises may nest. Realtime is safe here only because the pacing sleeps
// between bytes and spins at most the active stretch before each instant.
class RaisedThreadPriority {
public:
    RaisedThreadPriority();
    ~RaisedThreadPriority();
    RaisedThreadPriority(const RaisedThreadPriority&) = delete;
    RaisedThreadPriority& operator=(const RaisedThreadPriority&) = delete;
    ThreadRaise raise() const { return raise_; }

private:
    ThreadRaise raise_ = ThreadRaise::None;
    // What the thread had before: policy and priority, or nice value.
    int savedPolicy_ = 0;
    int savedValue_ = 0;
};

// Set for measuring: off keeps every thread at its priority.
void SetThreadRaising(bool on);
bool ThreadRaising();
// Set for measuring and testing on Linux: raises follow these limits instead
// of RLIMIT_RTPRIO and RLIMIT_NICE, which only a privileged process may lift;
// a negative value goes back to the system's. The system must still allow
// the change itself.
void AssumeRaiseLimits(int rtprio, int nice);
int AssumedRtprioLimit();
int AssumedNiceLimit();

// The name of a raise, for the benchmarks' notes.
const char* ThreadRaiseName(ThreadRaise raise);

} // namespace platform
