// Background reception between exchanges: bytes a unit sends on its own are
// read, completed to the length their first byte announces, and handed to the
// page that listens for them.
#include "engine/transaction.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "exchange/monitor_form.h"
#include "platform/clock.h"
#include "port/port_open.h"
#include "serial/com_port.h"

#include <algorithm>

namespace {

constexpr int kWatchdogMs = 1000;

void logStatus(TMonitorForm& form, const QString& text, TLogColor color) {
    AnalyzeLog.sStr = text;
    form.prStatusAsStrToLog(color);
}

} // namespace

void TMonitorForm::ComPortD1RxBuf() {
    if (!ComPortD1->PhonReceive() || inRxBuf_ || ExchangeRunning)
        return;
    inRxBuf_ = true;
    TExchangeState& ex = ExchangeState;
    ex.RxExpected = 1;
    // The read stops at RxBuf's end, so a stream of garbage cannot grow anything.
    ComPortD1->ReadData(&ex.RxBuf, ex.RxExpected, 0, 0, 0, 0);
    ex.RxLength =
        std::min<std::uint16_t>(ex.RxExpected, static_cast<std::uint16_t>(ex.RxBuf.size()));
    // One read may hold several packets (the bench sends place 2's right after
    // place 1's): each whole one is decoded in turn, as if it had come alone,
    // and only a packet cut off at the end of the read waits for its rest.
    const TMasBytes read(ex.RxBuf.begin(), ex.RxBuf.begin() + ex.RxLength);
    std::size_t at = 0;
    while (at < read.size()) {
        const std::uint8_t first = read[at];
        const std::size_t left = read.size() - at;
        const std::size_t length = BackgroundPacketLength ? BackgroundPacketLength(first) : 0;
        const std::size_t take = length > 0 ? std::min(length, left) : 0;
        std::copy_n(read.begin() + static_cast<std::ptrdiff_t>(at), take, ex.RxBuf.begin());
        ex.RxLength = static_cast<std::uint16_t>(take);
        if (length > 0 && take == length)
            prAnalyzeAnswer();
        else if (length > 0)
            prSend_Receive(static_cast<std::uint8_t>(take), static_cast<std::uint8_t>(length));
        AnalyzeLog.sStr = QString(QChar(first));
        prStatusAsCmdToLog(clLogRed, LogHex);
        // A byte that starts no packet ends the read: the rest is dropped.
        at = (length > 0 && take == length) ? at + length : read.size();
    }
    inRxBuf_ = false;
}

void TMonitorForm::appendBackgroundRead(std::uint16_t count) {
    TExchangeState& ex = ExchangeState;
    ComPortD1->ReadData(&ex.RxTailBuf, count, 0, 0, 0, 0);
    const std::size_t room = ex.RxBuf.size() - std::min<std::size_t>(ex.RxLength, ex.RxBuf.size());
    const std::size_t n = std::min<std::size_t>({count, ex.RxTailBuf.size(), room});
    std::copy_n(ex.RxTailBuf.begin(), n, ex.RxBuf.begin() + ex.RxLength);
    ex.RxLength = static_cast<std::uint16_t>(ex.RxLength + n);
}

void TMonitorForm::prSend_Receive(std::uint8_t bLenReceive, std::uint8_t bLenPacket) {
    TExchangeState& ex = ExchangeState;
    TCustomComPortD& port = *ComPortD1;
    ex.RxLength = 0;
    platform::SleepMs(1);
    ArmPortWatchdog(kWatchdogMs);
    port.SetPhonReceive(false);
    ex.RxExpected = bLenPacket > bLenReceive ? bLenPacket - bLenReceive : 0;
    // What arrived stays counted even when nothing more comes, so only those
    // bytes are decoded, never whatever RxBuf held from before.
    ex.RxLength = bLenReceive;
    const bool crashed = ex.PortCrash[0];
    if (!crashed && ex.RxExpected > 0) {
        platform::SleepMs(1);
        appendBackgroundRead(ex.RxExpected);
        if (ex.RxLength < bLenPacket && port.funDataIsOk() > 0) {
            appendBackgroundRead(static_cast<std::uint16_t>(bLenPacket - ex.RxLength));
            logStatus(*this, QStringLiteral("Произведено сращивание ответа "), clLogBlack);
        }
    }
    if (crashed) {
        logStatus(*this, QStringLiteral("CrashComPort"), clLogRed);
        ex.SendFailed = true;
        ex.ReplyFailed = true;
        ex.RxLength = 0;
    } else {
        ExchangeLog().prCommandToLog();
    }
    prAnalyzeAnswer();
    // The watch may have been stopped while the read pumped messages.
    if (port.Connected())
        port.SetPhonReceive(true);
}

void TMonitorForm::prAnalyzeAnswer() {
    const TExchangeState& ex = ExchangeState;
    if (BackgroundPacket)
        BackgroundPacket(std::min<std::size_t>(ex.RxLength, ex.RxBuf.size()));
}
