// Turns SIGINT, SIGTERM and SIGHUP into a flag that a serving loop polls, so
// a program stopped from the terminal or by a script still cleans up.
#pragma once

namespace platform {

// Installs the handlers; safe to call more than once.
void CatchStopSignals();
// True once one of the signals has arrived.
bool StopSignalled();
// The number of the signal that arrived, 0 before any.
int StopSignalNumber();

} // namespace platform
