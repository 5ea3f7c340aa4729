// The program's windows inside a benchmark: created and activated as at
// start-up, with folders of their own and nobody to answer a message, so a
// message that would wait for the user is printed and answered at once.
#pragma once

#include "bench_common.h"

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "port/settings_file.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/unattended_interaction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <QUrl>

namespace bench {

// Messages are printed as progress and answered at once.
struct QuietInteraction : UnattendedInteraction {
    QuietInteraction()
        : UnattendedInteraction([](const QString& lines) { Progress("message: " + lines); }) {}
};

// What every bench program starts with: folders of its own (set before the
// application reads them), the application, and its arguments.
struct BenchProcess {
    BenchProcess(int& argc, char** argv) : app(Isolated(home, argc), argv) {}
    QTemporaryDir home;
    QApplication app;
    const QStringList args = QCoreApplication::arguments();

private:
    static int& Isolated(const QTemporaryDir& dir, int& argc) {
        IsolateFolders(dir);
        return argc;
    }
};

// Runs the event loop for ms milliseconds.
inline void RunEventsFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Creates the windows in a folder of their own; with the splash, waits for
// its countdown to activate the main window, as a real start does.
inline void OpenProgramWindows(const QTemporaryDir& home, bool splash) {
    platform::SetSysfsRoot(home.path() + QStringLiteral("/no-sysfs"));
    QDir().mkpath(platform::PortsFolder());
    SettingsDirOverride = home.path();
    ResetExchangeSettings();
    ExchangeState.Reset();
    CreateAppWindows(splash);
    if (!splash) {
        Relcon4->prActivateMasterForm(nullptr);
        return;
    }
    QEventLoop loop;
    QObject::connect(Relcon4, &TRelcon4::activated, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

template <class T = QAbstractButton> T* FindIn(QObject* scope, const char* name) {
    T* w = scope ? scope->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!w)
        Progress(QStringLiteral("no widget %1").arg(QLatin1String(name)));
    return w;
}

} // namespace bench
