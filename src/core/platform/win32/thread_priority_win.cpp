// Windows: THREAD_PRIORITY_HIGHEST, which any thread may take in its own
// process: above the threads of ordinary programs at their normal priority
// (and their wake-up boosts), still in the normal class's range, below
// TIME_CRITICAL and the real-time class.
#include "platform/thread_priority.h"

#include <windows.h>

namespace platform {

RaisedThreadPriority::RaisedThreadPriority() {
    if (!ThreadRaising())
        return;
    const HANDLE self = ::GetCurrentThread();
    const int before = ::GetThreadPriority(self);
    if (before == THREAD_PRIORITY_ERROR_RETURN || before >= THREAD_PRIORITY_HIGHEST)
        return;
    if (::SetThreadPriority(self, THREAD_PRIORITY_HIGHEST)) {
        savedValue_ = before;
        raise_ = ThreadRaise::Highest;
    }
}

RaisedThreadPriority::~RaisedThreadPriority() {
    if (raise_ == ThreadRaise::Highest)
        ::SetThreadPriority(::GetCurrentThread(), savedValue_);
}

} // namespace platform
