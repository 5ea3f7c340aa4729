// rs_m.ini on disk and the program-wide values it keeps: the exchange settings,
// the attempt count and the port names of channels 0 to 2.
#pragma once

#include "port/settings_text.h"

#include <QByteArray>
#include <QString>

// When set, rs_m.ini lives in this folder whatever ExeDir says. The test
// programs point it at their temporary folder, so no run of them reads or
// leaves a settings file beside a test binary.
extern QString SettingsDirOverride;

// Where rs_m.ini is written: in ExeDir, or in the per-user configuration
// folder when ExeDir is not a writable folder (an installed copy).
QString SettingsFilePath();

// The program-wide settings as one record (ApplySettings takes one back).
TSettingsValues CurrentSettings();

// Replaces the file whole (a new file renamed over the old one), creating its
// folder when needed; false when that cannot be done, with the cause in problem.
// The old file is then untouched.
bool WriteSettingsFile(const QString& path, const QByteArray& text, QString* problem = nullptr);

// The plain message for a settings file that could not be written.
QString SettingsNotSavedText(const QString& path, const QString& problem);

// Writes the current settings and port names; the result tells whether it was
// written. A file that cannot be written keeps its old contents and the user
// is told so: the values stay in use only until the program ends.
bool SaveSettings();
// Reads the file into the settings, the port names and the exchange parameters
// dialog's DTR/RTS controls; rewrites it when it is missing or its digest does
// not match, telling the user when that cannot be done.
void LoadSettings();
// The same file read into the same values and port names, for a run without
// windows: nothing is rewritten and nobody is told (defaults stand in for a
// missing or damaged file).
void ReadSettingsForCommandLine();
