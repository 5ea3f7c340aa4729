#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

// The model alone, as the command line would use it: no window exists.
class LogModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetExchangeSettings();
        ExchangeState.Reset();
        ResetLogState();
        LogHex = true;
        saved = log.options;
        savedLatency = log.replyLatencyMs;
        log.clockMs = [this] { return now += 5; };
        log.replyLatencyMs = [] { return 12; };
        QObject::connect(&log, &TLogModel::lineAdded, &receiver,
                         [this](const TLogLine& line) { added << line; });
    }
    void TearDown() override {
        log.options = saved;
        log.clockMs = [] { return QDateTime::currentMSecsSinceEpoch(); };
        log.replyLatencyMs = savedLatency;
        ResetLogState();
        ResetExchangeSettings();
    }
    void status(const char* text, TLogColor color) {
        AnalyzeLog.sStr = QString::fromUtf8(text);
        log.prStatusAsStrToLog(color);
    }
    void entry() {
        ExchangeState.TxBuf[0] = 0x05;
        ExchangeState.TxLength = 1;
        ExchangeState.RxBuf[0] = 0x06;
        ExchangeState.RxLength = 1;
        log.prCommandToLog();
    }
    static QStringList texts(const QList<TLogLine>& lines) {
        QStringList out;
        for (const TLogLine& line : lines)
            out << line.text;
        return out;
    }

    TLogModel& log = ExchangeLog();
    TLogOptions saved;
    std::function<int()> savedLatency;
    QObject receiver;
    QList<TLogLine> added;
    qint64 now = 1'700'000'000'000;
};

} // namespace

// Whatever the list order and options, the lines come out in the order they
// were made, the request before its reply, each with its own time.
TEST_F(LogModelTest, LinesComeOutInTheOrderMadeWhateverTheListOrder) {
    struct Case {
        bool oldestFirst, cmdEntries, debugLines;
        QStringList expected;
    };
    const QList<Case> cases = {
        {false, true, true, {"a", "trace", "    1 : 05", "        06 (12 мс)", "b"}},
        {true, true, true, {"a", "trace", "    1 : 05", "        06 (12 мс)", "b"}},
        {false, false, true, {"a", "trace", "b"}},
        {true, true, false, {"a", "    1 : 05", "        06 (12 мс)", "b"}},
    };
    for (const Case& c : cases) {
        ResetLogState();
        added.clear();
        LogOldestFirst = c.oldestFirst;
        log.options.cmdEntries = c.cmdEntries;
        log.options.debugLines = c.debugLines;
        status("a", clLogBlack);
        status("trace", clLogGrey);
        entry();
        status("b", clLogRed);
        const QList<TLogLine> lines = log.LinesOldestFirst();
        EXPECT_EQ(texts(lines), c.expected) << c.oldestFirst << c.cmdEntries << c.debugLines;
        EXPECT_EQ(texts(added), c.expected) << "recording sees the same order";
        for (qsizetype i = 1; i < lines.size(); ++i)
            EXPECT_GE(lines[i].timeMs, lines[i - 1].timeMs);
    }
    EXPECT_EQ(LogKindText(LogKindOf(clLogPurple)).trimmed(), QStringLiteral("ответ"));
    EXPECT_EQ(LogLineForText({QStringLiteral("x"), clLogBlue, 0}).section(' ', 1),
              QStringLiteral("запрос  x"));
}

// Line breaks inside a text (a path, a server's error) must not split its entry.
TEST_F(LogModelTest, SavedTextHasOneLinePerEntry) {
    const QList<TLogLine> lines = {
        {QStringLiteral("Архив не записан: ERROR: нет таблицы\nLINE 1: SELECT"), clLogRed, 0},
        {QStringLiteral("a\r\nb\rc"), clLogBlack, 0},
        {QStringLiteral("    1 : 05"), clLogBlue, 0},
    };
    for (const QLatin1String end : {QLatin1String("\r\n"), QLatin1String("\n")}) {
        const QString saved = LogLinesText(lines, end);
        EXPECT_EQ(saved.count(QLatin1Char('\n')), 3) << end.data();
        EXPECT_EQ(saved.count(QLatin1Char('\r')), end.size() == 2 ? 3 : 0) << end.data();
    }
    EXPECT_TRUE(LogLineForText(lines[0]).endsWith(QStringLiteral("нет таблицы LINE 1: SELECT")));
    EXPECT_TRUE(LogLineForText(lines[1]).endsWith(QStringLiteral(" a  b c")));
    EXPECT_TRUE(LogLineForText(lines[2]).endsWith(QStringLiteral("запрос      1 : 05")));
}

TEST_F(LogModelTest, ClearEmptiesTheRingButNumberingGoesOn) {
    entry();
    int clears = 0;
    QObject::connect(&log, &TLogModel::cleared, &receiver, [&] { ++clears; });
    log.Clear();
    EXPECT_EQ(clears, 1);
    EXPECT_TRUE(log.LinesOldestFirst().isEmpty());
    EXPECT_EQ(LogWritePos, 0);
    entry();
    EXPECT_EQ(log.LinesOldestFirst().first().text, QStringLiteral("    2 : 05"));
}
