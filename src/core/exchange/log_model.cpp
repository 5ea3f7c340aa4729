#include "exchange/log_model.h"

#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_text.h"

#include <QDateTime>
#include <algorithm>

TLogKind LogKindOf(TLogColor color) {
    switch (color) {
    case clLogRed:
        return TLogKind::Failure;
    case clLogGreen:
        return TLogKind::Packet;
    case clLogGrey:
        return TLogKind::Trace;
    case clLogViolet:
        return TLogKind::Retry;
    case clLogBlue:
        return TLogKind::Request;
    case clLogPurple:
        return TLogKind::Reply;
    default:
        return TLogKind::Note;
    }
}

QString LogKindText(TLogKind kind) {
    switch (kind) {
    case TLogKind::Failure:
        return QStringLiteral("ошибка ");
    case TLogKind::Packet:
        return QStringLiteral("пакет  ");
    case TLogKind::Trace:
        return QStringLiteral("порт   ");
    case TLogKind::Retry:
        return QStringLiteral("повтор ");
    case TLogKind::Request:
        return QStringLiteral("запрос ");
    case TLogKind::Reply:
        return QStringLiteral("ответ  ");
    case TLogKind::Note:
        break;
    }
    return QStringLiteral("событие");
}

QString LogTimeText(qint64 timeMs) {
    return QDateTime::fromMSecsSinceEpoch(timeMs).toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString LogLineForText(const TLogLine& line) {
    // A text from outside (a path, a system's or a database server's error)
    // may hold line breaks; in a saved log each entry stays one line.
    QString text = line.text;
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return LogTimeText(line.timeMs) + QLatin1Char(' ') + LogKindText(LogKindOf(line.color)) +
           QLatin1Char(' ') + text;
}

QString LogLinesText(const QList<TLogLine>& lines, QLatin1String lineEnd) {
    QString text;
    for (const TLogLine& line : lines)
        text += LogLineForText(line) + lineEnd;
    return text;
}

TLogModel::TLogModel(QObject* parent)
    : QObject(parent), clockMs([] { return QDateTime::currentMSecsSinceEpoch(); }) {}

TLogModel& ExchangeLog() {
    // Never destroyed: lines may still be written while the program ends.
    static TLogModel* const model = new TLogModel;
    return *model;
}

void TLogModel::prStatusAsStrToLog(TLogColor iColor) {
    sToLogStatus = TakeStatusText(AnalyzeLog);
    iColorToLogStatus = iColor;
    prShowLog(false, false, !options.debugLines);
}

void TLogModel::prStatusAsCmdToLog(TLogColor iColor, bool fToHex) {
    sToLogStatus = AnalyzeLog.sStr;
    const int lineNo = NextLogLineNo();
    const int latency = replyLatencyMs ? replyLatencyMs() : 0;
    sToLogStatus = ByteLineText(lineNo, sToLogStatus, fToHex, latency);
    AnalyzeLog.fWithIntVal = false;
    iColorToLogStatus = iColor;
    prShowLog(false, false, false);
}

void TLogModel::prCommandToLog() {
    if (options.cmdEntries)
        prShowLog(LogHex, true, false);
}

void TLogModel::store(int slot, const QString& text, TLogColor color, qint64 timeMs) {
    LogLines[slot] = text;
    LogLineColor[slot] = color;
    LogLineTime[slot] = timeMs;
    LogLineSeq[slot] = ++LogSeqCounter;
}

void TLogModel::prShowLog(bool fToHex, bool famCmd, bool fOnlyToFile) {
    const qint64 now = clockMs();
    if (!famCmd) {
        if (fOnlyToFile && iColorToLogStatus == clLogGrey)
            return;
        const int slot = LogWritePos;
        store(slot, sToLogStatus, iColorToLogStatus, now);
        AdvanceLogWritePos(1);
        emit lineAdded(TLogLine{sToLogStatus, iColorToLogStatus, now});
        emit ringChanged(slot);
        return;
    }

    const TExchangeState& ex = ExchangeState;
    const int lineNo = NextLogLineNo();
    // Lengths are bounded by the buffers only, so long byte lists show whole.
    const std::size_t txCount = std::min<std::size_t>(ex.TxLength, ex.TxBuf.size());
    const std::size_t rxCount = std::min<std::size_t>(ex.RxLength, ex.RxBuf.size());
    const int latency = replyLatencyMs ? replyLatencyMs() : 0;
    const TLogLine request{
        CmdRequestText(lineNo, ex.TxBuf.data(), txCount, ex.AttemptsUsed, fToHex), clLogBlue, now};
    const TLogLine reply{CmdReplyText(ex.RxBuf.data(), rxCount, latency, fToHex),
                         ex.TxLength > 0 ? clLogPurple : clLogRed, now};
    if (fOnlyToFile)
        return;
    // Newest first shows the higher ring index on top, so the reply goes
    // first into the ring and the request stays above it in both orders.
    const int slot1 = LogWritePos;
    const int slot2 = (LogWritePos + 1) % kLogLines;
    store(LogOldestFirst ? slot1 : slot2, request.text, request.color, now);
    store(LogOldestFirst ? slot2 : slot1, reply.text, reply.color, now);
    AdvanceLogWritePos(2);
    emit lineAdded(request);
    emit lineAdded(reply);
    emit ringChanged(slot2);
}

void TLogModel::Clear() {
    for (auto& line : LogLines)
        line.clear();
    LogLineColor.fill(clLogBlack);
    LogLineTime.fill(0);
    LogLineSeq.fill(0);
    LogWritePos = 0;
    emit cleared();
}

namespace {

// The non-empty lines of these ring ringIndexes, each once, in the order made.
QList<TLogLine> inMadeOrder(QList<int> ringIndexes) {
    ringIndexes.removeIf([](int slot) { return slot < 0 || LogLines[slot].isEmpty(); });
    std::sort(ringIndexes.begin(), ringIndexes.end(),
              [](int a, int b) { return LogLineSeq[a] < LogLineSeq[b]; });
    ringIndexes.erase(std::unique(ringIndexes.begin(), ringIndexes.end()), ringIndexes.end());
    QList<TLogLine> lines;
    for (int slot : ringIndexes)
        lines << TLogLine{LogLines[slot], LogLineColor[slot], LogLineTime[slot]};
    return lines;
}

} // namespace

QList<TLogLine> TLogModel::LinesOldestFirst() const {
    QList<int> ringIndexes;
    for (int i = 0; i < kLogLines; ++i)
        ringIndexes << i;
    return inMadeOrder(std::move(ringIndexes));
}

QList<TLogLine> TLogModel::RowsOldestFirst(const QList<int>& rows) const {
    QList<int> ringIndexes;
    for (int row : rows)
        if (row >= 0 && row < kLogLines)
            ringIndexes << LogViewSlot[row];
    return inMadeOrder(std::move(ringIndexes));
}

TLogLine TLogModel::RowLine(int row) const {
    const QList<TLogLine> lines = RowsOldestFirst({row});
    return lines.isEmpty() ? TLogLine{} : lines.first();
}
