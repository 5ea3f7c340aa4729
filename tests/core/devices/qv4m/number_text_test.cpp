#include "devices/qv4m/number_text.h"

#include <QLocale>
#include <gtest/gtest.h>

TEST(NumberText, CommaBecomesPointAndNothingElseChanges) {
    QString text = QStringLiteral(" 3,30,1 В");
    prCommaToPoint(text);
    EXPECT_EQ(text, QStringLiteral(" 3.30.1 В"));
}

TEST(NumberText, WholeNumbersAreLenient) {
    EXPECT_EQ(LenientToInt(QStringLiteral("240")), 240);
    EXPECT_EQ(LenientToInt(QStringLiteral("   -17")), -17);
    EXPECT_EQ(LenientToInt(QStringLiteral("+5")), 5);
    EXPECT_EQ(LenientToInt(QStringLiteral("12abc")), 12);
    EXPECT_EQ(LenientToInt(QStringLiteral("$1F")), 31);
    EXPECT_EQ(LenientToInt(QStringLiteral("0x10")), 16);
    // Not a number: 0, and never a failure.
    EXPECT_EQ(LenientToInt(QString()), 0);
    EXPECT_EQ(LenientToInt(QStringLiteral("abc")), 0);
    EXPECT_EQ(LenientToInt(QStringLiteral("-")), 0);
    // Beyond 32 bits the value stays at the range's end instead of wrapping.
    EXPECT_EQ(LenientToInt(QStringLiteral("99999999999999999999")), 2147483647);
    EXPECT_EQ(LenientToInt(QStringLiteral("-99999999999999999999")), -2147483647 - 1);
}

TEST(NumberText, DecimalsTakeCommaOrPoint) {
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral("3,30")), 3.3);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral("3.30")), 3.3);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral(" -1.5V")), -1.5);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral("5.")), 5.0);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral(".5")), 0.5);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral("1.2.3")), 1.2);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral("abc")), 0.0);
    EXPECT_DOUBLE_EQ(LenientToDouble(QStringLiteral(".")), 0.0);
    EXPECT_DOUBLE_EQ(LenientToDouble(QString(400, QLatin1Char('9'))), 0.0);
}

TEST(NumberText, RoundingGoesHalfToEvenAndKeepsLow16Bits) {
    EXPECT_EQ(RoundToLow16(204.5), 204);
    EXPECT_EQ(RoundToLow16(205.5), 206);
    EXPECT_EQ(RoundToLow16(204.51), 205);
    EXPECT_EQ(RoundToLow16(70000), 4464);
    EXPECT_EQ(RoundToLow16(-1), 0xFFFF);
    EXPECT_EQ(RoundToLow16(-0.5), 0);
    EXPECT_EQ(RoundToLow16(1e12), static_cast<std::uint16_t>(1000000000000LL & 0xFFFF));
    EXPECT_EQ(RoundToLow16(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(RoundToLow16(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(NumberText, VoltsShowTwoDecimalsWithTheSystemSeparator) {
    const QString sep = QLocale::system().decimalPoint();
    EXPECT_EQ(FormatVolts(5.0), QStringLiteral("5") + sep + QStringLiteral("00"));
    EXPECT_EQ(FormatVolts(4.8491), QStringLiteral("4") + sep + QStringLiteral("85"));
    EXPECT_EQ(FormatVolts(0.005), QStringLiteral("0") + sep + QStringLiteral("01"));
    // What the page shows reads back as the same value, whatever the separator.
    EXPECT_DOUBLE_EQ(LenientToDouble(FormatVolts(3.3)), 3.3);
}
