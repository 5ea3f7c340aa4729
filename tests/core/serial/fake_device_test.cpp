// The fake device that later tests script: replies on request, with delays,
// split in chunks, and a record of what was written.
#include "platform/clock.h"
#include "platform/fake_serial_device.h"
#include "serial/com_port.h"

#include <gtest/gtest.h>

namespace {

class FakeDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        line = fakes.line("COM3");
        port.SetPort("COM3");
        port.Timeouts()->SetWaitTimePrevSending(0);
        port.Timeouts()->SetReadTimeOut(300);
        port.Open();
        ASSERT_TRUE(port.Connected());
        port.SetPhonReceive(false);
    }
    serial::FakeSerialPorts fakes;
    std::shared_ptr<serial::FakeSerialLine> line;
    TComPortD port;
    TMasBytes rx = TMasBytes(64, 0);
};

TEST_F(FakeDeviceTest, AnswersARequestAfterItsDelay) {
    line->addReply({0xA1, 0xA2}, {0x10, 0x20, 0x30}, 40);
    TMasBytes tx{0x00, 0xA1, 0xA2};
    ASSERT_TRUE(port.SendString(&tx, 3));
    EXPECT_EQ(line->written(), tx);
    std::uint16_t len = 3;
    ASSERT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    EXPECT_EQ(len, 3);
    EXPECT_EQ(rx[2], 0x30);
    EXPECT_GE(port.ManyWait1byte(), 40 - 5) << "the reply came after its delay";

    // Used once: the same request now goes unanswered.
    ASSERT_TRUE(port.SendString(&tx, 3));
    port.Timeouts()->SetReadTimeOut(30);
    len = 3;
    EXPECT_FALSE(port.ReadData(&rx, len, 0, 0, 0, 0));
}

TEST_F(FakeDeviceTest, SplitRepliesAndRepeatingAnswers) {
    line->addReply({0x05}, std::vector<serial::FakeChunk>{{{1, 2}, 0}, {{3, 4}, 30}}, true);
    TMasBytes tx{0x05};
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(port.SendString(&tx, 1));
        std::uint16_t len = 4;
        ASSERT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
        EXPECT_EQ(len, 4) << "round " << round;
        EXPECT_EQ(TMasBytes(rx.begin(), rx.begin() + 4), (TMasBytes{1, 2, 3, 4}));
    }
}

TEST_F(FakeDeviceTest, UnaskedInputAndWriteStamps) {
    line->pushInput({0x7E}, 10);
    std::uint16_t len = 1;
    ASSERT_TRUE(port.ReadData(&rx, len, 0, 0, 0, 0));
    EXPECT_EQ(rx[0], 0x7E);

    line->clearWritten();
    port.Timeouts()->SetWrite1Wait2(4);
    port.Timeouts()->SetWrite2WaitN(4);
    TMasBytes tx{1, 2, 3};
    ASSERT_TRUE(port.SendString(&tx, 3));
    const auto ticks = line->writeTicks();
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_GE(ticks[1] - ticks[0], 3u);
    EXPECT_GE(ticks[2] - ticks[1], 3u);
}

TEST_F(FakeDeviceTest, UnknownNamesAndBusyLines) {
    TComPortD other;
    other.SetPort("COM4");
    other.Open();
    EXPECT_FALSE(other.Connected());
    EXPECT_EQ(other.LastError(), 2u);
    other.SetPort("COM3");
    other.Open();
    EXPECT_FALSE(other.Connected());
    EXPECT_EQ(other.LastError(), 5u);
}

} // namespace
