#include "platform/user_folders.h"

#include <QDir>

namespace platform {

QString ConfigFolder() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/relcon4");
}

QString DataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/relcon4");
}

QString PortsFolder() {
    return ConfigFolder() + QStringLiteral("/ports");
}

} // namespace platform
