// How soon the bench watch takes a packet: the ZI2-Z3 page's watch on the
// simulated bench (in this process, paced as its 9600 baud line unless
// --line-rate says otherwise), the idle voltages asked for --packets times,
// and for each packet the time from its last byte reaching the line to the
// page receiving it whole.
#include "bench_app.h"

#include "devices/qv2f3/qv2f3_page.h"
#include "exchange/monitor_form.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <algorithm>
#include <mutex>

int main(int argc, char** argv) {
    bench::BenchProcess process(argc, argv);
    const int packets = std::max(1, bench::OptionValue(process.args, "--packets", "50").toInt());
    const int rate = bench::OptionValue(process.args, "--line-rate", "9600").toInt();
    bench::QuietInteraction quiet;
    bench::OpenProgramWindows(process.home, false);

    // The simulator's thread stamps each piece once its last byte is written.
    std::mutex m;
    bench::Clock::time_point lastByte{};
    sim::SimServer server(std::make_unique<sim::Zi2z3Unit>());
    server.setLineRate(rate);
    server.setTrace([&](char direction, const sim::Bytes&) {
        if (direction != '>')
            return;
        std::lock_guard<std::mutex> lock(m);
        lastByte = bench::Clock::now();
    });
    const QString com = server.start();
    ExchangeState.PortName[0] = com;
    auto* start = bench::FindIn(Qv2f3Page, "QV2_start_Button");
    auto* ask = bench::FindIn(Qv2f3Page, "QV2_cmd01_Button");
    if (com.isEmpty() || !start || !ask)
        return 1;
    start->click();
    if (!ExchangeState.PortOpen[0]) {
        bench::Progress(QStringLiteral("the watch did not hold %1").arg(com));
        return 1;
    }
    bench::Clock::time_point takenAt{};
    int taken = 0;
    const auto page = MonitorForm->BackgroundPacket;
    MonitorForm->BackgroundPacket = [&, page](std::size_t received) {
        takenAt = bench::Clock::now();
        ++taken;
        page(received);
    };

    bench::Progress(QStringLiteral("watch latency, %1 packets at %2 baud").arg(packets).arg(rate));
    std::vector<double> latency;
    int lost = 0;
    for (int i = 0; i < packets; ++i) {
        const int before = taken;
        ask->click();
        // The reply comes within a few byte times; the rest is the event loop
        // left alone, as between a technician's clicks.
        bench::RunEventsFor(250);
        if (taken != before + 1) {
            ++lost;
            continue;
        }
        std::lock_guard<std::mutex> lock(m);
        latency.push_back(bench::MsBetween(lastByte, takenAt));
    }
    const bench::Spread s = bench::SpreadOf(latency);
    bench::Row(
        QStringLiteral("3. Bench watch: a packet taken after its last byte"),
        QStringLiteral("≤ 1 ms"),
        QStringLiteral("median %1, p95 %2, worst %3")
            .arg(bench::Ms(s.median, 3), bench::Ms(s.p95, 3), bench::Ms(s.worst, 3)),
        QStringLiteral("%1 packets of 6 bytes at %2 baud, %3 over 1 ms, %4 not taken alone")
            .arg(s.count)
            .arg(rate)
            .arg(std::count_if(latency.begin(), latency.end(), [](double ms) { return ms > 1; }))
            .arg(lost));
    if (auto* stop = bench::FindIn(Qv2f3Page, "QV2_stop_Button"))
        stop->click();
    DestroyAppWindows();
    return 0;
}
