// The port watchdog: after a slow opening or a failed send it leads the user
// through replugging the adapter, rescanning and choosing a port, and ends the
// program when no port can be had.
#pragma once

#include <QString>
#include <functional>

namespace watchdog_text {
// The slow-opening text spells the port with Latin letters; the others with
// Cyrillic ones (С, О, М), as the users have always seen them.
extern const QString kTooSlow;  // plain message, third slow opening in a row
extern const QString kReplug;   // plain message, first or second slow opening
extern const QString kNotSent;  // plain message, data did not leave the port
extern const QString kPortGone; // plain message (a lone CR breaks its line)
extern const QString kNeedPort; // message box text, caption kNeedPortCaption
extern const QString kNeedPortCaption;
extern const QString kClosing; // plain message before the end
} // namespace watchdog_text

// True while a watchdog run is going on (its messages and dialog included).
bool PortWatchdogRunning();
// Inside a run, after one of its own openings: a tick that comes meanwhile is
// kept for after the run, so the run counts its slow openings itself. At the
// third in a row it shows the slow-opening message, stops the port change
// loop and has the run end the program; true from then on.
bool WatchdogEndsAfterSlowOpening();
// Forgets a run left half done and a deferred one (for tests).
void ResetPortWatchdog();

// Ending the program from the watchdog. The real one lets the port go and
// leaves at once with the code; tests install their own to observe the end
// (an empty hook restores the real one).
using TProgramEnd = std::function<void(int exitCode)>;
void SetProgramEndHook(TProgramEnd hook);
void EndProgramAtOnce(int exitCode);
