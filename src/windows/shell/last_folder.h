// The folder the file dialogs open in: the one the user chose a file in last,
// kept per user across runs (in the user's config folder, not in rs_m.ini,
// whose lines are fixed).
#pragma once

#include <QString>

// The folder a file dialog starts in for `dir`: an absolute path is kept; an
// empty one becomes the folder used last, and a bare file name is suggested
// inside it. Without a remembered (and still existing) folder: the current one.
QString FileDialogStart(const QString& dir);

// Remembers the folder of a file the user chose; an empty name (the dialog
// was cancelled) changes nothing.
void RememberFileFolder(const QString& chosenFile);
