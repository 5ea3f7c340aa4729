// CPU the program costs while it sits idle: the windows created and
// activated as at start-up (splash included), then the event loop left alone
// for a minute; with --watch SIM, the ZI2-Z3 page's background watch holds
// the port of a simulated bench (relcon4-sim, a process of its own, so its
// CPU is not counted) and waits on its readiness. CPU and wake-ups of this
// process's threads are read from /proc.
#include "bench_app.h"

#include "devices/qv2f3/qv2f3_page.h"

#include <QProcess>
#include <map>

namespace {

// Voluntary and forced context switches of each live thread: how often it woke.
std::map<QString, double> SwitchesByThread() {
    std::map<QString, double> n;
    const QString tasks = QStringLiteral("/proc/self/task");
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(tasks + QLatin1Char('/') + tid + QStringLiteral("/status"));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                n[tid] += line.simplified().split(' ').value(1).toDouble();
    }
    return n;
}

// Wake-ups between two counts, over the threads that lived through both.
double WakeupsBetween(const std::map<QString, double>& from, const std::map<QString, double>& to) {
    double n = 0;
    for (const auto& [tid, count] : to)
        if (const auto it = from.find(tid); it != from.end())
            n += count - it->second;
    return n;
}

// Starts the simulated bench and returns its COM name, empty on failure.
QString StartSimulator(QProcess& sim, const QString& program) {
    sim.setProgram(program);
    sim.setArguments({QStringLiteral("--unit"), QStringLiteral("zi2z3")});
    sim.start();
    if (!sim.waitForStarted(5000))
        return {};
    const auto deadline = bench::Clock::now() + std::chrono::seconds(10);
    while (!sim.canReadLine() && bench::Clock::now() < deadline)
        sim.waitForReadyRead(200);
    return QString::fromLocal8Bit(sim.readLine()).section(QLatin1Char(' '), 0, 0);
}

} // namespace

int main(int argc, char** argv) {
    bench::BenchProcess process(argc, argv);
    const QStringList& args = process.args;
    const QTemporaryDir& home = process.home;
    const int watchAt = static_cast<int>(args.indexOf(QStringLiteral("--watch")));
    const int secondsAt = static_cast<int>(args.indexOf(QStringLiteral("--seconds")));
    const int seconds = secondsAt > 0 ? std::max(1, args.value(secondsAt + 1).toInt()) : 60;
    bench::QuietInteraction quiet;
    bench::OpenProgramWindows(home, true);

    QProcess sim;
    QString what = QStringLiteral("3. Idle: main window open, no port");
    QString note = QStringLiteral("in-process, offscreen, over %1 s").arg(seconds);
    if (watchAt > 0) {
        what = QStringLiteral("3. Idle: bench watch holding the port (waits on the line)");
        const QString com = StartSimulator(sim, args.value(watchAt + 1));
        ExchangeState.PortName[0] = com;
        if (auto* start = bench::FindIn(Qv2f3Page, "QV2_start_Button"); start && !com.isEmpty())
            start->click();
        if (!ExchangeState.PortOpen[0])
            note = QStringLiteral("the watch did NOT hold the port");
    }
    bench::Progress(QStringLiteral("%1, %2 s").arg(what).arg(seconds));
    bench::RunEventsFor(1000);
    const double cpu0 = bench::CpuMsOf();
    const auto switches0 = SwitchesByThread();
    const auto t0 = bench::Clock::now();
    bench::RunEventsFor(seconds * 1000);
    const double wallMin = bench::MsBetween(t0, bench::Clock::now()) / 60000.0;
    const double cpu = bench::CpuMsOf() - cpu0;
    const double wakeups = WakeupsBetween(switches0, SwitchesByThread()) / (wallMin * 60);
    bench::Row(what, QStringLiteral("—"),
               QStringLiteral("%1 ms CPU per minute (%2 % of a core), %3 wake-ups/s")
                   .arg(cpu / wallMin, 0, 'f', 1)
                   .arg(cpu / wallMin / 600.0, 0, 'f', 3)
                   .arg(wakeups, 0, 'f', 0),
               note);

    if (watchAt > 0) {
        if (auto* stop = bench::FindIn(Qv2f3Page, "QV2_stop_Button"))
            stop->click();
        sim.terminate();
        if (!sim.waitForFinished(3000))
            sim.kill();
    }
    DestroyAppWindows();
    return 0;
}
