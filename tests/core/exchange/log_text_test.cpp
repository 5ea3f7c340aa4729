#include "exchange/log_colors.h"
#include "exchange/log_state.h"
#include "exchange/log_text.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

const std::vector<std::uint8_t> kRequest{0x05, 0x01, 0x03, 0x24, 0x3E};
const std::vector<std::uint8_t> kReply{0x06, 0x01, 0x03, 0x01, 0xD1, 0x1B};

} // namespace

TEST(LogText, CommandEntryInHexWithLatencyAndAttempts) {
    EXPECT_EQ(CmdRequestText(17, kRequest.data(), kRequest.size(), 0, true),
              QStringLiteral("   17 : 05.01.03.24.3E"));
    EXPECT_EQ(CmdRequestText(17, kRequest.data(), kRequest.size(), 1, true),
              QStringLiteral("   17 : 05.01.03.24.3E"));
    EXPECT_EQ(CmdRequestText(17, kRequest.data(), kRequest.size(), 2, true),
              QStringLiteral("   17 : 05.01.03.24.3E (2)"));
    EXPECT_EQ(CmdReplyText(kReply.data(), kReply.size(), 12, true),
              QStringLiteral("        06.01.03.01.D1.1B (12 мс)"));
}

TEST(LogText, CommandEntryInDecimalTakesThreePlacesPerByte) {
    EXPECT_EQ(CmdRequestText(32000, kRequest.data(), kRequest.size(), 3, false),
              QStringLiteral("32000 :   5.  1.  3. 36. 62 (3)"));
    const std::vector<std::uint8_t> reply{0, 255, 100};
    EXPECT_EQ(CmdReplyText(reply.data(), reply.size(), 0, false),
              QStringLiteral("          0.255.100 (0 мс)"));
}

TEST(LogText, EmptyRequestAndReply) {
    EXPECT_EQ(CmdRequestText(1, nullptr, 0, 5, true), QStringLiteral("    1 : нет запроса"));
    EXPECT_EQ(CmdReplyText(nullptr, 0, 40, true), QStringLiteral("        нет ответа"));
}

TEST(LogText, ByteListsLongerThan255BytesShowWhole) {
    std::vector<std::uint8_t> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    const QString text = LogBytesText(bytes.data(), bytes.size(), true);
    EXPECT_EQ(text.size(), 300 * 3 - 1);
    EXPECT_TRUE(text.startsWith(QStringLiteral("00.01.02")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("28.29.2A.2B")));
    EXPECT_EQ(text.mid(255 * 3, 8), QStringLiteral("FF.00.01"));
}

TEST(LogText, ByteLineCarriesTheLatencyAfterEveryByte) {
    EXPECT_EQ(ByteLineText(19, QStringLiteral("SA"), true, 7),
              QStringLiteral("   19 : 53 (7 мс).41 (7 мс)"));
    EXPECT_EQ(ByteLineText(2, QStringLiteral("SA"), false, 0),
              QStringLiteral("    2 :  83 (0 мс). 65 (0 мс)"));
    // Only the low 8 bits of each character count.
    EXPECT_EQ(ByteLineText(3, QString(QChar(0x0441)), true, 1),
              QStringLiteral("    3 : 41 (1 мс)"));
    EXPECT_EQ(ByteLineText(4, QString(), true, 1), QStringLiteral("    4 : "));
}

TEST(LogText, StatusTextUsesUpThePendingNumber) {
    TAnalyzeLog record{QStringLiteral("Порт"), -5, true};
    EXPECT_EQ(TakeStatusText(record), QStringLiteral("Порт : -5"));
    EXPECT_FALSE(record.fWithIntVal);
    EXPECT_EQ(record.sStr, QStringLiteral("Порт"));
    EXPECT_EQ(TakeStatusText(record), QStringLiteral("Порт"));
}

TEST(LogState, LineNumbersWrapAfter32000) {
    ResetLogState();
    EXPECT_EQ(NextLogLineNo(), 1);
    LogLineNo = 31999;
    EXPECT_EQ(NextLogLineNo(), 32000);
    EXPECT_EQ(NextLogLineNo(), 1);
    LogLineNo = 40000;
    EXPECT_EQ(NextLogLineNo(), 1);
}

TEST(LogState, WindowsColourValuesBecomeScreenColours) {
    EXPECT_EQ(WinColorToQColor(clLogRed), QColor(255, 0, 0));
    EXPECT_EQ(WinColorToQColor(clLogBlue), QColor(0, 0, 255));
    EXPECT_EQ(WinColorToQColor(clLogGreen), QColor(0, 128, 0));
    EXPECT_EQ(WinColorToQColor(clLogViolet), QColor(0x50, 0x00, 0xA0));
    EXPECT_EQ(WinColorToQColor(clLogPurple), QColor(0x80, 0x00, 0x80));
    EXPECT_EQ(WinColorToQColor(0x3674F0), QColor(0xF0, 0x74, 0x36));
}

TEST(LogState, RowsNewestFirstRewriteAllRowsOldestFirstOnlyFilledOnes) {
    ResetLogState();
    std::array<QString, kLogLines> rows;
    rows.fill(QStringLiteral("old"));
    LogLines[0] = QStringLiteral("a");
    LogLines[1] = QStringLiteral("b");
    LogLineColor[1] = clLogRed;
    LogLines[399] = QStringLiteral("z");
    FillLogRows(1, false, rows);
    EXPECT_EQ(rows[0], QStringLiteral("b"));
    EXPECT_EQ(LogViewColor[0], clLogRed);
    EXPECT_EQ(rows[1], QStringLiteral("a"));
    EXPECT_EQ(rows[2], QStringLiteral("z"));
    EXPECT_EQ(rows[3], QString());
    EXPECT_EQ(rows[399], QString());

    rows.fill(QStringLiteral("old"));
    FillLogRows(1, true, rows);
    EXPECT_EQ(rows[0], QStringLiteral("z"));
    EXPECT_EQ(rows[1], QStringLiteral("a"));
    EXPECT_EQ(rows[2], QStringLiteral("b"));
    EXPECT_EQ(LogViewColor[2], clLogRed);
    EXPECT_EQ(rows[3], QStringLiteral("old"));
    ResetLogState();
}
