// The adapter pulled out in the middle of a send: the send fails with its
// code within the completion limit, and the port still closes and reopens.
#include "platform/fake_serial_device.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "support/test_env.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

using serialtest::Clock;

TEST(HangUp, MasterClosedDuringASendFailsItWithinTheLimit) {
    serialtest::PtyPort line(20);
    ASSERT_TRUE(line.ok());
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 300));

    TMasBytes frame(60, 0x55); // about 240 ms of paced sending
    // The events served between the bytes pull the line out.
    QTimer::singleShot(30, [&] { line.pty().close(); });
    const auto start = Clock::now();
    EXPECT_FALSE(port.SendString(&frame, static_cast<std::uint16_t>(frame.size())));
    const auto took = Clock::now() - start;
    EXPECT_TRUE(port.LastError() == 2u || port.LastError() == 4u) << port.LastError();
    // It stops at the first byte that fails, long before the whole frame's time.
    EXPECT_LT(took, std::chrono::milliseconds(200));

    const auto closeStart = Clock::now();
    port.Close();
    EXPECT_FALSE(port.Connected());
    EXPECT_LT(Clock::now() - closeStart, std::chrono::milliseconds(1000));
}

TEST(HangUp, ReadOnADeadLineEndsAtItsTimeOut) {
    serialtest::PtyPort line(21);
    ASSERT_TRUE(line.ok());
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 60));
    line.pty().close();
    TMasBytes rx(16, 0);
    std::uint16_t len = 4;
    const auto start = Clock::now();
    EXPECT_FALSE(port.ReadData(&rx, len, 0, 0, 0, 0));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(60 + 500));
    port.Close();
    EXPECT_FALSE(port.Connected());
}

TEST(HangUp, FakeDeviceDroppingOutMidSend) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM3");
    TComPortD port;
    port.SetPort("COM3");
    port.Timeouts()->SetWaitTimePrevSending(0);
    port.Open();
    ASSERT_TRUE(port.Connected());
    TMasBytes frame{1, 2, 3, 4, 5, 6};

    line->dropAfter(3, true);
    EXPECT_FALSE(port.SendString(&frame, 6));
    EXPECT_EQ(port.LastError(), 2u) << "the write itself was refused";
    EXPECT_EQ(line->written(), (TMasBytes{1, 2, 3}));
    port.Close();

    // The wait for completion failing is code 4.
    line->clearWritten();
    port.Open();
    line->dropAfter(5, false);
    EXPECT_FALSE(port.SendString(&frame, 6));
    EXPECT_EQ(port.LastError(), 4u);
    port.Close();
    EXPECT_FALSE(port.Connected());
}

} // namespace
