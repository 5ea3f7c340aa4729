// The exchange log as it is saved, copied and recorded. Nothing reads a saved
// log back, so the outside input here is the lines' texts: a unit's bytes, a
// system's or a database server's error text. Whatever they hold, the saved
// text has one line per entry, each ending as the system's files do, in the
// order the entries were made, with its time and kind in front.
#include "exchange/exchange_settings.h"
#include "exchange/log_model.h"
#include "exchange/log_state.h"
#include "fuzz_check.h"

namespace {

struct TEntry {
    QString text;
    TLogColor color;
};

const TLogColor kColors[] = {clLogBlack,  clLogRed,  clLogGreen, clLogGrey,
                             clLogViolet, clLogBlue, clLogPurple};

constexpr qsizetype kMaxEntries = 48;

// Entries as [kind][length][text]: a kind byte with its top bit set writes the
// text as a numbered byte line, the way dropped bytes are logged.
QList<TEntry> entriesOf(const std::uint8_t* data, std::size_t size, TLogModel& log) {
    QList<TEntry> entries;
    std::size_t at = 0;
    // A few dozen entries show any text's effect; each costs a local-time
    // conversion, so more would only slow the run.
    while (at + 2 <= size && entries.size() < kMaxEntries) {
        const std::uint8_t kind = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        AnalyzeLog.sStr = QString::fromUtf8(reinterpret_cast<const char*>(data + at + 2),
                                            static_cast<qsizetype>(length));
        AnalyzeLog.fWithIntVal = kind & 0x40;
        AnalyzeLog.iVal = kind;
        const TLogColor color = kColors[kind % std::size(kColors)];
        if (kind & 0x80)
            log.prStatusAsCmdToLog(color, kind & 0x20);
        else
            log.prStatusAsStrToLog(color);
        if (!log.sToLogStatus.isEmpty())
            entries.append({log.sToLogStatus, color});
        at += 2 + length;
    }
    return entries;
}

void checkSaved(const QList<TLogLine>& lines, const QList<TEntry>& entries, QLatin1String end) {
    const QString saved = LogLinesText(lines, end);
    FUZZ_REQUIRE(saved.count(QLatin1Char('\n')) == entries.size());
    FUZZ_REQUIRE(saved.count(QLatin1Char('\r')) == (end.size() == 2 ? entries.size() : 0));
    FUZZ_REQUIRE(entries.isEmpty() || saved.endsWith(end));
    const QStringList rows = saved.split(end);
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QString head = LogTimeText(lines[k].timeMs) + QLatin1Char(' ') +
                             LogKindText(LogKindOf(entries[k].color)) + QLatin1Char(' ');
        FUZZ_REQUIRE(rows[k].startsWith(head));
        FUZZ_REQUIRE(rows[k].size() == head.size() + entries[k].text.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TLogModel& log = ExchangeLog();
    log.clockMs = [] { return qint64(1765400000000); };
    log.replyLatencyMs = [] { return 7; };
    log.Clear();
    const QList<TEntry> entries = entriesOf(data, size, log);
    const QList<TLogLine> lines = log.LinesOldestFirst();
    FUZZ_REQUIRE(lines.size() == entries.size());
    for (qsizetype k = 0; k < entries.size(); ++k)
        FUZZ_REQUIRE(lines[k].color == entries[k].color);
    checkSaved(lines, entries, QLatin1String("\r\n"));
    checkSaved(lines, entries, QLatin1String("\n"));
    return 0;
}
