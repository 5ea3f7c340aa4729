// rs_m.ini byte for byte: what is written, what a file read gives, and the
// forms that make every saved file load back unchanged.
#include "port/settings_text.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kFirstStartFile =
    QByteArray("100\r\n100\r\n000000\x03\r\nCOM1\r\n0\r\nCOM2\r\n0\r\n"
               "COM3\r\n0\r\nF4528F5FC699D611F9F105820CFC66B5\r\n");

// 250 ms, 60 ms, font 12, DTR/RTS by hand, 25 attempts; channel 1 without a name.
const QByteArray kChosenPortsFile =
    QByteArray("250\r\n60\r\n101000\x19\r\nCOM7\r\n0\r\n\r\n0\r\nCOM12\r\n0\r\n"
               "4DEEEBB59F14B7E7A6EDCD1B8D85231C\r\n");

TSettingsValues ChosenValues() {
    TSettingsValues values;
    values.TimeOut = 250;
    values.PreSendPause = 60;
    values.LogFontSize = 12;
    values.FiksDtrRts = true;
    values.NumOfRepeat = 25;
    return values;
}

QByteArray WithLine(const QByteArray& file, int index, const QByteArray& line) {
    QList<QByteArray> lines = file.split('\n');
    lines[index] = line + "\r";
    return lines.join('\n');
}

} // namespace

TEST(SettingsText, WritesTheTenLinesWithTheirDigest) {
    EXPECT_EQ(SettingsText(TSettingsValues{}, {QStringLiteral("COM1"), QStringLiteral("COM2"),
                                               QStringLiteral("COM3")}),
              kFirstStartFile);
    EXPECT_EQ(
        SettingsText(ChosenValues(), {QStringLiteral("COM7"), QString(), QStringLiteral("COM12")}),
        kChosenPortsFile);
}

TEST(SettingsText, FlagsLineCharacterByCharacter) {
    TSettingsValues values;
    EXPECT_EQ(FlagsLine(values), DefaultFlagsLine());
    values.LogFontSize = 12;
    values.LogHex = true;
    values.FiksDtrRts = true;
    values.LogOldestFirst = true;
    values.DtrOn = true;
    values.RtsOn = true;
    values.NumOfRepeat = 5;
    EXPECT_EQ(FlagsLine(values), QByteArray("111111\x05"));
    values.LogHex = false;
    values.DtrOn = false;
    EXPECT_EQ(FlagsLine(values), QByteArray("101101\x05"));
}

TEST(SettingsText, NamesTheReaderWouldNotTakeBackAreWrittenEmpty) {
    const QByteArray text =
        SettingsText(TSettingsValues{},
                     {QStringLiteral("COM"), QStringLiteral("LPT1"), QStringLiteral("COM1234")});
    EXPECT_TRUE(text.contains("\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n")) << text.toStdString();
    EXPECT_FALSE(ReadSettingsText(text).Rewrite);
}

TEST(SettingsText, EachCharacterGivesItsLowByte) {
    EXPECT_EQ(SingleByteText(QString::fromUtf16(u"C\u00FF\u0410")), QByteArray("C\xFF\x10"));
    EXPECT_EQ(SettingsDigest({"100100000000\x03", "COM1", "0", "COM2", "0", "COM3", "0"}),
              QByteArray("F4528F5FC699D611F9F105820CFC66B5"));
}

TEST(SettingsText, FirstStartGivesDefaultsAndTheDefaultFile) {
    const TSettingsRead read = ReadSettingsText(QByteArray());
    EXPECT_TRUE(read.Rewrite);
    EXPECT_EQ(read.PortsRead, 0);
    const TSettingsValues values = ValuesFromRead(read);
    EXPECT_EQ(values.TimeOut, 100);
    EXPECT_EQ(values.PreSendPause, 100);
    EXPECT_EQ(values.NumOfRepeat, 3);
    EXPECT_EQ(values.LogFontSize, 8);
    EXPECT_FALSE(values.LogHex || values.FiksDtrRts || values.LogOldestFirst || values.DtrOn ||
                 values.RtsOn);
    EXPECT_EQ(RewrittenSettingsText(read), kFirstStartFile);
}

TEST(SettingsText, ASavedFileLoadsBackWithItsEmptyNames) {
    for (const QByteArray& text :
         {kChosenPortsFile, QByteArray(kChosenPortsFile).replace("\r", "")}) {
        const TSettingsRead read = ReadSettingsText(text);
        EXPECT_FALSE(read.Rewrite);
        EXPECT_EQ(read.PortsRead, 3);
        EXPECT_EQ(read.PortName[0], QStringLiteral("COM7"));
        EXPECT_EQ(read.PortName[1], QString());
        EXPECT_EQ(read.PortName[2], QStringLiteral("COM12"));
        const TSettingsValues values = ValuesFromRead(read);
        EXPECT_EQ(values.TimeOut, 250);
        EXPECT_EQ(values.PreSendPause, 60);
        EXPECT_EQ(values.LogFontSize, 12);
        EXPECT_TRUE(values.FiksDtrRts);
        EXPECT_EQ(values.NumOfRepeat, 25);
    }
    // No name at all, as after a log option changed before any port was chosen.
    const QByteArray unnamed = SettingsText(TSettingsValues{}, {});
    const TSettingsRead read = ReadSettingsText(unnamed);
    EXPECT_FALSE(read.Rewrite);
    EXPECT_EQ(read.PortsRead, 3);
}

TEST(SettingsText, DamagedFilesKeepTheirValuesButLoseThePortList) {
    struct Case {
        const char* what;
        QByteArray text;
    };
    const QByteArray body = kChosenPortsFile.left(kChosenPortsFile.indexOf("4DEE"));
    const Case cases[] = {
        {"edited value", WithLine(kChosenPortsFile, 0, "251")},
        {"lower-case digest", body + "4deeebb59f14b7e7a6edcd1b8d85231c\r\n"},
        {"no digest line", body},
        {"port line not COM", WithLine(kChosenPortsFile, 7, "LPT1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TSettingsRead read = ReadSettingsText(c.text);
        EXPECT_TRUE(read.Rewrite);
        EXPECT_EQ(read.PortName[0], QStringLiteral("COM7"));
        EXPECT_EQ(ValuesFromRead(read).NumOfRepeat, 25);
        const QByteArray rewritten = RewrittenSettingsText(read);
        EXPECT_TRUE(rewritten.contains("COM1\r\n0\r\nCOM2\r\n0\r\nCOM3\r\n0\r\n"));
        EXPECT_FALSE(ReadSettingsText(rewritten).Rewrite);
    }
    const TSettingsRead edited = ReadSettingsText(cases[0].text);
    EXPECT_EQ(edited.TimeOut, 251);
    EXPECT_TRUE(
        RewrittenSettingsText(edited).startsWith(QByteArray("251\r\n60\r\n101000\x19\r\nCOM1")));
    // The line that is not a port name stops the reading: channel 2 is never read.
    EXPECT_EQ(ReadSettingsText(cases[3].text).PortsRead, 2);
}

TEST(SettingsText, TimeOutLineFallsBackTo20) {
    const std::pair<QByteArray, int> cases[] = {
        {"abc", 20},    {"", 20},     {"19", 20},          {"20", 20},    {"30000", 30000},
        {"30001", 20},  {"-1", 20},   {"65636", 100},      {"$64", 100},  {"0x64", 100},
        {" 150 ", 150}, {"150x", 20}, {"99999999999", 20}, {"+500", 500},
    };
    for (const auto& [line, expected] : cases) {
        const QByteArray text = WithLine(kFirstStartFile, 0, line);
        EXPECT_EQ(ReadSettingsText(text).TimeOut, expected) << line.toStdString();
    }
}

TEST(SettingsText, PauseLineAcceptsPresetsAndManualValuesOnly) {
    const std::pair<QByteArray, int> cases[] = {
        {"7", 100},   {"40", 100}, {"60", 60},  {"5", 5},         {"15", 15}, {"100", 100},
        {"101", 101}, {"0", 100},  {"99", 100}, {"65535", 65535}, {"x", 100}, {"65541", 5},
    };
    for (const auto& [line, expected] : cases) {
        const QByteArray text = WithLine(kFirstStartFile, 1, line);
        EXPECT_EQ(ReadSettingsText(text).PreSendPause, expected) << line.toStdString();
    }
}

TEST(SettingsText, FlagsLineRules) {
    const auto valuesOf = [](const QByteArray& flags) {
        return ValuesFromRead(ReadSettingsText(WithLine(kFirstStartFile, 2, flags)));
    };
    // Fewer than seven characters: the default flags.
    TSettingsValues v = valuesOf("111111");
    EXPECT_EQ(v.LogFontSize, 8);
    EXPECT_EQ(v.NumOfRepeat, 3);
    // Anything but "0" is hex; anything but "1" is off for the others.
    v = valuesOf("2x2x2x\x05");
    EXPECT_TRUE(v.LogHex);
    EXPECT_EQ(v.LogFontSize, 8);
    EXPECT_FALSE(v.FiksDtrRts || v.LogOldestFirst || v.DtrOn || v.RtsOn);
    EXPECT_EQ(v.NumOfRepeat, 5);
    v = valuesOf("101111\x01");
    EXPECT_EQ(v.LogFontSize, 12);
    EXPECT_FALSE(v.LogHex);
    EXPECT_TRUE(v.FiksDtrRts && v.LogOldestFirst && v.DtrOn && v.RtsOn);
    EXPECT_EQ(v.NumOfRepeat, 1);
    // A tail that is not a decimal count is ignored.
    EXPECT_EQ(valuesOf("000000\x05zz").NumOfRepeat, 5);
}

TEST(SettingsText, EveryAttemptCountSurvivesARoundTrip) {
    std::vector<int> counts{256, 1000, 65534, 65535};
    for (int count = 0; count < 256; ++count)
        counts.push_back(count);
    for (int count : counts) {
        TSettingsValues values;
        values.NumOfRepeat = count;
        const QByteArray text = SettingsText(values, {QStringLiteral("COM2")});
        const TSettingsRead read = ReadSettingsText(text);
        ASSERT_FALSE(read.Rewrite) << count;
        ASSERT_EQ(ValuesFromRead(read).NumOfRepeat, count);
        ASSERT_EQ(read.PortName[0], QStringLiteral("COM2")) << count;
        // A reader that takes the seventh character's code as the count reads
        // every count exactly, except those without a character of their own.
        const int code = uchar(FlagsLine(values).at(6));
        const int expected = count == 10 ? 11 : count == 13 ? 14 : count >= 255 ? 255 : count;
        ASSERT_EQ(code, expected) << count;
    }
    EXPECT_EQ(AttemptsText(10), QByteArray("\x0B"
                                           "10"));
    EXPECT_EQ(AttemptsText(65535), QByteArray("\xFF"));
    // A file of the old rules that holds 255 for "without end".
    EXPECT_EQ(AttemptsFromFlags(QByteArray("000000\xFF")), 65535);
    // Digits count only behind the code written with them; elsewhere the code stands.
    const std::pair<QByteArray, int> tails[] = {
        {"\x05"
         "12",
         5},
        {"\x0B"
         "12",
         11},
        {"\x0E"
         "13",
         13},
        {"\xFF"
         "300",
         300},
        {"\xFF"
         "7",
         65535},
    };
    for (const auto& [tail, count] : tails)
        EXPECT_EQ(AttemptsFromFlags("000000" + tail), count) << tail.toHex().toStdString();
}

TEST(SettingsText, ReadsAtMostTenPortPairs) {
    QList<QByteArray> lines{"100", "100", DefaultFlagsLine()};
    for (int channel = 0; channel < 11; ++channel)
        lines << "COM" + QByteArray::number(channel + 1) << "0";
    lines << SettingsDigest(lines);
    const TSettingsRead read = ReadSettingsText(lines.join("\r\n") + "\r\n");
    EXPECT_EQ(read.PortsRead, 10);
    EXPECT_EQ(read.PortName[9], QStringLiteral("COM10"));
    EXPECT_TRUE(read.Rewrite);
}
