#include "platform/stop_signals.h"

#include <csignal>
#include <initializer_list>

namespace platform {

namespace {
volatile std::sig_atomic_t caught = 0;

extern "C" void onStopSignal(int signo) {
    caught = signo;
}
} // namespace

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (const int signo : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signo, &action, nullptr);
}

bool StopSignalled() {
    return caught != 0;
}

int StopSignalNumber() {
    return caught;
}

} // namespace platform
