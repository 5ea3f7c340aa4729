#include "devices/qv2f3/zi2z3_service.h"

#include "devices/qv1/qv1_link.h"
#include "engine/transaction.h"
#include "exchange/exchange_state.h"
#include "exchange/frame.h"
#include "platform/clock.h"
#include "port/channel_port.h"
#include "serial/com_port.h"

#include <QElapsedTimer>
#include <algorithm>

using namespace qv2f3;

namespace {

// How often the watch looks at the line while nothing has come.
constexpr int kWatchPollMs = 5;

TZi2z3Known known;

TCommandResult knownResult(const TCommandResult& result) {
    known.result = result;
    return result;
}

// A packet's fields replace the same fields of earlier ones; a status box
// is kept as "1" or "0".
void keepFields(const TBenchDecoded& decoded) {
    std::vector<TFieldText> texts = decoded.texts;
    for (const TFieldCheck& c : decoded.checks)
        texts.push_back({c.name, c.checked ? QStringLiteral("1") : QStringLiteral("0")});
    for (const TFieldText& t : texts) {
        auto same = std::find_if(known.fields.begin(), known.fields.end(),
                                 [&](const TFieldText& f) { return f.name == t.name; });
        if (same == known.fields.end())
            known.fields.push_back(t);
        else
            same->text = t.text;
    }
}

QString hexByte(std::uint8_t b) {
    return QStringLiteral("0x") + QString::fromStdString(ByteToHex(b));
}

TCommandResult withLine(const std::function<TCommandResult()>& work) {
    Qv1OpenClose(true);
    const TCommandResult result = work();
    Qv1OpenClose(false);
    return result;
}

// One frame. A reply whose end mark is wrong is misframed (stray bytes
// before it, or the tail of another): its values are not taken.
TCommandResult exchange(const TMasBytes& frame, std::uint16_t replyLength, const QString& step,
                        TMasBytes& reply) {
    std::optional<TMasBytes> got = Qv1Exchange({frame, replyLength}, true);
    TCommandResult result = ExchangeOutcome(got.has_value(), step);
    reply = got ? std::move(*got) : TMasBytes{};
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
                LogStatusLine(QStringLiteral("Посторонний байт: ") + hexByte(pending_.front()),
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
        const TBenchDecoded decoded = Zi2z3TakePacket(pending_.data(), count);
        if (sink_)
            sink_(decoded);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    }

    const TBenchPacketSink& sink_;
    std::vector<std::uint8_t> pending_;
};

// Reads the line for watchMs; the packets that came whole with a sound sum,
// or -1 when the line dropped.
int watch(int watchMs, const TBenchPacketSink& onPacket) {
    TCustomComPortD* port = ExchangePort();
    if (!port || watchMs <= 0)
        return 0;
    int packets = 0;
    const TBenchPacketSink counted = [&](const TBenchDecoded& packet) {
        if (packet.crcOk && packet.received == packet.length)
            ++packets;
        if (onPacket)
            onPacket(packet);
    };
    // The watch reads the line itself; the background reception stays out.
    port->SetPhonReceive(false);
    TPacketCutter cutter(counted);
    QElapsedTimer clock;
    clock.start();
    bool dropped = false;
    while (clock.elapsed() < watchMs && ExchangeState.PortOpen[0]) {
        const std::uint32_t waiting = port->funDataIsOk();
        if (waiting == 0) {
            if (port->LineFailed()) {
                dropped = true;
                break;
            }
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
    return dropped ? -1 : packets;
}

} // namespace

const TZi2z3Known& Zi2z3LastKnown() {
    return known;
}

TCommandResult Zi2z3StartSession(QString& ident) {
    TMasBytes reply;
    const TCommandResult r =
        exchange(SessionFrame(), kSessionReplyLength, QStringLiteral("начало сеанса"), reply);
    if (r.ok()) {
        ident = SessionIdent(reply);
        known.ident = ident;
    }
    return knownResult(r);
}

TCommandResult Zi2z3ReadDelays(TDelaySettings& delays) {
    TMasBytes reply;
    const TCommandResult r =
        exchange(ReadTimesFrame(), kReadTimesReplyLength, QStringLiteral("чтение задержек"), reply);
    if (r.ok()) {
        delays = ReadTimesValues(reply);
        known.delays = delays;
    }
    return knownResult(r);
}

TCommandResult Zi2z3WriteDelays(const TDelaySettings& delays) {
    const QString step = QStringLiteral("запись задержек");
    TMasBytes reply;
    known.delays = delays;
    TCommandResult r = exchange(WriteTimesFrame(delays), kWriteTimesReplyLength, step, reply);
    if (r.ok() && !WriteTimesAccepted(reply)) {
        r.fault = TCommandFault::Refused;
        r.step = step;
    }
    return knownResult(r);
}

TCommandResult Zi2z3ReadSettings(QString& ident, TDelaySettings& delays) {
    return withLine([&] {
        const TCommandResult r = Zi2z3StartSession(ident);
        return r.ok() ? Zi2z3ReadDelays(delays) : r;
    });
}

TCommandResult Zi2z3WriteSettings(const TDelaySettings& delays) {
    return withLine([&] { return Zi2z3WriteDelays(delays); });
}

TCommandResult Zi2z3StartWatch() {
    Qv1OpenClose(true);
    if (!ExchangeState.PortOpen[0])
        return ExchangeOutcome(false, QStringLiteral("ожидание посылок"));
    Qv1SetPhonReceive(true);
    return {};
}

void Zi2z3StopWatch() {
    if (ExchangeState.PortOpen[0])
        Qv1SetPhonReceive(false);
    Qv1OpenClose(false);
}

TCommandResult Zi2z3SendBenchCommand(std::uint8_t code) {
    const QString step = QStringLiteral("команда стенда ") + hexByte(code);
    TMasBytes reply;
    TCommandResult r = exchange(BenchCommandFrame(code), 0, step, reply);
    // The engine calls a frame with no reply done even when it never left
    // (a dropped line); that must not count as sent.
    if (r.ok() && ExchangeState.SendFailed) {
        r.fault = TCommandFault::NoReply;
        r.step = step;
        r.detail = QStringLiteral("команда не отправлена");
    }
    return knownResult(r);
}

TBenchDecoded Zi2z3TakePacket(const std::uint8_t* bytes, std::size_t count,
                              const TBenchPacketSink& show) {
    const TBenchDecoded decoded = prAnalyzeAnswer(bytes, count);
    if (decoded.length == 0)
        return decoded;
    keepFields(decoded);
    if (show)
        show(decoded);
    LogStatusLine(decoded.logLine, clLogGreen);
    return decoded;
}

TCommandResult Zi2z3Bench(std::uint8_t code, int watchMs, const TBenchPacketSink& onPacket) {
    // A run's results are its own packets'.
    known.fields.clear();
    return withLine([&] {
        TCommandResult r = Zi2z3SendBenchCommand(code);
        if (!r.ok() || watchMs <= 0)
            return r;
        // A watch that saw nothing did not get what the command asks for.
        const int packets = watch(watchMs, onPacket);
        if (packets <= 0) {
            r.fault = TCommandFault::NoReply;
            r.step = QStringLiteral("посылки стенда");
            r.detail = packets < 0
                           ? QStringLiteral("линия пропала")
                           : QStringLiteral("за %1 с не пришло ни одной целой").arg(watchMs / 1000);
            LogStatusLine(r.step + QStringLiteral(": ") + r.detail, clLogRed);
        }
        return knownResult(r);
    });
}
