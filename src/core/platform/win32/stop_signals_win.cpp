// Ctrl+C, Ctrl+Break and a closed console window, told as the POSIX signals
// the serving loops know.
#include "platform/stop_signals.h"

#include <atomic>
#include <csignal>
#include <windows.h>

namespace platform {

namespace {
std::atomic<int> caught{0};

BOOL WINAPI onConsoleStop(DWORD type) {
    caught = type == CTRL_C_EVENT ? SIGINT : SIGTERM;
    return TRUE;
}
} // namespace

void CatchStopSignals() {
    ::SetConsoleCtrlHandler(onConsoleStop, TRUE);
}

bool StopSignalled() {
    return caught != 0;
}

int StopSignalNumber() {
    return caught;
}

} // namespace platform
