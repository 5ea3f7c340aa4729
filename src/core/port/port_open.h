// Opening and closing a channel's port. Only channel 0 has a port component
// (the core's ComPortD1, port/channel_port.h); the other channels live in the
// table alone.
#pragma once

#include <QString>
#include <cstdint>

class TCustomComPortD;

// Opens the channel's port (its PortName) with two timed attempts. A slow
// attempt marks the channel crashed and arms the port watchdog; after two
// timely ones the port's error code decides whether the channel counts as
// open, with a plain message for a missing, busy or reserved port when
// withMessages is set. Every step leaves a grey trace in the log.
void OpenNewPort(std::uint8_t channel, bool withMessages);
// Clears PortOpen of the channel; for channel 0 disconnects ComPortD1.
void ClosePort(std::uint8_t channel);

// Opens the named port for the channel (the name as shown or stored); an
// empty name leaves the channel closed, a name too short to be a port is ignored.
void SetChannelPort(std::uint8_t channel, const QString& name);
// Opens the channel's port for one command, with the command settings and the
// DTR/RTS lines (fixed ones from the exchange settings, else both off).
void OpenForCommand(std::uint8_t channel);
// Closes it again after the command, when it is open.
void CloseAfterCommand(std::uint8_t channel);
// What the device commands call around their work: channel 0 opened for the
// command (true) or closed after it (false). With no port chosen yet the host
// is told first; the opening then fails as it always did.
void OpenCloseCommandPort(bool open);
// Why the last opening left its channel closed, in the words the user was
// told; empty after an opening that succeeded.
QString LastOpenProblem();

// The settings an opened port gets: no flow control, the opening read
// time-outs, the pause before a request, background reception on.
void ApplyOpeningSettings(TCustomComPortD& port);
// The settings a command needs: 9600 8N1 as a custom rate, 4 ms between
// bytes, the reply time-out and the pause before a request. DTR and RTS are
// set by the caller.
void ApplyCommandSettings(TCustomComPortD& port);

// The program's message box with one of the port's numbered errors (OK
// button, exclamation icon, no owner window).
void PortMessageBox(const QString& text, const QString& caption);

// Arms the main window's port watchdog: stopped if running, given the
// interval and started, so it runs once.
void ArmPortWatchdog(int intervalMs);

// How long a slow opening keeps its message up before the watchdog takes over.
inline constexpr int kSlowOpenPauseMs = 5000;
// Tests that go through many slow openings shorten the pause (a negative
// value restores kSlowOpenPauseMs).
void SetSlowOpenPause(int ms);
// The watchdog's interval after a slow opening.
inline constexpr int kSlowOpenWatchdogMs = 100;

// Closing the program: channel 0's port component is disconnected when that
// channel is open; the other channels have no port to let go.
void DisconnectOpenPorts();
