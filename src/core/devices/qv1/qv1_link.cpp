#include "devices/qv1/qv1_link.h"

#include "devices/qv1/qv1_framing.h"
#include "engine/transaction.h"
#include "exchange/exchange_state.h"

#include <algorithm>

namespace {
TQv1Line line;
}

TQv1Line& Qv1Line() {
    return line;
}

void ResetQv1Line() {
    line = {};
}

void Qv1OpenClose(bool open) {
    if (line.openClose)
        line.openClose(open);
}

void Qv1SetPhonReceive(bool on) {
    if (line.setPhonReceive)
        line.setPhonReceive(on);
}

std::optional<TMasBytes> Qv1Exchange(const TQv1Request& request, bool endMarked) {
    TExchangeState& x = ExchangeState;
    if (request.frame.size() > x.TxBuf.size() || request.replyLength > x.RxBuf.size())
        return std::nullopt;
    std::copy(request.frame.begin(), request.frame.end(), x.TxBuf.begin());
    x.TxLength = static_cast<std::uint16_t>(request.frame.size());
    x.RxExpected = request.replyLength;
    // Replies carry no command, so the engine tells a late one by its timing;
    // with endMarked a misframed one is refused there too, and the rest of it
    // does not meet the next request.
    const TReplyCheck check = [endMarked](const TMasBytes& reply, std::uint16_t length) {
        return endMarked ? qv1::ReplyEndMismatch(reply, length) : QString();
    };
    if (!line.sendReceive || !line.sendReceive(check))
        return std::nullopt;
    // The engine reports success on the length; never trust more than RxBuf holds.
    const std::size_t n = std::min<std::size_t>(request.replyLength, x.RxBuf.size());
    if (x.RxLength != n)
        return std::nullopt;
    const QString endNote = qv1::ReplyEndMismatch(x.RxBuf, n);
    if (!endNote.isEmpty()) {
        LogStatusLine(endNote, clLogRed);
        if (endMarked) {
            // Not taken, as the engine drops a reply its check refuses.
            x.RxLength = 0;
            return std::nullopt;
        }
    }
    return TMasBytes(x.RxBuf.begin(), x.RxBuf.begin() + static_cast<std::ptrdiff_t>(n));
}
