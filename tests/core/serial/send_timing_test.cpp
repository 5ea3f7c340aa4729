// The paced send measured where the unit sees it: on the master side of a
// pseudo-terminal, each byte stamped as it arrives.
//
// Tolerances: a byte may reach the master late by the pty's hand-over or by
// the recording thread waiting for a core (well under 1 ms idle, a few ms
// under load; two bytes may then be read together), which lengthens one gap
// and shortens the next. So the gaps are judged as a run: the median error
// must stay below 1 ms and no gap may exceed the pause by 50 ms. Checks that
// must hold on any machine use the sender's own clock instead.
#include "platform/clock.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "support/test_env.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iostream>

namespace {

using serialtest::Clock;
using serialtest::Ms;

class SendTimingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(line.ok());
        ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 300));
        recorder = std::make_unique<serialtest::LineRecorder>(line.pty().masterFd());
    }
    void TearDown() override { recorder.reset(); }

    struct Sent {
        bool ok = false;
        Clock::time_point before, after;
        // Whole ticks from the stamp after the last byte to the return: never
        // below the tail slept, however late the bytes reach the master.
        std::uint32_t tailTicks = 0;
        std::vector<serialtest::LineRecorder::Arrival> arrivals;
    };
    Sent send(TMasBytes bytes, std::size_t n) { return send(bytes, n, n); }
    Sent send(TMasBytes bytes, std::size_t n, std::size_t expected) {
        recorder->clear();
        Sent s;
        s.before = Clock::now();
        s.ok = port.SendString(&bytes, static_cast<std::uint16_t>(n));
        s.after = Clock::now();
        s.tailTicks = platform::TickCount() - port.cGlobStartTick;
        testenv::WaitFor([&] { return recorder->count() >= expected; }, std::chrono::seconds(2));
        s.arrivals = recorder->arrivals();
        return s;
    }
    static std::vector<double> gaps(const Sent& s) {
        std::vector<double> g;
        for (std::size_t i = 1; i < s.arrivals.size(); ++i)
            g.push_back(Ms(s.arrivals[i].at - s.arrivals[i - 1].at));
        return g;
    }

    serialtest::PtyPort line;
    TComPortD port;
    std::unique_ptr<serialtest::LineRecorder> recorder;
};

TEST_F(SendTimingTest, TypicalRequestKeepsItsGapsOverARunOfFrames) {
    const TMasBytes frame{0x0A, 0x01, 0x03, 0x00, 0x10, 0x20, 0x30, 0x40, 0xC1, 0x7E};
    std::vector<double> errors;
    for (int run = 0; run < 12; ++run) {
        const Sent s = send(frame, frame.size());
        ASSERT_TRUE(s.ok);
        ASSERT_EQ(s.arrivals.size(), frame.size());
        for (std::size_t i = 0; i < frame.size(); ++i)
            ASSERT_EQ(s.arrivals[i].byte, frame[i]) << "byte " << i;
        for (double g : gaps(s)) {
            EXPECT_LE(g, 4.0 + 50.0);
            errors.push_back(g - 4.0);
        }
    }
    std::sort(errors.begin(), errors.end());
    const double median = errors[errors.size() / 2];
    const double worst = std::max(std::abs(errors.front()), std::abs(errors.back()));
    std::cout << "gap error over " << errors.size() << " gaps: median " << median << " ms, worst "
              << worst << " ms\n";
    RecordProperty("gap_error_median_ms", std::to_string(median));
    RecordProperty("gap_error_worst_ms", std::to_string(worst));
    EXPECT_LT(std::abs(median), 1.0);
}

TEST_F(SendTimingTest, PauseBeforeTheRequestAndTailAfterTheLastByte) {
    port.Timeouts()->SetWaitTimePrevSending(60);
    const Sent s = send({1, 2, 3}, 3);
    ASSERT_TRUE(s.ok);
    ASSERT_EQ(s.arrivals.size(), 3u);
    const double pause = Ms(s.arrivals[0].at - s.before);
    EXPECT_GE(pause, 60.0);
    EXPECT_LT(pause, 60.0 + 50.0);
    // 9600 8N1: two character times (1.875 ms) round up to a 2 ms tail.
    EXPECT_GE(s.tailTicks, 2u);
    EXPECT_LT(Ms(s.after - s.arrivals[2].at), 2.0 + 50.0);
}

TEST_F(SendTimingTest, SmallPausesBeforeTheRequest) {
    port.Timeouts()->SetWaitTimePrevSending(1);
    Sent s = send({7}, 1);
    ASSERT_EQ(s.arrivals.size(), 1u);
    EXPECT_LT(Ms(s.arrivals[0].at - s.before), 1.0 + 20.0) << "1 ms asks for no pause at all";
    port.Timeouts()->SetWaitTimePrevSending(2);
    s = send({7}, 1);
    ASSERT_EQ(s.arrivals.size(), 1u);
    EXPECT_GE(Ms(s.arrivals[0].at - s.before), 2.0);
}

TEST_F(SendTimingTest, ZeroOneAndTwoByteSends) {
    // Nothing to send: nothing goes out, the stamp is still taken, no tail, false.
    port.cGlobStartTick = 0;
    Sent s = send({1, 2}, 0);
    EXPECT_FALSE(s.ok);
    EXPECT_NE(port.cGlobStartTick, 0u);
    EXPECT_LT(Ms(s.after - s.before), 20.0);
    EXPECT_TRUE(s.arrivals.empty());

    // One byte: no gaps, a one-character tail (0.94 ms rounds up to 1).
    s = send({0x5A}, 1);
    EXPECT_TRUE(s.ok);
    ASSERT_EQ(s.arrivals.size(), 1u);
    EXPECT_GE(s.tailTicks, 1u);
    EXPECT_GE(Ms(s.after - s.before), 1.0);

    // Two-byte sends, five of each, so that one send delayed by a loaded
    // machine cannot decide: the shortest of them shows what was asked for.
    const auto twoBytes = [&](int w1) {
        port.Timeouts()->SetWrite1Wait2(w1);
        std::vector<double> gap, whole;
        for (int i = 0; i < 5; ++i) {
            const Sent t = send({1, 2}, 2);
            EXPECT_TRUE(t.ok);
            if (t.arrivals.size() != 2)
                continue;
            gap.push_back(gaps(t)[0]);
            whole.push_back(Ms(t.after - t.before));
        }
        std::sort(gap.begin(), gap.end());
        std::sort(whole.begin(), whole.end());
        return std::make_pair(gap, whole);
    };
    // First pause 1: no pause after byte 1 (it must exceed 1).
    auto [gap, whole] = twoBytes(1);
    ASSERT_EQ(gap.size(), 5u);
    EXPECT_LT(gap.front(), 2.0) << "no 4 ms pause may appear";
    // First pause 4: 4 ms after byte 1, none after byte 2, even with a long
    // later pause set: 4 ms and the 2 ms tail, where a wrong 40 ms pause
    // after the last byte would stand out on any machine.
    port.Timeouts()->SetWrite2WaitN(40);
    std::tie(gap, whole) = twoBytes(4);
    ASSERT_EQ(gap.size(), 5u);
    EXPECT_GE(gap.back(), 3.0);
    EXPECT_GE(whole.front(), 6.0);
    EXPECT_LT(whole.front(), 30.0);
}

TEST_F(SendTimingTest, ArrayShorterThanTheCountSendsNothing) {
    const Sent s = send({1, 2, 3}, 5, 0);
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.arrivals.empty());
    EXPECT_FALSE(port.SendString(nullptr, 1));
}

} // namespace
