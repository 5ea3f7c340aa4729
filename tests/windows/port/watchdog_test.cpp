// The port watchdog end to end: failed sends on a fake device and on a
// simulated unit over a real pseudo-terminal, slow openings, the end of the
// program (observed through the end hook) and runs that must not nest.
// Waits are conditions with deadlines of 10 s, far above the 1 s the
// watchdog's own timer takes, so a loaded machine slows the tests down
// without failing them.
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "platform/fake_serial_device.h"
#include "port/case_com_form.h"
#include "port/port_open.h"
#include "port/port_watchdog.h"
#include "port_fixture.h"
#include "ro4d_unit.h"
#include "serial/com_port.h"
#include "shell/relcon4_window.h"
#include "sim_server.h"
#include "support/test_env.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace watchdog_text;

namespace {

constexpr std::chrono::seconds kDeadline{10};
// The RO-4D version request and the length of its reply.
const std::vector<std::uint8_t> kVersionRequest{0x05, 0x01, 0x00, 0x14, 0x5D};
constexpr std::uint16_t kVersionReplyLength = 27;

class Watchdog : public PortFixture {
protected:
    void SetUp() override {
        PortFixture::SetUp();
        ResetPortWatchdog();
        SetProgramEndHook([this](int code) { endCodes.push_back(code); });
    }
    void TearDown() override {
        SetProgramEndHook({});
        ResetPortWatchdog();
        PortFixture::TearDown();
    }

    // One command's road: open, the version request, close.
    static bool AskVersion() {
        Relcon4->prOpenCloseCOM(0, true);
        const bool ok = SendVersionRequest();
        Relcon4->prOpenCloseCOM(0, false);
        return ok;
    }
    static bool SendVersionRequest() {
        TExchangeState& ex = ExchangeState;
        std::copy(kVersionRequest.begin(), kVersionRequest.end(), ex.TxBuf.begin());
        ex.TxLength = static_cast<std::uint16_t>(kVersionRequest.size());
        ex.RxExpected = kVersionReplyLength;
        return Relcon4->funSendReceive1(0);
    }
    // Until the watchdog has run and nothing is left for it.
    static bool WatchdogSettled() {
        return !PortWatchdogRunning() && !Relcon4->CrashComTimer->isActive() &&
               !ExchangeState.PortCrash[0];
    }
    // Answers every port dialog as "Принять" and records its tries label.
    void AcceptDialogs() {
        user->onDialog = [this](QDialog* dialog) {
            EXPECT_EQ(dialog, CaseComForm);
            dialogLabels << CaseComForm->CountShowLabel->text();
            return 1;
        };
    }

    std::vector<int> endCodes;
    QStringList dialogLabels;
};

// The fake device behind a listed COM3.
class WatchdogFake : public Watchdog {
protected:
    void SetUp() override {
        Watchdog::SetUp();
        fakes = std::make_unique<serial::FakeSerialPorts>();
        line = fakes->line(QStringLiteral("COM3"));
        LinkPort(QStringLiteral("COM3"), QStringLiteral("/dev/null"));
        CaseComForm->prScanComPort();
        ExchangeState.PortName[0] = QStringLiteral("COM3");
    }
    void TearDown() override {
        Watchdog::TearDown();
        fakes.reset();
    }
    // One opening that takes six seconds by the time of day, so the first
    // attempt is slow (and waits out its real five-second pause).
    static void SlowOpening() {
        int reads = 0;
        SetSecondsOfDayClock([reads]() mutable { return reads++ == 0 ? 1000 : 1006; });
        Relcon4->prOpenCloseCOM(0, true);
        SetSecondsOfDayClock({});
    }

    std::unique_ptr<serial::FakeSerialPorts> fakes;
    std::shared_ptr<serial::FakeSerialLine> line;
};

// Simulated RO-4D units on pseudo-terminals, listed in the port map.
class WatchdogSim : public Watchdog {
protected:
    static std::unique_ptr<sim::SimServer> Serve() {
        auto server = std::make_unique<sim::SimServer>(std::make_unique<sim::Ro4dUnit>());
        EXPECT_FALSE(server->start().isEmpty()) << server->errorString().toStdString();
        return server;
    }
    // The unit's line drops while the port is open, so the request cannot be
    // sent; then the adapter is gone from the system.
    static void LoseTheUnitDuringACommand(sim::SimServer& unit) {
        Relcon4->prOpenCloseCOM(0, true);
        ASSERT_TRUE(ExchangeState.PortOpen[0]);
        unit.dropLine();
        EXPECT_FALSE(SendVersionRequest());
        EXPECT_TRUE(ExchangeState.PortCrash[0]);
        unit.stop();
    }
};

} // namespace

TEST(WatchdogTexts, PortNameLettersAndLineBreaks) {
    const QString latin = QStringLiteral("COM");
    const QString cyrillic = QStringLiteral("\u0421\u041E\u041C");
    EXPECT_TRUE(kTooSlow.contains(latin + QStringLiteral("-порту")));
    EXPECT_FALSE(kTooSlow.contains(cyrillic));
    for (const QString& text : {kReplug, kNotSent, kPortGone, kNeedPort}) {
        EXPECT_TRUE(text.contains(cyrillic)) << text.toStdString();
        EXPECT_FALSE(text.contains(latin)) << text.toStdString();
    }
    EXPECT_EQ(kTooSlow.count(QStringLiteral("\r\n")), 3);
    EXPECT_EQ(kReplug.count(QStringLiteral("\r\n")), 4);
    EXPECT_EQ(kNotSent.count(QStringLiteral("\r\n")), 5);
    // A lone CR, no LF at all.
    EXPECT_EQ(kPortGone.count(QLatin1Char('\r')), 1);
    EXPECT_FALSE(kPortGone.contains(QLatin1Char('\n')));
    EXPECT_EQ(kNeedPortCaption, QStringLiteral("Ошибка #5"));
    EXPECT_TRUE(kTooSlow.endsWith(QStringLiteral("Извините...")));
    EXPECT_TRUE(kNotSent.endsWith(QStringLiteral("Выберите порт ешё раз.")));
}

TEST_F(WatchdogFake, FailedSendWithTheDevicePresentReopensTheSamePort) {
    const std::vector<std::uint8_t> reply(kVersionReplyLength, 0x11);
    line->addReply(kVersionRequest, reply, 0, true);
    line->dropAfter(2);
    Relcon4->prOpenCloseCOM(0, true);
    const int opensBefore = line->opens();

    EXPECT_FALSE(SendVersionRequest());
    EXPECT_TRUE(ExchangeState.PortCrash[0]);
    ASSERT_TRUE(testenv::WaitFor([] { return WatchdogSettled(); }, kDeadline));

    EXPECT_EQ(user->texts(), QStringList{kNotSent});
    EXPECT_GT(line->opens(), opensBefore) << "the same port, opened again";
    EXPECT_TRUE(ExchangeState.PortOpen[0]) << "left open until the next command";
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM3"));
    EXPECT_TRUE(endCodes.empty());

    // Work goes on.
    line->dropAfter(-1);
    EXPECT_TRUE(AskVersion());
    EXPECT_EQ(user->messages.size(), 1u);
}

TEST_F(WatchdogSim, UnitGoneThenAnotherChosenLetsTheNextCommandSucceed) {
    auto first = Serve();
    auto second = Serve();
    ExchangeState.PortName[0] = first->comName();
    CaseComForm->prScanComPort();
    ASSERT_TRUE(AskVersion());
    AcceptDialogs();

    LoseTheUnitDuringACommand(*first);
    ASSERT_TRUE(
        testenv::WaitFor([this] { return WatchdogSettled() && !dialogLabels.empty(); }, kDeadline));

    EXPECT_EQ(user->texts(), (QStringList{kNotSent, kPortGone}));
    EXPECT_EQ(dialogLabels, QStringList{QStringLiteral("Попыток: 3")});
    EXPECT_EQ(ExchangeState.PortName[0], second->comName());
    EXPECT_FALSE(ExchangeState.PortOpen[0]) << "closed again after the choice";
    EXPECT_TRUE(FileBytes().contains(second->comName().toLatin1() + "\r\n")) << "stored";
    // The button names the port the commands now use.
    EXPECT_EQ(Relcon4->Button1->text(), PortDisplayName(second->comName()));
    EXPECT_TRUE(Relcon4->Button1->toolTip().endsWith(second->devicePath()));
    EXPECT_TRUE(endCodes.empty());

    EXPECT_TRUE(AskVersion());
    EXPECT_EQ(user->messages.size(), 2u);
}

TEST_F(WatchdogSim, NoPortLeftEndsTheProgramWithCodeZero) {
    auto only = Serve();
    ExchangeState.PortName[0] = only->comName();
    CaseComForm->prScanComPort();
    AcceptDialogs();

    LoseTheUnitDuringACommand(*only);
    ASSERT_TRUE(testenv::WaitFor([this] { return !endCodes.empty(); }, kDeadline));

    ASSERT_EQ(user->messages.size(), 5u) << user->texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(user->messages[0].text, kNotSent);
    EXPECT_EQ(user->messages[1].text, kPortGone);
    EXPECT_EQ(user->messages[2].caption, QStringLiteral("Ошибка #59"));
    EXPECT_EQ(user->messages[3].kind, QStringLiteral("box"));
    EXPECT_EQ(user->messages[3].text, kNeedPort);
    EXPECT_EQ(user->messages[3].caption, kNeedPortCaption);
    EXPECT_EQ(user->messages[3].type, 48u);
    EXPECT_EQ(user->messages[4].kind, QStringLiteral("plain"));
    EXPECT_EQ(user->messages[4].text, kClosing);
    EXPECT_EQ(dialogLabels.size(), 3);
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(PortWatchdogRunning());
}

TEST_F(WatchdogFake, ThirdSlowOpeningInARowEndsTheProgram) {
    ExchangeState.PortFailCount = 2; // two slow openings before this one
    AcceptDialogs();

    SlowOpening();
    EXPECT_EQ(ExchangeState.PortFailCount, 3);
    ASSERT_TRUE(testenv::WaitFor([this] { return !endCodes.empty(); }, kDeadline));

    // The port reopened timely, so there is nothing to choose: M1, M3, the end.
    EXPECT_EQ(user->texts(), (QStringList{kTooSlow, kNotSent}));
    EXPECT_TRUE(CaseComForm->fExtraClose);
    EXPECT_TRUE(dialogLabels.isEmpty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
}

TEST_F(WatchdogFake, TimelyOpeningResetsTheCountSoTheNextSlowOneAsksToReplug) {
    ExchangeState.PortFailCount = 2;
    Relcon4->prOpenCloseCOM(0, true);
    Relcon4->prOpenCloseCOM(0, false);
    EXPECT_EQ(ExchangeState.PortFailCount, 0);

    SlowOpening();
    EXPECT_EQ(ExchangeState.PortFailCount, 1);
    ASSERT_TRUE(testenv::WaitFor([] { return WatchdogSettled(); }, kDeadline));

    EXPECT_EQ(user->texts(), (QStringList{kReplug, kNotSent}));
    EXPECT_TRUE(ExchangeState.PortOpen[0]);
    EXPECT_EQ(ExchangeState.PortFailCount, 0);
    EXPECT_FALSE(CaseComForm->fExtraClose);
    EXPECT_TRUE(endCodes.empty());
}

TEST_F(WatchdogFake, TickDuringARunsMessageWaitsForTheRunToEnd) {
    // While the first message is up, the channel fails again and the
    // watchdog is re-armed; the modal wait lets its tick through.
    bool inMessage = false;
    bool nested = false;
    std::size_t messagesWhenTickPassed = 0;
    user->onMessage = [&](const RecordedMessage&) {
        if (inMessage)
            nested = true;
        if (user->messages.size() != 1)
            return;
        inMessage = true;
        ExchangeState.PortCrash[0] = true;
        ArmPortWatchdog(1);
        testenv::WaitFor([] { return !Relcon4->CrashComTimer->isActive(); }, kDeadline);
        messagesWhenTickPassed = user->messages.size();
        inMessage = false;
    };
    ExchangeState.PortCrash[0] = true;
    ArmPortWatchdog(1);

    ASSERT_TRUE(testenv::WaitFor([this] { return user->messages.size() == 2 && WatchdogSettled(); },
                                 kDeadline));

    EXPECT_FALSE(nested);
    EXPECT_EQ(messagesWhenTickPassed, 1u) << "no second run inside the first";
    // The re-arming gave exactly one further run, after the first.
    EXPECT_EQ(user->texts(), (QStringList{kNotSent, kNotSent}));
    EXPECT_TRUE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(endCodes.empty());
}

TEST_F(WatchdogFake, PortChangeInsideARunDoesNotWaitForItself) {
    // The port cannot be reopened, so the run asks for another; the first
    // choice fails slowly, which marks the channel again and re-arms the
    // watchdog. The run's own port change must not wait for a run that
    // cannot come before it ends.
    ExchangeState.PortCrash[0] = true;
    line->refuseOpen(2);
    int dialogs = 0;
    user->onDialog = [&dialogs, this](QDialog*) {
        if (++dialogs == 1) {
            ExchangeState.PortCrash[0] = true;
            ArmPortWatchdog(kSlowOpenWatchdogMs);
        } else {
            line->refuseOpen(0);
        }
        return 1;
    };
    ArmPortWatchdog(1);

    ASSERT_TRUE(
        testenv::WaitFor([&dialogs] { return dialogs == 2 && WatchdogSettled(); }, kDeadline));
    EXPECT_TRUE(endCodes.empty());
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM3"));
    // The second choice opened in time: the first one's mark went with it, and
    // no later run tells the user of a send that never failed.
    const QString missing = QStringLiteral("СОМ-порт в системе отсутствует");
    EXPECT_EQ(user->texts(), (QStringList{kNotSent, missing, kPortGone, missing}));
    EXPECT_FALSE(ExchangeState.PortOpen[0]) << "closed again after the choice";
}

// Every opening slow: the run's own reopenings count, and the third slow
// opening in a row ends the program with M1, without a port dialog.
TEST_F(WatchdogFake, EveryOpeningSlowReachesTheSlowOpeningMessage) {
    SetSlowOpenPause(20);
    AcceptDialogs();
    int reads = 0;
    SetSecondsOfDayClock([&reads] { return 1000 + 6 * reads++; });
    Relcon4->prOpenCloseCOM(0, true);
    ASSERT_TRUE(testenv::WaitFor([this] { return !endCodes.empty(); }, kDeadline));
    SetSecondsOfDayClock({});
    SetSlowOpenPause(-1);

    EXPECT_EQ(user->texts(), (QStringList{kReplug, kNotSent, kTooSlow}));
    EXPECT_TRUE(dialogLabels.isEmpty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_EQ(ExchangeState.PortFailCount, 3);
    EXPECT_FALSE(line->isOpen());
}

// A slow choice in the port dialog, then one that opens in time: the mark
// the slow one left is gone, and the next command works.
TEST_F(WatchdogFake, SlowChoiceThenAGoodOneLeavesNoMark) {
    const auto good = fakes->line(QStringLiteral("COM4"));
    fakes->line(QStringLiteral("COM5"));
    LinkPort(QStringLiteral("COM4"), QStringLiteral("/dev/null"));
    LinkPort(QStringLiteral("COM5"), QStringLiteral("/dev/null"));
    good->addReply(kVersionRequest, std::vector<std::uint8_t>(kVersionReplyLength, 0x11), 0, true);
    SetSlowOpenPause(20);
    QString slowPort = QStringLiteral("COM3");
    int reads = 0;
    SetSecondsOfDayClock([&] {
        const bool end = reads++ % 2 == 1;
        return 1000 + (end && ExchangeState.PortName[0] == slowPort ? 6 : 0);
    });
    Relcon4->prOpenCloseCOM(0, true);
    // The adapter is pulled out: its name is gone, the next choice is slow.
    QFile::remove(platform::PortsFolder() + QStringLiteral("/COM3"));
    line->refuseOpen(2);
    slowPort = QStringLiteral("COM5");
    user->onDialog = [this](QDialog*) {
        dialogLabels << CaseComForm->CountShowLabel->text();
        CaseComForm->ComPortComboBox->setCurrentText(
            dialogLabels.size() == 1 ? QStringLiteral("COM 5") : QStringLiteral("COM 4"));
        return 1;
    };
    ASSERT_TRUE(testenv::WaitFor([this] { return dialogLabels.size() == 2 && WatchdogSettled(); },
                                 kDeadline));
    SetSecondsOfDayClock({});
    SetSlowOpenPause(-1);

    EXPECT_EQ(user->texts(), (QStringList{kReplug, QStringLiteral("СОМ-порт в системе отсутствует"),
                                          kNotSent, kPortGone}));
    EXPECT_EQ(ExchangeState.PortName[0], QStringLiteral("COM4"));
    EXPECT_TRUE(AskVersion());
    EXPECT_EQ(user->texts().count(kNotSent), 1) << "no data failed to leave";
    EXPECT_TRUE(endCodes.empty());
}

TEST_F(WatchdogFake, RealEndLetsThePortGoAndExitsWithZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SetProgramEndHook({});
    EXPECT_EXIT(
        {
            Relcon4->prOpenCloseCOM(0, true);
            EndProgramAtOnce(0);
        },
        ::testing::ExitedWithCode(0), "");
}
