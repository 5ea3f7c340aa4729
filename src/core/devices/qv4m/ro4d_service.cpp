#include "devices/qv4m/ro4d_service.h"

#include "engine/transaction.h"
#include "exchange/exchange_state.h"
#include "port/port_open.h"

#include <algorithm>

namespace {

constexpr std::uint8_t kChannel = 0;

TRo4dKnown known;

TCommandResult knownResult(const TCommandResult& result) {
    known.result = result;
    return result;
}

// Opens the port for the command, runs it, closes the port. A port that did
// not open still runs the command: its first exchange then fails at once
// without sending, as the pages have always done.
TCommandResult withPort(const std::function<TCommandResult()>& work) {
    OpenCloseCommandPort(true);
    const TCommandResult result = work();
    OpenCloseCommandPort(false);
    return result;
}

QString pageStep(int page) {
    return QStringLiteral("страница %1").arg(page);
}

// Readings of the pages at most, when the line is in doubt.
constexpr int kRo4dReadPasses = 3;

// Pages 0 to 6 into unit, each handed to the sink as it came. troubled is
// set when an exchange left the line in doubt.
TCommandResult readPages(TRo4dUnitImage& unit, const TRo4dReadSink& sink, bool& troubled) {
    TCommandResult result;
    for (int page = 0; page < kRo4dPageCount; ++page) {
        result = Ro4dExchange(PageRequest(static_cast<std::uint8_t>(page)), pageStep(page));
        troubled = troubled || ExchangeState.LineSuspect[kChannel];
        if (!result.ok())
            return result;
        const TRo4dPageWords words = PageWords(ExchangeState.RxBuf);
        std::copy(words.begin(), words.end(), unit.registers.begin() + page * kRo4dPageWords);
        unit.pagesRead = page + 1;
        if (sink.page)
            sink.page(page, words);
    }
    return result;
}

} // namespace

const TRo4dKnown& Ro4dLastKnown() {
    return known;
}

TCommandResult Ro4dExchange(const TRo4dRequest& request, const QString& step, bool checkStatus) {
    TExchangeState& ex = ExchangeState;
    const std::size_t n = std::min(request.bytes.size(), ex.TxBuf.size() - 2);
    std::copy_n(request.bytes.begin(), n, ex.TxBuf.begin());
    ex.TxLength = static_cast<std::uint16_t>(n);
    AppendCrc16();
    ex.RxExpected = request.replyLength;
    // A late reply to an earlier request must not pass for this one's, nor a
    // whole-length reply shifted or damaged by stray bytes: refused, it is
    // asked for again like one that never came.
    const std::uint8_t command = request.bytes.size() > 2 ? request.bytes[2] : 0;
    const std::uint16_t whole = request.replyLength;
    const auto ownAndWhole = [command, whole](const TMasBytes& reply, std::uint16_t length) {
        QString why = ReplyCommandMismatch(reply, length, command);
        if (why.isEmpty() && length == whole)
            why = ReplyCrcMismatch(reply, length);
        return why;
    };
    TCommandResult result = ExchangeOutcome(SendReceive(kChannel, ownAndWhole), step);
    if (result.ok() && checkStatus && ex.RxBuf[kRo4dStatusByte] != kRo4dDone) {
        result.fault = TCommandFault::Refused;
        result.step = step;
        result.detail = QStringLiteral("статус %1").arg(ex.RxBuf[kRo4dStatusByte]);
    }
    return result;
}

TCommandResult Ro4dRead(TRo4dUnitImage& unit, const TRo4dReadSink& sink) {
    const TCommandResult done = withPort([&] {
        // A page reply names its command, not its page: once the line has
        // shown a late or refused reply, another page's answer may stand in
        // for one, so the pages are taken only when two readings agree.
        bool troubled = ExchangeState.LineSuspect[kChannel];
        // The version reply is taken on its length alone.
        TCommandResult result = Ro4dExchange(VersionRequest(), QStringLiteral("версия"), false);
        if (result.ok()) {
            unit.versionRead = true;
            unit.version = VersionText(ExchangeState.RxBuf);
        } else if (result.fault != TCommandFault::PortNotOpen) {
            // Without a port nothing was asked, so nothing is assumed aloud.
            LogStatusLine(QStringLiteral("Версия платы не считана: плата принята за 1.x"),
                          clLogRed);
        }
        unit.bVers = BoardGeneration(unit.version);
        if (sink.version)
            sink.version(unit.version);
        // (An unanswered version request alone is no doubt: its late reply
        // names another command and is refused.)
        result = readPages(unit, sink, troubled);
        for (int pass = 1; result.ok() && troubled; ++pass) {
            if (pass == kRo4dReadPasses) {
                LogStatusLine(QStringLiteral("Страницы прочитаны по-разному: ответы могли "
                                             "прийти не на свои запросы"),
                              clLogRed);
                result.fault = TCommandFault::Unmatched;
                result.step = QStringLiteral("страницы");
                return result;
            }
            const auto before = unit.registers;
            troubled = false;
            result = readPages(unit, sink, troubled);
            troubled = unit.registers != before;
        }
        if (sink.allPages)
            sink.allPages();
        return result;
    });
    known.version = unit.version;
    known.image = unit.image();
    return knownResult(done);
}

TCommandResult Ro4dWrite(const TParamRegs& params, const TModeRegs& mode) {
    known.image = {params, mode, mExtraWords};
    return knownResult(withPort([&] {
        TCommandResult result;
        int frame = 1;
        for (const TRo4dRequest& request : WriteRequests(params, mode)) {
            result = Ro4dExchange(request, QStringLiteral("кадр записи %1").arg(frame++));
            if (!result.ok())
                break;
        }
        return result;
    }));
}

TCommandResult Ro4dSaveToFlash() {
    return knownResult(withPort(
        [] { return Ro4dExchange(SaveToFlashRequest(), QStringLiteral("запись во FLASH")); }));
}

TCommandResult Ro4dRestart() {
    return knownResult(
        withPort([] { return Ro4dExchange(RestartRequest(), QStringLiteral("перезапуск")); }));
}

TCommandResult Ro4dReadErrors(TRo4dErrors& errors) {
    return withPort([&] {
        const TCommandResult result =
            Ro4dExchange(ReadErrorsRequest(), QStringLiteral("чтение ошибок"));
        if (result.ok())
            errors = ErrorsOf(ExchangeState.RxBuf);
        return result;
    });
}

TCommandResult Ro4dReadAdc(std::uint8_t channel, std::uint16_t& value) {
    return withPort([&] {
        const TCommandResult result =
            Ro4dExchange(AdcRequest(channel), QStringLiteral("канал АЦП %1").arg(channel));
        if (result.ok())
            value = ReplyWord(ExchangeState.RxBuf, 0);
        return result;
    });
}
