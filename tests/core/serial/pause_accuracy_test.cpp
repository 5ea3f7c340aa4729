// The send path's pauses keep their length while the GUI is busy: events
// served inside a pause count towards it, and the slices of a long pause end
// at instants counted from its start, so neither adds up over a frame.
//
// Each test serves a "slow" event that keeps the thread busy at every pump.
// Each is measured against the same pauses with an idle GUI, so what a loaded
// machine adds to every wake-up is not counted; the asserts allow about half
// of what pauses that paid for their events on top would add.
#include "platform/clock.h"
#include "pty_line.h"
#include "serial/com_port.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using serialtest::Clock;
using serialtest::Ms;

// Makes every pump of the event loop cost busyMs while it lives: an event
// that posts itself again, so each pass of the loop finds one waiting.
class SlowEvents : public QObject {
public:
    explicit SlowEvents(int busyMs) : busyMs_(busyMs) { post(); }
    ~SlowEvents() override { QCoreApplication::removePostedEvents(this); }
    int served = 0;

protected:
    void customEvent(QEvent*) override {
        ++served;
        const auto until = Clock::now() + std::chrono::milliseconds(busyMs_);
        while (Clock::now() < until) {
        }
        post();
    }

private:
    void post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    int busyMs_;
};

constexpr int kRuns = 5;

// The shortest of five runs: a loaded machine can stall any one run, while a
// pause that paid for its events on top is long in every run.
template <class F> double MsTaken(F&& f) {
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, Ms(Clock::now() - t0));
    }
    return best;
}

TEST(PauseAccuracy, LongPumpedSleepDoesNotGatherTheSlicesLateness) {
    // The same pause with an idle GUI first: what the machine's wake-ups cost
    // now, so a loaded machine does not count against the pause.
    const double idle = MsTaken([] { PumpedSleep(100); });
    SlowEvents busy(3);
    // 20 slices of 5 ms, each serving the slow event once: 60 ms of events
    // that must fit inside the pause.
    const double took = MsTaken([] { PumpedSleep(100); });
    EXPECT_GE(took, 100.0);
    EXPECT_LT(took - idle, 30.0) << "idle " << idle << " ms, busy " << took << " ms";
    EXPECT_GE(busy.served, kRuns * 20) << "the GUI is served in every slice";
}

TEST(PauseAccuracy, PumpThenSleepCountsTheEventsTowardsThePause) {
    const auto pauses = [] {
        for (int i = 0; i < 10; ++i)
            platform::PumpThenSleep(10);
    };
    const double idle = MsTaken(pauses);
    SlowEvents busy(8);
    const double took = MsTaken(pauses);
    // Paid on top, the events would add 8 ms to each pause (80 ms in all).
    EXPECT_GE(took, 100.0);
    EXPECT_LT(took - idle, 40.0) << "idle " << idle << " ms, busy " << took << " ms";
    EXPECT_EQ(busy.served, kRuns * 10);
}

TEST(PauseAccuracy, ByteGapsOfAFrameStayNominalWhileTheGuiIsBusy) {
    serialtest::PtyPort line;
    ASSERT_TRUE(line.ok());
    TComPortD port;
    ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 300));
    port.Timeouts()->SetWrite1Wait2(8);
    port.Timeouts()->SetWrite2WaitN(8);
    serialtest::LineRecorder recorder(line.pty().masterFd());
    // Ten bytes: 8 ms after each of bytes 1 .. 9, then the 2 ms tail. Each
    // gap serves the events twice (at its start and its 5 ms slice); paid on
    // top, they would add 6 ms to every gap, 54 ms to the frame.
    TMasBytes frame{0x0A, 0x01, 0x03, 0x00, 0x10, 0x20, 0x30, 0x40, 0xC1, 0x7E};
    const double nominal = 9 * 8 + 2;
    bool ok = true;
    const auto send = [&] { ok = port.SendString(&frame, 10) && ok; };
    // The same frame with an idle GUI first: what the machine's wake-ups
    // cost now, so a loaded machine does not count against the pauses.
    const double idle = MsTaken(send);
    SlowEvents busy(3);
    const double took = MsTaken(send);
    EXPECT_TRUE(ok);
    EXPECT_GE(took, nominal);
    // The events before the first byte come on top (3 ms); beyond that, less
    // than paying every gap's events on top would add (54 ms, more when loaded).
    EXPECT_LT(took - idle, 3 + 40.0) << "idle " << idle << " ms, busy " << took << " ms";
    EXPECT_GE(busy.served, kRuns * 19) << "the GUI is served before each byte and in each slice";
}

} // namespace
