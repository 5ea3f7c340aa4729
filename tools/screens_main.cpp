// Takes the pictures of the user guide: starts the program's windows as the
// program does, then shows each page in turn and grabs it from the screen.
// Run it under a real X server (scripts/screenshots starts Xvfb); pictures
// grabbed from the screen show what a user sees, fonts and all.
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "port/param_port_form.h"
#include "shell/app_icon.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextStream>

namespace {

// Lets the window system draw what was just shown.
void Settle(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Grab(QWidget* window, const QString& path) {
    window->raise();
    window->activateWindow();
    Settle(400);
    QScreen* screen = window->screen();
    const QRect area = window->frameGeometry();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool saved = !shot.isNull() && shot.save(path);
    QTextStream(stdout) << (saved ? "saved " : "FAILED ") << path << Qt::endl;
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relcon4"));
    QApplication::setWindowIcon(AppIcon());
    const QStringList args = QApplication::arguments();
    if (args.size() < 2 || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QTextStream(stderr) << "usage: relcon4-screens OUTDIR [COMn] (under an X server)\n";
        return 2;
    }
    const QDir out(args.at(1));
    QDir().mkpath(out.path());
    const QString port = args.size() > 2 ? args.at(2) : QString();

    CreateAppWindows(true);
    bool ok = Grab(StartForm, out.filePath(QStringLiteral("splash.png")));
    QElapsedTimer wait;
    wait.start();
    while (!Relcon4->IsActivated() && wait.elapsed() < 20000)
        Settle(50);
    if (!Relcon4->IsActivated()) {
        QTextStream(stderr) << "the main window was not enabled\n";
        return 1;
    }
    if (!port.isEmpty()) {
        ExchangeState.PortName[0] = port;
        Relcon4->Button1->setText(PortButtonCaption(port));
    }
    Relcon4->move(0, 0);
    const char* pages[] = {"page1-commands.png", "page2-mode.png", "page3-times.png",
                           "page4-ri1r.png", "page5-bench.png"};
    for (int i = 0; i < Relcon4->PageControl1->count() && i < 5; ++i) {
        Relcon4->PageControl1->setCurrentIndex(i);
        ok = Grab(Relcon4, out.filePath(QLatin1String(pages[i]))) && ok;
    }
    Relcon4->PageControl1->setCurrentIndex(0);
    MonitorForm->show();
    ok = Grab(MonitorForm, out.filePath(QStringLiteral("log-window.png"))) && ok;
    MonitorForm->hide();
    ParamPortForm->show();
    ok = Grab(ParamPortForm, out.filePath(QStringLiteral("exchange-settings.png"))) && ok;
    ParamPortForm->hide();
    DestroyAppWindows();
    return ok ? 0 : 1;
}
