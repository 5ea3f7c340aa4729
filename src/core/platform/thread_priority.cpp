// Linux: SCHED_FIFO where RLIMIT_RTPRIO grants a real-time priority, else the
// lowest nice value RLIMIT_NICE allows. The limits are the rule, not the
// privileges: a process that could force it (CAP_SYS_NICE) but whose limits
// grant nothing stays as it is, as an ordinary login would.
#include "platform/thread_priority.h"

#include <cerrno>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {

// The lowest real-time priority: above every thread of ordinary programs,
// below the kernel's interrupt threads and the audio servers.
constexpr int kRealtimePriority = 1;
constexpr int kNiceFloor = -20;

rlim_t Limit(int resource) {
    const int assumed = resource == RLIMIT_RTPRIO ? AssumedRtprioLimit() : AssumedNiceLimit();
    if (assumed >= 0)
        return static_cast<rlim_t>(assumed);
    rlimit r{};
    return ::getrlimit(resource, &r) == 0 ? r.rlim_cur : 0;
}

// The lowest nice value RLIMIT_NICE lets a thread take: 20 - limit.
int LowestNice() {
    const rlim_t limit = Limit(RLIMIT_NICE);
    if (limit == RLIM_INFINITY || limit >= static_cast<rlim_t>(20 - kNiceFloor))
        return kNiceFloor;
    return 20 - static_cast<int>(limit);
}

bool IsRealtime(int policy) {
    const int base = policy & ~SCHED_RESET_ON_FORK;
    return base == SCHED_FIFO || base == SCHED_RR;
}

} // namespace

RaisedThreadPriority::RaisedThreadPriority() {
    if (!ThreadRaising())
        return;
    const int policy = ::sched_getscheduler(0);
    if (policy < 0 || IsRealtime(policy))
        return;
    sched_param before{};
    if (Limit(RLIMIT_RTPRIO) >= static_cast<rlim_t>(kRealtimePriority) &&
        ::sched_getparam(0, &before) == 0) {
        sched_param rt{};
        rt.sched_priority = kRealtimePriority;
        // Programs started meanwhile (a help page opened) do not inherit it.
        if (::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &rt) == 0) {
            savedPolicy_ = policy;
            savedValue_ = before.sched_priority;
            raise_ = ThreadRaise::Realtime;
            return;
        }
    }
    // On Linux a nice value set for a thread id holds for that thread alone.
    const auto tid = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, tid);
    const int lowest = LowestNice();
    if (errno != 0 || lowest >= nice)
        return;
    if (::setpriority(PRIO_PROCESS, tid, lowest) == 0) {
        savedValue_ = nice;
        raise_ = ThreadRaise::Nice;
    }
}

RaisedThreadPriority::~RaisedThreadPriority() {
    if (raise_ == ThreadRaise::Realtime) {
        sched_param before{};
        before.sched_priority = savedValue_;
        // Once set, the reset-on-fork flag stays (clearing it needs a privilege).
        ::sched_setscheduler(0, savedPolicy_ | SCHED_RESET_ON_FORK, &before);
    } else if (raise_ == ThreadRaise::Nice) {
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), savedValue_);
    }
}

} // namespace platform
