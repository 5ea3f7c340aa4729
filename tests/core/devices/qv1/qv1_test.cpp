#include "devices/qv1/qv1_framing.h"
#include "devices/qv1/unit_text.h"

#include <gtest/gtest.h>

using namespace qv1;

TEST(Qv1Framing, LengthCommandPayloadTerminator) {
    const std::uint8_t code[] = {0x52, 0x34, 0x43, 0x46, 0x47};
    EXPECT_EQ(Frame('s', code, 5), (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(Frame('p', nullptr, 0), (TMasBytes{0x03, 0x70, 0x3C}));
}

TEST(Qv1Framing, ReplyEndMismatchNamesBothBytes) {
    const TMasBytes good{0x03, 0x00, 0x3E};
    const TMasBytes bad{0x03, 0x00, 0xA5};
    EXPECT_EQ(ReplyEndMismatch(good, 3), QString());
    EXPECT_EQ(ReplyEndMismatch(bad, 3),
              QStringLiteral("Ответ с неверным концом кадра: ожидался 3E, получен A5"));
    EXPECT_EQ(ReplyEndMismatch(bad, 0), QString()) << "no reply, nothing to say";
    EXPECT_EQ(ReplyEndMismatch(bad, 4), QString()) << "never reads past the reply";
}

TEST(Qv1Text, UnitTextCodePage) {
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

TEST(Qv1Text, LenientWholeNumbers) {
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
