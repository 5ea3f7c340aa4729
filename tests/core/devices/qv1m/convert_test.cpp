#include "devices/qv1m/qv1m_convert.h"
#include "devices/qv1m/qv1m_data.h"

#include "qstring_print.h"
#include <QLocale>

#include <gtest/gtest.h>
#include <limits>

TEST(Qv1Convert, LenientIntegers) {
    EXPECT_EQ(LenientInt(u"abc"), 0);
    EXPECT_EQ(LenientInt(u""), 0);
    EXPECT_EQ(LenientInt(u"12x"), 12);
    EXPECT_EQ(LenientInt(u" 7"), 7);
    EXPECT_EQ(LenientInt(u"   12"), 12);
    EXPECT_EQ(LenientInt(u"-5"), -5);
    EXPECT_EQ(LenientInt(u"+9"), 9);
    EXPECT_EQ(LenientInt(u"$1F"), 31);
    EXPECT_EQ(LenientInt(u"0x1f"), 31);
    EXPECT_EQ(LenientInt(u"0xZ"), 0);
    EXPECT_EQ(LenientInt(u"1 2"), 1);
    // Far too many digits still keep the right low bits.
    EXPECT_EQ(static_cast<std::uint16_t>(LenientInt(u"18446744073709621616")), 70000 % 65536);
}

TEST(Qv1Convert, FieldWidths) {
    EXPECT_EQ(Qv1TimeFromText(u"70000"), 4464);
    EXPECT_EQ(Qv1TimeFromText(u"-1"), 65535);
    EXPECT_EQ(Qv1DelayFromText(u"300"), 44);
    EXPECT_EQ(Qv1TimeText(12), QStringLiteral("   12"));
    EXPECT_EQ(Qv1TimeText(65535), QStringLiteral("65535"));
    EXPECT_EQ(Qv1TimeFromText(Qv1TimeText(12)), 12);
    EXPECT_EQ(Qv1DelayText(7), QStringLiteral("7"));
}

TEST(Qv1Convert, VoltsAndCodes) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(Qv1VoltText(400, 5.25), QStringLiteral("2.05"));
    EXPECT_EQ(Qv1CodeFromVolts(2.05, 5.25), 400);
    EXPECT_EQ(Qv1VoltText(401, 5.25), QStringLiteral("2.06"));
    EXPECT_EQ(Qv1CodeFromVolts(2.06, 5.25), 402);
    // Halves go to the even neighbour: 0.5 * 1024 / 1024 ... codes 2.5 -> 2, 3.5 -> 4.
    EXPECT_EQ(Qv1CodeFromVolts(2.5, 1024), 2);
    EXPECT_EQ(Qv1CodeFromVolts(3.5, 1024), 4);
    EXPECT_EQ(Qv1CodeFromVolts(-1, 1024), 65535);
    EXPECT_EQ(Qv1CodeFromVolts(70000, 1024), 4464);
    EXPECT_EQ(Qv1CodeFromVolts(1e300, 1e-300), std::nullopt);
    EXPECT_EQ(Qv1CodeFromVolts(2, 0), std::nullopt);
    EXPECT_EQ(Qv1CodeFromVolts(2, -5), std::nullopt);
    EXPECT_EQ(Qv1CodeFromVolts(2, std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(Qv1Convert, DecimalEntriesAcceptCommaOrPoint) {
    EXPECT_EQ(Qv1ParseReal(u"5,25"), 5.25);
    EXPECT_EQ(Qv1ParseReal(u" 5.25 "), 5.25);
    EXPECT_EQ(Qv1ParseReal(u"?"), std::nullopt);
    EXPECT_EQ(Qv1ParseReal(u""), std::nullopt);
    EXPECT_EQ(Qv1ParseReal(u"inf"), std::nullopt);
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(Qv1RealText(5.25, 3), QStringLiteral("5,250"));
    EXPECT_EQ(Qv1VoltText(400, 5.25), QStringLiteral("2,05"));
    QLocale::setDefault(saved);
}

TEST(Qv1Rules, ChannelsPerModeAndHints) {
    const bool expected[7][3] = {{1, 1, 1}, {1, 0, 0}, {1, 1, 0}, {1, 1, 0},
                                 {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
    for (int n = 0; n < 7; ++n)
        for (int c = 1; c <= 3; ++c)
            EXPECT_EQ(Qv1ChannelEditable(n, c), expected[n][c - 1]) << n << " " << c;
    const TQv1ChannelRule hold = Qv1ChannelRule(false, false);
    EXPECT_FALSE(hold.t6secEnabled);
    EXPECT_STREQ(hold.t6secHint, "-");
    const TQv1ChannelRule holdTimed = Qv1ChannelRule(false, true);
    EXPECT_TRUE(holdTimed.t6secEnabled);
    EXPECT_FALSE(holdTimed.toffEnabled);
    EXPECT_STREQ(holdTimed.t6secHint, "> 6");
    EXPECT_STREQ(Qv1ChannelRule(true, false).toffHint, "> 0");
    EXPECT_STREQ(Qv1ChannelRule(true, true).tonHint, "> T6sec");
}
