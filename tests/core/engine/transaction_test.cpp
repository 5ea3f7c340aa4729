#include "engine/transaction.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "scripted_unit.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "split_reply_device.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QListView>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <utility>

using enginetest::Answer;
using enginetest::Bytes;
using enginetest::LateAnswer;
using enginetest::ScriptedUnit;
using enginetest::Silence;
using enginetest::UnitStep;

namespace {

// Short enough to keep the suite fast, long enough that a loaded machine
// still sees an immediate reply well inside it.
constexpr int kReadTimeOut = 60;
// How long the unit's script may take in the worst case before a test gives up.
constexpr int kScriptDeadlineMs = 5000;
// Where a reply must come in time even on a very busy machine.
constexpr int kSlowReadTimeOut = 600;

const Bytes kRequest{0x05, 0x01, 0x03, 0x24, 0x3E};
const Bytes kReply{0x06, 0x01, 0x03, 0x01, 0xD1, 0x1B};

struct Row {
    QString text;
    TLogColor color;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Row& row) {
    return os << '"' << row.text.toStdString() << "\" 0x" << std::hex << row.color << std::dec;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetExchangeSettings();
        ExchangeState.Reset();
        Relcon4 = new TRelcon4;
        MonitorForm = new TMonitorForm(Relcon4);
        port = MonitorForm->ComPortD1;
    }
    void TearDown() override {
        port->Close();
        unit.reset();
        delete Relcon4;
        Relcon4 = nullptr;
        MonitorForm = nullptr;
        TCustomComPortD::SetDeviceFactory({});
        ResetLogState();
    }

    // Opens channel 0 the way a command does, with the test's short time-out.
    bool openPort(const QString& comName, int readTimeOut = kReadTimeOut, int preSend = 5) {
        port->SetPort(comName);
        port->SetBaudRate(brCustom);
        port->SetCustomBaudRate(9600);
        port->Timeouts()->SetWrite1Wait2(4);
        port->Timeouts()->SetWrite2WaitN(4);
        port->Timeouts()->SetReadTimeOut(readTimeOut);
        port->Timeouts()->SetWaitTimePrevSending(preSend);
        port->Open();
        ExchangeState.PortOpen[0] = port->Connected();
        ExchangeState.PortName[0] = comName;
        return port->Connected();
    }
    // Starts a unit playing the steps and opens channel 0 on it.
    bool playUnit(std::vector<UnitStep> steps, int readTimeOut = kReadTimeOut, int preSend = 5) {
        unit = std::make_unique<ScriptedUnit>();
        if (!unit->ok())
            return false;
        unit->start(std::move(steps));
        return openPort(unit->comName(), readTimeOut, preSend);
    }
    void setRequest(const Bytes& bytes, std::uint16_t expected) {
        std::copy(bytes.begin(), bytes.end(), ExchangeState.TxBuf.begin());
        ExchangeState.TxLength = static_cast<std::uint16_t>(bytes.size());
        ExchangeState.RxExpected = expected;
    }
    Bytes reply() const {
        return Bytes(ExchangeState.RxBuf.begin(),
                     ExchangeState.RxBuf.begin() + ExchangeState.RxLength);
    }
    // The log in the order it was written (the ring has not wrapped in these tests).
    std::vector<Row> ringLines() const {
        std::vector<Row> rows;
        for (int i = 0; i < LogWritePos; ++i)
            rows.push_back({LogLines[i], LogLineColor[i]});
        return rows;
    }
    // The rows the list shows, top first, down to the last non-empty one.
    std::vector<Row> shownRows() const {
        std::vector<Row> rows;
        const QAbstractItemModel* model = MonitorForm->MonitorsListView->model();
        for (int r = 0; r < kLogLines; ++r) {
            const QString text = model->index(r, 0).data().toString();
            if (text.isEmpty())
                break;
            rows.push_back({text, LogViewColor[r]});
        }
        return rows;
    }
    QString latency() const { return QStringLiteral(" (%1 мс)").arg(port->ManyWait1byte()); }

    TComPortD* port = nullptr;
    std::unique_ptr<ScriptedUnit> unit;
};

} // namespace

TEST_F(EngineTest, ExactReplyOnTheFirstAttempt) {
    ASSERT_TRUE(playUnit({Answer(kRequest.size(), kReply)}));
    setRequest(kRequest, 6);
    LogLineNo = 16;

    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), kReply);
    EXPECT_EQ(ExchangeState.RxExpected, 6);
    EXPECT_EQ(ExchangeState.AttemptsUsed, 0);
    EXPECT_FALSE(ExchangeState.SendFailed);
    EXPECT_FALSE(ExchangeState.ReplyFailed);
    EXPECT_TRUE(port->PhonReceive()) << "background reception is on again";
    EXPECT_TRUE(Relcon4->CrashComTimer->isActive());
    EXPECT_EQ(Relcon4->CrashComTimer->interval(), 1000);
    ASSERT_TRUE(unit->finished(kScriptDeadlineMs));
    EXPECT_EQ(unit->requests(), std::vector<Bytes>{kRequest});
    EXPECT_GE(port->ManyWait1byte(), 0);

    // Newest first: the request row above its reply row.
    const std::vector<Row> expected{
        {QStringLiteral("   17 : 05.01.03.24.3E"), clLogBlue},
        {QStringLiteral("        06.01.03.01.D1.1B") + latency(), clLogPurple}};
    EXPECT_EQ(shownRows(), expected);
}

TEST_F(EngineTest, PortNotOpenSendsAndLogsNothing) {
    ASSERT_TRUE(playUnit({Silence(1)}));
    ExchangeState.PortOpen[0] = false;
    setRequest(kRequest, 6);
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_FALSE(Relcon4->CrashComTimer->isActive());
    EXPECT_EQ(LogWritePos, 0);
    EXPECT_FALSE(unit->finished(100)) << "no byte left";
    EXPECT_FALSE(Relcon4->funSendReceive1(kNumChannels)) << "no such channel";
}

TEST_F(EngineTest, SilenceWithOneAttempt) {
    ASSERT_TRUE(playUnit({Silence(kRequest.size())}));
    ExchangeState.NumOfRepeat = 1;
    LogOldestFirst = true;
    setRequest(kRequest, 6);

    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(ExchangeState.RxLength, 0);
    EXPECT_TRUE(ExchangeState.ReplyFailed);
    EXPECT_EQ(ExchangeState.AttemptsUsed, 1);
    const std::vector<Row> expected{{QStringLiteral("    1 : 05.01.03.24.3E"), clLogBlue},
                                    {QStringLiteral("        нет ответа"), clLogPurple}};
    EXPECT_EQ(ringLines(), expected);
    EXPECT_EQ(shownRows(), expected);
    ASSERT_TRUE(unit->finished(kScriptDeadlineMs));
    EXPECT_TRUE(unit->stray().empty()) << "sent once";
}

TEST_F(EngineTest, SilenceWithThreeAttemptsNumbersEachOne) {
    ASSERT_TRUE(
        playUnit({Silence(kRequest.size()), Silence(kRequest.size()), Silence(kRequest.size())}));
    ExchangeState.NumOfRepeat = 3;
    LogOldestFirst = true;
    setRequest(kRequest, 6);

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    const qint64 took = clock.elapsed();
    EXPECT_EQ(ExchangeState.AttemptsUsed, 3);
    ASSERT_TRUE(unit->finished(kScriptDeadlineMs));
    EXPECT_EQ(unit->requests(), (std::vector<Bytes>{kRequest, kRequest, kRequest}));
    // Three time-outs and two 200 ms pauses at the least.
    EXPECT_GE(took, 3 * kReadTimeOut + 2 * 200);

    const QString request = QStringLiteral("05.01.03.24.3E");
    const Row silent{QStringLiteral("        нет ответа"), clLogPurple};
    const std::vector<Row> expected{
        {QStringLiteral("Была попытка №1"), clLogViolet},
        {QStringLiteral("    1 : ") + request, clLogBlue},
        silent,
        {QStringLiteral("Была попытка №2"), clLogViolet},
        {QStringLiteral("    2 : ") + request + QStringLiteral(" (2)"), clLogBlue},
        silent,
        {QStringLiteral("Была попытка №3"), clLogViolet},
        {QStringLiteral("    3 : ") + request + QStringLiteral(" (3)"), clLogBlue},
        silent};
    EXPECT_EQ(ringLines(), expected);
}

TEST_F(EngineTest, SilenceThenReplyOnTheSecondAttempt) {
    ASSERT_TRUE(playUnit({Silence(kRequest.size()), Answer(kRequest.size(), kReply)}));
    ExchangeState.NumOfRepeat = 3;
    setRequest(kRequest, 6);

    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), kReply);
    EXPECT_EQ(ExchangeState.AttemptsUsed, 2);
    // Newest first, in hex.
    const std::vector<Row> rows = shownRows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (Row{QStringLiteral("    2 : 05.01.03.24.3E (2)"), clLogBlue}));
    EXPECT_EQ(rows[1], (Row{QStringLiteral("        06.01.03.01.D1.1B") + latency(), clLogPurple}));
    EXPECT_EQ(rows[2], (Row{QStringLiteral("    1 : 05.01.03.24.3E"), clLogBlue}));
    EXPECT_EQ(rows[3], (Row{QStringLiteral("        нет ответа"), clLogPurple}));
    EXPECT_EQ(rows[4], (Row{QStringLiteral("Была попытка №1"), clLogViolet}));
}

TEST_F(EngineTest, DecimalFormOldestFirst) {
    ASSERT_TRUE(playUnit({Answer(kRequest.size(), kReply)}));
    LogHex = false;
    LogOldestFirst = true;
    setRequest(kRequest, 6);
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    const std::vector<Row> expected{
        {QStringLiteral("    1 :   5.  1.  3. 36. 62"), clLogBlue},
        {QStringLiteral("          6.  1.  3.  1.209. 27") + latency(), clLogPurple}};
    EXPECT_EQ(shownRows(), expected);
}

TEST_F(EngineTest, NoCommandEntryWithoutCmd) {
    ASSERT_TRUE(playUnit({Answer(kRequest.size(), kReply)}));
    MonitorForm->CmdLogCheckBox->setChecked(false);
    setRequest(kRequest, 6);
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(LogWritePos, 0);
}

TEST_F(EngineTest, StaleInputIsDiscardedAndLoggedBeforeTheRetry) {
    // The first answer comes far too late: after the read has given up, but
    // during the pause before the retry.
    const Bytes stale{0xAA, 0x55, 0x01};
    ASSERT_TRUE(playUnit(
        {LateAnswer(kRequest.size(), stale, kReadTimeOut + 90), Answer(kRequest.size(), kReply)}));
    ExchangeState.NumOfRepeat = 3;
    LogOldestFirst = true;
    setRequest(kRequest, 6);

    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), kReply);
    const std::vector<Row> lines = ringLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].text, QStringLiteral("Была попытка №1"));
    EXPECT_EQ(lines[3].color, clLogRed);
    EXPECT_TRUE(lines[3].text.startsWith(QStringLiteral("    2 : AA (")));
    EXPECT_TRUE(lines[3].text.contains(QStringLiteral(" мс).55 (")));
    EXPECT_TRUE(lines[3].text.endsWith(QStringLiteral(" мс)")));
    EXPECT_EQ(lines[4].text, QStringLiteral("    3 : 05.01.03.24.3E (2)"));
}

TEST_F(EngineTest, StaleInputLongerThanTheTailBufferIsTakenInPasses) {
    Bytes stale(700);
    for (std::size_t i = 0; i < stale.size(); ++i)
        stale[i] = static_cast<std::uint8_t>(i);
    ASSERT_TRUE(playUnit(
        {LateAnswer(kRequest.size(), stale, kReadTimeOut + 90), Answer(kRequest.size(), kReply)}));
    ExchangeState.NumOfRepeat = 2;
    LogOldestFirst = true;
    setRequest(kRequest, 6);

    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), kReply);
    EXPECT_EQ(ExchangeState.RxTailBuf.size(), kRxTailBufSize);
    // Every stale byte shows once, in red lines of at most 320 bytes.
    std::size_t staleShown = 0;
    for (const Row& row : ringLines()) {
        if (row.color != clLogRed)
            continue;
        const auto bytes = static_cast<std::size_t>(row.text.count(QStringLiteral(" мс)")));
        EXPECT_LE(bytes, kRxTailBufSize);
        staleShown += bytes;
    }
    EXPECT_EQ(staleShown, stale.size());
}

TEST_F(EngineTest, ShortReplyWithoutTailIsNotRetried) {
    const Bytes head(kReply.begin(), kReply.begin() + 4);
    ASSERT_TRUE(playUnit({Answer(kRequest.size(), head)}));
    ExchangeState.NumOfRepeat = 3;
    setRequest(kRequest, 6);

    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), head);
    EXPECT_EQ(ExchangeState.AttemptsUsed, 0);
    EXPECT_EQ(LogWritePos, 2) << "one command entry, no retry note, no stitching";
    ASSERT_TRUE(unit->finished(kScriptDeadlineMs));
    EXPECT_TRUE(unit->stray().empty());
}

TEST_F(EngineTest, ShortReplyCompletedByStitching) {
    const Bytes head(kReply.begin(), kReply.begin() + 4);
    const Bytes tail(kReply.begin() + 4, kReply.end());
    TCustomComPortD::SetDeviceFactory([&](const QString&) {
        return std::make_unique<enginetest::SplitReplyDevice>(
            enginetest::SplitReplyDevice::Script{kRequest.size(), head, tail});
    });
    // A long time-out, so the tail's own latency cannot pass for the head's.
    constexpr int kLongTimeOut = 300;
    ASSERT_TRUE(openPort(QStringLiteral("COM9"), kLongTimeOut));
    LogOldestFirst = true;
    setRequest(kRequest, 6);

    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    EXPECT_EQ(reply(), kReply);
    EXPECT_EQ(ExchangeState.RxExpected, 6);
    EXPECT_EQ(Bytes(ExchangeState.RxTailBuf.begin(), ExchangeState.RxTailBuf.begin() + 2), tail);
    const std::vector<Row> lines = ringLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (Row{QStringLiteral("Произведено сращивание ответа 2"), clLogBlack}));
    // The latency is the first read's: the head came at once, the tail a
    // whole time-out later.
    EXPECT_LT(port->ManyWait1byte(), kLongTimeOut);
    EXPECT_EQ(lines[2],
              (Row{QStringLiteral("        06.01.03.01.D1.1B") + latency(), clLogPurple}));
}

TEST_F(EngineTest, RequestWithoutReplyIsSentOnceAndSucceeds) {
    ASSERT_TRUE(playUnit({Silence(kRequest.size()), Silence(3)}));
    ExchangeState.NumOfRepeat = 1;
    setRequest(kRequest, 6);
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    ExchangeState.NumOfRepeat = 3;

    const Bytes bench{0x43, 0x00, 0x43};
    setRequest(bench, 0);
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
    ASSERT_TRUE(unit->finished(kScriptDeadlineMs));
    EXPECT_EQ(unit->requests().back(), bench);
    EXPECT_EQ(ExchangeState.RxLength, 0);
    EXPECT_EQ(ExchangeState.AttemptsUsed, 0);
    EXPECT_TRUE(unit->stray().empty()) << "sent once";
}

TEST_F(EngineTest, OpenEndedReplyTakesWhatArrives) {
    const Bytes nine{1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_TRUE(playUnit({Answer(kRequest.size(), nine)}));
    setRequest(kRequest, 255);

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_GE(clock.elapsed(), kReadTimeOut) << "the read runs to its time-out";
    EXPECT_EQ(reply(), nine);
    EXPECT_EQ(ExchangeState.RxExpected, 255);
    EXPECT_EQ(LogWritePos, 2) << "no stitching note";
}

TEST_F(EngineTest, RequestWithoutBytesIsReportedAndTheReadStillRuns) {
    unit = std::make_unique<ScriptedUnit>();
    ASSERT_TRUE(unit->ok());
    ASSERT_TRUE(openPort(unit->comName()));
    ExchangeState.NumOfRepeat = 1;
    LogOldestFirst = true;
    setRequest({}, 6);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_GE(clock.elapsed(), kReadTimeOut);
    const std::vector<Row> expected{{QStringLiteral("Команда запроса не определена "), clLogRed},
                                    {QStringLiteral("    1 : нет запроса"), clLogBlue},
                                    {QStringLiteral("        нет ответа"), clLogRed}};
    EXPECT_EQ(ringLines(), expected);
}

TEST_F(EngineTest, FailedSendMarksTheChannelAndLaterCallsFailAtOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "a linked COM pair cannot be unplugged";
#endif
    unit = std::make_unique<ScriptedUnit>();
    ASSERT_TRUE(unit->ok());
    ASSERT_TRUE(openPort(unit->comName()));
    ExchangeState.NumOfRepeat = 3;
    LogOldestFirst = true;
    setRequest(kRequest, 6);
    // The adapter is pulled out.
    unit->pty().close();

    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_TRUE(ExchangeState.PortCrash[0]);
    EXPECT_TRUE(ExchangeState.SendFailed);
    EXPECT_EQ(ExchangeState.RxLength, 0);
    EXPECT_TRUE(Relcon4->CrashComTimer->isActive());
    const std::vector<Row> expected{{QStringLiteral("CrashComPort"), clLogRed},
                                    {QStringLiteral("Была попытка №1"), clLogViolet}};
    EXPECT_EQ(ringLines(), expected) << "no retry, no command entry";

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Relcon4->funSendReceive1(0));
    EXPECT_LT(clock.elapsed(), 200) << "nothing is sent while the mark stands";
    const std::vector<Row> again{{QStringLiteral("CrashComPort"), clLogRed},
                                 {QStringLiteral("Была попытка №1"), clLogViolet},
                                 {QStringLiteral("CrashComPort"), clLogRed},
                                 {QStringLiteral("Была попытка №1"), clLogViolet}};
    EXPECT_EQ(ringLines(), again);

    // A request without reply counts as handed over even so.
    setRequest(kRequest, 0);
    EXPECT_TRUE(Relcon4->funSendReceive1(0));
}

TEST_F(EngineTest, MeasuredTimeOfOneRequestAtTheDefaultSettings) {
    constexpr int kRuns = 5;
    std::vector<UnitStep> steps(kRuns, Answer(kRequest.size(), kReply));
    // Write1Wait2 = Write2WaitN = 4, PreSendPause 100, TimeOut 100.
    ASSERT_TRUE(playUnit(steps, 100, 100));
    std::vector<qint64> times;
    for (int i = 0; i < kRuns; ++i) {
        setRequest(kRequest, 6);
        QElapsedTimer clock;
        clock.start();
        ASSERT_TRUE(Relcon4->funSendReceive1(0));
        times.push_back(clock.nsecsElapsed() / 1000);
    }
    std::sort(times.begin(), times.end());
    // The pauses alone: 1 + 100 before the request, 4 gaps of 4 ms, a 2 ms
    // tail, 1 before the read and one 1 ms read pass: 121 ms.
    std::cout << "[ figures  ] 5-byte request, 6-byte reply: median " << times[kRuns / 2] / 1000.0
              << " ms, min " << times.front() / 1000.0 << " ms, max " << times.back() / 1000.0
              << " ms (pauses add up to 121 ms)\n";
    EXPECT_GE(times.front(), 120000);
    // Generous: a loaded machine stretches every sleep (seen: 180-220 ms with
    // two other processes spinning on this 2-core machine).
    EXPECT_LT(times[kRuns / 2], 1000000);
}

TEST(AttemptJudgement, RepeatsOnlySilentAttempts) {
    int attempts = 0;
    TAttemptVerdict v = JudgeAttempt(false, 6, true, attempts, 3);
    EXPECT_FALSE(v.goingOn);
    EXPECT_EQ(attempts, 0);
    EXPECT_TRUE(v.notes.isEmpty());

    v = JudgeAttempt(true, 0, true, attempts, 3);
    EXPECT_TRUE(v.goingOn);
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(v.notes, QStringList{QStringLiteral("Была попытка №1")});

    v = JudgeAttempt(true, 4, true, attempts, 3);
    EXPECT_FALSE(v.goingOn) << "a short reply ends the transaction";
    EXPECT_EQ(attempts, 2);

    attempts = 2;
    v = JudgeAttempt(true, 0, true, attempts, 3);
    EXPECT_FALSE(v.goingOn);
    EXPECT_EQ(attempts, 3);

    attempts = 0;
    v = JudgeAttempt(true, 0, true, attempts, 1);
    EXPECT_FALSE(v.goingOn);
    EXPECT_TRUE(v.notes.isEmpty()) << "no note with a single attempt";
}

TEST(AttemptJudgement, EndlessAttemptsWrapAt65535) {
    int attempts = 65534;
    const TAttemptVerdict v = JudgeAttempt(true, 0, true, attempts, kAttemptsWrap);
    EXPECT_TRUE(v.goingOn);
    EXPECT_EQ(attempts, 0);
    EXPECT_EQ(v.notes, (QStringList{QStringLiteral("65535 - что-то невероятное..."),
                                    QStringLiteral("Была попытка №0")}));
    // A failed send (going on already cleared) is never retried.
    attempts = 5;
    EXPECT_FALSE(JudgeAttempt(true, 0, false, attempts, kAttemptsWrap).goingOn);
}

// Replies of one command look alike. After an exchange answered only on a
// retry, the missing attempt's reply may still come and pass for a later
// request's answer: until an exchange is answered at once with nothing behind
// it, bytes behind a reply make that exchange fail.
TEST_F(EngineTest, AfterARetryBytesBehindAReplyFailTheExchangeUntilOneIsClean) {
    const auto answerAndCopy = [] {
        UnitStep step = Answer(kRequest.size(), kReply);
        step.late = kReply; // a second reply just behind the first
        step.lateDelayMs = 15;
        return step;
    };
    ASSERT_TRUE(playUnit({Silence(kRequest.size()), Answer(kRequest.size(), kReply),
                          answerAndCopy(), Answer(kRequest.size(), kReply), answerAndCopy()},
                         kSlowReadTimeOut));
    ExchangeState.NumOfRepeat = 3;
    const TReplyCheck anyReply = [](const TMasBytes&, std::uint16_t) { return QString(); };
    const struct {
        const char* what;
        bool ok;
        bool suspectAfter;
    } exchanges[] = {
        {"answered on the retry", true, true},
        {"a reply with another behind it", false, true},
        {"answered at once, nothing behind", true, false},
        {"a reply with another behind it, the line trusted again", true, false},
    };
    for (const auto& e : exchanges) {
        ResetLogState();
        setRequest(kRequest, 6);
        const bool ok = Relcon4->funSendReceive1(0, anyReply);
        const std::vector<Row> lines = ringLines();
        std::ostringstream log;
        for (const Row& r : lines)
            log << "\n" << r;
        EXPECT_EQ(ok, e.ok) << e.what << log.str();
        EXPECT_EQ(ExchangeState.LineSuspect[0], e.suspectAfter) << e.what;
        const bool refused = std::any_of(lines.begin(), lines.end(), [](const Row& r) {
            return r.text.startsWith(QStringLiteral("Ответ пришёл позже тайм-аута"));
        });
        EXPECT_EQ(refused, !e.ok) << e.what;
    }
}
