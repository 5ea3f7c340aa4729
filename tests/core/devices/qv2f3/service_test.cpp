// The ZI2-Z3 service as the page and the command line run it: what each
// command sends, and how its result names a failure.
#include "devices/qv2f3/zi2z3_service.h"
#include "fake_bench.h"

#include <functional>
#include <gtest/gtest.h>

using namespace qv2f3;

namespace {

const TMasBytes kSession{0x08, 0x73, 'Z', 'E', '2', '-', 'R', 0x3E};
const TMasBytes kDelays{0x09, 0x52, 1, 2, 3, 4, 5, 6, 0x3E};

struct Case {
    const char* name;
    std::function<TCommandResult()> run;
    std::vector<std::optional<TMasBytes>> replies;
    bool portOpens = true;
    bool sendFails = false; // the engine's mark of a frame that never left
    const char* said;       // the result's text; empty when done
    std::size_t frames;     // sent before the command ended
};

TEST(Zi2z3Service, NamesTheStepThatFailed) {
    QString ident;
    TDelaySettings delays{};
    const auto read = [&] { return Zi2z3ReadSettings(ident, delays); };
    const auto write = [] { return Zi2z3WriteSettings({1, 2, 3, 4, 5, 6}); };
    const auto bench = [] { return Zi2z3SendBenchCommand(0x80); };
    const Case cases[] = {
        {"settings read", read, {kSession, kDelays}, true, false, "", 2},
        {"silent session", read, {std::nullopt}, true, false, "начало сеанса: нет ответа", 1},
        {"short delays",
         read,
         {kSession, TMasBytes(kDelays.begin(), kDelays.end() - 1)},
         true,
         false,
         "чтение задержек: ответ неверной длины (8 байт из 9)",
         2},
        // Stray bytes ahead of the reply: its values are not taken.
        {"misframed delays",
         read,
         {kSession, TMasBytes{0xAA, 0xBB, 0xCC, 0x09, 0x52, 1, 2, 3, 4}},
         true,
         false,
         "чтение задержек: нет ответа",
         2},
        {"refused write",
         write,
         {TMasBytes{0x03, 0x01, 0x3E}},
         true,
         false,
         "запись задержек: устройство отказало",
         1},
        {"bench command, no watch", bench, {}, false, false, "порт не открыт", 0},
        {"bench command lost",
         bench,
         {},
         true,
         true,
         "команда стенда 0x80: нет ответа (команда не отправлена)",
         1},
        {"watch on no port",
         [] { return Zi2z3StartWatch(); },
         {},
         false,
         false,
         "порт не открыт",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeState.Reset();
        FakeBench line;
        line.canOpen = c.portOpens;
        line.replies.assign(c.replies.begin(), c.replies.end());
        // A bench command goes on the port the watch holds.
        ExchangeState.PortOpen[0] = c.portOpens;
        ExchangeState.SendFailed = c.sendFails;
        EXPECT_EQ(c.run().text(), QString::fromUtf8(c.said));
        EXPECT_EQ(line.sent.size(), c.frames);
        EXPECT_TRUE(line.phon.empty());
    }
    EXPECT_EQ(ident, "ZE2-R");
    EXPECT_EQ(delays, (TDelaySettings{1, 2, 3, 4, 5, 6}));
}

} // namespace
