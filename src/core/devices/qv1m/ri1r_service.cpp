#include "devices/qv1m/ri1r_service.h"

#include "devices/qv1/qv1_link.h"
#include "engine/transaction.h"
#include "port/port_open.h"

#include <functional>

namespace {

TRi1rKnown known;

TCommandResult knownResult(const TCommandResult& result) {
    known.result = result;
    return result;
}

// One request; with a result code the unit must have accepted it.
TCommandResult exchange(const TQv1Request& request, const QString& step, TMasBytes& reply,
                        bool accepted = false) {
    std::optional<TMasBytes> got = Qv1Exchange(request);
    TCommandResult result = ExchangeOutcome(got.has_value(), step);
    reply = got ? std::move(*got) : TMasBytes{};
    if (result.ok() && accepted && Qv1ResultCode(reply) != 0) {
        result.fault = TCommandFault::Refused;
        result.step = step;
        result.detail = QStringLiteral("код %1").arg(Qv1ResultCode(reply));
    }
    return result;
}

TCommandResult withLine(const std::function<TCommandResult()>& work) {
    Qv1OpenClose(true);
    const TCommandResult result = work();
    Qv1OpenClose(false);
    return result;
}

TCommandResult startSession(TMasBytes& reply) {
    const TCommandResult r =
        exchange(Qv1StartSessionRequest(), QStringLiteral("начало сеанса"), reply);
    if (r.ok()) {
        known.ident = Qv1DecodeIdentText(reply);
        known.releaseDate = Qv1DecodeReleaseDate(reply);
    }
    return r;
}

QString modeStep(const char* what, int n) {
    return QStringLiteral("%1 %2").arg(QString::fromUtf8(what)).arg(n + 1);
}

TCommandResult readSession(TQv1mUnitRead& read) {
    TMasBytes reply;
    TCommandResult r = startSession(reply);
    if (!r.ok())
        return r;
    read.session = true;
    read.ident = Qv1DecodeIdentText(reply);
    read.releaseDate = Qv1DecodeReleaseDate(reply);
    read.currentMode = Qv1DecodeCurrentMode(reply);
    for (int n = 0; n < kQv1ModeCount && r.ok(); ++n)
        r = Ri1rReadMode(n, read);
    if (!r.ok())
        return r;
    r = exchange(Qv1ReadTimeErrRequest(), QStringLiteral("чтение времён"), reply);
    if (!r.ok())
        return r;
    Qv1DecodeTimeErr(reply, read.set.mQV1M_s);
    read.delays = true;
    r = exchange(Qv1ReadVoltFlagsRequest(), QStringLiteral("чтение порогов"), reply);
    if (!r.ok())
        return r;
    Qv1DecodeVoltFlags(reply, read.set.mQV1M_s);
    read.voltFlags = true;
    return r;
}

} // namespace

const TRi1rKnown& Ri1rLastKnown() {
    return known;
}

TCommandResult Ri1rReadSession(TQv1mUnitRead& read) {
    const TCommandResult r = readSession(read);
    known.set = read.set;
    return knownResult(r);
}

TCommandResult Ri1rReadMode(int n, TQv1mUnitRead& read) {
    TMasBytes reply;
    const TCommandResult r = exchange(Qv1ReadModeRequest(n), modeStep("чтение режима", n), reply);
    if (r.ok()) {
        Qv1DecodeMode(reply, read.set, n);
        read.modes[static_cast<std::size_t>(n)] = true;
    }
    return r;
}

TCommandResult Ri1rRead(TQv1mUnitRead& read) {
    return withLine([&] { return Ri1rReadSession(read); });
}

TCommandResult Ri1rWriteSet(const TQv1mSet& set, int day, int month, int year) {
    known.set = set;
    return knownResult(withLine([&] {
        TMasBytes reply;
        TCommandResult r = startSession(reply);
        if (!r.ok())
            return r;
        const bool dated = Qv1DateIsSet(Qv1DecodeReleaseDate(reply));
        for (int n = 0; n < kQv1ModeCount && r.ok(); ++n)
            r = exchange(Qv1WriteModeRequest(set, n), modeStep("запись режима", n), reply, true);
        if (r.ok())
            r = exchange(Qv1WriteTimeErrRequest(set.mQV1M_s), QStringLiteral("запись времён"),
                         reply, true);
        if (r.ok())
            r = exchange(Qv1WriteVoltFlagsRequest(set.mQV1M_s), QStringLiteral("запись порогов"),
                         reply, true);
        if (r.ok())
            r = dated ? exchange(Qv1CmdTRequest(), QStringLiteral("команда t"), reply, true)
                      : exchange(Qv1WriteDateRequest(day, month, year),
                                 QStringLiteral("запись даты выпуска"), reply, true);
        if (r.ok())
            r = exchange(Qv1EndSessionRequest(true), QStringLiteral("завершение сеанса"), reply,
                         true);
        return r;
    }));
}

TCommandResult Ri1rEndSession(bool restart) {
    return withLine([&] {
        TMasBytes reply;
        return exchange(Qv1EndSessionRequest(restart), QStringLiteral("завершение сеанса"), reply,
                        true);
    });
}

void UseCoreQv1Line() {
    Qv1Line().openClose = [](bool open) { OpenCloseCommandPort(open); };
    Qv1Line().sendReceive = [](const TReplyCheck& check) { return SendReceive(0, check); };
}
