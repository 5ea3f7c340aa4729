#include "shell/recent_files.h"

#include "platform/user_folders.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace {

QSettings store() {
    return QSettings(platform::ConfigFolder() + QStringLiteral("/relcon4.conf"),
                     QSettings::IniFormat);
}

QString key(const QString& filter) {
    return QStringLiteral("RecentFiles/") + RecentFilesKind(filter);
}

} // namespace

QString RecentFilesKind(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9_]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1).toLower() : QStringLiteral("any");
}

QStringList RecentFiles(const QString& filter) {
    QStringList files;
    for (const QString& file : store().value(key(filter)).toStringList())
        if (QFileInfo(file).isFile() && files.size() < kRecentFilesKept)
            files << file;
    return files;
}

void RememberRecentFile(const QString& filter, const QString& chosenFile) {
    if (chosenFile.isEmpty())
        return;
    const QString path = QFileInfo(chosenFile).absoluteFilePath();
    QStringList files = store().value(key(filter)).toStringList();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFilesKept)
        files.removeLast();
    QSettings settings = store();
    settings.setValue(key(filter), files);
}
