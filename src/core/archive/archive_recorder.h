// The program's own archive: one SQLite file in the user's data folder, a
// record after each command, written after the command has finished. When
// the file cannot be written (folder not writable, disk full, locked by
// another copy) the user is told once, with the path and the cause, the
// exchange goes on and the record waits in memory for the next command.
#pragma once

#include "archive/archive_store.h"

#include <QString>

// <data folder>/archive.sqlite.
QString ArchiveFilePath();
// The program's store, opened on first use (a damaged file is moved aside
// with a message).
TArchiveStore& ProgramArchive();

// Fills in what every record has (id, time, port and adapter of channel 0,
// object, note), then writes the records still waiting and this one, each in
// its own transaction. False when any is left waiting.
bool RecordToArchive(TArchiveRecord record);
// Records not yet written.
int ArchiveWaiting();

// Recording on or off for this run (relcon4-cli --no-archive).
void SetArchiveRecording(bool on);
bool ArchiveRecording();

// The object (building, site) of the job: typed once, remembered for the
// user, given to every record until changed.
QString ArchiveObject();
void SetArchiveObject(const QString& object, bool remember = true);
// A note given to the records that follow, until changed.
QString ArchiveNote();
void SetArchiveNote(const QString& note);

// Closes the store, forgets waiting records, the object and the last
// message; for tests.
void ResetProgramArchive();
