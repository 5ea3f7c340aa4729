#include "devices/qv2f3/qv2f3_wire.h"

#include "devices/qv2f3/bench_packet.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "serial/com_port.h"
#include "shell/relcon4_window.h"

#include <QPointer>

void WireQv2f3Page(TQv2f3Page* page, TRelcon4* window, TMonitorForm* monitor) {
    if (page == nullptr || window == nullptr || monitor == nullptr)
        return;
    // The windows may go before the page's last call; a gone window acts as no line.
    QPointer<TRelcon4> w(window);
    QPointer<TMonitorForm> m(monitor);
    TQv2f3Link link;
    link.openCloseCom = [w](bool open) {
        if (w)
            w->prOpenCloseCommandPort(open);
    };
    link.sendReceive = [w] { return w && w->funSendReceive1(0); };
    link.setPhonReceive = [m](bool on) {
        if (m && m->ComPortD1)
            m->ComPortD1->SetPhonReceive(on);
    };
    link.log = [m](const qv2f3::TBenchLogLine& line) {
        if (!m)
            return;
        AnalyzeLog.sStr = line.text;
        if (line.asBytes)
            m->prStatusAsCmdToLog(static_cast<TLogColor>(line.color), LogHex);
        else
            m->prStatusAsStrToLog(static_cast<TLogColor>(line.color));
    };
    page->setLink(std::move(link));

    QPointer<TQv2f3Page> p(page);
    monitor->BackgroundPacketLength = [](std::uint8_t first) {
        return qv2f3::BenchPacketLength(first);
    };
    monitor->BackgroundPacket = [p](std::size_t received) {
        if (p)
            p->onPacket(ExchangeState.RxBuf.data(), received);
    };
}
