// The pages' commands leave their records: each recorded button's command
// runs as before, and once it has finished (port closed, result shown) its
// record goes to the archive. With the user's option on, a write is preceded
// by a read of the unit that is archived first. Nothing of the pages
// changes: the recording wraps the buttons' own handlers.
#pragma once

#include <QString>

class TRelcon4;

void InstallArchiveRecording(TRelcon4* window);

// The per-user option "save the unit's configuration before a write".
inline const QString kArchiveBeforeWrite = QStringLiteral("archive/beforeWrite");
