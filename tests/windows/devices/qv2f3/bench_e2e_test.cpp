// The bench page on a real pseudo-terminal against the simulated ZI2-Z3 bench:
// the watch takes the packets the bench sends and the page and log show them.
#include "com_link.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "engine/transaction.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/log_text.h"
#include "exchange/monitor_form.h"
#include "platform/port_map.h"
#include "platform/pty.h"
#include "platform/user_folders.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "sim_server.h"
#include "support/log_lines.h"
#include "support/recording_interaction.h"
#include "support/test_env.h"
#include "zi2z3_unit.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace std::chrono_literals;

// Generous against a loaded machine: a packet normally shows within
// TimeOut + a few polling periods (well under 300 ms).
constexpr auto kDeadline = 4s;

class BenchWire : public ::testing::Test {
protected:
    void SetUp() override {
        ResetExchangeSettings();
        ExchangeState.Reset();
        sysfs_ = std::make_unique<QTemporaryDir>();
        platform::SetSysfsRoot(sysfs_->path());
        QDir(platform::PortsFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(platform::PortsFolder()));
        user_ = std::make_unique<RecordingInteraction>();
        startLine();
        ASSERT_FALSE(com_.isEmpty());
        CreateAppWindows(false);
        Relcon4->prActivateMasterForm(nullptr);
        // The exchange settings as a technician finds them (a 100 ms time-out,
        // as long as the gap between two packets of one answer), and the bench
        // paced as on its 9600 baud line.
        ExchangeState.PortName[0] = com_;
        LogHex = false;
        ResetLogState();
        page_ = Qv2f3Page;
        ASSERT_NE(page_, nullptr);
    }
    // The simulated bench on a line of its own, listed as a COM port.
    virtual void startLine() {
        server_ = std::make_unique<sim::SimServer>(std::make_unique<sim::Zi2z3Unit>());
        if (!paced_)
            server_->setLineRate(0);
        com_ = server_->start();
        ASSERT_FALSE(com_.isEmpty()) << server_->errorString().toStdString();
        server_->unit<sim::Zi2z3Unit>()->setTestDurationMs(150);
    }
    void TearDown() override {
        if (page_ && ExchangeState.PortOpen[0])
            page_->QV2_stop_ButtonClick();
        DestroyAppWindows();
        server_.reset();
        user_.reset();
        platform::SetSysfsRoot({});
        QDir(platform::PortsFolder()).removeRecursively();
        ResetLogState();
        ResetExchangeSettings();
    }

    QString text(const char* name) const {
        auto* edit = page_->findChild<QLineEdit*>(QString::fromLatin1(name));
        return edit ? edit->text() : QStringLiteral("<none>");
    }
    QString status() const {
        return page_->findChild<QLabel*>(QStringLiteral("StatusLabel3"))->text();
    }
    bool checked(const char* name) const {
        return page_->findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
    }
    bool enabled(const char* name) const {
        return page_->findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled();
    }
    // Index of the first log line (oldest first) equal to line with colour, -1 if none.
    static int logIndex(const QString& line, TLogColor color) {
        for (int i = 0; i < LogWritePos; ++i)
            if (LogLines[static_cast<std::size_t>(i)] == line &&
                LogLineColor[static_cast<std::size_t>(i)] == color)
                return i;
        return -1;
    }
    static bool logHas(const QString& line) { return logIndex(line, clLogGreen) >= 0; }
    static int linesContaining(const QString& part, TLogColor color) {
        int n = 0;
        for (int i = 0; i < LogWritePos; ++i)
            if (LogLines[static_cast<std::size_t>(i)].contains(part) &&
                LogLineColor[static_cast<std::size_t>(i)] == color)
                ++n;
        return n;
    }
    static std::string dump() {
        std::string out;
        for (int i = 0; i < LogWritePos; ++i)
            out += QString::number(LogLineColor[static_cast<std::size_t>(i)], 16).toStdString() +
                   " " + LogLines[static_cast<std::size_t>(i)].toStdString() + "\n";
        return out;
    }
    void startWatch() {
        page_->QV2_start_ButtonClick();
        ASSERT_TRUE(ExchangeState.PortOpen[0]);
        ASSERT_TRUE(MonitorForm->ComPortD1->PhonReceive());
    }

    // The bench's bytes at the pace of its 9600 baud line, or every piece at once.
    bool paced_ = true;
    std::unique_ptr<QTemporaryDir> sysfs_;
    std::unique_ptr<RecordingInteraction> user_;
    std::unique_ptr<sim::SimServer> server_;
    QString com_;
    TQv2f3Page* page_ = nullptr;
};

// Pieces that must each come in one go (a first read holding more than one
// byte runs to its time-out).
class BenchWireAtOnce : public BenchWire {
protected:
    BenchWireAtOnce() { paced_ = false; }
};

TEST_F(BenchWire, WatchShowsEveryBenchAnswer) {
    {
        auto unit = server_->unit<sim::Zi2z3Unit>();
        unit->place(0).board = false;
        unit->place(1).idle = {12, 50};
        unit->delays() = {12, 3, 60, 5, 3, 60};
    }
    startWatch();
    EXPECT_EQ(status(), QStringLiteral("Статус: ожидание посылок"));
    EXPECT_FALSE(enabled("QV2_start_Button"));
    EXPECT_TRUE(enabled("QV2_stop_Button"));
    EXPECT_TRUE(enabled("QV2_cmd80_Button"));

    page_->QV2_cmd00_ButtonClick();
    EXPECT_EQ(status(), QStringLiteral("Статус: команда чтения статусов отправлена"));
    ASSERT_TRUE(testenv::WaitFor(
        [] { return logHas(QStringLiteral("CRC-ok, к.1 : 01, к.2 : 00")); }, kDeadline));
    EXPECT_TRUE(checked("CB1_noPlate"));
    EXPECT_FALSE(checked("CB2_noPlate"));
    // The green line comes before the red line of the read's first byte ("S" = 83).
    const int green = logIndex(QStringLiteral("CRC-ok, к.1 : 01, к.2 : 00"), clLogGreen);
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral(":  83 ("), clLogRed) > 0; }, kDeadline))
        << dump();
    for (int i = 0; i < LogWritePos; ++i) {
        if (LogLineColor[static_cast<std::size_t>(i)] == clLogRed) {
            EXPECT_GT(i, green);
        }
    }

    page_->QV2_cmd01_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor([this] { return text("U2hhEdit") == QStringLiteral("12.50"); },
                                 kDeadline));
    EXPECT_EQ(text("U1hhEdit"), QStringLiteral("5.07"));
    EXPECT_TRUE(logHas(QStringLiteral("CRC-ok, U1 = 5.07V, U2 = 12.50V")));

    // The first place's unit cannot be read (no board): its presets are unset.
    page_->QV2_cmd05_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor([this] { return text("T2Zon11Edit") == QStringLiteral("12"); },
                                 kDeadline));
    EXPECT_EQ(text("T1Zon11Edit"), QStringLiteral("-"));
    EXPECT_EQ(text("T1Zauto12Edit"), QStringLiteral("-"));
    EXPECT_EQ(text("T2Zauto12Edit"), QStringLiteral("60"));

    // Both places' measured times, 100 ms apart: neither may be lost, whether
    // the watch takes them in one read or in two.
    page_->QV2_cmd06_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral("CRC-ok, к.2, Ton11=0"), clLogGreen) > 0; },
        kDeadline))
        << dump();
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-ok, к.1, Ton11=0"), clLogGreen), 1);
    EXPECT_EQ(linesContaining(QStringLiteral(":  84 ("), clLogRed), 2) << "one line a packet";

    // A run, then its measured times of place 2 come as the last packet.
    {
        auto unit = server_->unit<sim::Zi2z3Unit>();
        unit->place(0).board = true;
    }
    page_->QV2_cmd80_ButtonClick();
    EXPECT_EQ(status(), QStringLiteral("Статус: команда старта тестирования отправлена"));
    ASSERT_TRUE(testenv::WaitFor([this] { return text("T2Ion11Edit") == QStringLiteral(" 11.98"); },
                                 kDeadline));
    EXPECT_EQ(text("T1Ion11Edit"), QStringLiteral(" 12.03"));
    EXPECT_EQ(text("T2Ion11Edit"), QStringLiteral(" 11.98"));
    EXPECT_TRUE(logHas(QStringLiteral("CRC-ok, к.1, Ton11=1203, Toff11=305, Tauto11=5996, "
                                      "Ton12=502, Toff12=306, Tauto12=5997, ")))
        << dump();
}

TEST_F(BenchWire, BadSumIsLoggedAndShown) {
    server_->unit()->faults().add({sim::FaultKind::BadChecksum, -1, 1});
    startWatch();
    page_->QV2_cmd01_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor(
        [] { return logHas(QStringLiteral("CRC-err, U1 = 5.07V, U2 = 5.04V")); }, kDeadline));
    EXPECT_EQ(text("U1hhEdit"), QStringLiteral("5.07"));
    EXPECT_EQ(text("U2hhEdit"), QStringLiteral("5.04"));
}

TEST_F(BenchWireAtOnce, PacketArrivingInTwoPiecesIsCompleted) {
    // The first read ends at the time-out with the first half; the second half
    // comes 150 ms after the first, inside the completion read's 120 ms window
    // that starts when the first read ends (margins of 30 ms or more each side).
    TimeOut = 120;
    server_->unit()->faults().add({sim::FaultKind::Split, 150, 1});
    startWatch();
    page_->QV2_cmd06_ButtonClick();
    EXPECT_EQ(status(), QStringLiteral("Статус: команда чтения измеренных задержек отправлена"));
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral("CRC-ok, к.2"), clLogGreen) > 0; }, kDeadline));
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-ok, к.1, Ton11=0"), clLogGreen), 1);
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-err"), clLogGreen), 0);
    EXPECT_EQ(text("T1Ion11Edit"), QStringLiteral("  0.00"));
}

TEST_F(BenchWire, PacketWhoseFirstByteArrivesAloneIsCompleted) {
    // The watch's read takes the type letter alone; the completion read waits
    // up to 120 ms for the other bytes, which come 60 ms later.
    TimeOut = 120;
    server_->unit()->faults().add({sim::FaultKind::SplitFirst, 60, 1});
    startWatch();
    page_->QV2_cmd06_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral("CRC-ok, к.1, Ton11=0"), clLogGreen) > 0; },
        kDeadline));
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-err"), clLogGreen), 0);
}

TEST_F(BenchWire, ShortPacketDecodesOnlyWhatArrived) {
    server_->unit()->faults().add({sim::FaultKind::Short, 2, 1});
    startWatch();
    page_->QV2_cmd01_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral("CRC-err"), clLogGreen) > 0; }, kDeadline));
    EXPECT_EQ(text("U1hhEdit"), QStringLiteral("5.07"));
    // Its hundredths never came: the field emptied before sending stays empty.
    EXPECT_EQ(text("U2hhEdit"), QString());
}

TEST_F(BenchWireAtOnce, GarbageIsOnlyLoggedAndTheWatchGoesOn) {
    server_->unit()->faults().add({sim::FaultKind::Garbage, 3, 1});
    startWatch();
    page_->QV2_cmd00_ButtonClick();
    ASSERT_TRUE(testenv::WaitFor(
        [] { return linesContaining(QStringLiteral(": 255 ("), clLogRed) > 0; }, kDeadline))
        << dump();
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-"), clLogGreen), 0);
    page_->QV2_cmd01_ButtonClick();
    ASSERT_TRUE(
        testenv::WaitFor([this] { return text("U1hhEdit") == QStringLiteral("5.07"); }, kDeadline));
}

TEST_F(BenchWire, StopFreesThePortForSessionCommands) {
    startWatch();
    page_->QV2_stop_ButtonClick();
    EXPECT_EQ(status(), QStringLiteral("Статус: освобождение СОМ-порта выполнено"));
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(enabled("QV2_start_Button"));
    EXPECT_FALSE(enabled("QV2_cmd00_Button"));

    page_->Button17Click();
    EXPECT_EQ(status(), QStringLiteral("Статус: успешно"));
    EXPECT_EQ(page_->findChild<QLabel*>(QStringLiteral("QV2MverLabel"))->text(),
              QStringLiteral("Устройство: ЗИ2З3"));
    EXPECT_EQ(text("QV2_T13_Edit"), QStringLiteral("60"));

    // With the watch off the port is closed and a bench command cannot go.
    page_->QV2_cmd00_ButtonClick();
    EXPECT_EQ(status(), QStringLiteral("Статус: ошибки связи"));
}

TEST_F(BenchWire, PacketDuringAnExchangeWaitsForItsEnd) {
    startWatch();
    // As inside an exchange that pumps messages while the bench answers.
    ExchangeRunning = true;
    TMasBytes frame{0x43, 0x01, 0x44};
    ASSERT_TRUE(MonitorForm->ComPortD1->SendString(&frame, 3));
    ExchangeState.RxExpected = 9;
    ASSERT_TRUE(
        testenv::WaitFor([] { return MonitorForm->ComPortD1->funDataIsOk() >= 6; }, kDeadline));
    MonitorForm->ComPortD1RxBuf();
    EXPECT_EQ(ExchangeState.RxExpected, 9);
    EXPECT_EQ(linesContaining(QStringLiteral("CRC-"), clLogGreen), 0);
    // Once the exchange is over the watch takes the packet.
    ExchangeRunning = false;
    ASSERT_TRUE(
        testenv::WaitFor([this] { return text("U1hhEdit") == QStringLiteral("5.07"); }, kDeadline));
}

// The watch as it reads a line on which the test writes the bench's bytes
// itself, piece by piece.
class BenchWatchRead : public BenchWire {
protected:
    void startLine() override {
        ASSERT_TRUE(pty_.open());
        ASSERT_TRUE(link_.create(pty_.slavePath(), 0));
        com_ = link_.name();
    }
    platform::PseudoTerminal pty_;
    sim::ComLink link_;
};

// The red line of a read's first byte, in decimal.
QString FirstByteLine(std::uint8_t b) {
    return QStringLiteral(": ") + LogByteText(b, false) + QStringLiteral(" (");
}

TEST_F(BenchWatchRead, EveryWholePacketOfAReadIsShownInOrder) {
    struct Piece {
        TMasBytes bytes;
        int afterMs; // after the piece before it
    };
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        QStringList green;                // decoded packets, in order
        std::vector<std::uint8_t> firsts; // red lines: each packet's first byte
    } const cases[] = {
        {"one packet", {{{0x53, 0x01, 0x10, 0x64}, 0}}, {"CRC-ok, к.1 : 01, к.2 : 10"}, {'S'}},
        {"two packets in one read",
         {{{0x53, 0x00, 0x00, 0x53, 0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF}, 0}},
         {"CRC-ok, к.1 : 00, к.2 : 00", "CRC-ok, U1 = 5.07V, U2 = 12.50V"},
         {'S', 'u'}},
        // The second packet's end comes after the first read: completed.
        {"a packet and the head of the next",
         {{{0x53, 0x01, 0x10, 0x64, 0x75, 0x06}, 0}, {{0x01, 0x0C, 0x32, 0xBA}, 150}},
         {"CRC-ok, к.1 : 01, к.2 : 10", "CRC-ok, U1 = 6.01V, U2 = 12.50V"},
         {'S', 'u'}},
        {"no type letter first", {{{0x58, 0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF}, 0}}, {}, {0x58}},
        {"a byte above 0x7F", {{{0xC3}, 0}}, {}, {0xC3}},
        // The rest never comes: only place 1 is shown, place 2 keeps 12.50.
        {"a packet cut short",
         {{{0x75, 0x05, 0x07, 0x09}, 0}},
         {"CRC-err, U1 = 5.07V, U2 = 9.?V"},
         {'u'}},
    };
    startWatch();
    for (const Case& c : cases) {
        ResetLogState();
        // On timers, so a piece comes while the watch is in the middle of a read.
        int at = 0;
        for (const Piece& p : c.pieces) {
            at += p.afterMs;
            QTimer::singleShot(at, [this, bytes = p.bytes] { EXPECT_TRUE(pty_.write(bytes)); });
        }
        // The reads' first-byte lines (a completion's command entry may be red too).
        const auto firstByteLines = [] {
            return LogLinesIn(clLogRed).filter(QRegularExpression(QStringLiteral("^ *\\d+ : ")));
        };
        ASSERT_TRUE(testenv::WaitFor(
            [&] { return firstByteLines().size() >= static_cast<qsizetype>(c.firsts.size()); },
            kDeadline))
            << c.name << "\n"
            << dump();
        EXPECT_EQ(LogLinesIn(clLogGreen).join('|').toStdString(), c.green.join('|').toStdString())
            << c.name << "\n"
            << dump();
        const QStringList red = firstByteLines();
        ASSERT_EQ(red.size(), static_cast<qsizetype>(c.firsts.size())) << c.name;
        for (std::size_t k = 0; k < c.firsts.size(); ++k)
            EXPECT_TRUE(red[static_cast<qsizetype>(k)].contains(FirstByteLine(c.firsts[k])))
                << c.name << ": " << red[static_cast<qsizetype>(k)].toStdString();
    }
    EXPECT_EQ(text("U1hhEdit"), QStringLiteral("5.07"));
    EXPECT_EQ(text("U2hhEdit"), QStringLiteral("12.50"));
}

} // namespace
