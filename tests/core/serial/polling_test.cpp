// Background reception: the polling thread raises OnRxBuf on the GUI thread
// only while PhonReceive is on, and closing never waits on a queued call.
// It waits on the line's readiness: a packet is taken at once, and a quiet,
// hung-up or unread line neither keeps the thread busy nor holds up a close.
#include "platform/clock.h"
#include "platform/fake_serial_device.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "serial/polling_thread.h"
#include "support/test_env.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <ctime>
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

TEST_F(PollingTest, APacketOnAQuietLineIsTakenWhole) {
    const TMasBytes packet{0x75, 0x01, 0xFB, 0x01, 0xF8};
    TMasBytes rx(64, 0);
    std::uint16_t got = 0;
    port.OnRxBuf = [&] {
        got = static_cast<std::uint16_t>(packet.size());
        port.Timeouts()->SetReadTimeOut(200);
        port.ReadData(&rx, got, 0, 0, 0, 0);
    };
    // The thread sleeps on the line from the open on: only the bytes can wake it.
    ASSERT_TRUE(line.pty().write(packet));
    ASSERT_TRUE(testenv::WaitFor([&] { return got > 0; }, std::chrono::seconds(2)));
    EXPECT_EQ(TMasBytes(rx.begin(), rx.begin() + got), packet);
}

// The event loop left alone for ms (or until loop.quit()): the share of a
// core the process took meanwhile. The loop sleeps, so it is the thread's.
double CpuShareOver(QEventLoop& loop, int ms) {
    QElapsedTimer wall;
    wall.start();
    const std::clock_t cpu0 = std::clock();
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuMs = 1000.0 * double(std::clock() - cpu0) / CLOCKS_PER_SEC;
    return cpuMs / double(std::max<qint64>(wall.elapsed(), 1));
}

// The line's state while the watch waits: the thread must stay asleep (a
// failed or unread line is looked at once a period, as before), and Close
// must end its wait at once.
struct WaitCase {
    const char* name;
    bool hangUp;     // the far end gone, as an adapter pulled out
    bool leaveBytes; // a byte waits that OnRxBuf does not read (an exchange runs)
};

TEST(PollingWait, TheWaitingThreadStaysAsleepAndCloseEndsItAtOnce) {
    using namespace std::chrono_literals;
    constexpr WaitCase kCases[] = {
        {"quiet line", false, false},
        {"line hung up", true, false},
        {"a byte left unread", false, true},
    };
    // How long a quiet or hung-up line is watched, and how many offers of an
    // unread byte: the deadlines only bound a failure, a loaded machine just
    // takes longer.
    constexpr int kWindowMs = 150;
    constexpr std::size_t kOffers = 3;
    for (const WaitCase& c : kCases) {
        SCOPED_TRACE(c.name);
        serialtest::PtyPort line(8);
        ASSERT_TRUE(line.ok());
        TComPortD port;
        port.SetPort(line.comName());
        port.Open();
        ASSERT_TRUE(port.Connected());
        QEventLoop loop;
        std::vector<serialtest::Clock::time_point> offers;
        port.OnRxBuf = [&] {
            offers.push_back(serialtest::Clock::now());
            if (offers.size() == kOffers)
                loop.quit();
        };
        if (c.hangUp)
            line.pty().close();
        if (c.leaveBytes) {
            ASSERT_TRUE(line.pty().write({0x5A}));
        }

        const double share = CpuShareOver(loop, c.leaveBytes ? 5000 : kWindowMs);
        if (c.leaveBytes) {
            ASSERT_GE(offers.size(), kOffers) << "the byte is offered again";
            EXPECT_GE(offers[kOffers - 1] - offers.front(),
                      (kOffers - 1) * std::chrono::milliseconds(TTimerThreadD::kPeriodMs))
                << "once a period, never back to back";
        } else {
            EXPECT_TRUE(offers.empty());
            // Asleep it costs well under 1 % of the window; spinning, its share of a core.
            EXPECT_LT(share, 0.1);
        }

        // A hang here would be for good; the limit only allows for a busy machine.
        const auto closeStart = serialtest::Clock::now();
        port.Close();
        EXPECT_FALSE(port.Connected());
        EXPECT_LT(serialtest::Clock::now() - closeStart, 3s);
    }
}

TEST(PollingWait, FakeBytesDueLaterWakeTheWatchAndAnUnplugNeverHoldsUpTheClose) {
    serial::FakeSerialPorts fakes;
    const auto line = fakes.line("COM4");
    TComPortD port;
    port.SetPort("COM4");
    port.Open();
    ASSERT_TRUE(port.Connected());
    TMasBytes rx(8, 0);
    std::uint16_t got = 0;
    port.OnRxBuf = [&] {
        got = 2;
        port.Timeouts()->SetReadTimeOut(50);
        port.ReadData(&rx, got, 0, 0, 0, 0);
    };
    line->pushInput({0x31, 0x32}, 40);
    ASSERT_TRUE(testenv::WaitFor([&] { return got > 0; }, std::chrono::seconds(2)));
    EXPECT_EQ(TMasBytes(rx.begin(), rx.begin() + got), (TMasBytes{0x31, 0x32}));
    line->unplug();
    QEventLoop loop;
    EXPECT_LT(CpuShareOver(loop, 150), 0.1) << "a pulled-out line is looked at once a period";
    const std::uint32_t closeStart = platform::TickCount();
    port.Close();
    EXPECT_LT(platform::TickCount() - closeStart, 1000u);
}

} // namespace
