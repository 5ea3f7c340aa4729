#include "engine/transaction.h"

#include "exchange/exchange_host.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "platform/clock.h"
#include "port/channel_port.h"
#include "port/port_open.h"
#include "serial/com_port.h"

#include <QScopedValueRollback>
#include <algorithm>

bool ExchangeRunning = false;

namespace {

constexpr int kDiscardPasses = 10;
// The discard read asks for more than can come, so it runs to its time-out.
constexpr std::uint16_t kDiscardWant = 4096;
constexpr int kWatchdogMs = 1000;

// Each transaction gives the port watchdog a fresh second; a failed send
// leaves the channel marked, and the watchdog then takes over.
void restartWatchdog() {
    ArmPortWatchdog(kWatchdogMs);
}

void sendRequest(TCustomComPortD& port, std::uint8_t ch) {
    TExchangeState& ex = ExchangeState;
    if (ex.PortCrash[ch]) {
        ex.SendFailed = true;
    } else if (ex.TxLength > 0) {
        ex.SendFailed = !port.SendString(&ex.TxBuf, ex.TxLength);
    } else {
        ex.SendFailed = false;
        LogStatusLine(QStringLiteral("Команда запроса не определена "), clLogRed);
    }
}

void readReply(TCustomComPortD& port) {
    TExchangeState& ex = ExchangeState;
    pDelay(1);
    std::uint16_t want = ex.RxExpected;
    ex.ReplyFailed = !port.ReadData(&ex.RxBuf, ex.RxExpected, 0, 0, 0, 0);
    ex.RxLength = ex.RxExpected;
    // 255 takes whatever came, so there is nothing to complete.
    if (want == 255)
        want = ex.RxLength;
    StitchReply(port, want);
}

// Bytes that are not taken go to the log as a red command line.
void logDropped(const TMasBytes& buf, std::size_t count) {
    const std::size_t n = std::min(count, buf.size());
    QString bytes(static_cast<qsizetype>(n), Qt::Uninitialized);
    for (std::size_t k = 0; k < n; ++k)
        bytes[static_cast<qsizetype>(k)] = QChar(buf[k]);
    AnalyzeLog.sStr = bytes;
    ExchangeLog().prStatusAsCmdToLog(clLogRed, LogHex);
}

void refuseForeignReply(TCustomComPortD& port, const TReplyCheck& check) {
    TExchangeState& ex = ExchangeState;
    const QString whose = check(ex.RxBuf, ex.RxLength);
    if (whose.isEmpty())
        return;
    LogStatusLine(whose, clLogRed);
    logDropped(ex.RxBuf, ex.RxLength);
    // The rest of that reply, and this request's own if it follows, must not
    // meet the next request.
    DiscardStaleInput(port, true);
    ex.RxLength = 0;
    ex.ReplyFailed = true;
}

// Waits waitMs for bytes behind a reply taken. Replies of one command look
// alike, so timing is what tells them apart: bytes there mean the reply taken
// may have been another request's, and the exchange fails rather than pass it
// on. True when such bytes came.
bool refuseIfMoreFollows(TCustomComPortD& port, int waitMs) {
    TExchangeState& ex = ExchangeState;
    const platform::MonoTime until = platform::MonoAfter(platform::MonoNow(), waitMs);
    while (platform::MonoNow() < until && port.funDataIsOk() == 0)
        pDelay(1);
    if (port.funDataIsOk() == 0)
        return false;
    LogStatusLine(QStringLiteral("Ответ пришёл позже тайм-аута: не различить, на какой запрос"),
                  clLogRed);
    DiscardStaleInput(port, true);
    ex.RxLength = 0;
    ex.ReplyFailed = true;
    return true;
}

// After an exchange with unanswered attempts, their replies may still be on
// their way. Had the reply taken on a retry been an earlier attempt's, this
// attempt's own would follow within the span between the two sends plus the
// time-out. A reply later still would meet a later request of the same kind
// and pass for its answer, so the channel stays suspect: each answered
// exchange then looks a time-out behind its reply, until one was answered on
// its first attempt with nothing behind it.
void guardLateReplies(TCustomComPortD& port, std::uint8_t ch, int attempts,
                      platform::MonoTime firstSend, platform::MonoTime lastSend) {
    TExchangeState& ex = ExchangeState;
    const bool answered = ex.RxExpected > 0 && ex.RxLength == ex.RxExpected && !ex.SendFailed;
    if (!answered) {
        if (attempts > 0)
            ex.LineSuspect[ch] = true;
        return;
    }
    if (attempts > 1) {
        const auto span =
            std::chrono::duration_cast<std::chrono::milliseconds>(lastSend - firstSend);
        refuseIfMoreFollows(port, static_cast<int>(span.count()) + TimeOut);
        ex.LineSuspect[ch] = true;
    } else if (ex.LineSuspect[ch]) {
        ex.LineSuspect[ch] = refuseIfMoreFollows(port, TimeOut);
    }
}

} // namespace

void LogStatusLine(const QString& text, TLogColor color) {
    AnalyzeLog.sStr = text;
    ExchangeLog().prStatusAsStrToLog(color);
}

void DiscardStaleInput(TCustomComPortD& port, bool evenIfQuiet) {
    TExchangeState& ex = ExchangeState;
    for (int pass = 0;
         pass < kDiscardPasses && ((evenIfQuiet && pass == 0) || port.funDataIsOk() > 0); ++pass) {
        const bool waited = evenIfQuiet && pass == 0;
        std::uint16_t count = kDiscardWant;
        ex.ReplyFailed = !port.ReadData(&ex.RxTailBuf, count, 0, 0, 0, 0);
        pDelay(100);
        if (count > 0 || !waited)
            logDropped(ex.RxTailBuf, count);
    }
}

void StitchReply(TCustomComPortD& port, std::uint16_t want) {
    TExchangeState& ex = ExchangeState;
    if (want <= ex.RxLength)
        return;
    const std::int32_t latency = port.ManyWait1byte();
    if (port.funDataIsOk() == 0)
        return;
    const std::uint16_t missing = want - ex.RxLength;
    std::uint16_t count = missing;
    ex.ReplyFailed = !port.ReadData(&ex.RxTailBuf, count, 0, 0, 0, 0);
    const std::size_t room = ex.RxBuf.size() - std::min<std::size_t>(ex.RxLength, ex.RxBuf.size());
    const std::size_t n = std::min<std::size_t>({count, ex.RxTailBuf.size(), room});
    std::copy_n(ex.RxTailBuf.begin(), n, ex.RxBuf.begin() + ex.RxLength);
    ex.RxLength = static_cast<std::uint16_t>(ex.RxLength + n);
    // The log shows how long the unit took to start answering, not the tail.
    port.SetManyWait1byte(latency);
    LogStatusLine(QStringLiteral("Произведено сращивание ответа ") + QString::number(missing),
                  clLogBlack);
}

TAttemptVerdict JudgeAttempt(bool replyFailed, std::uint16_t rxLength, bool goingOn, int& attempts,
                             std::int32_t numOfRepeat) {
    TAttemptVerdict verdict;
    verdict.goingOn = goingOn;
    if (!replyFailed || rxLength > 0) {
        // A reply, or a short one whose completion failed: no further attempt.
        verdict.goingOn = false;
        if (attempts > 0)
            ++attempts;
    } else {
        ++attempts;
        if (attempts >= kAttemptsWrap) {
            verdict.notes << QString::number(attempts) + QStringLiteral(" - что-то невероятное...");
            attempts = 0;
        }
        if (numOfRepeat > 1)
            verdict.notes << QStringLiteral("Была попытка №") + QString::number(attempts);
    }
    if (replyFailed && verdict.goingOn && attempts >= numOfRepeat)
        verdict.goingOn = false;
    return verdict;
}

void RunTransaction(std::uint8_t bNumChannel, const TReplyCheck& check) {
    TExchangeState& ex = ExchangeState;
    if (bNumChannel >= kNumChannels || !ExchangePort()) {
        ex.SendFailed = ex.ReplyFailed = true;
        ex.RxLength = 0;
        return;
    }
    TCustomComPortD& port = *ExchangePort();
    const QScopedValueRollback<bool> running(ExchangeRunning, true);
    ex.RxLength = 0;
    ex.ReplyFailed = false;
    pDelay(1);
    restartWatchdog();

    int attempts = 0;
    bool goingOn = true;
    platform::MonoTime firstSend{};
    platform::MonoTime lastSend{};
    while (goingOn) {
        ex.RxLength = 0;
        if (attempts > 0) {
            pDelay(100);
            platform::SleepMs(100);
            platform::PumpMessages();
            DiscardStaleInput(port);
        }
        // Background reception stays off while this attempt has the line.
        port.SetPhonReceive(false);
        lastSend = platform::MonoNow();
        if (attempts == 0)
            firstSend = lastSend;
        sendRequest(port, bNumChannel);
        const std::uint16_t saved = ex.RxExpected % 256;
        if (!ex.SendFailed && (ex.RxExpected > 0 || port.WaitReceive()))
            readReply(port);
        ex.RxExpected = saved;
        if (ex.SendFailed) {
            LogStatusLine(QStringLiteral("CrashComPort"), clLogRed);
            ex.ReplyFailed = true;
            ex.RxLength = 0;
            goingOn = false;
            ex.PortCrash[bNumChannel] = true;
        } else if (check && ex.RxLength > 0) {
            refuseForeignReply(port, check);
        }
        port.SetPhonReceive(true);

        const TAttemptVerdict verdict =
            JudgeAttempt(ex.ReplyFailed, ex.RxLength, goingOn, attempts, ex.NumOfRepeat);
        goingOn = verdict.goingOn;
        for (const QString& note : verdict.notes)
            LogStatusLine(note, clLogViolet);

        if (!ex.PortCrash[bNumChannel]) {
            ex.AttemptsUsed = static_cast<std::uint8_t>(attempts);
            ExchangeLog().prCommandToLog();
        }
    }
    if (check)
        guardLateReplies(port, bNumChannel, attempts, firstSend, lastSend);
}

bool SendReceive(std::uint8_t bNumChannel, const TReplyCheck& check) {
    TExchangeState& ex = ExchangeState;
    ++ex.ExchangesAsked;
    if (bNumChannel >= kNumChannels || !ex.PortOpen[bNumChannel] || !ExchangePort())
        return false;
    RunTransaction(bNumChannel, check);
    if (ex.RxExpected == 0)
        return true;
    return ex.RxLength == ex.RxExpected;
}

void pDelay(std::uint32_t TimeDelay) {
    // The exchange's short sleeps need a fine timer from here on.
    platform::RaiseTimerResolution();
    // A pump per ms, each ms ending at an instant counted from the start; the
    // last is met sharply, since a send or a read follows it.
    const platform::MonoTime start = platform::MonoNow();
    for (std::uint32_t ms = 1; ms <= TimeDelay; ++ms) {
        platform::PumpMessages();
        const platform::MonoTime end = platform::MonoAfter(start, static_cast<int>(ms));
        if (ms < TimeDelay)
            platform::SleepUntil(end);
        else
            platform::WaitUntilSharp(end);
    }
}
