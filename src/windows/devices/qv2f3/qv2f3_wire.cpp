#include "devices/qv2f3/qv2f3_wire.h"

#include "devices/qv2f3/bench_packet.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"

#include <QPointer>

void WireQv2f3Page(TQv2f3Page* page, TMonitorForm* monitor) {
    if (page == nullptr || monitor == nullptr)
        return;
    // The page may go before the log window's last read; a gone page takes nothing.
    QPointer<TQv2f3Page> p(page);
    monitor->BackgroundPacketLength = [](std::uint8_t first) {
        return qv2f3::BenchPacketLength(first);
    };
    monitor->BackgroundPacket = [p](std::size_t received) {
        if (p)
            p->onPacket(ExchangeState.RxBuf.data(), received);
    };
}
