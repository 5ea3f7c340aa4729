// The RI1-R commands on channel 0 as single calls, with a result that names
// what failed: the session start with the whole set, the page's "load all
// settings into the unit" sequence, and the end of the session.
#pragma once

#include "devices/qv1m/qv1_frame.h"
#include "devices/qv1m/qv1m_compare.h"
#include "engine/command_result.h"

// The session start's reads on a line already open: the start, the seven
// modes, the fault delays, the common flags and thresholds, each only after
// every earlier one came. What came before a failure stays in read.
TCommandResult Ri1rReadSession(TQv1mUnitRead& read);
// The same in a line opening of its own.
TCommandResult Ri1rRead(TQv1mUnitRead& read);
// Mode n (0..6) into read, on a line already open.
TCommandResult Ri1rReadMode(int n, TQv1mUnitRead& read);
// Session start, the seven modes, the common settings, the release date (the
// PC's date, only when the unit has none; else command "t") and the end of
// the session with a restart. Each write must be accepted (result code 0).
TCommandResult Ri1rWriteSet(const TQv1mSet& set, int day, int month, int year);
// Ends the session, with or without a restart.
TCommandResult Ri1rEndSession(bool restart);

// What the last command left known of the unit: the identification it gave,
// the set the last session start read (as far as it came) or the last
// whole-set write sent, and the command's result. The archive records from it.
struct TRi1rKnown {
    QString ident;
    QString releaseDate;
    TQv1mSet set;
    TCommandResult result;
};
const TRi1rKnown& Ri1rLastKnown();

// Channel 0 through the core's own port, for a run without windows.
void UseCoreQv1Line();
