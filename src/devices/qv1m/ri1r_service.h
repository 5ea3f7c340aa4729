// The RI1-R commands on channel 0 as single calls, with a result that names
// what failed: the session start with the whole set, the page's "load all
// settings into the unit" sequence, and the end of the session.
#pragma once

#include "devices/qv1m/qv1_frame.h"
#include "exchange/command_result.h"

// What a session start reads.
struct TRi1rUnitRead {
    QString ident;       // "Устройство: " text of the unit
    QString releaseDate; // "dd.mm.yy"
    int currentMode = 0; // index 0..6
    TQv1mSet set;
};

// Session start, the seven modes, the time/error and the voltage settings.
TCommandResult Ri1rRead(TRi1rUnitRead& read);
// Session start, the seven modes, the common settings, the release date (the
// PC's date, only when the unit has none; else command "t") and the end of
// the session with a restart. Each write must be accepted (result code 0).
TCommandResult Ri1rWriteSet(const TQv1mSet& set, int day, int month, int year);
// Ends the session, with or without a restart.
TCommandResult Ri1rEndSession(bool restart);

// Channel 0 through the core's own port, for a run without windows.
void UseCoreQv1Line();
