// Paced send on a pseudo-terminal: the pause before each request and the
// gaps between its bytes, as the program hands them to the line and as the
// unit's side reads them, against their nominal values. The port is set up as a command opens it
// (9600 8N1, 4 ms between bytes, the default 100 ms pause before a request). Prints table rows.
// --load N runs it beside N busy loops; --no-raise, --assume-rtprio N and --assume-nice N
// switch the sending thread's raise off or grant it (bench_common.h).
#include "bench_hand_overs.h"

#include "exchange/monitor_form.h"
#include "platform/port_map.h"
#include "platform/pty.h"
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
    std::vector<Clock::time_point> all() {
        std::lock_guard<std::mutex> lock(m_);
        return at_;
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

// How late a thread wakes from a plain 4 ms sleep, the lateness the active
// stretch before each instant has to cover.
void WakeLateness(int samples, int stretchUs) {
    std::vector<double> late;
    platform::MonoTime at = platform::MonoNow();
    for (int i = 0; i < samples; ++i) {
        at = platform::MonoAfter(at, kGapMs);
        platform::SleepUntil(at);
        late.push_back(bench::MsBetween(at, Clock::now()));
    }
    std::sort(late.begin(), late.end());
    const double p99 = late[late.size() * 99 / 100];
    const bench::Spread s = bench::SpreadOf(late);
    bench::Row(
        QStringLiteral("1. Wake-up from a %1 ms sleep, no active wait").arg(kGapMs),
        QStringLiteral("—"),
        QStringLiteral("late by median %1, p95 %2, p99 %3, worst %4")
            .arg(bench::Ms(s.median, 3), bench::Ms(s.p95, 3), bench::Ms(p99, 3),
                 bench::Ms(s.worst, 3)),
        QStringLiteral("%1 samples; the active stretch is %2 us").arg(s.count).arg(stretchUs));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::IsolateFolders(home);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int stretchUs = bench::StretchUs(args);
    const bench::BusyLoad load(args);
    const QString levers = bench::TimingLevers(args);
    // --frames N: fewer or more frames than the table's 200 (for trying stretches).
    const int framesAt = static_cast<int>(args.indexOf(QStringLiteral("--frames")));
    const int frames =
        framesAt > 0 ? std::max(1, args.value(framesAt + 1).toInt()) : kDefaultFrames;
    platform::SetSysfsRoot(home.path() + QStringLiteral("/no-sysfs"));
    platform::PseudoTerminal pty;
    const QString com = bench::OpenLine(pty, 7);
    if (com.isEmpty()) {
        std::fprintf(stderr, "bench_send: no pseudo-terminal\n");
        return 1;
    }
    std::vector<Clock::time_point> handedOver;
    TCustomComPortD::SetDeviceFactory([&handedOver](const QString& comName) {
        return std::make_unique<bench::HandOvers>(
            comName, [&handedOver](const std::uint8_t*, std::size_t n, Clock::time_point at) {
                handedOver.insert(handedOver.end(), n, at);
            });
    });
    TComPortD port;
    port.SetPort(com);
    SetUpLikeACommand(port);
    port.Open();
    if (!port.Connected()) {
        std::fprintf(stderr, "bench_send: open failed: %u\n", port.LastError());
        return 1;
    }
    port.SetPhonReceive(false);
    // Every transaction waits a ms before it sends, which sets the timer up.
    TMonitorForm::pDelay(1);
    WakeLateness(frames * 5, stretchUs);
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
        const std::size_t n = kFrame.size();
        const auto errorRow = [stretchUs](const QString& what, const QString& nominal,
                                          const bench::Spread& s) {
            bench::Row(
                what, nominal,
                QStringLiteral("error median %1, p95 %2, worst %3")
                    .arg(bench::Ms(s.median, 3), bench::Ms(s.p95, 3), bench::Ms(s.worst, 3)),
                QStringLiteral("%1 samples; active stretch %2 us").arg(s.count).arg(stretchUs));
        };
        const auto pauseAndGapRows = [&](const std::vector<Clock::time_point>& at,
                                         const QString& where) {
            std::vector<double> pauses, gaps;
            for (int f = 0; f < frames && at.size() >= (f + 1) * n; ++f) {
                pauses.push_back(bench::MsBetween(calls[f], at[f * n]) - kPauseMs);
                for (std::size_t i = 1; i < n; ++i)
                    gaps.push_back(bench::MsBetween(at[f * n + i - 1], at[f * n + i]) - kGapMs);
            }
            errorRow(QStringLiteral("1. Paced send: pause before the request, %1").arg(where),
                     QStringLiteral("%1 ms").arg(kPauseMs), bench::SpreadOf(pauses));
            errorRow(QStringLiteral("1. Paced send: gap between bytes, %1").arg(where),
                     QStringLiteral("%1 ms").arg(kGapMs), bench::SpreadOf(gaps));
        };
        pauseAndGapRows(handedOver, QStringLiteral("as handed to the line"));
        pauseAndGapRows(arrivals.all(), QStringLiteral("as the unit's side reads it"));
        std::vector<double> totals;
        for (std::size_t f = 0; f < returns.size(); ++f)
            totals.push_back(bench::MsBetween(calls[f], returns[f]));
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
    TCustomComPortD::SetDeviceFactory({});
    load.row(levers);
    return 0;
}
