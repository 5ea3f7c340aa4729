// The program's windows on a clean state for the port tests: settings in a
// fresh folder, an empty kernel device tree, an empty ports folder, the real
// time of day, a fresh log and a recording stand-in for the user.
#pragma once

#include "core/port/settings_fixture.h"
#include "exchange/log_state.h"
#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "port/port_rules.h"
#include "shell/app_windows.h"
#include "support/recording_interaction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class PortFixture : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        sysfs_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(sysfs_->isValid());
        platform::SetSysfsRoot(sysfs_->path());
        QDir(platform::PortsFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(platform::PortsFolder()));
        SetSecondsOfDayClock({});
        user = std::make_unique<RecordingInteraction>();
        CreateAppWindows(false);
        ResetLogState();
    }
    void TearDown() override {
        DestroyAppWindows();
        user.reset();
        OnLogOptionsChanged = nullptr;
        SetSecondsOfDayClock({});
        platform::SetSysfsRoot({});
        QDir(platform::PortsFolder()).removeRecursively();
        ResetLogState();
        SettingsFixture::TearDown();
    }

    // An explicit port map entry: ports/COM<n> pointing at target.
    static void LinkPort(const QString& comName, const QString& target) {
        ASSERT_TRUE(QFile::link(target, platform::PortsFolder() + QLatin1Char('/') + comName));
    }
    // A kernel tty under the fake device tree; a ttyS gets its UART type.
    void AddKernelTty(const QString& name, int uartType = -1) const {
        const QString dir = sysfs_->path() + QStringLiteral("/class/tty/") + name;
        ASSERT_TRUE(QDir().mkpath(dir));
        if (uartType >= 0) {
            QFile type(dir + QStringLiteral("/type"));
            ASSERT_TRUE(type.open(QIODevice::WriteOnly));
            type.write(QByteArray::number(uartType) + '\n');
        } else {
            ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/device")));
        }
    }
    // The log lines written since SetUp, oldest first.
    static QStringList LogTexts() {
        QStringList lines;
        for (int i = 0; i < LogWritePos; ++i)
            lines << LogLines[static_cast<std::size_t>(i)];
        return lines;
    }
    QStringList PlainMessages() const {
        QStringList texts;
        for (const auto& m : user->messages)
            if (m.kind == QLatin1String("plain"))
                texts << m.text;
        return texts;
    }

    std::unique_ptr<RecordingInteraction> user;

private:
    std::unique_ptr<QTemporaryDir> sysfs_;
};
