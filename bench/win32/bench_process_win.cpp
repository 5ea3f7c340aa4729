// The process figures of bench_common.h on Windows, from the system's own
// calls: there is no /proc, and std::clock() there counts wall time.
#include "bench_common.h"

#include <cstring>
#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

namespace bench {

namespace {
double MsOf(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    // 100 ns units.
    return static_cast<double>(v.QuadPart) / 10000.0;
}
} // namespace

double ProcessCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return MsOf(kernel) + MsOf(user);
}

long StatusKb(const char* key, const QString& pid) {
    if (pid != QStringLiteral("self"))
        return -1;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    if (std::strcmp(key, "VmHWM:") == 0)
        return static_cast<long>(counters.PeakWorkingSetSize / 1024);
    if (std::strcmp(key, "VmRSS:") == 0)
        return static_cast<long>(counters.WorkingSetSize / 1024);
    return -1;
}

} // namespace bench
