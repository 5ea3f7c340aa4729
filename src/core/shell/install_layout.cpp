#include "shell/install_layout.h"

#include <QDir>
#include <QFileInfo>

QString InstalledDocDir(const QString& exeDir) {
    if (exeDir.isEmpty())
        return {};
    const QDir bin(exeDir);
    if (bin.dirName() != QLatin1String("bin"))
        return {};
    const QString doc =
        QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/doc/relcon4")));
    if (!QFileInfo::exists(doc + QStringLiteral("/README.md")))
        return {};
    return doc;
}

bool IsInstalledCopy(const QString& exeDir) {
    return !InstalledDocDir(exeDir).isEmpty();
}
