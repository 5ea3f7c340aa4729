#include "devices/qv2f3/zi2z3_service.h"
#include "devices/qv1/qv1_framing.h"

#include "engine/transaction.h"
#include "exchange/exchange_state.h"
#include "platform/clock.h"
#include "port/channel_port.h"
#include "port/port_open.h"
#include "serial/com_port.h"

#include <QElapsedTimer>
#include <algorithm>

using namespace qv2f3;

namespace {

// How often the watch looks at the line while nothing has come.
constexpr int kWatchPollMs = 5;

TCommandResult withPort(const std::function<TCommandResult()>& work) {
    OpenCloseCommandPort(true);
    const TCommandResult result = work();
    OpenCloseCommandPort(false);
    return result;
}

// One frame; a reply whose end mark is wrong still counts, with a red line.
TCommandResult exchange(const TMasBytes& frame, std::size_t replyLength, const QString& step) {
    TExchangeState& x = ExchangeState;
    const std::size_t n = std::min<std::size_t>(frame.size(), x.TxBuf.size());
    std::copy_n(frame.begin(), n, x.TxBuf.begin());
    x.TxLength = static_cast<std::uint16_t>(n);
    x.RxExpected = static_cast<std::uint16_t>(replyLength);
    TCommandResult result = ExchangeOutcome(SendReceive(0), step);
    if (result.ok() && replyLength > 0) {
        const QString note = qv1::ReplyEndMismatch(x.RxBuf, replyLength);
        if (!note.isEmpty())
            LogStatusLine(note, clLogRed);
    }
    return result;
}

// The bytes that came are cut into packets by their type letters.
class TPacketCutter {
public:
    explicit TPacketCutter(const TBenchPacketSink& sink) : sink_(sink) {}

    void take(const std::uint8_t* bytes, std::size_t count) {
        pending_.insert(pending_.end(), bytes, bytes + count);
        while (!pending_.empty()) {
            const std::size_t length = BenchPacketLength(pending_.front());
            if (length == 0) {
                LogStatusLine(QStringLiteral("Посторонний байт: 0x") +
                                  QString::number(pending_.front(), 16)
                                      .toUpper()
                                      .rightJustified(2, QLatin1Char('0')),
                              clLogRed);
                pending_.erase(pending_.begin());
                continue;
            }
            if (pending_.size() < length)
                return;
            hand(length);
        }
    }
    // The time is up: a packet cut off goes as far as it came.
    void finish() {
        if (!pending_.empty())
            hand(pending_.size());
    }

private:
    void hand(std::size_t count) {
        const TBenchDecoded decoded = prAnalyzeAnswer(pending_.data(), count);
        if (!decoded.logLine.isEmpty())
            LogStatusLine(decoded.logLine, clLogGreen);
        if (sink_)
            sink_(decoded);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    }

    const TBenchPacketSink& sink_;
    std::vector<std::uint8_t> pending_;
};

void watch(int watchMs, const TBenchPacketSink& onPacket) {
    TCustomComPortD* port = ExchangePort();
    if (!port || watchMs <= 0)
        return;
    // The watch reads the line itself; the background reception stays out.
    port->SetPhonReceive(false);
    TPacketCutter cutter(onPacket);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < watchMs && ExchangeState.PortOpen[0]) {
        const std::uint32_t waiting = port->funDataIsOk();
        if (waiting == 0) {
            platform::SleepMs(kWatchPollMs);
            continue;
        }
        const std::int32_t got = port->Read(
            port->mMas.data(),
            static_cast<std::int32_t>(std::min<std::size_t>(waiting, port->mMas.size())));
        if (got > 0)
            cutter.take(port->mMas.data(), static_cast<std::size_t>(got));
    }
    cutter.finish();
}

} // namespace

TCommandResult Zi2z3ReadSettings(QString& ident, TDelaySettings& delays) {
    return withPort([&] {
        TCommandResult r =
            exchange(SessionFrame(), kSessionReplyLength, QStringLiteral("начало сеанса"));
        if (!r.ok())
            return r;
        ident = SessionIdent(ExchangeState.RxBuf);
        r = exchange(ReadTimesFrame(), kReadTimesReplyLength, QStringLiteral("чтение задержек"));
        if (r.ok())
            delays = ReadTimesValues(ExchangeState.RxBuf);
        return r;
    });
}

TCommandResult Zi2z3WriteSettings(const TDelaySettings& delays) {
    return withPort([&] {
        const QString step = QStringLiteral("запись задержек");
        TCommandResult r = exchange(WriteTimesFrame(delays), kWriteTimesReplyLength, step);
        if (r.ok() && !WriteTimesAccepted(ExchangeState.RxBuf)) {
            r.fault = TCommandFault::Refused;
            r.step = step;
        }
        return r;
    });
}

TCommandResult Zi2z3Bench(std::uint8_t code, int watchMs, const TBenchPacketSink& onPacket) {
    return withPort([&] {
        const QString step =
            QStringLiteral("команда стенда 0x") +
            QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        TCommandResult r = exchange(BenchCommandFrame(code), 0, step);
        // The engine calls a frame with no reply done even when it never left.
        if (r.ok() && ExchangeState.SendFailed) {
            r.fault = TCommandFault::NoReply;
            r.step = step;
            r.detail = QStringLiteral("команда не отправлена");
        }
        if (r.ok())
            watch(watchMs, onPacket);
        return r;
    });
}
