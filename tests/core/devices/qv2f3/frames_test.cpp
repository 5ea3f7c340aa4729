#include "devices/qv2f3/bench_frames.h"

#include <gtest/gtest.h>

using namespace qv2f3;

TEST(BenchFrames, BenchCommandsAreLetterCodeAndSum) {
    EXPECT_EQ(BenchCommandFrame(0x80), (TMasBytes{0x43, 0x80, 0xC3}));
    EXPECT_EQ(BenchCommandFrame(0x06), (TMasBytes{0x43, 0x06, 0x49}));
    const std::pair<std::uint8_t, std::uint8_t> sums[] = {{0x00, 0x43}, {0x01, 0x44}, {0x02, 0x45},
                                                          {0x03, 0x46}, {0x04, 0x47}, {0x05, 0x48}};
    for (auto [code, sum] : sums)
        EXPECT_EQ(BenchCommandFrame(code), (TMasBytes{0x43, code, sum}));
    EXPECT_EQ(BenchCommandFrame(0xBD), (TMasBytes{0x43, 0xBD, 0x00})) << "sum wraps at 256";
}

TEST(BenchFrames, SessionAndSettingsInTheQv1Frame) {
    EXPECT_EQ(SessionFrame(), (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(ReadTimesFrame(), (TMasBytes{0x03, 0x52, 0x3C}));
    EXPECT_EQ(WriteTimesFrame({10, 20, 30, 44, 0, 255}),
              (TMasBytes{0x09, 0x57, 10, 20, 30, 44, 0, 255, 0x3C}));
}

TEST(BenchFrames, RepliesOfSessionAndSettings) {
    // Bytes 2..6 carry the text: Cyrillic "ЗИ", a control code, a pseudographic, a digit.
    const TMasBytes session{0x08, 0x73, 0x87, 0x88, 0x07, 0xB3, 0x32, 0x00};
    EXPECT_EQ(SessionIdent(session), QStringLiteral("ЗИ  2"));
    EXPECT_EQ(SessionIdent(TMasBytes{1, 2, 3}), QString()) << "short buffer reads nothing";

    const TMasBytes times{0x09, 0x52, 1, 2, 3, 4, 5, 250, 0x3C};
    EXPECT_EQ(ReadTimesValues(times), (TDelaySettings{1, 2, 3, 4, 5, 250}));
    EXPECT_EQ(ReadTimesValues(TMasBytes{1}), TDelaySettings{});

    EXPECT_TRUE(WriteTimesAccepted({0x03, 0x00, 0x3C}));
    EXPECT_FALSE(WriteTimesAccepted({0x03, 0x01, 0x3C}));
    EXPECT_FALSE(WriteTimesAccepted({0x03}));
}

TEST(BenchFrames, UnitTextCodePage) {
    EXPECT_EQ(UnitTextChar(0x80), QChar(0x0410)); // А
    EXPECT_EQ(UnitTextChar(0x9F), QChar(0x042F)); // Я
    EXPECT_EQ(UnitTextChar(0xA0), QChar(0x0430)); // а
    EXPECT_EQ(UnitTextChar(0xAF), QChar(0x043F)); // п
    EXPECT_EQ(UnitTextChar(0xE0), QChar(0x0440)); // р
    EXPECT_EQ(UnitTextChar(0xEF), QChar(0x044F)); // я
    EXPECT_EQ(UnitTextChar(0xF0), QChar(0x0401)); // Ё
    EXPECT_EQ(UnitTextChar(0xF1), QChar(0x0451)); // ё
    EXPECT_EQ(UnitTextChar('Z'), QLatin1Char('Z'));
    for (std::uint8_t blank : {0x00, 0x1F, 0x7F, 0xB0, 0xDF, 0xF2, 0xFF})
        EXPECT_EQ(UnitTextChar(blank), QLatin1Char(' ')) << int(blank);
}

TEST(BenchFrames, LenientWholeNumbers) {
    const std::pair<const char*, std::int64_t> cases[] = {
        {"300", 300},    {"  7", 7},  {"12x", 12},  {"abc", 0},    {"", 0},  {"-5", -5},
        {"+9", 9},       {"$1F", 31}, {"0x10", 16}, {"0XfF", 255}, {"$", 0}, {"0x", 0},
        {" -0x10", -16}, {"1 2", 1},  {"\t4", 4},   {"٣", 0}};
    for (auto [text, value] : cases)
        EXPECT_EQ(ParseLenientInt(QString::fromUtf8(text)), value) << text;
    EXPECT_EQ(ParseLenientInt(QStringLiteral("300")) & 0xFF, 44) << "cut to the low 8 bits";
    // An endless row of digits wraps instead of overflowing.
    ParseLenientInt(QString(500, QLatin1Char('9')));
}

TEST(BenchFrames, CommandTableKnowsTheEightCodes) {
    for (std::uint8_t code : {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x80})
        ASSERT_NE(FindBenchCommand(code), nullptr) << int(code);
    EXPECT_EQ(FindBenchCommand(0x07), nullptr);
    EXPECT_EQ(FindBenchCommand(0x03)->clear, TBenchClear::WorkVolt);
}
