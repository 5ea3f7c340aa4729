// Paced send on a pseudo-terminal: the pause before each request and the
// gaps between its bytes as the unit's side sees them, against their nominal
// values. The port is set up as a command opens it (9600 8N1, 4 ms between
// bytes, the default 100 ms pause before a request). Prints table rows.
#include "bench_common.h"

#include "exchange/monitor_form.h"
#include "platform/port_map.h"
#include "platform/pty.h"
#include "platform/user_folders.h"
#include "serial/com_port.h"

#include <QCoreApplication>
#include <atomic>
#include <mutex>
#include <thread>

namespace {

using bench::Clock;

constexpr int kDefaultFrames = 200;
constexpr int kPauseMs = 100;
constexpr int kGapMs = 4;
// Shaped like a RO-4D page request, the commonest frame the program sends.
const TMasBytes kFrame{0x06, 0x01, 0x01, 0x03, 0xB5, 0x52};

// Arrival time of every byte on the unit's side of the line.
class Arrivals {
public:
    explicit Arrivals(platform::PseudoTerminal& pty) : pty_(pty), thread_([this] { run(); }) {}
    ~Arrivals() {
        stop_ = true;
        thread_.join();
    }
    std::size_t count() {
        std::lock_guard<std::mutex> lock(m_);
        return at_.size();
    }
    Clock::time_point at(std::size_t i) {
        std::lock_guard<std::mutex> lock(m_);
        return at_.at(i);
    }

private:
    void run() {
        while (!stop_) {
            std::vector<std::uint8_t> in;
            if (pty_.read(in, 5) <= 0)
                continue;
            const auto now = Clock::now();
            std::lock_guard<std::mutex> lock(m_);
            at_.insert(at_.end(), in.size(), now);
        }
    }
    platform::PseudoTerminal& pty_;
    std::mutex m_;
    std::vector<Clock::time_point> at_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

void SetUpLikeACommand(TComPortD& port) {
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(9600);
    port.SetDataBits(db8Bits);
    port.SetStopBits(sb1Bit);
    port.Timeouts()->SetWrite1Wait2(kGapMs);
    port.Timeouts()->SetWrite2WaitN(kGapMs);
    port.Timeouts()->SetWaitTimePrevSending(kPauseMs);
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::IsolateFolders(home);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int stretchUs = bench::StretchUs(args);
    // --frames N: fewer or more frames than the table's 200 (for trying stretches).
    const int framesAt = static_cast<int>(args.indexOf(QStringLiteral("--frames")));
    const int frames =
        framesAt > 0 ? std::max(1, args.value(framesAt + 1).toInt()) : kDefaultFrames;
    platform::SetSysfsRoot(home.path() + QStringLiteral("/no-sysfs"));
    platform::PseudoTerminal pty;
    QDir().mkpath(platform::PortsFolder());
    if (!pty.open() || !QFile::link(pty.slavePath(), platform::PortsFolder() + "/COM7")) {
        std::fprintf(stderr, "bench_send: no pseudo-terminal\n");
        return 1;
    }
    TComPortD port;
    port.SetPort(QStringLiteral("COM7"));
    SetUpLikeACommand(port);
    port.Open();
    if (!port.Connected()) {
        std::fprintf(stderr, "bench_send: open failed: %u\n", port.LastError());
        return 1;
    }
    port.SetPhonReceive(false);
    // Every transaction waits a ms before it sends, which sets the timer up.
    TMonitorForm::pDelay(1);
    bench::Progress(
        QStringLiteral("paced send, %1 frames, active stretch %2 us").arg(frames).arg(stretchUs));
    const double activeMs0 = bench::ActiveWaitMs();

    std::vector<Clock::time_point> calls;
    std::vector<Clock::time_point> returns;
    {
        Arrivals arrivals(pty);
        for (int f = 0; f < frames; ++f) {
            TMasBytes copy = kFrame;
            calls.push_back(Clock::now());
            port.SendString(&copy, static_cast<std::uint16_t>(copy.size()));
            returns.push_back(Clock::now());
            // The next frame starts only once this one has been seen whole.
            const auto deadline = Clock::now() + std::chrono::seconds(1);
            while (arrivals.count() < (f + 1) * kFrame.size() && Clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::vector<double> pauses, gaps, totals;
        const std::size_t n = kFrame.size();
        for (int f = 0; f < frames && arrivals.count() >= (f + 1) * n; ++f) {
            pauses.push_back(bench::MsBetween(calls[f], arrivals.at(f * n)) - kPauseMs);
            for (std::size_t i = 1; i < n; ++i)
                gaps.push_back(
                    bench::MsBetween(arrivals.at(f * n + i - 1), arrivals.at(f * n + i)) - kGapMs);
            totals.push_back(bench::MsBetween(calls[f], returns[f]));
        }
        const auto errorRow = [stretchUs](const QString& what, const QString& nominal,
                                          const bench::Spread& s) {
            bench::Row(
                what, nominal,
                QStringLiteral("error median %1, p95 %2, worst %3")
                    .arg(bench::Ms(s.median, 3), bench::Ms(s.p95, 3), bench::Ms(s.worst, 3)),
                QStringLiteral("%1 samples; active stretch %2 us").arg(s.count).arg(stretchUs));
        };
        errorRow(QStringLiteral("1. Paced send: pause before the request"),
                 QStringLiteral("%1 ms").arg(kPauseMs), bench::SpreadOf(pauses));
        errorRow(QStringLiteral("1. Paced send: gap between bytes"),
                 QStringLiteral("%1 ms").arg(kGapMs), bench::SpreadOf(gaps));
        // Pause, the gaps after bytes 1 .. n-1, then the tail of two characters.
        const double nominal = kPauseMs + (kFrame.size() - 1) * kGapMs + 2;
        const bench::Spread t = bench::SpreadOf(totals);
        bench::Row(QStringLiteral("1. Paced send: whole call, %1-byte frame").arg(kFrame.size()),
                   QStringLiteral("%1 ms").arg(nominal),
                   QStringLiteral("median %1, p95 %2").arg(bench::Ms(t.median), bench::Ms(t.p95)),
                   QStringLiteral("ratio %1; active waits %2 ms a frame")
                       .arg(t.median / nominal, 0, 'f', 3)
                       .arg(bench::Ms((bench::ActiveWaitMs() - activeMs0) / frames)));
    }
    port.Close();
    return 0;
}
