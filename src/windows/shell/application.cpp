#include "shell/application.h"

#include "archive/archive_store.h"
#include "platform/instance_signal.h"
#include "shell/app_icon.h"
#include "shell/app_windows.h"
#include "shell/qt_russian.h"
#include "shell/relcon4_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>

// QT_LOGGING_RULES="relcon4.startup.debug=true" prints the start-up time.
Q_LOGGING_CATEGORY(lcStartup, "relcon4.startup", QtWarningMsg)

int RunRelcon4(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    LoadArchiveDriver();
    qCDebug(lcStartup) << "application ready after" << sinceStart.elapsed() << "ms";
    QApplication::setApplicationName(QStringLiteral("Relcon4"));
    // Matches the installed relcon4.desktop, so the desktop groups our windows under it.
    QGuiApplication::setDesktopFileName(QStringLiteral("relcon4"));
    QApplication::setWindowIcon(AppIcon());
    InstallQtRussian();

    // Decided before any window exists: a later copy wakes the first and leaves.
    InstanceSignal instance(QStringLiteral("Relcon4_UNIQUE_EVENT"));
    if (!instance.acquire()) {
        instance.signalFirst();
        return 0;
    }

    CreateAppWindows();
    qCDebug(lcStartup) << "windows created after" << sinceStart.elapsed() << "ms";
    QObject::connect(Relcon4, &TRelcon4::activated, Relcon4, [&sinceStart] {
        qCDebug(lcStartup) << "main window enabled after" << sinceStart.elapsed() << "ms";
    });
    QObject::connect(&instance, &InstanceSignal::woken, Relcon4,
                     [] { Relcon4->RestoreMainWindow(); });
    // Closing the main window ends the program even though the log window may be open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(Relcon4, &TRelcon4::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    const int code = QApplication::exec();
    DestroyAppWindows();
    return code;
}
