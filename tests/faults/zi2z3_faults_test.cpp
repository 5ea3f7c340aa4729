// The ZI2-Z3 bench page against every fault on the line: its session and
// settings commands, and its bench commands with the background watch that
// takes the bench's packets.
#include "line_fixture.h"

#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "support/test_env.h"
#include "zi2z3_unit.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <map>

namespace line {
namespace {

using namespace std::chrono_literals;

const QString kDone = QStringLiteral("Статус: успешно");
const QString kLinkFailed = QStringLiteral("Статус: ошибки связи");

std::vector<TypedEntry> SettingsEntries() {
    return {{"QV2_T11_Edit", QStringLiteral("44")}, {"QV2_T23_Edit", QStringLiteral("77")}};
}

// ---- session and settings ----

// The session's faults hit its "R"; a reread empties the settings whatever comes.
const std::vector<LineCommand> kSessionCommands{
    {"SessionStart",
     "Button17",
     2,
     8,
     1,
     false,
     kDone,
     kLinkFailed,
     {},
     {{"QV2_T11_Edit", 1}, {"QV2_T23_Edit", 1}},
     true},
    {"Reread",
     "QV2_RereadButton",
     1,
     3,
     0,
     false,
     kDone,
     kLinkFailed,
     {},
     {{"QV2_T11_Edit", kClears}, {"QV2_T23_Edit", kClears}},
     true},
    {"WriteSettings", "QV2_WriteButton", 1, 9, 0, true, kDone, kLinkFailed, kLinkFailed, {}, true},
};

class Zi2z3OnLine : public LineFixture {
protected:
    static void SetUpTestSuite() { StartLine(std::make_unique<sim::Zi2z3Unit>()); }
    static void TearDownTestSuite() { StopLine(); }

    QList<QWidget*> roots() const override { return {Relcon4->TabSheet4}; }
    const char* statusLabel() const override { return "StatusLabel3"; }
    std::vector<TypedEntry> entries() const override { return SettingsEntries(); }
    void prepare(const LineCommand&) override {}
    const LineCommand& quickCommand() const override { return kSessionCommands[1]; }
};

TEST_P(Zi2z3OnLine, EndsInItsStatusAndKeepsTheEntries) {
    runCase();
}

INSTANTIATE_TEST_SUITE_P(Commands, Zi2z3OnLine, ::testing::ValuesIn(Cases(kSessionCommands)),
                         CaseName);

// ---- bench commands and the watch ----

// A bench command is sent without a reply; the bench answers with packets.
LineCommand Bench(const char* name, const char* button, const char* sent) {
    return {name, button, 0, 3, 0, false, QString::fromUtf8(sent), kLinkFailed, {}, {}};
}

const std::vector<LineCommand> kBenchCommands{
    Bench("Statuses", "QV2_cmd00_Button", "Статус: команда чтения статусов отправлена"),
    Bench("IdleVoltages", "QV2_cmd01_Button",
          "Статус: команда чтения напряжений USB (холостой ход) отправлена"),
    Bench("WorkVoltages", "QV2_cmd02_Button",
          "Статус: команда чтения напряжений USB (установлены QV2) отправлена"),
    Bench("SupplyVoltages", "QV2_cmd03_Button",
          "Статус: команда чтения Блока Питания QV2 отправлена"),
    Bench("Currents", "QV2_cmd04_Button", "Статус: команда чтения токов потребления отправлена"),
    Bench("PresetTimes", "QV2_cmd05_Button",
          "Статус: команда чтения тек. программы работы отправлена"),
    Bench("MeasuredTimes", "QV2_cmd06_Button",
          "Статус: команда чтения измеренных задержек отправлена"),
    Bench("StartTest", "QV2_cmd80_Button", "Статус: команда старта тестирования отправлена"),
};

// What the bench sends back: how many packets, how the first one's log line
// starts after the checksum word, and a field it fills (none for statuses).
struct BenchAnswer {
    int packets;
    QString line;
    const char* field;
};
const std::map<std::string, BenchAnswer> kAnswers{
    {"QV2_cmd00_Button", {1, QStringLiteral(", к.1 : 00, к.2 : 00"), nullptr}},
    {"QV2_cmd01_Button", {1, QStringLiteral(", U1 = 5.07V, U2 = 5.04V"), "U1hhEdit"}},
    {"QV2_cmd02_Button", {1, QStringLiteral(", U1 = 4.92V, U2 = 4.95V"), "U1izmEdit"}},
    {"QV2_cmd03_Button", {1, QStringLiteral(", U1 = 12.05V, U2 = 12.03V"), "U1izmEdit"}},
    {"QV2_cmd04_Button", {1, QStringLiteral(", I1 = 42.15mA, I2 = 41.80mA"), "I1izmEdit"}},
    {"QV2_cmd05_Button", {1, QString(), "T1Zon11Edit"}},
    {"QV2_cmd06_Button", {2, QStringLiteral(", к.1, Ton11="), "T1Ion11Edit"}},
    {"QV2_cmd80_Button", {3, QStringLiteral(", к.1 : 00, к.2 : 00"), nullptr}},
};

// What becomes of the first packet.
enum class Packet { Shown, BadSum, Lost, LineDown };
Packet PacketOutcome(LineFault fault) {
    switch (fault) {
    case LineFault::Crc:
    case LineFault::Short: // its missing bytes never come; the sum cannot match
        return Packet::BadSum;
    case LineFault::Silence:
    case LineFault::Garbage: // a read that starts with no packet letter is dropped whole
        return Packet::Lost;
    case LineFault::Drop:
        return Packet::LineDown;
    default:
        return Packet::Shown;
    }
}

QStringList LinesIn(TLogColor color) {
    QStringList lines;
    for (int i = 0; i < LogWritePos; ++i)
        if (LogLineColor[static_cast<std::size_t>(i)] == color)
            lines << LogLines[static_cast<std::size_t>(i)];
    return lines;
}

qsizetype LinesOf(TLogColor color) {
    return LinesIn(color).size();
}

// The whole log, colour by colour, for failure messages.
std::string DumpLog() {
    std::string out;
    for (int i = 0; i < LogWritePos; ++i)
        out += QString::number(LogLineColor[static_cast<std::size_t>(i)], 16).toStdString() + " " +
               LogLines[static_cast<std::size_t>(i)].toStdString() + "\n";
    return out;
}

// Decoded packets' log lines so far.
QStringList GreenLines() {
    return LinesIn(clLogGreen);
}

int LinesStarting(const QString& start) {
    int n = 0;
    for (const QString& l : GreenLines())
        n += l.startsWith(start);
    return n;
}

class BenchOnLine : public LineFixture {
protected:
    static void SetUpTestSuite() {
        // Short, so a watch read ends well before the next packet of an
        // answer (100 ms later) and takes the packets one by one.
        StartLine(std::make_unique<sim::Zi2z3Unit>(), 40, 40);
        server().unit<sim::Zi2z3Unit>()->setTestDurationMs(150);
    }
    static void TearDownTestSuite() { StopLine(); }

    QList<QWidget*> roots() const override { return {Relcon4->TabSheet4}; }
    const char* statusLabel() const override { return "StatusLabel3"; }
    std::vector<TypedEntry> entries() const override { return SettingsEntries(); }
    const LineCommand& quickCommand() const override { return kBenchCommands[0]; }
    void prepare(const LineCommand&) override {
        if (button("QV2_start_Button")->isEnabled())
            press("QV2_start_Button");
        ASSERT_TRUE(ExchangeState.PortOpen[0]) << "the watch holds the port";
    }
    void stopWatch() {
        press("QV2_stop_Button");
        EXPECT_EQ(status(), QStringLiteral("Статус: освобождение СОМ-порта выполнено"));
        expectIdle("after the watch");
    }
    // The whole answer has come and been taken by the watch.
    static bool waitAnswer(int lines) {
        return testenv::WaitFor([&] { return server().quiet() && GreenLines().size() >= lines; },
                                4s);
    }
    void expectShown(const BenchAnswer& a, const QString& sum) {
        EXPECT_TRUE(testenv::WaitFor([&] { return LinesStarting(sum + a.line) > 0; }, 4s))
            << DumpLog();
        if (a.field) {
            EXPECT_TRUE(testenv::WaitFor([&] { return !edit(a.field)->text().isEmpty(); }, 4s))
                << a.field;
        }
    }
    void runBenchCase();
};

void BenchOnLine::runBenchCase() {
    const LineCommand& command = *GetParam().command;
    const LineFault fault = GetParam().fault;
    const BenchAnswer& answer = kAnswers.at(command.button);
    prepare(command);
    ASSERT_FALSE(HasFatalFailure());
    ResetLogState();
    user().messages.clear();
    server().unit()->clearRequests();
    for (const TypedEntry& e : entries())
        type(e.editor, e.text);
    // The watch has no attempts: the fault hits the answer's first packet only.
    addFault(fault, 0, 1);

    const Press p = press(command.button);
    if (ExchangeState.PortCrash[0])
        Relcon4->CrashComTimer->stop();
    RecordProperty("elapsed_ms", p.elapsedMs);
    // The frame has left: the bench was asked.
    EXPECT_EQ(status(), command.done);
    EXPECT_LT(p.elapsedMs, DeadlineMs(command, TimeOutFor(command, fault)));
    EXPECT_GT(p.ticks, 0);
    EXPECT_FALSE(Relcon4->fBlockPressKey);

    switch (PacketOutcome(fault)) {
    case Packet::Shown:
        expectShown(answer, QStringLiteral("CRC-ok"));
        EXPECT_TRUE(waitAnswer(answer.packets));
        break;
    case Packet::BadSum:
        EXPECT_TRUE(
            testenv::WaitFor([] { return LinesStarting(QStringLiteral("CRC-err")) > 0; }, 4s))
            << GreenLines().join('|').toStdString();
        EXPECT_TRUE(waitAnswer(answer.packets));
        break;
    case Packet::Lost:
        // The later packets of the answer still come; the first is not shown.
        if (fault == LineFault::Garbage) {
            // The watch has read the stray bytes with the packet behind them.
            EXPECT_TRUE(testenv::WaitFor([] { return LinesOf(clLogRed) > 0; }, 4s));
        }
        EXPECT_TRUE(waitAnswer(answer.packets - 1));
        EXPECT_EQ(GreenLines().size(), answer.packets - 1) << GreenLines().join('|').toStdString();
        if (!answer.line.isEmpty()) {
            EXPECT_EQ(LinesStarting(QStringLiteral("CRC-ok") + answer.line), 0);
        }
        break;
    case Packet::LineDown: {
        // The adapter is gone: the next command cannot leave, and says so.
        EXPECT_TRUE(testenv::WaitFor([] { return !server().lineUp(); }, 4s));
        const Press again = press(command.button);
        if (ExchangeState.PortCrash[0])
            Relcon4->CrashComTimer->stop();
        EXPECT_EQ(status(), kLinkFailed);
        EXPECT_LT(again.elapsedMs, DeadlineMs(command, TimeOutFor(command, fault)));
        EXPECT_TRUE(ExchangeState.PortCrash[0]) << "the watchdog takes over";
        break;
    }
    }
    for (const TypedEntry& e : entries())
        EXPECT_EQ(edit(e.editor)->text(), e.text) << e.editor;
    if (fault != LineFault::Drop) {
        EXPECT_TRUE(user().messages.empty()) << user().texts().join('|').toStdString();
    }
    stopWatch();
    // A packet that was shown, sound or not, is the watch going on as it should.
    if (PacketOutcome(fault) == Packet::Shown || PacketOutcome(fault) == Packet::BadSum)
        return;

    // The bench answers again (the adapter back in): a command gets its packet shown.
    recover(fault);
    ResetLogState();
    const LineCommand& next = quickCommand();
    prepare(next);
    ASSERT_FALSE(HasFatalFailure());
    press(next.button);
    EXPECT_EQ(status(), next.done);
    expectShown(kAnswers.at(next.button), QStringLiteral("CRC-ok"));
    EXPECT_TRUE(waitAnswer(kAnswers.at(next.button).packets));
    stopWatch();
}

TEST_P(BenchOnLine, IsSentAndTheWatchShowsWhatCame) {
#ifdef _WIN32
    if (GetParam().fault == LineFault::Drop)
        GTEST_SKIP() << "a linked COM pair cannot be unplugged and plugged back in";
#endif
    runBenchCase();
}

// The watch has no time-out a packet could miss: late is late.
INSTANTIATE_TEST_SUITE_P(Commands, BenchOnLine,
                         ::testing::ValuesIn(Cases(kBenchCommands, {LineFault::LateWithin})),
                         CaseName);

} // namespace
} // namespace line
