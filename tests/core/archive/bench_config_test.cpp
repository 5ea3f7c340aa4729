// The bench's configuration as an archive record keeps it, read back from
// bytes a damaged archive could hold.
#include "archive/bench_config.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kDelays = "T11 = 3\r\nT12 = 60\r\nT13 = 5\r\nT21 = 3\r\nT22 = 60\r\n";

TEST(BenchConfigTest, ReadsOnlyWholeSoundLines) {
    struct Case {
        QByteArray bytes;
        bool ok;
    };
    const Case cases[] = {
        {kDelays + "T23 = 5\r\nU1 = 5.07\r\n", true},
        {kDelays + "T23 = 5\nU1 = 5.07", true},
        {kDelays + "T23 = 256\r\n", false},
        {kDelays + "T23 = x\r\n", false},
        {kDelays, false},
        {kDelays + "T23=5\r\n", false},
        // A name with a zero byte inside is a field of that name, not the delay.
        {kDelays + QByteArray("T23\0x = 5\r\n", 11), false},
    };
    for (const Case& c : cases) {
        TBenchConfig config;
        EXPECT_EQ(ParseBenchConfig(c.bytes, config), c.ok) << c.bytes.toStdString();
        if (!c.ok)
            continue;
        EXPECT_EQ(config.delays, (qv2f3::TDelaySettings{3, 60, 5, 3, 60, 5}));
        ASSERT_EQ(config.fields.size(), 1u);
        EXPECT_EQ(config.fields[0].name, QStringLiteral("U1"));
        EXPECT_EQ(config.fields[0].text, QStringLiteral("5.07"));
        EXPECT_EQ(BenchConfigBytes(config), kDelays + "T23 = 5\r\nU1 = 5.07\r\n");
    }
}

} // namespace
