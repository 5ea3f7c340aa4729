// Per-user folders of the program.
#pragma once

#include <QString>

namespace platform {

// What the per-user folders are made from. On Linux the XDG variables and the
// home folder; on Windows the system's roaming and local application folders
// (the XDG variables a Unix shell may hand down mean nothing there).
struct UserFolderBases {
    bool windows = false;
    QString home;
    QString xdgConfigHome;
    QString xdgDataHome;
    QString roaming; // %APPDATA%
    QString local;   // %LOCALAPPDATA%
};

// The bases of this system and user.
UserFolderBases SystemFolderBases();
// Linux: $XDG_CONFIG_HOME/relcon4 (default ~/.config/relcon4);
// Windows: %APPDATA%\Relcon4. No trailing '/'.
QString ConfigFolderOf(const UserFolderBases& bases);
// Linux: $XDG_DATA_HOME/relcon4 (default ~/.local/share/relcon4);
// Windows: %LOCALAPPDATA%\Relcon4. No trailing '/'.
QString DataFolderOf(const UserFolderBases& bases);

// Tests keep every per-user file in a folder of their own: once set, these
// bases stand in for the system's in ConfigFolder() and DataFolder().
void OverrideFolderBases(const UserFolderBases& bases);

// The same for this system and user.
QString ConfigFolder();
QString DataFolder();
// The port map's explicit entries: symlinks named COM<n> pointing at devices.
QString PortsFolder();
// Where the user keeps documents: the stand-in for a folder that takes no files.
QString DocumentsFolder();

// The folder for a file kept in the current folder: that folder, unless it is
// the program's own folder and takes no files (a copy under Program Files
// started without a working folder); the documents folder then holds it.
QString CurrentFileFolderOf(const QString& current, bool sameAsProgram, bool currentTakesFiles,
                            const QString& documents);
// The same for this process.
QString CurrentFileFolder();

// Whether a new file can be created in the folder. Windows answers a folder's
// writability from its attributes alone, so there a file is tried.
bool FolderTakesFiles(const QString& folder);

} // namespace platform
