// Takes the pictures of the user guide: starts the program's windows as the
// program does, shows each page in turn after talking to a simulated unit,
// and grabs it from the screen. Run it under a real X server
// (scripts/screenshots starts Xvfb and the simulators); pictures grabbed from
// the screen show what a user sees, fonts and all.
#include "archive/archive_form.h"
#include "archive/archive_recorder.h"
#include "devices/compare/compare_form.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "port/param_port_form.h"
#include "shell/app_icon.h"
#include "shell/app_windows.h"
#include "shell/qt_russian.h"
#include "shell/relcon4_window.h"
#include "shell/start_form.h"
#include "shell/unattended_interaction.h"

#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
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
    const QRect area = window->frameGeometry();
    const QPixmap shot =
        window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const bool saved = !shot.isNull() && shot.save(path);
    QTextStream(stdout) << (saved ? "saved " : "FAILED ") << path << Qt::endl;
    return saved;
}

struct PageShot {
    const char* file;
    const char* unit;
    const char* button;
    const char* statusLabel;
};

// Points the program at a unit's port and presses the page's first command,
// so the picture shows what the unit answered.
void Talk(const QString& port, const PageShot& page) {
    const char* buttonName = page.button;
    if (port.isEmpty())
        return;
    ExchangeState.PortName[0] = port;
    Relcon4->prShowPortOnButton(PortButtonCaption(port));
    if (!buttonName)
        return;
    auto* button = Relcon4->findChild<QPushButton*>(QLatin1String(buttonName));
    if (!button || !button->isEnabled())
        return;
    button->click();
    QElapsedTimer wait;
    wait.start();
    while (Relcon4->fBlockPressKey && wait.elapsed() < 10000)
        Settle(50);
    const auto* status = Relcon4->findChild<QLabel*>(QLatin1String(page.statusLabel));
    if (status && status->text().contains(QStringLiteral("ошибк")))
        QTextStream(stderr) << "warning: " << page.file << ": " << status->text() << Qt::endl;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Relcon4"));
    QApplication::setWindowIcon(AppIcon());
    InstallQtRussian();
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("outdir"), QStringLiteral("where the PNGs go"));
    for (const char* unit : {"ro4d", "ri1r", "zi2z3"})
        parser.addOption({QLatin1String(unit), QStringLiteral("port of a simulated unit"),
                          QStringLiteral("COMn")});
    parser.addHelpOption();
    parser.process(app);
    if (parser.positionalArguments().size() != 1 ||
        QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QTextStream(stderr) << "usage: relcon4-screens [--ro4d COMn] [--ri1r COMn] [--zi2z3 COMn] "
                               "OUTDIR (under an X server)\n";
        return 2;
    }
    const QDir out(parser.positionalArguments().first());
    QDir().mkpath(out.path());
    // Nobody is there to answer: every message is printed, every question gets its default.
    UnattendedInteraction unattended(
        [](const QString& lines) { QTextStream(stderr) << "message: " << lines << Qt::endl; });

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
    Relcon4->move(0, 0);
    // The pages' commands below leave their records under this object.
    SetArchiveObject(QStringLiteral("Школа № 5, корпус 2"), false);
    const PageShot pages[] = {{"page1-commands.png", "ro4d", "RdDataButton", "StatusLabel1"},
                              {"page2-mode.png", "ro4d", nullptr, nullptr},
                              {"page3-times.png", "ro4d", nullptr, nullptr},
                              {"page4-ri1r.png", "ri1r", "Button5", "StatusLabel2"},
                              {"page5-bench.png", "zi2z3", "Button17", "StatusLabel3"}};
    for (int i = 0; i < Relcon4->PageControl1->count() && i < 5; ++i) {
        Relcon4->PageControl1->setCurrentIndex(i);
        Talk(parser.value(QLatin1String(pages[i].unit)), pages[i]);
        ok = Grab(Relcon4, out.filePath(QLatin1String(pages[i].file))) && ok;
    }
    Relcon4->PageControl1->setCurrentIndex(0);
    // The difference window: two page values changed, then compared with the unit.
    if (const QString ro4d = parser.value(QStringLiteral("ro4d")); !ro4d.isEmpty()) {
        for (const auto& [edit, value] : {std::pair{"T_end_Edit", "12"}, {"VoltHiBtnEdit", "3.10"}})
            if (auto* e = Relcon4->findChild<QLineEdit*>(QLatin1String(edit)))
                e->setText(QLatin1String(value));
        Talk(ro4d, {"compare-window.png", "ro4d", "ComparePageButton", "StatusLabel1"});
        if (TCompareForm* form = CompareFormOf(Relcon4)) {
            form->move(0, 0);
            ok = Grab(form, out.filePath(QStringLiteral("compare-window.png"))) && ok;
            form->hide();
        }
    }
    // The archive window with the records the pages' commands left.
    if (TArchiveForm* archive = ArchiveFormOf(Relcon4)) {
        archive->move(0, 0);
        archive->ShowArchive();
        archive->RecordsTable->selectRow(0);
        ok = Grab(archive, out.filePath(QStringLiteral("archive-window.png"))) && ok;
        archive->hide();
    }
    MonitorForm->move(0, 0);
    MonitorForm->show();
    ok = Grab(MonitorForm, out.filePath(QStringLiteral("log-window.png"))) && ok;
    MonitorForm->TimeLogCheckBox->setChecked(true);
    ok = Grab(MonitorForm, out.filePath(QStringLiteral("log-window-times.png"))) && ok;
    MonitorForm->TimeLogCheckBox->setChecked(false);
    MonitorForm->hide();
    ParamPortForm->move(0, 0);
    ParamPortForm->show();
    ok = Grab(ParamPortForm, out.filePath(QStringLiteral("exchange-settings.png"))) && ok;
    ParamPortForm->hide();
    DestroyAppWindows();
    return ok ? 0 : 1;
}
