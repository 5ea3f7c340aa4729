#include "shell/user_options.h"

#include "platform/user_folders.h"

#include <QSettings>

namespace {

QString optionsFile() {
    return platform::ConfigFolder() + QStringLiteral("/options.ini");
}

} // namespace

bool UserOption(const QString& key, bool defaultValue) {
    const QSettings settings(optionsFile(), QSettings::IniFormat);
    return settings.value(key, defaultValue).toBool();
}

void SetUserOption(const QString& key, bool value) {
    QSettings settings(optionsFile(), QSettings::IniFormat);
    settings.setValue(key, value);
}

QString UserText(const QString& key, const QString& defaultValue) {
    const QSettings settings(optionsFile(), QSettings::IniFormat);
    return settings.value(key, defaultValue).toString();
}

void SetUserText(const QString& key, const QString& value) {
    QSettings settings(optionsFile(), QSettings::IniFormat);
    settings.setValue(key, value);
}
