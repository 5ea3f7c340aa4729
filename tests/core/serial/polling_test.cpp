// Background reception: the polling thread raises OnRxBuf on the GUI thread
// only while PhonReceive is on, and closing never waits on a queued call.
#include "platform/clock.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "serial/polling_thread.h"
#include "support/test_env.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

namespace {

class PollingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.ok());
        port.SetPort(line.comName());
        port.Open();
        ASSERT_TRUE(port.Connected());
    }
    serialtest::PtyPort line;
    TComPortD port;
};

TEST_F(PollingTest, RaisesOnRxBufOnTheGuiThreadOnlyWhileReceptionIsOn) {
    EXPECT_TRUE(port.PhonReceive()) << "opening switches background reception on";
    int calls = 0;
    bool onGuiThread = true;
    TMasBytes rx(64, 0);
    port.OnRxBuf = [&] {
        ++calls;
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
        std::uint16_t len = 1;
        port.Timeouts()->SetReadTimeOut(20);
        port.ReadData(&rx, len, 0, 0, 0, 0);
    };
    ASSERT_TRUE(line.pty().write({0x41, 0x42}));
    ASSERT_TRUE(testenv::WaitFor([&] { return calls > 0; }));
    EXPECT_TRUE(onGuiThread);
    EXPECT_EQ(rx[0], 0x41);

    port.SetPhonReceive(false);
    const int before = calls;
    ASSERT_TRUE(line.pty().write({0x43}));
    // Many polling periods with a byte waiting: no call may come.
    EXPECT_FALSE(testenv::WaitFor([&] { return calls > before; }, std::chrono::milliseconds(120)));
    EXPECT_EQ(port.funDataIsOk(), 1u);

    port.SetPhonReceive(true);
    EXPECT_TRUE(testenv::WaitFor([&] { return calls > before; }));
}

TEST_F(PollingTest, CloseReturnsWhileACallIsQueuedAndTheCallNeverRuns) {
    int calls = 0;
    port.OnRxBuf = [&] { ++calls; };
    ASSERT_TRUE(line.pty().write({0x55}));
    // Without serving events, wait until the thread has seen the byte; it
    // then queues its call and blocks on it.
    const std::uint32_t start = platform::TickCount();
    while (port.NumOfBytesIn() == 0 && platform::TickCount() - start < 3000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_GT(port.NumOfBytesIn(), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(3 * TTimerThreadD::kPeriodMs));

    const std::uint32_t closeStart = platform::TickCount();
    port.Close();
    EXPECT_FALSE(port.Connected());
    EXPECT_LT(platform::TickCount() - closeStart, 1000u);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 0) << "a call cancelled by Close must not reach the handler";
}

TEST_F(PollingTest, HandlerMayCloseThePort) {
    int calls = 0;
    port.OnRxBuf = [&] {
        ++calls;
        port.Close();
    };
    ASSERT_TRUE(line.pty().write({0x01}));
    ASSERT_TRUE(testenv::WaitFor([&] { return !port.Connected(); }));
    EXPECT_EQ(calls, 1);
    // Reopening works after such a close: the tty was released.
    port.Open();
    EXPECT_TRUE(port.Connected());
}

} // namespace
