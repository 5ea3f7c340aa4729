// The RO-4D read on a line in doubt: a page reply does not name its page,
// so once a late or refused reply was seen the pages are read again until
// two readings agree. The simulated unit on a pseudo-terminal, the core's
// own line.
#include "devices/qv4m/ro4d_service.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "platform/event_pump.h"
#include "port/channel_port.h"
#include "ro4d_unit.h"
#include "sim_server.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    bool inDoubt;        // the line showed a late reply before the read
    int changedReadings; // readings during which the unit's words change
    bool ok;
    const char* said;     // the result's text
    std::size_t requests; // the version and the page requests
};

TEST(Ro4dReadOnALineInDoubt, TakesThePagesOnlyWhenTwoReadingsAgree) {
    const Case cases[] = {
        {"clean line, one reading", false, 0, true, "", 8},
        {"in doubt, two readings agree", true, 0, true, "", 15},
        {"in doubt, the first reading differs", true, 1, true, "", 22},
        {"in doubt, no two readings agree", true, 3, false, "страницы: ответы не сошлись", 22},
    };
    platform::SetEventPumping(false);
    CreateExchangePort();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetExchangeSettings();
        ExchangeState.Reset();
        TimeOut = 300;
        PreSendPause = 5;
        ExchangeState.NumOfRepeat = 1;
        sim::SimServer server(std::make_unique<sim::Ro4dUnit>());
        server.setLineRate(0);
        ExchangeState.PortName[0] = server.start();
        ASSERT_FALSE(ExchangeState.PortName[0].isEmpty());
        ExchangeState.LineSuspect[0] = c.inDoubt;

        // The unit's words change as the last page of a reading comes in,
        // as if a reply had stood in for another page's.
        int readings = 0;
        TRo4dReadSink sink;
        sink.page = [&](int page, const TRo4dPageWords&) {
            if (page == kRo4dPageCount - 1 && readings++ < c.changedReadings)
                ++server.unit<sim::Ro4dUnit>()->registers()[3];
        };
        TRo4dUnitImage unit;
        const TCommandResult r = Ro4dRead(unit, sink);

        EXPECT_EQ(r.ok(), c.ok);
        EXPECT_EQ(r.text(), QString::fromUtf8(c.said));
        EXPECT_EQ(server.unit()->requests().size(), c.requests);
        if (c.ok) {
            const auto& held = server.unit<sim::Ro4dUnit>()->registers();
            EXPECT_TRUE(std::equal(held.begin(), held.end(), unit.registers.begin()));
        }
    }
    platform::SetEventPumping(true);
}

} // namespace
