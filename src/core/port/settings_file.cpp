#include "port/settings_file.h"

#include "exchange/exchange_host.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "platform/user_folders.h"
#include "platform/whole_file.h"
#include "port/param_port_rules.h"
#include "shell/app_globals.h"
#include "shell/install_layout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SettingsDirOverride;

namespace {

const QString kFileName = QStringLiteral("rs_m.ini");
// Far more than ten short lines; a larger file is damaged and only its start is looked at.
constexpr qint64 kMaxFileBytes = 64 * 1024;

QString BesideProgram() {
    return ExeDir + kFileName;
}

bool ExeDirWritable() {
    // An installed copy never writes into its bin folder, even when run as root.
    if (ExeDir.isEmpty() || IsInstalledCopy(ExeDir))
        return false;
    return platform::FolderTakesFiles(ExeDir);
}

// The file to read: the one SaveSettings writes, or, for an installed copy that
// has no per-user file yet, the one shipped beside the program.
QString ReadPath() {
    const QString path = SettingsFilePath();
    if (SettingsDirOverride.isEmpty() && !QFileInfo::exists(path) && !ExeDir.isEmpty() &&
        QFileInfo::exists(BesideProgram()))
        return BesideProgram();
    return path;
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kMaxFileBytes);
}

// The values stay in use for the run either way; the user learns that the
// next start will not see them.
bool writeOrTell(const QByteArray& text) {
    const QString path = SettingsFilePath();
    QString problem;
    if (WriteSettingsFile(path, text, &problem))
        return true;
    exchangeHost().plainMessage(SettingsNotSavedText(path, problem));
    return false;
}

} // namespace

QString SettingsFilePath() {
    if (!SettingsDirOverride.isEmpty())
        return QDir(SettingsDirOverride).filePath(kFileName);
    if (ExeDirWritable())
        return BesideProgram();
    return QDir(platform::ConfigFolder()).filePath(kFileName);
}

TSettingsValues CurrentSettings() {
    TSettingsValues values;
    values.TimeOut = TimeOut;
    values.PreSendPause = PreSendPause;
    values.NumOfRepeat = ExchangeState.NumOfRepeat;
    values.FiksDtrRts = FiksDtrRts;
    values.DtrOn = DtrOn;
    values.RtsOn = RtsOn;
    values.LogFontSize = LogFontSize;
    values.LogHex = LogHex;
    values.LogOldestFirst = LogOldestFirst;
    return values;
}

bool WriteSettingsFile(const QString& path, const QByteArray& text, QString* problem) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (problem)
            *problem =
                QStringLiteral("папка %1 не создаётся").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return platform::WriteWholeFile(path, text, problem);
}

QString SettingsNotSavedText(const QString& path, const QString& problem) {
    return QStringLiteral("Не удалось сохранить параметры обмена в файл\r\n%1\r\n(%2).\r\n"
                          "Они действуют только до закрытия программы.")
        .arg(QDir::toNativeSeparators(path), problem);
}

bool SaveSettings() {
    TSavedPortNames names;
    for (int channel = 0; channel < kSavedChannels; ++channel)
        names[channel] = ExchangeState.PortName[channel];
    return writeOrTell(SettingsText(CurrentSettings(), names));
}

namespace {

// The file's reading rules take a pause of any size from 101 up (a line of
// -1 reads as 65535); the dialog never stores more than its maximum, and a
// longer wait before each request would look like a hung program.
void capPause(TSettingsValues& values) {
    if (values.PreSendPause <= kMaxManualPause)
        return;
    AnalyzeLog.sStr = QStringLiteral("Пауза перед запросом %1 мс из rs_m.ini больше наибольшей: "
                                     "взято %2 мс")
                          .arg(values.PreSendPause)
                          .arg(kMaxManualPause);
    ExchangeLog().prStatusAsStrToLog(clLogRed);
    values.PreSendPause = kMaxManualPause;
}

TSettingsRead readIntoSettings() {
    const TSettingsRead read = ReadSettingsText(ReadBytes(ReadPath()));
    TSettingsValues values = ValuesFromRead(read);
    capPause(values);
    ApplySettings(values);
    for (int channel = 0; channel < read.PortsRead; ++channel)
        ExchangeState.PortName[channel] = read.PortName[channel];
    return read;
}

} // namespace

void ReadSettingsForCommandLine() {
    readIntoSettings();
}

void LoadSettings() {
    const TSettingsRead read = readIntoSettings();
    exchangeHost().settingsLoaded();
    // A file that cannot be rewritten leaves the run as loaded; the next
    // SaveSettings tries again.
    if (read.Rewrite)
        writeOrTell(RewrittenSettingsText(read));
}
