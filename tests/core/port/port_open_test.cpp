#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "platform/fake_serial_device.h"
#include "port/param_port_form.h"
#include "port/port_open.h"
#include "port/status_com_form.h"
#include "serial/com_port.h"
#include "shell/relcon4_window.h"
#include "windows/port/port_fixture.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {

class PortOpen : public PortFixture {
protected:
    void SetUp() override {
        PortFixture::SetUp();
        fakes = std::make_unique<serial::FakeSerialPorts>();
        line = fakes->line(QStringLiteral("COM3"));
        ExchangeState.PortName[0] = QStringLiteral("COM3");
    }
    void TearDown() override {
        PortFixture::TearDown();
        fakes.reset();
    }
    static TComPortD& Port() { return *MonitorForm->ComPortD1; }

    std::unique_ptr<serial::FakeSerialPorts> fakes;
    std::shared_ptr<serial::FakeSerialLine> line;
};

struct CodeCase {
    std::uint32_t code;
    const char* message;
};

class PortOpenRefused : public PortOpen, public ::testing::WithParamInterface<CodeCase> {};

} // namespace

TEST_P(PortOpenRefused, MessageShownOnceAfterBothAttemptsAndChannelStaysClosed) {
    const CodeCase c = GetParam();
    line->refuseOpen(c.code, QStringLiteral("the system's reason"));

    Relcon4->prOpenCloseCOM(0, true);

    EXPECT_EQ(PlainMessages(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_FALSE(Port().Connected());
    EXPECT_EQ(Port().LastError(), 0u);
    const QStringList log = LogTexts();
    ASSERT_EQ(log.size(), 5) << log.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(log[0], QStringLiteral("OpenNewPort #1 : COM3"));
    EXPECT_EQ(log[2], QStringLiteral("OpenNewPort #2 : COM3"));
    EXPECT_EQ(log[4], QStringLiteral("OpenNewPort exit"));
    for (int i : {1, 3})
        EXPECT_TRUE(log[i].startsWith(QStringLiteral("OpenNewPort: COM3 = fake:COM3, ошибка %1: "
                                                     "the system's reason")
                                          .arg(c.code)))
            << log[i].toStdString();
    EXPECT_FALSE(StatusCOMForm->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Codes, PortOpenRefused,
                         ::testing::Values(CodeCase{2, "СОМ-порт в системе отсутствует"},
                                           CodeCase{123, "СОМ-порт в системе отсутствует"},
                                           CodeCase{5, "СОМ-порт занят другим процессом"},
                                           CodeCase{31,
                                                    "СОМ-порт зарезервирован как виртуальный"}));

TEST_F(PortOpen, AnyOtherFailureNeverCountsAsOpen) {
    line->refuseOpen(87, QStringLiteral("Invalid argument"));
    Relcon4->prOpenCloseCOM(0, true);
    EXPECT_EQ(PlainMessages(), QStringList{QStringLiteral(
                                   "СОМ-порт открыть не удалось (ошибка 87): Invalid argument")});
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_FALSE(Port().Connected());
    // The transaction engine refuses a closed channel without sending.
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_TRUE(line->written().empty());
}

TEST_F(PortOpen, CommandOpensConfiguresAndClosesAgain) {
    TimeOut = 250;
    PreSendPause = 60;
    ExchangeState.PortFailCount = 2;

    Relcon4->prOpenCloseCOM(0, true);

    EXPECT_TRUE(user->messages.empty());
    ASSERT_TRUE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(Port().Connected());
    EXPECT_EQ(ExchangeState.PortFailCount, 0);
    EXPECT_EQ(line->opens(), 1) << "the second attempt finds the port open";
    EXPECT_EQ(LogTexts(), (QStringList{QStringLiteral("OpenNewPort #1 : COM3"),
                                       QStringLiteral("OpenNewPort: COM3 = fake:COM3"),
                                       QStringLiteral("OpenNewPort #2 : COM3"),
                                       QStringLiteral("OpenNewPort: COM3 = fake:COM3"),
                                       QStringLiteral("OpenNewPort exit")}));
    // Opening settings, then the command's.
    EXPECT_EQ(Port().FlowControl()->FlowControl(), fcNone);
    EXPECT_EQ(Port().Timeouts()->ReadTotalConstant(), 1);
    EXPECT_EQ(Port().Timeouts()->ReadInterval(), 0);
    EXPECT_EQ(Port().Timeouts()->ReadTotalMultiplier(), 0);
    EXPECT_TRUE(Port().PhonReceive());
    EXPECT_EQ(Port().BaudRate(), brCustom);
    EXPECT_EQ(Port().CustomBaudRate(), 9600);
    EXPECT_EQ(Port().DataBits(), db8Bits);
    EXPECT_EQ(Port().StopBits(), sb1Bit);
    EXPECT_EQ(Port().Parity()->Bits(), prNone);
    EXPECT_EQ(Port().Timeouts()->Write1Wait2(), 4);
    EXPECT_EQ(Port().Timeouts()->Write2WaitN(), 4);
    EXPECT_EQ(Port().Timeouts()->ReadTimeOut(), 250);
    EXPECT_EQ(Port().Timeouts()->WaitTimePrevSending(), 60);
    EXPECT_EQ(Port().FlowControl()->ControlRTS(), rtsDisable);
    EXPECT_EQ(line->baudRate(), 9600u);
    EXPECT_EQ(line->lastLine().dataBits, 8);
    EXPECT_EQ(line->lastLine().parity, serial::Parity::None);
    EXPECT_FALSE(line->dtr());
    EXPECT_FALSE(line->rts());

    // Opening an open channel again: each attempt lets the port go first.
    Relcon4->prOpenCloseCOM(0, true);
    EXPECT_EQ(line->opens(), 3);
    EXPECT_EQ(line->closes(), 2);

    Relcon4->prOpenCloseCOM(0, false);
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_FALSE(Port().Connected());
    EXPECT_FALSE(line->isOpen());
    EXPECT_EQ(line->closes(), 3);
    // Closing a closed channel touches nothing.
    Relcon4->prOpenCloseCOM(0, false);
    EXPECT_EQ(line->closes(), 3);
}

TEST_F(PortOpen, LinesSetByHandAndDialogReachThePort) {
    FiksDtrRts = true;
    DtrOn = true;
    RtsOn = false;
    ParamPortForm->ShowLineSettings();

    Relcon4->prOpenCloseCOM(0, true);
    ASSERT_TRUE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(line->dtr());
    EXPECT_FALSE(line->rts());
    EXPECT_EQ(Port().FlowControl()->ControlRTS(), rtsDisable);

    // "Принять" with the port open hands the new time-out over at once.
    ParamPortForm->FormActivate();
    ParamPortForm->findChild<QLineEdit*>(QStringLiteral("TimeOutEdit"))
        ->setText(QStringLiteral("400"));
    ParamPortForm->ExitButtonClick();
    EXPECT_EQ(Port().Timeouts()->ReadTimeOut(), 400);
    Relcon4->prOpenCloseCOM(0, false);
}

TEST_F(PortOpen, EmptyOrShortNameOpensNothing) {
    ExchangeState.PortName[0].clear();
    ExchangeState.PortOpen[0] = true;
    Relcon4->prOpenCloseCOM(0, true);
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_EQ(line->opens(), 0);
    EXPECT_TRUE(LogTexts().isEmpty());
    EXPECT_TRUE(user->messages.empty());

    Relcon4->prSetComPort(0, QStringLiteral("CO"));
    EXPECT_TRUE(ExchangeState.PortName[0].isEmpty());
    EXPECT_EQ(line->opens(), 0);
}

// The one test that waits out the five seconds of a slow opening.
TEST_F(PortOpen, SlowFirstAttemptMarksTheChannelAndArmsTheWatchdog) {
    int reads = 0;
    // The connection takes six seconds by the time of day.
    SetSecondsOfDayClock([&reads] { return reads++ == 0 ? 1000 : 1006; });
    ExchangeState.PortFailCount = 1;
    QElapsedTimer clock;
    clock.start();

    Relcon4->prOpenCloseCOM(0, true);

    const qint64 elapsed = clock.elapsed();
    // At least the five-second pause; a loaded machine may add a few seconds.
    EXPECT_GE(elapsed, 4990);
    EXPECT_LT(elapsed, 15000);
    EXPECT_EQ(reads, 2) << "the second attempt is not made";
    EXPECT_EQ(LogTexts(), (QStringList{QStringLiteral("OpenNewPort #1 : COM3"),
                                       QStringLiteral("OpenNewPort: COM3 = fake:COM3"),
                                       QStringLiteral("OpenNewPort: возникли проблемы #1"),
                                       QStringLiteral("OpenNewPort extra exit #1"),
                                       QStringLiteral("OpenNewPort exit")}));
    EXPECT_FALSE(ExchangeState.PortOpen[0]);
    EXPECT_TRUE(ExchangeState.PortCrash[0]);
    EXPECT_EQ(ExchangeState.PortFailCount, 2);
    EXPECT_TRUE(Relcon4->CrashComTimer->isActive());
    EXPECT_EQ(Relcon4->CrashComTimer->interval(), 100);
    EXPECT_FALSE(StatusCOMForm->isVisible());
    EXPECT_EQ(StatusCOMForm->SearchCOMMemo->toPlainText(),
              QStringLiteral("При подключении к СОМ-порту возникли проблемы!!"));
    EXPECT_TRUE(user->messages.empty()) << "the watchdog speaks, not the opening";
    // The device that opened late is let go, and no command setting was given.
    EXPECT_FALSE(Port().Connected());
    EXPECT_FALSE(line->isOpen());
    EXPECT_NE(Port().Timeouts()->Write1Wait2(), 4);
}

TEST_F(PortOpen, ClosingTheMainWindowLetsAnOpenPortGo) {
    Relcon4->prOpenCloseCOM(0, true);
    ASSERT_TRUE(Port().Connected());
    ExchangeState.TxLength = 7;
    ExchangeState.RxLength = 9;

    Relcon4->close();

    EXPECT_FALSE(Port().Connected());
    EXPECT_FALSE(line->isOpen());
    EXPECT_EQ(ExchangeState.TxLength, 0);
    EXPECT_EQ(ExchangeState.RxLength, 0);
    EXPECT_EQ(ExchangeState.TxBuf.size(), kTxBufSize) << "kept allocated";
}

TEST_F(PortOpen, ClosingWithNoChannelOpenLeavesThePortComponentAlone) {
    Port().SetPort(QStringLiteral("COM3"));
    Port().SetConnected(true);
    ASSERT_TRUE(Port().Connected());
    ASSERT_FALSE(ExchangeState.PortOpen[0]);

    Relcon4->close();

    EXPECT_TRUE(Port().Connected());
    EXPECT_EQ(line->closes(), 0);
}
