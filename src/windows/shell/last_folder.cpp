#include "shell/last_folder.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("FileDialogs/lastFolder");

QSettings store() {
    return QSettings(platform::ConfigFolder() + QStringLiteral("/relcon4.conf"),
                     QSettings::IniFormat);
}

QString lastFolder() {
    const QString folder = store().value(kKey).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    // First use: the current folder, or the documents folder when that is a
    // program folder the user may not write (Program Files).
    return platform::CurrentFileFolder();
}

} // namespace

QString FileDialogStart(const QString& dir) {
    if (dir.isEmpty())
        return lastFolder();
    if (QFileInfo(dir).isAbsolute())
        return dir;
    return QDir(lastFolder()).filePath(dir);
}

void RememberFileFolder(const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    QSettings settings = store();
    settings.setValue(kKey, QFileInfo(chosenFile).absolutePath());
}
