// A long bench watch: the ZI2-Z3 page's watch holds the port of a simulated
// bench (paced as its 9600 baud line) for --minutes, while the bench commands
// are pressed one after another, each as soon as the answer before it has
// come, so packets arrive at the pace the bench sends them. Every packet the
// bench sent must show as one green "CRC-ok" line whose text is the one a
// clean run gives; prints packets sent, decoded, garbled, missing, and the
// process's memory and descriptors every --every minutes. Asserts nothing.
//
//   bench_watch [--minutes N] [--every N]
#include "bench_app.h"

#include "devices/qv2f3/qv2f3_page.h"
#include "exchange/log_state.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <atomic>
#include <map>
#include <memory>

namespace {

struct Command {
    void (TQv2f3Page::*press)();
    int packets; // packets of its answer
};

// The eight bench commands and the packets each answer holds.
constexpr Command kCommands[] = {
    {&TQv2f3Page::QV2_cmd00_ButtonClick, 1}, {&TQv2f3Page::QV2_cmd01_ButtonClick, 1},
    {&TQv2f3Page::QV2_cmd02_ButtonClick, 1}, {&TQv2f3Page::QV2_cmd03_ButtonClick, 1},
    {&TQv2f3Page::QV2_cmd04_ButtonClick, 1}, {&TQv2f3Page::QV2_cmd05_ButtonClick, 1},
    {&TQv2f3Page::QV2_cmd06_ButtonClick, 2}, {&TQv2f3Page::QV2_cmd80_ButtonClick, 3},
};

// Green packet lines made since seq, oldest first; seq moves past them.
QStringList PacketLinesSince(std::uint64_t& seq) {
    std::vector<std::pair<std::uint64_t, QString>> found;
    for (int i = 0; i < kLogLines; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (LogLineSeq[k] > seq && LogLineColor[k] == clLogGreen)
            found.emplace_back(LogLineSeq[k], LogLines[k]);
    }
    std::sort(found.begin(), found.end());
    QStringList lines;
    for (const auto& [n, line] : found) {
        lines << line;
        seq = std::max(seq, n);
    }
    seq = std::max(seq, LogSeqCounter);
    return lines;
}

int OpenDescriptors() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::NoDotAndDotDot | QDir::System)
                                .size());
}

} // namespace

int main(int argc, char** argv) {
    bench::BenchProcess process(argc, argv);
    const int minutes = std::max(1, bench::OptionValue(process.args, "--minutes", "60").toInt());
    const int every = std::max(1, bench::OptionValue(process.args, "--every", "10").toInt());
    bench::QuietInteraction quiet;
    bench::OpenProgramWindows(process.home, false);

    sim::SimServer server(std::make_unique<sim::Zi2z3Unit>());
    // Every piece the bench sends is one packet (a fault would split them; none is set).
    std::atomic<long> sent{0};
    server.setTrace([&sent](char direction, const sim::Bytes&) {
        if (direction == '>')
            ++sent;
    });
    const QString com = server.start();
    if (com.isEmpty()) {
        bench::Progress(QStringLiteral("the simulated bench did not start"));
        return 1;
    }
    server.unit<sim::Zi2z3Unit>()->setTestDurationMs(300);
    ExchangeState.PortName[0] = com;
    TQv2f3Page* page = Qv2f3Page;
    page->QV2_start_ButtonClick();
    if (!ExchangeState.PortOpen[0]) {
        bench::Progress(QStringLiteral("the watch did not hold the port"));
        return 1;
    }

    // Each command's answer as a clean run shows it (taken in the second round).
    std::map<int, QStringList> expected;
    long decoded = 0, garbled = 0, commands = 0;
    const auto missing = [&] { return sent - decoded; };
    std::uint64_t seq = LogSeqCounter;
    const auto start = bench::Clock::now();
    const double cpu0 = bench::CpuMsOf();
    int nextReport = every;
    for (int n = 0;; ++n) {
        const double elapsedMin = bench::MsBetween(start, bench::Clock::now()) / 60000.0;
        if (elapsedMin >= nextReport || elapsedMin >= minutes) {
            bench::Progress(
                QStringLiteral("after %1 min: %2 commands, %3 packets sent, %4 decoded, %5 "
                               "garbled, %6 missing; RSS %7 kB, %8 descriptors, CPU %9 s")
                    .arg(elapsedMin, 0, 'f', 1)
                    .arg(commands)
                    .arg(sent.load())
                    .arg(decoded)
                    .arg(garbled)
                    .arg(missing())
                    .arg(bench::StatusKb("VmRSS:"))
                    .arg(OpenDescriptors())
                    .arg((bench::CpuMsOf() - cpu0) / 1000.0, 0, 'f', 1));
            nextReport += every;
            if (elapsedMin >= minutes)
                break;
        }
        const int which = n % static_cast<int>(std::size(kCommands));
        const Command& c = kCommands[which];
        const long before = sent;
        (page->*c.press)();
        ++commands;
        QStringList lines;
        const auto deadline = bench::Clock::now() + std::chrono::seconds(3);
        while (lines.size() < c.packets && bench::Clock::now() < deadline) {
            bench::RunEventsFor(5);
            lines << PacketLinesSince(seq);
        }
        const long out = sent - before;
        decoded += lines.size();
        if (lines.size() != out)
            bench::Progress(QStringLiteral("command %1 (button %2): %3 packets sent, %4 shown")
                                .arg(n)
                                .arg(which)
                                .arg(out)
                                .arg(lines.size()));
        // The measured times change with the first test run (0x80), so each
        // answer's clean text is taken in the second round of commands.
        const bool firstRound = n < static_cast<int>(std::size(kCommands));
        QStringList& clean = expected[which];
        if (!firstRound && clean.isEmpty() && lines.size() == c.packets)
            clean = lines;
        for (int k = 0; k < lines.size(); ++k) {
            const bool ok = lines[k].startsWith(QLatin1String("CRC-ok")) &&
                            (firstRound || lines[k] == clean.value(k));
            if (!ok && ++garbled <= 5)
                bench::Progress(
                    QStringLiteral("garbled: %1 (clean: %2)").arg(lines[k], clean.value(k)));
        }
    }
    // The last answer's packets, and the simulator's count of the last one sent.
    const auto settle = bench::Clock::now() + std::chrono::seconds(1);
    while (bench::Clock::now() < settle) {
        bench::RunEventsFor(5);
        decoded += PacketLinesSince(seq).size();
    }
    bench::Row(QStringLiteral("Bench watch, %1 min of bench commands").arg(minutes),
               QStringLiteral("sent = decoded"),
               QStringLiteral("%1 packets sent, %2 decoded, %3 garbled, %4 missing")
                   .arg(sent.load())
                   .arg(decoded)
                   .arg(garbled)
                   .arg(missing()),
               QStringLiteral("%1 commands; paced 9600 baud line").arg(commands));
    page->QV2_stop_ButtonClick();
    server.stop();
    DestroyAppWindows();
    return 0;
}
