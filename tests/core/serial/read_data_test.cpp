// Timed reads against a unit played on the master side of a pseudo-terminal.
#include "platform/clock.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace {

class ReadDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.ok());
        ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 300))
            << port.LastError() << " " << port.OpenFailReason().toStdString();
    }
    void unitSends(const std::vector<std::uint8_t>& bytes) { ASSERT_TRUE(line.pty().write(bytes)); }

    serialtest::PtyPort line;
    TComPortD port;
    TMasBytes rx = TMasBytes(4096, 0);
};

TEST_F(ReadDataTest, ExactCountReturnsAtOnce) {
    unitSends({1, 2, 3, 4, 5, 6});
    std::uint16_t len = 6;
    const std::uint32_t start = platform::TickCount();
    EXPECT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    const std::uint32_t took = platform::TickCount() - start;
    EXPECT_EQ(len, 6);
    EXPECT_EQ(TMasBytes(rx.begin(), rx.begin() + 6), (TMasBytes{1, 2, 3, 4, 5, 6}));
    // Far below the 300 ms time-out even on a loaded machine.
    EXPECT_LT(took, 150u);
}

TEST_F(ReadDataTest, CountPassedInOnePassRunsToTheTimeOut) {
    unitSends({1, 2, 3, 4, 5, 6, 7, 8});
    // Let all eight land in the queue so one pass takes them together.
    ASSERT_TRUE(testenv::WaitFor([&] { return port.funDataIsOk() == 8; }));
    std::uint16_t len = 6;
    const std::uint32_t start = platform::TickCount();
    EXPECT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    const std::uint32_t took = platform::TickCount() - start;
    EXPECT_EQ(len, 8);
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 300u + 200u);
}

TEST_F(ReadDataTest, ShortReplyReturnsWhatCameAfterTheTimeOut) {
    unitSends({9, 8, 7, 6});
    std::uint16_t len = 6;
    const std::uint32_t start = platform::TickCount();
    EXPECT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    EXPECT_EQ(len, 4);
    EXPECT_GE(platform::TickCount() - start, 300u);
}

TEST_F(ReadDataTest, NothingComesBackGivesFalseAndKeepsLastError) {
    port.SetLastError(0);
    std::uint16_t len = 5;
    port.Timeouts()->SetReadTimeOut(40);
    EXPECT_FALSE(port.ReadData(&rx, len, 0, 0, 0, 0));
    EXPECT_EQ(len, 0);
    EXPECT_EQ(port.LastError(), 0u);

    port.Timeouts()->SetReadTimeOut(0);
    unitSends({1});
    ASSERT_TRUE(testenv::WaitFor([&] { return port.funDataIsOk() == 1; }));
    len = 1;
    EXPECT_FALSE(port.ReadData(&rx, len, 0, 0, 0, 0)) << "a time-out of 0 returns at once";
    EXPECT_EQ(port.funDataIsOk(), 1u);
}

TEST_F(ReadDataTest, LatencyCountsFromTheEndOfTheLastSend) {
    TMasBytes tx{0x10, 0x20};
    ASSERT_TRUE(port.SendString(&tx, 2));
    EXPECT_EQ(line.pty().readExactly(2, 1000), tx);
    const std::uint32_t sentAt = port.cGlobStartTick;
    platform::SleepMs(50);
    unitSends({0x33});
    std::uint16_t len = 1;
    ASSERT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    const std::int32_t expected = static_cast<std::int32_t>(platform::TickCount() - sentAt);
    // At least the 50 ms the unit waited; at most the time up to the end of the read.
    EXPECT_GE(port.ManyWait1byte(), 50);
    EXPECT_LE(port.ManyWait1byte(), expected);
    port.SetManyWait1byte(7);
    EXPECT_EQ(port.ManyWait1byte(), 7);
}

TEST_F(ReadDataTest, NeverStoresPastTheArrayAndLeavesTheRestQueued) {
    TMasBytes small(3, 0);
    unitSends({1, 2, 3, 4, 5});
    ASSERT_TRUE(testenv::WaitFor([&] { return port.funDataIsOk() == 5; }));
    std::uint16_t len = 5;
    EXPECT_TRUE(port.ReadData(&small, len, 0, 0, 0, 0));
    EXPECT_EQ(len, 3);
    EXPECT_EQ(small, (TMasBytes{1, 2, 3}));
    EXPECT_EQ(port.funDataIsOk(), 2u);
}

TEST_F(ReadDataTest, LengthByteModeTakesTheCountFromTheReply) {
    // Byte 1 says 3 more bytes follow after the length byte and the header byte.
    unitSends({0xAA, 3, 1, 2, 3});
    std::uint16_t len = 0;
    EXPECT_TRUE(port.ReadData(&rx, len, 1, 2, 0, 0));
    EXPECT_EQ(len, 5);
}

} // namespace
