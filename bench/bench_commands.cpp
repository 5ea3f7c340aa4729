// Whole commands of the program's pages against the simulated units, timed
// from the button's click to its return, against a model of what the line
// and the protocol's own waits take. With --memory: the peak resident memory
// after a full RO-4D read with the log window showing 400 lines. With
// --record: the RO-4D read with the log recorded to a file and without. With
// --cli PATH: relcon4-cli's read against the same model. A run that fails
// prints its cause. --load N runs it beside N busy loops.
//
// The simulator paces its replies at 9600 baud (10 bits a byte, and the
// request's last byte crossing the line first), so the model counts the
// reply's bytes: per exchange 1 ms (the transaction's first wait) + the pause
// before the request + (n - 1) x 4 ms of byte gaps + the later of the send's
// tail plus the 1 ms wait before reading, and the unit's latency plus (m + 1)
// byte times; per command 30 ms for opening the port (the component's 10 ms
// and two attempts' 10 ms). The request's bytes cost the program no line time
// on a pseudo-terminal; their time on a real line lies inside the 4 ms gaps.
#include "bench_app.h"
#include "bench_hand_overs.h"

#include "devices/qv1m/qv1m_page.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "exchange/log_model.h"
#include "exchange/log_recorder.h"
#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "serial/com_port.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QCheckBox>
#include <QProcess>
#include <functional>
#include <mutex>

namespace {

using bench::Clock;

constexpr int kLineRate = 9600;
constexpr double kByteMs = 10.0 * 1000.0 / kLineRate;
constexpr double kOpenMs = 30;
constexpr int kGapMs = 4;

struct Exchange {
    int request;
    int reply;
};

struct Command {
    QString title;
    std::function<std::unique_ptr<sim::SimUnit>()> unit;
    std::function<QObject*()> page;
    const char* button;
    const char* status;
    QString success;
    std::vector<Exchange> exchanges;
    // Another command that has to succeed first (the write needs a read).
    const char* before = nullptr;
    // Its CPU gets a row of its own: the active waits' and the whole process's.
    bool cpuRow = false;
};

std::vector<Exchange> Repeat(Exchange e, int times) {
    return std::vector<Exchange>(static_cast<std::size_t>(times), e);
}

std::vector<Exchange> Join(std::initializer_list<std::vector<Exchange>> parts) {
    std::vector<Exchange> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

double ModelMs(const Command& c, int pauseMs, double latencyMs) {
    double ms = kOpenMs;
    for (const Exchange& e : c.exchanges) {
        const double tail = e.request > 1 ? 2 : 1;
        const double reply = latencyMs + (e.reply + 1) * kByteMs;
        ms += 1 + pauseMs + (e.request - 1) * kGapMs + std::max(tail + 1, reply);
    }
    return ms;
}

// When the unit received the end of a request and when it had sent the reply;
// and for the run in progress every piece the program wrote and the unit took
// and sent, so that a failed run tells whether the unit dropped something or
// the program did.
class Trace {
public:
    ~Trace() { TCustomComPortD::SetDeviceFactory({}); }
    void attach(sim::SimServer& server) {
        TCustomComPortD::SetDeviceFactory([this](const QString& comName) {
            return std::make_unique<bench::HandOvers>(
                comName, [this](const std::uint8_t* data, std::size_t n, Clock::time_point at) {
                    std::lock_guard<std::mutex> lock(m_);
                    if (run_.size() < kRunPieces)
                        run_.push_back({at, 'w', sim::Bytes(data, data + n)});
                });
        });
        server.setTrace([this](char dir, const sim::Bytes& bytes) {
            const auto now = Clock::now();
            std::lock_guard<std::mutex> lock(m_);
            if (dir == '<')
                lastIn_ = now;
            else
                latencies_.push_back(bench::MsBetween(lastIn_, now) - (bytes.size() + 1) * kByteMs);
            if (run_.size() < kRunPieces)
                run_.push_back({now, dir, bytes});
        });
    }
    double medianLatency() {
        std::lock_guard<std::mutex> lock(m_);
        return bench::SpreadOf(latencies_).median;
    }
    // A run starts: its pieces are kept from here on.
    void startRun() {
        std::lock_guard<std::mutex> lock(m_);
        run_.clear();
        runStart_ = Clock::now();
    }
    // The run's pieces as the unit saw them, one a line, timed from its start.
    QStringList runPieces() {
        std::lock_guard<std::mutex> lock(m_);
        QStringList lines;
        for (const Piece& p : run_)
            lines << QStringLiteral("%1 %2 ms: %3 (%4 bytes)")
                         .arg(p.dir == 'w'   ? QStringLiteral("program wrote")
                              : p.dir == '<' ? QStringLiteral("unit took")
                                             : QStringLiteral("unit sent"))
                         .arg(bench::Ms(bench::MsBetween(runStart_, p.at), 1))
                         .arg(QString::fromLatin1(
                             QByteArray(reinterpret_cast<const char*>(p.bytes.data()),
                                        static_cast<qsizetype>(p.bytes.size()))
                                 .toHex(' ')))
                         .arg(p.bytes.size());
        return lines;
    }

private:
    struct Piece {
        Clock::time_point at;
        char dir;
        sim::Bytes bytes;
    };
    // Enough for a command's attempts; a run that sends more is cut short.
    static constexpr std::size_t kRunPieces = 200;
    std::mutex m_;
    Clock::time_point lastIn_;
    std::vector<double> latencies_;
    Clock::time_point runStart_;
    std::vector<Piece> run_;
};

// Starts the unit's line; when there is none (on Windows: no free COM pair)
// says why, and the commands on it fail with their causes.
QString Serve(sim::SimServer& server) {
    const QString com = server.start();
    if (com.isEmpty())
        bench::Progress(QStringLiteral("no line for the unit: %1").arg(server.errorString()));
    return com;
}

QString StatusOf(const Command& c) {
    auto* label = bench::FindIn<QLabel>(c.page(), c.status);
    return label ? label->text() : QString();
}

// Why a run failed, printed as it happens: the page's status, the log lines
// the run wrote (which exchange failed and how), and what the unit took and
// sent meanwhile when it is traced; a reply still on its way when the
// command gave up is given the time to show.
void ReportFailure(const Command& c, const char* button, std::uint64_t logSeq0, Trace* trace) {
    bench::Progress(
        QStringLiteral("FAILED %1 (%2): %3").arg(c.title, QLatin1String(button), StatusOf(c)));
    const QList<TLogLine> lines = ExchangeLog().LinesOldestFirst();
    const auto made = static_cast<qsizetype>(
        std::min<std::uint64_t>(LogSeqCounter - logSeq0, static_cast<std::uint64_t>(lines.size())));
    for (qsizetype i = lines.size() - made; i < lines.size(); ++i)
        bench::Progress(QStringLiteral("  log %1").arg(LogLineForText(lines[i])));
    if (!trace)
        return;
    bench::RunEventsFor(300);
    for (const QString& line : trace->runPieces())
        bench::Progress(QStringLiteral("  %1").arg(line));
}

// Clicks the command's button; the time until the click returns, or a
// negative value when the command did not succeed (its cause printed).
double RunOnce(const Command& c, const char* button, Trace* trace = nullptr) {
    auto* b = bench::FindIn(c.page(), button);
    if (!b || !b->isEnabled()) {
        bench::Progress(
            QStringLiteral("FAILED %1: no enabled %2").arg(c.title, QLatin1String(button)));
        return -1;
    }
    QCoreApplication::processEvents();
    const std::uint64_t logSeq0 = LogSeqCounter;
    if (trace)
        trace->startRun();
    const auto t0 = Clock::now();
    b->click();
    const double ms = bench::MsBetween(t0, Clock::now());
    if (StatusOf(c) == c.success)
        return ms;
    ReportFailure(c, button, logSeq0, trace);
    return -1;
}

std::vector<Command> Commands() {
    const auto ro4d = [] { return std::make_unique<sim::Ro4dUnit>(); };
    const auto ro4dPage = [] { return static_cast<QObject*>(Qv4mCommandsOf(Relcon4)); };
    const QString ro4dDone = QStringLiteral("Статус: выполнено");
    const QString ok = QStringLiteral("Статус: успешно");
    return {
        {QStringLiteral("RO-4D read (version + 7 pages)"), ro4d, ro4dPage, "RdDataButton",
         "StatusLabel1", ro4dDone, Join({{{5, 27}}, Repeat({6, 22}, 7)}), nullptr, true},
        {QStringLiteral("RO-4D write (7 frames)"), ro4d, ro4dPage, "WrDataButton", "StatusLabel1",
         ro4dDone, Repeat({22, 6}, 7), "RdDataButton"},
        {QStringLiteral("RI1-R session start"), [] { return std::make_unique<sim::Ri1rUnit>(); },
         [] { return static_cast<QObject*>(Relcon4->findChild<TQv1mPage*>()); }, "Button5",
         "StatusLabel2", ok, Join({{{8, 34}}, Repeat({4, 23}, 7), {{3, 8}, {3, 9}}})},
        {QStringLiteral("ZI2-Z3 settings read"),
         [] { return std::make_unique<sim::Zi2z3Unit>(); },
         [] { return static_cast<QObject*>(Qv2f3Page); },
         "QV2_RereadButton",
         "StatusLabel3",
         ok,
         {{3, 9}}},
    };
}

void TimeCommand(const Command& c, int reps) {
    sim::SimServer server(c.unit());
    server.setLineRate(kLineRate);
    Trace trace;
    trace.attach(server);
    ExchangeState.PortName[0] = Serve(server);
    struct Preset {
        QString name;
        int pause;
    };
    QStringList cpuRows;
    for (const Preset& p :
         {Preset{QStringLiteral("defaults"), 100}, Preset{QStringLiteral("fastest preset"), 5}}) {
        bench::Progress(QStringLiteral("%1, %2").arg(c.title, p.name));
        PreSendPause = p.pause;
        std::vector<double> times, active, cpu;
        int failed = 0;
        for (int r = 0; r < reps; ++r) {
            if (c.before && RunOnce(c, c.before, &trace) < 0)
                ++failed;
            const double active0 = bench::ActiveWaitMs();
            const double cpu0 = bench::ProcessCpuMs();
            const double ms = RunOnce(c, c.button, &trace);
            active.push_back(bench::ActiveWaitMs() - active0);
            cpu.push_back(bench::ProcessCpuMs() - cpu0);
            if (ms < 0)
                ++failed;
            else
                times.push_back(ms);
        }
        const double model = ModelMs(c, p.pause, trace.medianLatency());
        const bench::Spread s = bench::SpreadOf(times);
        double best = s.median;
        for (double t : times)
            best = std::min(best, t);
        bench::Row(QStringLiteral("2. %1, %2 (pause %3 ms)").arg(c.title, p.name).arg(p.pause),
                   QStringLiteral("model %1 ms").arg(bench::Ms(model, 1)),
                   QStringLiteral("median %1 ms, best %2 ms (%3 runs%4)")
                       .arg(bench::Ms(s.median, 1), bench::Ms(best, 1))
                       .arg(s.count)
                       .arg(failed ? QStringLiteral(", %1 FAILED").arg(failed) : QString()),
                   QStringLiteral("ratio %1; unit latency %2 ms")
                       .arg(s.median / model, 0, 'f', 3)
                       .arg(bench::Ms(trace.medianLatency(), 3)));
        if (c.cpuRow)
            cpuRows << QStringLiteral("%1 (pause %2 ms): active waits %3 ms, whole process %4 ms")
                           .arg(p.name)
                           .arg(p.pause)
                           .arg(bench::Ms(bench::SpreadOf(active).median, 1),
                                bench::Ms(bench::SpreadOf(cpu).median, 1));
    }
    if (c.cpuRow)
        bench::Row(QStringLiteral("2. CPU per %1").arg(c.title), QStringLiteral("—"),
                   cpuRows.join(QStringLiteral("; ")),
                   QStringLiteral("medians of %1 runs; active stretch %2 us before each instant")
                       .arg(reps)
                       .arg(platform::SharpStretch().count()));
    server.stop();
}

// The port's opening and closing around a command, on their own.
void TimeOpenClose(int reps) {
    sim::SimServer server(std::make_unique<sim::Ro4dUnit>());
    ExchangeState.PortName[0] = Serve(server);
    std::vector<double> open, close;
    for (int r = 0; r < reps * 2; ++r) {
        auto t0 = Clock::now();
        Relcon4->prOpenCloseCOM(0, true);
        open.push_back(bench::MsBetween(t0, Clock::now()));
        const bool opened = ExchangeState.PortOpen[0];
        t0 = Clock::now();
        Relcon4->prOpenCloseCOM(0, false);
        close.push_back(bench::MsBetween(t0, Clock::now()));
        if (!opened)
            bench::Progress(QStringLiteral("the port did not open"));
    }
    const double openMs = bench::SpreadOf(open).median;
    bench::Row(QStringLiteral("2. Port opening and closing around a command"),
               QStringLiteral("model %1 ms").arg(kOpenMs),
               QStringLiteral("open %1 ms, close %2 ms (medians of %3)")
                   .arg(bench::Ms(openMs, 1), bench::Ms(bench::SpreadOf(close).median, 1))
                   .arg(open.size()),
               QStringLiteral("ratio %1 for the opening").arg(openMs / kOpenMs, 0, 'f', 3));
    server.stop();
}

// The command line's read as a process of its own: its time from start to
// exit, less the time the same program takes to start and end doing nothing
// (its --help), against the same model as the page's read.
double RunProcessMs(const QString& program, const QStringList& args) {
    QProcess process;
    const auto t0 = Clock::now();
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return -1;
    return bench::MsBetween(t0, Clock::now());
}

void TimeCliRead(const QString& cli, int reps) {
    const Command read = Commands().front();
    sim::SimServer server(read.unit());
    server.setLineRate(kLineRate);
    Trace trace;
    trace.attach(server);
    const QString com = Serve(server);
    std::vector<double> starts;
    for (int r = 0; r < reps; ++r)
        starts.push_back(RunProcessMs(cli, {QStringLiteral("--help")}));
    const double startMs = bench::SpreadOf(starts).median;
    for (const int pause : {100, 5}) {
        bench::Progress(QStringLiteral("relcon4-cli ro4d read, pause %1 ms").arg(pause));
        const QStringList args{QStringLiteral("ro4d"),       QStringLiteral("read"),
                               QStringLiteral("--port"),     com,
                               QStringLiteral("--pause"),    QString::number(pause),
                               QStringLiteral("--timeout"),  QStringLiteral("300"),
                               QStringLiteral("--attempts"), QStringLiteral("3")};
        std::vector<double> times;
        int failed = 0;
        for (int r = 0; r < reps; ++r) {
            const double ms = RunProcessMs(cli, args);
            if (ms < 0)
                ++failed;
            else
                times.push_back(ms - startMs);
        }
        const double model = ModelMs(read, pause, trace.medianLatency());
        const double median = bench::SpreadOf(times).median;
        bench::Row(QStringLiteral("2. relcon4-cli ro4d read (pause %1 ms), less its start %2 ms")
                       .arg(pause)
                       .arg(bench::Ms(startMs, 1)),
                   QStringLiteral("model %1 ms").arg(bench::Ms(model, 1)),
                   QStringLiteral("median %1 ms (%2 runs%3)")
                       .arg(bench::Ms(median, 1))
                       .arg(times.size())
                       .arg(failed ? QStringLiteral(", %1 FAILED").arg(failed) : QString()),
                   QStringLiteral("ratio %1").arg(median / model, 0, 'f', 3));
    }
    server.stop();
}

void PeakMemory() {
    const Command read = Commands().front();
    sim::SimServer server(read.unit());
    server.setLineRate(kLineRate);
    ExchangeState.PortName[0] = Serve(server);
    MonitorForm->show();
    for (int i = 0; i < kLogLines; ++i) {
        AnalyzeLog.sStr = QStringLiteral("Строка журнала для заполнения списка, номер %1").arg(i);
        MonitorForm->prStatusAsStrToLog(clLogBlack);
    }
    const bool ok = RunOnce(read, read.button) >= 0;
    bench::RunEventsFor(200);
    bench::Row(QStringLiteral("5. Peak resident memory after a RO-4D read, log full (%1 lines)")
                   .arg(kLogLines),
               QStringLiteral("—"),
               QStringLiteral("VmHWM %1 MiB (VmRSS %2 MiB)")
                   .arg(bench::StatusKb("VmHWM:") / 1024.0, 0, 'f', 1)
                   .arg(bench::StatusKb("VmRSS:") / 1024.0, 0, 'f', 1),
               ok ? QStringLiteral("in-process, windows shown offscreen")
                  : QStringLiteral("the read FAILED"));
    server.stop();
}

qsizetype LineCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

// The RO-4D read at the defaults, runs with and without recording taking
// turns, so a drift of the machine falls on both alike.
void TimeRecording(int reps) {
    const Command read = Commands().front();
    sim::SimServer server(read.unit());
    server.setLineRate(kLineRate);
    ExchangeState.PortName[0] = Serve(server);
    PreSendPause = 100;
    std::vector<double> without, with;
    int failed = 0;
    for (int r = 0; r < reps; ++r) {
        for (bool record : {false, true}) {
            MonitorForm->RecordLogCheckBox->setChecked(record);
            const double ms = RunOnce(read, read.button);
            if (ms < 0)
                ++failed;
            else
                (record ? with : without).push_back(ms);
        }
    }
    const QString file = MonitorForm->LogRecorder->FilePath();
    MonitorForm->RecordLogCheckBox->setChecked(false);
    const double off = bench::SpreadOf(without).median;
    const double on = bench::SpreadOf(with).median;
    bench::Row(QStringLiteral("6. RO-4D read, log recorded to a file (defaults)"),
               QStringLiteral("without: median %1 ms").arg(bench::Ms(off, 1)),
               QStringLiteral("with: median %1 ms (%2 runs each%3)")
                   .arg(bench::Ms(on, 1))
                   .arg(with.size())
                   .arg(failed ? QStringLiteral(", %1 FAILED").arg(failed) : QString()),
               QStringLiteral("ratio %1; %2 lines recorded")
                   .arg(on / off, 0, 'f', 4)
                   .arg(LineCount(file)));
    server.stop();
}

} // namespace

int main(int argc, char** argv) {
    bench::BenchProcess process(argc, argv);
    const QStringList& args = process.args;
    const QTemporaryDir& home = process.home;
    bench::StretchUs(args);
    const bench::BusyLoad load(args);
    const QString levers = bench::TimingLevers(args);
    bench::QuietInteraction quiet;
    bench::OpenProgramWindows(home, false);
    const int cli = static_cast<int>(args.indexOf(QStringLiteral("--cli")));
    if (args.contains(QStringLiteral("--memory"))) {
        PeakMemory();
    } else if (cli > 0) {
        // --cli PATH [--reps N]: the command line's read.
        const int at = static_cast<int>(args.indexOf(QStringLiteral("--reps")));
        TimeCliRead(args.value(cli + 1), at > 0 ? std::max(1, args.value(at + 1).toInt()) : 5);
    } else if (args.contains(QStringLiteral("--record"))) {
        const int at = static_cast<int>(args.indexOf(QStringLiteral("--reps")));
        TimeRecording(at > 0 ? std::max(1, args.value(at + 1).toInt()) : 20);
    } else {
        const int at = static_cast<int>(args.indexOf(QStringLiteral("--reps")));
        const int reps = at > 0 ? std::max(1, args.value(at + 1).toInt()) : 5;
        // --only TEXT: just the commands whose title holds TEXT (for profiling).
        // "opening" picks the port's opening and closing.
        const int only = static_cast<int>(args.indexOf(QStringLiteral("--only")));
        const QString which = only > 0 ? args.value(only + 1) : QString();
        if (which.isEmpty() || which == QStringLiteral("opening"))
            TimeOpenClose(reps);
        for (const Command& c : Commands())
            if (which.isEmpty() || c.title.contains(which))
                TimeCommand(c, reps);
    }
    load.row(levers);
    DestroyAppWindows();
    return 0;
}
