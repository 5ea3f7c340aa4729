// Start-up: the real program is started several times (offscreen, folders of
// its own) and timed from the process start to the line its start-up log
// category writes when the main window is enabled; the splash counts down
// 1210 ms of that by design (10 ms, then 30 steps of 40 ms). The program's
// clock also tells when its windows were created; the activation is timed on
// its own in this process.
// Usage: bench_startup RELCON4 [RUNS]
#include "bench_app.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr double kSplashMs = 10 + 30 * 40;

struct Start {
    double spawnedMs = -1;   // process start to the main window enabled
    double inProgramMs = -1; // the program's own clock, from its main()
    double createdMs = -1;   // the same clock when the windows had been created
    long peakKb = -1;
};

Start StartOnce(const QString& program) {
    Start s;
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("relcon4.startup.debug=true"));
    QDir().mkpath(home.path() + QStringLiteral("/config"));
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path() + QStringLiteral("/runtime"));
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProgram(program);
    const auto t0 = bench::Clock::now();
    p.start();
    QByteArray err;
    static const QRegularExpression enabled(QStringLiteral("main window enabled after (\\d+) ms"));
    QRegularExpressionMatch m;
    const auto deadline = t0 + std::chrono::seconds(15);
    while (bench::Clock::now() < deadline && p.state() != QProcess::NotRunning) {
        p.waitForReadyRead(20);
        err += p.readAllStandardError();
        m = enabled.match(QString::fromLocal8Bit(err));
        if (m.hasMatch()) {
            s.spawnedMs = bench::MsBetween(t0, bench::Clock::now());
            s.inProgramMs = m.captured(1).toDouble();
            static const QRegularExpression created(
                QStringLiteral("windows created after (\\d+) ms"));
            s.createdMs = created.match(QString::fromLocal8Bit(err)).captured(1).toDouble();
            break;
        }
    }
    if (m.hasMatch()) {
        bench::RunEventsFor(300);
        s.peakKb = bench::StatusKb("VmHWM:", QString::number(p.processId()));
    } else {
        bench::Progress(QStringLiteral("no start-up line: ") + QString::fromLocal8Bit(err));
    }
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
    return s;
}

} // namespace

int main(int argc, char** argv) {
    bench::BenchProcess process(argc, argv);
    const QStringList& args = process.args;
    const QTemporaryDir& home = process.home;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_startup RELCON4 [RUNS]\n");
        return 2;
    }
    const int runs = std::max(1, args.value(2, QStringLiteral("5")).toInt());
    std::vector<double> spawned, inProgram, created, peaks;
    for (int i = 0; i < runs; ++i) {
        bench::Progress(QStringLiteral("start-up %1 of %2").arg(i + 1).arg(runs));
        const Start s = StartOnce(args[1]);
        if (s.spawnedMs < 0)
            continue;
        spawned.push_back(s.spawnedMs);
        inProgram.push_back(s.inProgramMs);
        created.push_back(s.createdMs);
        peaks.push_back(s.peakKb / 1024.0);
    }
    const bench::Spread sp = bench::SpreadOf(spawned);
    const bench::Spread ip = bench::SpreadOf(inProgram);
    bench::Row(QStringLiteral("4. Start-up: process start to main window enabled"),
               QStringLiteral("splash %1 ms").arg(kSplashMs),
               QStringLiteral("median %1 ms, worst %2 ms (%3 runs)")
                   .arg(bench::Ms(sp.median, 0), bench::Ms(sp.worst, 0))
                   .arg(sp.count),
               QStringLiteral("+%1 ms over the splash; %2 ms by the program's own clock")
                   .arg(bench::Ms(sp.median - kSplashMs, 0), bench::Ms(ip.median, 0)));

    // Activation in this process, timed alone.
    bench::QuietInteraction quiet;
    platform::SetSysfsRoot(home.path() + QStringLiteral("/no-sysfs"));
    SettingsDirOverride = home.path();
    CreateAppWindows(false);
    QCoreApplication::processEvents();
    const auto t0 = bench::Clock::now();
    Relcon4->prActivateMasterForm(nullptr);
    const double activateMs = bench::MsBetween(t0, bench::Clock::now());
    bench::Row(QStringLiteral("4. Start-up: windows created (program's clock)"),
               QStringLiteral("—"),
               QStringLiteral("median %1 ms").arg(bench::Ms(bench::SpreadOf(created).median, 0)),
               QStringLiteral("the splash counts from its first tick, after this"));
    bench::Row(QStringLiteral("4. Start-up: activation (in-process)"),
               QStringLiteral("100 ms port-scan pause"),
               QStringLiteral("%1 ms").arg(bench::Ms(activateMs, 1)),
               QStringLiteral("+%1 ms over the pause").arg(bench::Ms(activateMs - 100, 1)));
    bench::Row(QStringLiteral("5. Resident memory of relcon4 after start-up"), QStringLiteral("—"),
               QStringLiteral("VmHWM %1 MiB").arg(bench::SpreadOf(peaks).median, 0, 'f', 1),
               QStringLiteral("spawned program, main window enabled"));
    DestroyAppWindows();
    return 0;
}
