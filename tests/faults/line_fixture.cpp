#include "line_fixture.h"

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "port/port_watchdog.h"
#include "port/settings_file.h"
#include "serial/com_port.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/log_lines.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>

namespace line {

namespace {

using namespace std::chrono_literals;

struct LineState {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<sim::SimServer> server;
    std::unique_ptr<RecordingInteraction> user;
    int programEnds = 0;
    int missTimeOutMs = kMissTimeOutMs;
    int replyTimeOutMs = kReplyTimeOutMs;
};
LineState state;

} // namespace

void LineFixture::StartLine(std::unique_ptr<sim::SimUnit> unit, int missTimeOutMs,
                            int replyTimeOutMs) {
    QLocale::setDefault(QLocale::c());
    state.folder = std::make_unique<QTemporaryDir>();
    // Only the simulated unit is a port here: no hardware is scanned, and the
    // settings file goes to a scratch folder.
    platform::SetSysfsRoot(state.folder->path());
    SettingsDirOverride = state.folder->path();
    QDir(platform::PortsFolder()).removeRecursively();
    QDir().mkpath(platform::PortsFolder());
    ExchangeState.Reset();
    ResetAppGlobals();
    ResetExchangeSettings();
    ResetLogState();
    ResetPortWatchdog();
    // A watchdog that gives up must not end the test program.
    SetProgramEndHook([](int) { ++state.programEnds; });
    state.user = std::make_unique<RecordingInteraction>();
    state.server = std::make_unique<sim::SimServer>(std::move(unit));
    // Every piece at once, as each fault times it: how a paced bench's
    // packets fall into the watch's reads is the bench's own tests' business.
    state.server->setLineRate(0);
    const QString com = state.server->start();
    ASSERT_FALSE(com.isEmpty()) << state.server->errorString().toStdString();
    CreateAppWindows(false);
    Relcon4->prActivateMasterForm(nullptr);
    Relcon4->CrashComTimer->stop();
    ExchangeState.PortName[0] = com;
    ExchangeState.NumOfRepeat = kAttempts;
    state.missTimeOutMs = missTimeOutMs;
    state.replyTimeOutMs = replyTimeOutMs;
    TimeOut = replyTimeOutMs;
    PreSendPause = kPreSendPauseMs;
    ASSERT_TRUE(state.user->messages.empty());
}

void LineFixture::StopLine() {
    if (Relcon4 && Relcon4->CrashComTimer)
        Relcon4->CrashComTimer->stop();
    DestroyAppWindows();
    state.server.reset();
    state.user.reset();
    SetProgramEndHook({});
    ResetPortWatchdog();
    platform::SetSysfsRoot({});
    QDir(platform::PortsFolder()).removeRecursively();
    SettingsDirOverride.clear();
    ResetLogState();
    ResetExchangeSettings();
    ExchangeState.Reset();
    state.folder.reset();
}

sim::SimServer& LineFixture::server() {
    return *state.server;
}

RecordingInteraction& LineFixture::user() {
    return *state.user;
}

QAbstractButton* LineFixture::button(const char* name) const {
    return find<QAbstractButton>(name);
}

QLineEdit* LineFixture::edit(const char* name) const {
    return find<QLineEdit>(name);
}

QString LineFixture::status() const {
    const QLabel* label = find<QLabel>(statusLabel());
    return label ? label->text() : QString();
}

void LineFixture::type(const char* editor, const QString& text) {
    QLineEdit* e = edit(editor);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->isEnabled()) << editor;
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
    ASSERT_EQ(e->text(), text) << editor;
}

Press LineFixture::press(const char* name) {
    Press p;
    QAbstractButton* b = button(name);
    if (b == nullptr)
        return p;
    EXPECT_TRUE(b->isEnabled()) << name;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&p] { ++p.ticks; });
    ticker.start();
    QElapsedTimer clock;
    clock.start();
    // The command runs inside the click and returns when it has finished.
    QTest::mouseClick(b, Qt::LeftButton);
    p.elapsedMs = static_cast<int>(clock.elapsed());
    ticker.stop();
    return p;
}

void LineFixture::addFault(LineFault fault, int after, int attempts) {
    auto unit = server().unit();
    unit->faults().clear();
    unit->faults().add(SimFault(fault, after, attempts, state.missTimeOutMs, state.replyTimeOutMs));
}

int LineFixture::TimeOutFor(const LineCommand& command, LineFault fault) {
    return Expected(command, fault) == Expect::Failed ? state.missTimeOutMs : state.replyTimeOutMs;
}

bool LineFixture::waitQuiet() {
    return testenv::WaitFor([] { return state.server->quiet(); }, 5s);
}

void LineFixture::expectIdle(const char* when) {
    EXPECT_FALSE(Relcon4->fBlockPressKey) << when;
    EXPECT_FALSE(ExchangeState.PortOpen[0]) << when << ": the port is open only during a command";
    EXPECT_FALSE(MonitorForm->ComPortD1->Connected()) << when;
}

void LineFixture::runCase() {
    const LineCommand& command = *GetParam().command;
    const LineFault fault = GetParam().fault;
#ifdef _WIN32
    if (fault == LineFault::Drop)
        GTEST_SKIP() << "a linked COM pair cannot be unplugged and plugged back in";
#endif
    prepare(command);
    ASSERT_FALSE(HasFatalFailure());
    server().unit()->clearRequests();
    user().messages.clear();
    ResetLogState();
    const std::vector<TypedEntry> typed = entries();
    for (const TypedEntry& e : typed)
        type(e.editor, e.text);
    ASSERT_FALSE(HasFatalFailure());
    addFault(fault, command.faultAfter);

    TimeOut = TimeOutFor(command, fault);
    const Press p = press(command.button);
    TimeOut = state.replyTimeOutMs;
    // A failed send marks the port for the watchdog; the recovery below runs
    // it by hand, so its timer must not take it up meanwhile.
    if (ExchangeState.PortCrash[0])
        Relcon4->CrashComTimer->stop();
    RecordProperty("elapsed_ms", p.elapsedMs);

    // 1. The status the command ends in.
    EXPECT_EQ(status(), ExpectedStatus(command, fault))
        << LogLinesIn(clLogRed).join('|').toStdString();
    // A reply taken with a wrong checksum or end mark is marked in red, naming
    // what was expected and what came.
    if (fault == LineFault::Crc) {
        EXPECT_EQ(LogLinesIn(clLogRed).filter(QStringLiteral(": ожидал")).size(), 1)
            << LogLinesIn(clLogRed).join('|').toStdString();
    }
    // 2. No hang, and the event loop kept running.
    EXPECT_LT(p.elapsedMs, DeadlineMs(command, TimeOutFor(command, fault)));
    EXPECT_GT(p.ticks, 0) << "no event was processed while the command ran";
    // 3. The port is let go.
    expectIdle("after the fault");
    // 4. What the user typed is still there, unless a reply was meant to fill it.
    for (const TypedEntry& e : typed)
        if (!MayFill(command, fault, e.editor)) {
            EXPECT_EQ(edit(e.editor)->text(), e.text) << e.editor;
        }
    // The page's status says it all: no message box in the middle of a fault.
    EXPECT_TRUE(user().messages.empty()) << user().texts().join('|').toStdString();
    EXPECT_EQ(state.programEnds, 0);

    // A command that succeeded has shown all it can; one that failed has to
    // show that the unit and the port are usable again.
    if (Expected(command, fault) != Expect::Failed && Expected(command, fault) != Expect::Refused)
        return;
    recover(fault);
    const LineCommand& next = command.replies <= 1 ? command : quickCommand();
    prepare(next);
    ASSERT_FALSE(HasFatalFailure());
    press(next.button);
    EXPECT_EQ(status(), next.done) << next.name << " once the fault has cleared";
    expectIdle("after the recovery");
    EXPECT_EQ(state.programEnds, 0);
}

void LineFixture::recover(LineFault fault) {
    // A late reply still on its way would meet the next command.
    EXPECT_TRUE(waitQuiet());
    server().unit()->faults().clear();
    if (fault != LineFault::Drop)
        return;
    EXPECT_FALSE(server().lineUp());
    // The user plugs the adapter back in (a new line under the same name).
    ASSERT_TRUE(server().replug());
    if (ExchangeState.PortCrash[0]) {
        // What the watchdog does once its timer runs out: it says the data did
        // not leave, rescans, finds the port again and reopens it.
        Relcon4->CrashComTimer->stop();
        Relcon4->CrashComTimerTimer(nullptr);
        EXPECT_FALSE(ExchangeState.PortCrash[0]);
        EXPECT_TRUE(user().texts().contains(watchdog_text::kNotSent))
            << user().texts().join('|').toStdString();
        EXPECT_FALSE(user().texts().contains(watchdog_text::kPortGone));
    }
    user().messages.clear();
}

} // namespace line
