#include "devices/qv2f3/bench_packet.h"

#include "bench_bytes.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace qv2f3;

namespace {

TBenchDecoded decode(const TMasBytes& bytes) {
    return prAnalyzeAnswer(bytes.data(), bytes.size());
}

// The text a decoded packet gives a field; "<none>" when the packet leaves it alone.
QString textOf(const TBenchDecoded& d, const QString& name) {
    for (const TFieldText& f : d.texts)
        if (f.name == name)
            return f.text;
    return QStringLiteral("<none>");
}

int checkOf(const TBenchDecoded& d, const QString& name) {
    for (const TFieldCheck& f : d.checks)
        if (f.name == name)
            return f.checked ? 1 : 0;
    return -1;
}

// A "T" packet for a place byte with six words, sum appended.
TMasBytes measuredPacket(std::uint8_t place, std::array<std::uint16_t, 6> words) {
    TMasBytes p{'T', place};
    for (std::uint16_t w : words) {
        p.push_back(static_cast<std::uint8_t>(w & 0xFF));
        p.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    p.push_back(Sum8(p.data(), p.size()));
    return p;
}

} // namespace

TEST(BenchPacket, LengthsByTypeLetterAndMissingBytes) {
    EXPECT_EQ(BenchPacketLength('S'), 4u);
    for (std::uint8_t t : {'u', 'U', 'I'})
        EXPECT_EQ(BenchPacketLength(t), 6u);
    EXPECT_EQ(BenchPacketLength('t'), 14u);
    EXPECT_EQ(BenchPacketLength('T'), 15u);
    for (std::uint8_t t : {0x00, 0x58, 0x43, 0xFF, 0x73, 0x69})
        EXPECT_EQ(BenchPacketLength(t), 0u) << int(t);

    const std::uint8_t t[] = {'T', 0x31, 0, 0};
    EXPECT_EQ(BenchBytesMissing(t, 1), 14u);
    EXPECT_EQ(BenchBytesMissing(t, 4), 11u);
    const std::uint8_t s[] = {'S', 1, 2, 3, 'S', 9};
    EXPECT_EQ(BenchBytesMissing(s, 6), 0u) << "more than a packet is complete";
    EXPECT_EQ(BenchBytesMissing(s, 0), 0u);
    const std::uint8_t x[] = {0x58, 1};
    EXPECT_EQ(BenchBytesMissing(x, 2), 0u) << "garbage waits for nothing";
}

TEST(BenchPacket, StatusPacketTicksBoxesAndLogsHex) {
    const auto d = decode({0x53, 0x01, 0x10, 0x64});
    EXPECT_TRUE(d.crcOk);
    EXPECT_EQ(checkOf(d, "CB1_noPlate"), 1);
    EXPECT_EQ(checkOf(d, "CB1_noConn"), 0);
    EXPECT_EQ(checkOf(d, "CB2_noPlate"), 0);
    EXPECT_EQ(checkOf(d, "CB2_noConn"), 1);
    EXPECT_TRUE(d.texts.empty());
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-ok, к.1 : 01, к.2 : 10"));

    const auto other = decode(withSum({'S', 0xEE, 0x11}));
    EXPECT_EQ(checkOf(other, "CB1_noPlate"), 0) << "only bits 0 and 4 count";
    EXPECT_EQ(checkOf(other, "CB1_noConn"), 0);
    EXPECT_EQ(checkOf(other, "CB2_noPlate"), 1);
    EXPECT_EQ(checkOf(other, "CB2_noConn"), 1);
    EXPECT_EQ(other.logLine, QStringLiteral("CRC-ok, к.1 : EE, к.2 : 11"));
}

TEST(BenchPacket, VoltagePacketsShowHundredthsAndLogRawBytes) {
    const TMasBytes idle{0x75, 0x05, 0x07, 0x0C, 0x32, 0xBF};
    auto d = decode(idle);
    EXPECT_TRUE(d.crcOk);
    EXPECT_EQ(textOf(d, "U1hhEdit"), "5.07");
    EXPECT_EQ(textOf(d, "U2hhEdit"), "12.50");
    EXPECT_EQ(d.texts.size(), 2u);
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-ok, U1 = 5.07V, U2 = 12.50V"));

    TMasBytes bad = idle;
    bad[5] = 0xC0;
    d = decode(bad);
    EXPECT_FALSE(d.crcOk);
    EXPECT_EQ(textOf(d, "U1hhEdit"), "5.07") << "a bad sum is still shown";
    EXPECT_EQ(textOf(d, "U2hhEdit"), "12.50");
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-err, U1 = 5.07V, U2 = 12.50V"));

    d = decode(withSum({'U', 12, 5, 0, 99}));
    EXPECT_EQ(textOf(d, "U1izmEdit"), "12.05");
    EXPECT_EQ(textOf(d, "U2izmEdit"), "0.99");
    EXPECT_EQ(textOf(d, "U1hhEdit"), "<none>");

    d = decode(withSum({'I', 1, 20, 2, 30}));
    EXPECT_EQ(textOf(d, "I1izmEdit"), "1.20");
    EXPECT_EQ(textOf(d, "I2izmEdit"), "2.30");
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-ok, I1 = 1.20mA, I2 = 2.30mA"));
}

TEST(BenchPacket, PresetPacketShowsDashForUnsetPlace) {
    auto d = decode(withSum({'t', 1, 2, 3, 4, 5, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(d.crcOk);
    const QString place1[] = {"1", "2", "3", "4", "5", "255"};
    for (std::size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(textOf(d, PresetFieldNames(1)[k]), place1[k]) << k;
        EXPECT_EQ(textOf(d, PresetFieldNames(2)[k]), "-") << k;
    }
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-ok"));

    TMasBytes bad = withSum({'t', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    bad.back() ^= 1;
    EXPECT_EQ(decode(bad).logLine, QStringLiteral("CRC-err"));
}

TEST(BenchPacket, MeasuredPacketPlacesAndTimes) {
    auto d = decode(measuredPacket(0x32, {1234, 0, 5, 65535, 100, 7}));
    EXPECT_TRUE(d.crcOk);
    EXPECT_EQ(textOf(d, "T2Ion11Edit"), " 12.34");
    EXPECT_EQ(textOf(d, "T2IOff11Edit"), "  0.00");
    EXPECT_EQ(textOf(d, "T2Iauto11Edit"), "  0.05");
    EXPECT_EQ(textOf(d, "T2Ion12Edit"), "655.35");
    EXPECT_EQ(textOf(d, "T2IOff12Edit"), "  1.00");
    EXPECT_EQ(textOf(d, "T2Iauto12Edit"), "  0.07");
    EXPECT_EQ(textOf(d, "T1Ion11Edit"), "<none>");
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-ok, к.2, Ton11=1234, Toff11=0, Tauto11=5, "
                                        "Ton12=65535, Toff12=100, Tauto12=7, "));

    d = decode(measuredPacket(0x01, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(textOf(d, "T1Iauto12Edit"), "  0.06") << "0x01 and \"1\" both mean place 1";

    d = decode(measuredPacket(0x33, {1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(d.texts.empty()) << "place 3 changes nothing";
    EXPECT_TRUE(d.logLine.startsWith(QStringLiteral("CRC-ok, к.3, Ton11=1, ")));
}

TEST(BenchPacket, MeasuredTimeUsesLocaleSeparator) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(MeasuredTimeText(1234), " 12,34");
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(MeasuredTimeText(1234), " 12.34");
    EXPECT_EQ(MeasuredTimeText(100000 % 65536), "344.64");
}

TEST(BenchPacket, ShortPacketShowsOnlyWhatArrived) {
    // Four of six bytes of a voltage packet: place 1 whole, place 2 half.
    TMasBytes buf{'u', 5, 7, 12, 50, 0xBF};
    auto d = prAnalyzeAnswer(buf.data(), 4);
    EXPECT_FALSE(d.crcOk) << "a checksum that never came cannot match";
    EXPECT_EQ(d.received, 4u);
    EXPECT_EQ(textOf(d, "U1hhEdit"), "5.07");
    EXPECT_EQ(textOf(d, "U2hhEdit"), "<none>");
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-err, U1 = 5.07V, U2 = 12.?V"));

    // Even when the stale byte behind would make the sum right.
    d = prAnalyzeAnswer(buf.data(), 5);
    EXPECT_FALSE(d.crcOk);
    EXPECT_EQ(textOf(d, "U2hhEdit"), "12.50");

    TMasBytes t = measuredPacket(0x31, {100, 200, 300, 400, 500, 600});
    d = prAnalyzeAnswer(t.data(), 7); // type, place, two words and one byte
    EXPECT_EQ(textOf(d, "T1Ion11Edit"), "  1.00");
    EXPECT_EQ(textOf(d, "T1IOff11Edit"), "  2.00");
    EXPECT_EQ(textOf(d, "T1Iauto11Edit"), "<none>");
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-err, к.1, Ton11=100, Toff11=200, Tauto11=?, "
                                        "Ton12=?, Toff12=?, Tauto12=?, "));

    d = prAnalyzeAnswer(t.data(), 1);
    EXPECT_TRUE(d.texts.empty());
    EXPECT_TRUE(d.logLine.startsWith(QStringLiteral("CRC-err, к.?, Ton11=?")));

    TMasBytes presets = withSum({'t', 1, 2, 3, 4, 5, 6, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    d = prAnalyzeAnswer(presets.data(), 12);
    EXPECT_EQ(textOf(d, "T1Zauto12Edit"), "6");
    EXPECT_EQ(textOf(d, "T2Zon11Edit"), "<none>") << "'-' or 255 cannot be told from five bytes";

    TMasBytes status{'S', 0x11};
    d = prAnalyzeAnswer(status.data(), 2);
    EXPECT_EQ(checkOf(d, "CB1_noPlate"), 1);
    EXPECT_EQ(checkOf(d, "CB2_noPlate"), -1);
    EXPECT_EQ(d.logLine, QStringLiteral("CRC-err, к.1 : 11, к.2 : ??"));
}

TEST(BenchPacket, OnlyTheFirstOfTwoPacketsAndNoGarbage) {
    TMasBytes two{0x53, 0x01, 0x10, 0x64};
    const TMasBytes second = withSum({'u', 9, 9, 9, 9});
    two.insert(two.end(), second.begin(), second.end());
    const auto d = decode(two);
    EXPECT_EQ(d.type, 'S');
    EXPECT_EQ(d.received, 4u);
    EXPECT_TRUE(d.crcOk);
    EXPECT_TRUE(d.texts.empty());

    const auto g = decode({0x58, 0x01, 0x02});
    EXPECT_EQ(g.length, 0u);
    EXPECT_TRUE(g.logLine.isEmpty());
    EXPECT_TRUE(g.texts.empty());
    EXPECT_TRUE(g.checks.empty());
    EXPECT_EQ(prAnalyzeAnswer(nullptr, 0).length, 0u);
}

TEST(BenchPacket, FieldsOutOfRangeChangeNothing) {
    EXPECT_TRUE(VoltFields(0, 1, 1, 1).empty());
    EXPECT_TRUE(VoltFields(4, 1, 1, 1).empty());
    EXPECT_TRUE(VoltFields(1, 3, 1, 1).empty());
    EXPECT_TRUE(PresetFields(0, {}).empty());
    EXPECT_TRUE(MeasuredField(3, 0, 1).empty());
    EXPECT_TRUE(MeasuredField(1, 6, 1).empty());
    EXPECT_TRUE(StatusChecks(0, 0xFF).empty());
    EXPECT_EQ(VoltText(255, 255), "255.255");
    EXPECT_EQ(PresetFieldNames(2)[4], "T2Zoff12Edit");
    EXPECT_EQ(MeasuredFieldNames(1)[4], "T1IOff12Edit");
}
