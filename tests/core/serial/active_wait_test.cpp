// The active waits stay where the line needs them: one stretch at the end
// of each pause and byte gap of a send, nothing while reading or while the
// background watch polls. A pause spun through whole (100 ms here) or a read
// that spun at all would show. The total counts the wall time spent
// spinning, so a spin interrupted on a loaded machine counts long: the
// margin allows for that and stays far below a whole pause.
#include "exchange_port.h"
#include "platform/clock.h"
#include "pty_line.h"
#include "serial/com_port.h"
#include "support/test_env.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

double ActiveMs() {
    return std::chrono::duration<double, std::milli>(platform::ActiveWaitTotal()).count();
}

struct Case {
    const char* what;
    std::function<void(TComPortD&, serialtest::PtyPort&)> run;
    int stretches; // sharp instants the operation meets
};

TEST(ActiveWait, OnlyTheEndsOfPausesAndGapsAreMetActively) {
    const double margin = 30.0;
    const Case cases[] = {
        {"silent read, 100 ms time-out",
         [](TComPortD& port, serialtest::PtyPort&) {
             TMasBytes rx(16, 0);
             std::uint16_t len = 6;
             port.ReadData(&rx, len, 0, 0, 0, 0);
         },
         0},
        {"background watch for 150 ms with input waiting",
         [](TComPortD& port, serialtest::PtyPort& line) {
             int calls = 0;
             port.OnRxBuf = [&] { ++calls; };
             port.SetPhonReceive(true);
             ASSERT_TRUE(line.pty().write({0x41}));
             testenv::WaitFor([] { return false; }, 150ms);
             port.SetPhonReceive(false);
             port.OnRxBuf = nullptr;
             EXPECT_GT(calls, 0);
         },
         0},
        {"100 ms pause, then a one-byte request and its tail",
         [](TComPortD& port, serialtest::PtyPort&) {
             port.Timeouts()->SetWaitTimePrevSending(100);
             TMasBytes frame{0x55};
             EXPECT_TRUE(port.SendString(&frame, 1));
             port.Timeouts()->SetWaitTimePrevSending(0);
         },
         2},
        {"six-byte frame with 20 ms gaps: five gaps and the tail",
         [](TComPortD& port, serialtest::PtyPort&) {
             port.Timeouts()->SetWrite1Wait2(20);
             port.Timeouts()->SetWrite2WaitN(20);
             TMasBytes frame{0x06, 0x01, 0x01, 0x03, 0xB5, 0x52};
             EXPECT_TRUE(port.SendString(&frame, 6));
         },
         6},
    };
    const double stretchMs =
        std::chrono::duration<double, std::milli>(platform::SharpStretch()).count();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        serialtest::PtyPort line;
        ASSERT_TRUE(line.ok());
        TComPortD port;
        ASSERT_TRUE(serialtest::OpenForExchange(port, line.comName(), 100));
        const double before = ActiveMs();
        c.run(port, line);
        const double spent = ActiveMs() - before;
        if (c.stretches == 0)
            EXPECT_EQ(spent, 0.0);
        else
            EXPECT_LE(spent, c.stretches * stretchMs + margin);
    }
}

} // namespace
