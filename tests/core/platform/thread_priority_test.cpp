// The sending thread's priority: raised for the paced send as far as the
// limits grant it, seen by the device at every byte, and put back after;
// where nothing is granted the send goes out as before at the old priority.
#include "platform/fake_serial_device.h"
#include "platform/thread_priority.h"
#include "serial/com_port.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <iostream>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct Priority {
    int policy = -1;
    int nice = 0;
    bool operator==(const Priority&) const = default;
};

Priority CurrentPriority() {
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
    return {::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK, errno == 0 ? nice : 99};
}

// A fake device that notes the writing thread's priority at every byte.
class PriorityProbe : public serial::FakeSerialDevice {
public:
    PriorityProbe(std::shared_ptr<serial::FakeSerialLine> line, const QString& comName,
                  std::vector<Priority>& seen)
        : serial::FakeSerialDevice(std::move(line), comName), seen_(seen) {}
    long writeNow(const std::uint8_t* data, std::size_t count) override {
        seen_.push_back(CurrentPriority());
        return serial::FakeSerialDevice::writeNow(data, count);
    }

private:
    std::vector<Priority>& seen_;
};

// Lowers the system's soft limits to nothing for the test and puts them
// back: the limits of this login then grant no raise, whatever they were.
class NoLimits {
public:
    NoLimits() {
        for (int i = 0; i < 2; ++i) {
            ::getrlimit(kResources[i], &saved_[i]);
            rlimit none = saved_[i];
            none.rlim_cur = 0;
            ::setrlimit(kResources[i], &none);
        }
    }
    ~NoLimits() {
        for (int i = 0; i < 2; ++i)
            ::setrlimit(kResources[i], &saved_[i]);
    }

private:
    static constexpr int kResources[2] = {RLIMIT_RTPRIO, RLIMIT_NICE};
    rlimit saved_[2]{};
};

// Whether this system lets the thread make the change at all (an assumed
// limit grants it; only a privilege or a real limit makes it possible).
bool SystemAllows(platform::ThreadRaise raise) {
    const Priority before = CurrentPriority();
    const auto tid = static_cast<id_t>(::gettid());
    if (raise == platform::ThreadRaise::Realtime) {
        sched_param rt{};
        rt.sched_priority = 1;
        if (::sched_setscheduler(0, SCHED_FIFO, &rt) != 0)
            return false;
        sched_param normal{};
        ::sched_setscheduler(0, before.policy, &normal);
        return true;
    }
    if (raise == platform::ThreadRaise::Nice) {
        if (::setpriority(PRIO_PROCESS, tid, before.nice - 1) != 0)
            return false;
        ::setpriority(PRIO_PROCESS, tid, before.nice);
    }
    return true;
}

struct Case {
    const char* name;
    int rtprio; // assumed limits; -1: the system's, lowered to nothing
    int niceLimit;
    bool raising;
    platform::ThreadRaise raise;
};

TEST(ThreadPriorityTest, SendRaisesOnlyWhatTheLimitsGrantAndPutsItBack) {
    const Case cases[] = {
        {"the system's limits grant nothing", -1, -1, true, platform::ThreadRaise::None},
        {"nothing granted", 0, 0, true, platform::ThreadRaise::None},
        {"real-time granted", 1, 0, true, platform::ThreadRaise::Realtime},
        {"both granted: real-time first", 5, 30, true, platform::ThreadRaise::Realtime},
        {"nice granted", 0, 30, true, platform::ThreadRaise::Nice},
        {"raising switched off", 1, 30, false, platform::ThreadRaise::None},
    };
    auto line = std::make_shared<serial::FakeSerialLine>();
    std::vector<Priority> seen;
    TCustomComPortD::SetDeviceFactory([&](const QString& comName) {
        return std::make_unique<PriorityProbe>(line, comName, seen);
    });
    TComPortD port;
    port.SetPort(QStringLiteral("COM3"));
    port.Timeouts()->SetWaitTimePrevSending(2);
    port.Open();
    ASSERT_TRUE(port.Connected());
    const Priority before = CurrentPriority();
    ASSERT_NE(before.policy, SCHED_FIFO) << "the test must start at a normal priority";
    const NoLimits noLimits;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::AssumeRaiseLimits(c.rtprio, c.niceLimit);
        platform::SetThreadRaising(c.raising);
        // Where the system refuses even a granted raise, the send goes out unraised.
        const platform::ThreadRaise raise =
            SystemAllows(c.raise) ? c.raise : platform::ThreadRaise::None;
        if (raise != c.raise)
            std::cout << "this system refuses the raise: " << c.name << "\n";
        {
            const platform::RaisedThreadPriority probe;
            EXPECT_EQ(probe.raise(), raise);
            // Already raised: a nested raise changes nothing and puts nothing back.
            const platform::RaisedThreadPriority nested;
            EXPECT_EQ(nested.raise(), platform::ThreadRaise::None);
        }
        EXPECT_EQ(CurrentPriority(), before) << "after the probe";

        Priority during = before;
        if (raise == platform::ThreadRaise::Realtime)
            during.policy = SCHED_FIFO;
        if (raise == platform::ThreadRaise::Nice)
            during.nice = std::min(before.nice, 20 - static_cast<int>(c.niceLimit));
        seen.clear();
        line->clearWritten();
        TMasBytes frame{0x06, 0x01, 0x01, 0x03, 0xB5, 0x52};
        EXPECT_TRUE(port.SendString(&frame, static_cast<std::uint16_t>(frame.size())));
        EXPECT_EQ(line->written(), frame);
        EXPECT_EQ(seen, std::vector<Priority>(frame.size(), during)) << "at each byte";
        EXPECT_EQ(CurrentPriority(), before) << "after the send";
    }
    platform::SetThreadRaising(true);
    platform::AssumeRaiseLimits(-1, -1);
    port.Close();
    TCustomComPortD::SetDeviceFactory({});
}

} // namespace
