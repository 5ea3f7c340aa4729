#include "platform/user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <optional>

namespace platform {

namespace {

QString orDefault(const QString& base, const QString& home, const QString& below) {
    return base.isEmpty() ? home + below : base;
}

#ifdef Q_OS_WIN
// Qt gives the roaming folder only with the organization and program names
// below it; the window program and the command line share one folder.
QString roamingFolder() {
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QCoreApplication::organizationName().isEmpty())
        path = QFileInfo(path).path();
    if (!QCoreApplication::applicationName().isEmpty())
        path = QFileInfo(path).path();
    return path;
}
#endif

std::optional<UserFolderBases>& overridden() {
    static std::optional<UserFolderBases> bases;
    return bases;
}

UserFolderBases basesInUse() {
    return overridden() ? *overridden() : SystemFolderBases();
}

} // namespace

void OverrideFolderBases(const UserFolderBases& bases) {
    overridden() = bases;
}

UserFolderBases SystemFolderBases() {
    UserFolderBases bases;
    bases.home = QDir::homePath();
#ifdef Q_OS_WIN
    bases.windows = true;
    bases.roaming = roamingFolder();
    bases.local = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    bases.xdgConfigHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    bases.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
#endif
    return bases;
}

QString ConfigFolderOf(const UserFolderBases& bases) {
    if (bases.windows)
        return orDefault(bases.roaming, bases.home, QStringLiteral("/AppData/Roaming")) +
               QStringLiteral("/Relcon4");
    return orDefault(bases.xdgConfigHome, bases.home, QStringLiteral("/.config")) +
           QStringLiteral("/relcon4");
}

QString DataFolderOf(const UserFolderBases& bases) {
    if (bases.windows)
        return orDefault(bases.local, bases.home, QStringLiteral("/AppData/Local")) +
               QStringLiteral("/Relcon4");
    return orDefault(bases.xdgDataHome, bases.home, QStringLiteral("/.local/share")) +
           QStringLiteral("/relcon4");
}

QString ConfigFolder() {
    return ConfigFolderOf(basesInUse());
}

QString DataFolder() {
    return DataFolderOf(basesInUse());
}

QString PortsFolder() {
    return ConfigFolder() + QStringLiteral("/ports");
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

QString CurrentFileFolderOf(const QString& current, bool sameAsProgram, bool currentTakesFiles,
                            const QString& documents) {
    return sameAsProgram && !currentTakesFiles ? documents : current;
}

QString CurrentFileFolder() {
    const QString current = QDir::currentPath();
    const bool sameAsProgram =
        QFileInfo(current) == QFileInfo(QCoreApplication::applicationDirPath());
    // Only the program's folder is tried: any other keeps its own answer.
    const bool takesFiles = !sameAsProgram || FolderTakesFiles(current);
    const QString folder =
        CurrentFileFolderOf(current, sameAsProgram, takesFiles, DocumentsFolder());
    if (folder != current)
        QDir().mkpath(folder);
    return folder;
}

bool FolderTakesFiles(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
#ifdef Q_OS_WIN
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("relcon4-probe-XXXXXX.tmp")));
    return probe.open();
#else
    return info.isWritable();
#endif
}

} // namespace platform
