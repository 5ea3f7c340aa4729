#include "engine/command_result.h"

#include "exchange/exchange_state.h"
#include "port/port_open.h"

QString TCommandResult::text() const {
    QString what;
    switch (fault) {
    case TCommandFault::None:
        return {};
    case TCommandFault::PortNotOpen:
        what = QStringLiteral("порт не открыт");
        break;
    case TCommandFault::NoReply:
        what = QStringLiteral("нет ответа");
        break;
    case TCommandFault::WrongLength:
        what = QStringLiteral("ответ неверной длины");
        break;
    case TCommandFault::Refused:
        what = QStringLiteral("устройство отказало");
        break;
    case TCommandFault::Unmatched:
        what = QStringLiteral("ответы не сошлись");
        break;
    }
    // Opening is no step of the command: the port did not open at all.
    const bool named = !step.isEmpty() && fault != TCommandFault::PortNotOpen;
    QString line = named ? step + QStringLiteral(": ") + what : what;
    if (!detail.isEmpty())
        line += QStringLiteral(" (") + detail + QStringLiteral(")");
    return line;
}

TCommandResult ExchangeOutcome(bool received, const QString& step) {
    TCommandResult result;
    if (received)
        return result;
    const TExchangeState& ex = ExchangeState;
    result.step = step;
    if (!ex.PortOpen[0]) {
        result.fault = TCommandFault::PortNotOpen;
        result.detail = LastOpenProblem().simplified();
    } else if (ex.RxLength == 0) {
        result.fault = TCommandFault::NoReply;
        if (ex.SendFailed)
            result.detail = QStringLiteral("запрос не передан");
    } else {
        result.fault = TCommandFault::WrongLength;
        result.detail = QStringLiteral("%1 байт из %2").arg(ex.RxLength).arg(ex.RxExpected);
    }
    return result;
}
