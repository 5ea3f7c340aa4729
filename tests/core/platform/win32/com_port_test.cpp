// The Windows build's serial component against a simulated RO-4D on the far
// side of a COM port (see windows_line.h for the ports).
#include "core/serial/exchange_port.h"
#include "platform/clock.h"
#include "platform/port_map.h"
#include "platform/tty_device.h"
#include "port/port_rules.h"
#include "windows_line.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace wintest;

// Windows' own codes come through as they are: 2 for a port nothing stands
// behind, 123 for a name that cannot be a device, 5 for a port refused.
TEST(WindowsPorts, RegistryListAndOpenCodes) {
    const QString unit = Port("RELCON4_TEST_COM");
    ASSERT_FALSE(unit.isEmpty()) << "run through scripts/windows --test";
    QStringList listed;
    for (const platform::PortMapEntry& entry : platform::ListPorts())
        listed << entry.comName;
    EXPECT_TRUE(listed.contains(unit)) << listed.join(QLatin1Char(' ')).toStdString();

    const struct {
        QString name;
        std::uint32_t code;
    } cases[] = {{unit, 0},
                 {Port("RELCON4_TEST_MISSING"), 2},
                 {QStringLiteral("COM5<>"), 123},
                 {Port("RELCON4_TEST_HELD"), 5}};
    for (const auto& c : cases) {
        platform::TtyDevice device(c.name);
        const serial::OpenResult result = device.open();
        EXPECT_EQ(result.code, c.code)
            << c.name.toStdString() << ": " << result.reason.toStdString();
        EXPECT_EQ(device.isOpen(), c.code == 0) << c.name.toStdString();
    }
    // The component keeps the code for the port management, and counts nothing as open.
    const struct {
        const char* variable;
        std::uint32_t code;
    } refused[] = {{"RELCON4_TEST_MISSING", 2}, {"RELCON4_TEST_HELD", 5}};
    for (const auto& r : refused) {
        TComPortD port;
        EXPECT_FALSE(serialtest::OpenForExchange(port, Port(r.variable), kReadTimeOut));
        EXPECT_EQ(port.LastError(), r.code) << r.variable;
    }
}

// The log's open trace gives Windows' causes: none of the Linux ones (links,
// tty devices, groups, desktop services) means anything here.
TEST(WindowsPorts, OpenTraceNamesOnlyWindowsCauses) {
    const struct {
        std::uint32_t code;
        const char* cause;
    } cases[] = {{2, "драйвер"}, {5, "другой программой"}, {31, "адаптер"}, {123, ""}, {1314, ""}};
    for (const auto& c : cases) {
        const QString text = OpenTraceText(QStringLiteral("COM9"), {}, c.code, QStringLiteral("x"));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.cause))) << text.toStdString();
        for (const char* linux : {"ModemManager", "ссылка COM", "dialout", "ttyS"})
            EXPECT_FALSE(text.contains(QString::fromUtf8(linux))) << text.toStdString();
    }
}

// Bytes leave 4 ms apart, and a read waits for its time-out, no less.
TEST(WindowsPorts, PacedSendAndTimedRead) {
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, Port("RELCON4_TEST_COM"), kReadTimeOut))
        << port.LastError() << " " << port.OpenFailReason().toStdString();
    std::uint16_t length = 0;
    TMasBytes tx = Framed(VersionRequest(), length);

    const platform::MonoTime start = platform::MonoNow();
    ASSERT_TRUE(port.SendString(&tx, length));
    const auto sent = platform::MonoNow() - start;
    EXPECT_GE(sent, std::chrono::milliseconds(4 * (length - 1)));

    TMasBytes rx(4096, 0);
    std::uint16_t got = VersionRequest().replyLength;
    ASSERT_TRUE(port.ReadData(&rx, got, 0, 0, 0, 0));
    EXPECT_EQ(got, VersionRequest().replyLength);
    EXPECT_TRUE(CrcHolds(rx, got));

    // Nothing more comes: the read runs to its time-out.
    std::uint16_t more = 1;
    const std::uint32_t before = platform::TickCount();
    EXPECT_FALSE(port.ReadData(&rx, more, 0, 0, 0, 0));
    EXPECT_GE(platform::TickCount() - before, static_cast<std::uint32_t>(kReadTimeOut));
}

// A unit whose line drops (an adapter pulled out) fails the exchange and the
// ones after it, each within its limits, and the port still closes at once.
TEST(WindowsPorts, DroppedLineFailsWithoutHanging) {
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, Port("RELCON4_TEST_DROPPING"), kReadTimeOut))
        << port.LastError();
    std::uint16_t length = 0;
    TMasBytes tx = Framed(VersionRequest(), length);
    for (int round = 0; round < 2; ++round) {
        const std::uint32_t start = platform::TickCount();
        port.SendString(&tx, length);
        TMasBytes rx(4096, 0);
        std::uint16_t got = VersionRequest().replyLength;
        EXPECT_FALSE(port.ReadData(&rx, got, 0, 0, 0, 0)) << round;
        // The 2000 ms write limit and the read time-out bound each round.
        EXPECT_LT(platform::TickCount() - start, 2000u + kReadTimeOut + 2000u) << round;
    }
    const std::uint32_t start = platform::TickCount();
    port.Close();
    EXPECT_FALSE(port.Connected());
    EXPECT_LT(platform::TickCount() - start, 2000u);
}
