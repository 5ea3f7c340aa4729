#include "writers.h"

#include "devices/qv1m/qv1m_page.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_file_commands.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_times_page.h"
#include "exchange/exchange_settings.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace files_test {

namespace {

// Two time-outs for rs_m.ini.
constexpr int kTimeOuts[2] = {300, 5000};
// Two texts for the RO-4D sine search time (a whole number of 2 s steps).
const char* const kSineTimes[2] = {"10", "20"};
// Two times for channel 1 of RI1-R mode 7, a mode the page does not show.
constexpr std::uint16_t kRi1rTimes[2] = {1111, 2222};
constexpr int kRi1rMode = 6;

int variantOf(auto value, const auto& values) {
    for (int v = 0; v < 2; ++v)
        if (value == values[v])
            return v;
    return -1;
}

QString lastMessage(const RecordingInteraction& user) {
    return user.messages.empty() ? QString() : user.messages.back().text;
}

QLineEdit* sineTimeEdit(TWorld& w) {
    return w.pages->TimesPage->findChild<QLineEdit*>(QStringLiteral("TimeSearchSinusEdit"));
}

TWriter settingsWriter(TWorld& w) {
    TWriter t;
    t.label = WriterLabel(0);
    t.fileName = QStringLiteral("rs_m.ini");
    t.makesItsFolder = true;
    t.setVariant = [](int v) { TimeOut = kTimeOuts[v]; };
    t.variantInMemory = [] { return variantOf(TimeOut, kTimeOuts); };
    t.save = [&w](const QString& folder) {
        w.user.messages.clear();
        SettingsDirOverride = folder;
        SaveSettings();
    };
    t.load = [&w](const QString& folder) {
        w.user.messages.clear();
        SettingsDirOverride = folder;
        TimeOut = 0;
        LoadSettings();
        return variantOf(TimeOut, kTimeOuts);
    };
    t.told = [&w] { return lastMessage(w.user); };
    t.toldFailure = [](const QString& text) {
        return text.startsWith(QStringLiteral("Не удалось сохранить параметры обмена в файл\r\n"));
    };
    t.toldsCause = true;
    return t;
}

TWriter configWriter(TWorld& w) {
    TWriter t;
    t.label = WriterLabel(1);
    t.fileName = QStringLiteral("config.qvf");
    t.setVariant = [&w](int v) { sineTimeEdit(w)->setText(QLatin1String(kSineTimes[v])); };
    t.variantInMemory = [&w] {
        return variantOf(sineTimeEdit(w)->text(),
                         std::array{QLatin1String(kSineTimes[0]), QLatin1String(kSineTimes[1])});
    };
    t.save = [&w](const QString& folder) {
        w.user.messages.clear();
        prSaveRegsFile(*w.pages, QDir(folder).filePath(QStringLiteral("config.qvf")));
    };
    t.load = [&w, t](const QString& folder) {
        w.user.messages.clear();
        sineTimeEdit(w)->clear();
        w.user.openFileAnswers.push_back(QDir(folder).filePath(QStringLiteral("config.qvf")));
        Qv4mButton4Click(*Relcon4, *w.pages);
        return t.variantInMemory();
    };
    // A success names the file on a second line.
    t.told = [&w] { return lastMessage(w.user).section(QLatin1Char('\n'), 0, 0); };
    t.toldFailure = [](const QString& text) { return text == QStringLiteral("Запись не прошла"); };
    t.toldSuccess = QStringLiteral("Успешно");
    return t;
}

TWriter exportWriter(TWorld& w) {
    TWriter t = configWriter(w);
    t.label = WriterLabel(2);
    t.fileName = QStringLiteral("reg_xx.txt");
    t.inCurrentFolder = true;
    t.save = [&w](const QString&) {
        w.user.messages.clear();
        w.commands->Button2Click();
    };
    t.load = nullptr;
    return t;
}

TWriter ri1rWriter(TWorld& w) {
    TWriter t;
    t.label = WriterLabel(3);
    t.fileName = QStringLiteral("QV1M.ini");
    t.inCurrentFolder = true;
    t.setVariant = [&w](int v) { w.ri1r->mQV1M_1[kRi1rMode].wTimePrevOn = kRi1rTimes[v]; };
    t.variantInMemory = [&w] {
        return variantOf(w.ri1r->mQV1M_1[kRi1rMode].wTimePrevOn, kRi1rTimes);
    };
    t.save = [&w](const QString&) { w.ri1r->Button14Click(); };
    t.load = [&w, t](const QString&) {
        w.ri1r->mQV1M_1[kRi1rMode].wTimePrevOn = 0;
        w.ri1r->Button15Click();
        return t.variantInMemory();
    };
    t.told = [&w] { return w.ri1r->findChild<QLabel*>(QStringLiteral("StatusLabel2"))->text(); };
    t.toldFailure = [](const QString& text) {
        return text.startsWith(
            QStringLiteral("Статус: проблема с файлом: не удалось записать QV1M.ini ("));
    };
    t.toldsCause = true;
    t.toldSuccess = QStringLiteral("Статус: успешно");
    return t;
}

} // namespace

const char* WriterLabel(int i) {
    constexpr const char* kLabels[kWriterCount] = {"rs_m_ini", "qvf", "reg_xx_txt", "QV1M_ini"};
    return kLabels[i];
}

std::vector<TWriter> MakeWriters(TWorld& world) {
    return {settingsWriter(world), configWriter(world), exportWriter(world), ri1rWriter(world)};
}

} // namespace files_test
