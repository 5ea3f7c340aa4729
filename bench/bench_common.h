// Pieces shared by the benchmark programs: spreads of samples, the table row
// every program prints, and figures of a process read from /proc (on Windows
// from the system's calls, bench/win32).
#pragma once

#include "platform/clock.h"
#include "platform/console.h"
#include "platform/pty.h"
#include "platform/thread_priority.h"
#include "platform/user_folders.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <vector>
#ifdef _WIN32
#include <thread>
#else
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Spread {
    double median = 0;
    double p95 = 0;
    double worst = 0;
    std::size_t count = 0;
};

// Worst is the sample farthest from zero, so it suits both times and errors.
inline Spread SpreadOf(std::vector<double> v) {
    Spread s;
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.count = v.size();
    s.median = v[v.size() / 2];
    s.p95 = v[std::min(v.size() - 1, v.size() * 95 / 100)];
    s.worst = std::abs(v.front()) > std::abs(v.back()) ? v.front() : v.back();
    return s;
}

inline QString Ms(double ms, int decimals = 2) {
    return QString::number(ms, 'f', decimals);
}

// Tables and messages go out in UTF-8, as RESULTS.md keeps them; a Windows
// console is told so once (its own code page has no dash, no Cyrillic).
inline void Utf8Out() {
    static const bool told = (platform::UseUtf8Console(), true);
    Q_UNUSED(told);
}

// One row of the results table: what, the nominal value or model, what was
// measured, and the ratio or a note.
inline void Row(const QString& measure, const QString& nominal, const QString& measured,
                const QString& note) {
    Utf8Out();
    std::printf("| %s | %s | %s | %s |\n", qUtf8Printable(measure), qUtf8Printable(nominal),
                qUtf8Printable(measured), qUtf8Printable(note));
    std::fflush(stdout);
}

inline void Progress(const QString& text) {
    Utf8Out();
    std::fprintf(stderr, "bench: %s\n", qUtf8Printable(text));
}

// The word after a "--name" option among the program's arguments, or fallback.
inline QString OptionValue(const QStringList& args, const char* name, const QString& fallback) {
    const qsizetype at = args.indexOf(QLatin1String(name));
    return at > 0 ? args.value(at + 1) : fallback;
}

// --stretch US sets the active stretch before each sharp instant (to find
// the shortest that meets the line on a machine); returns the one in force.
inline int StretchUs(const QStringList& args) {
    const int at = static_cast<int>(args.indexOf(QStringLiteral("--stretch")));
    if (at > 0)
        platform::SetSharpStretch(std::chrono::microseconds(args.value(at + 1).toInt()));
    return static_cast<int>(platform::SharpStretch().count());
}

// The timing levers, each switched off for measuring what it brings:
// --no-raise keeps the sending thread at its priority; --assume-rtprio N and
// --assume-nice N stand in for the limits a login may grant. Returns a note
// of what is in force, the raise as granted to this thread now.
inline QString TimingLevers(const QStringList& args) {
    platform::SetThreadRaising(!args.contains(QStringLiteral("--no-raise")));
    platform::AssumeRaiseLimits(OptionValue(args, "--assume-rtprio", QStringLiteral("-1")).toInt(),
                                OptionValue(args, "--assume-nice", QStringLiteral("-1")).toInt());
    const platform::RaisedThreadPriority probe;
    return QStringLiteral("raise: %1, stretch %2 us")
        .arg(QLatin1String(platform::ThreadRaiseName(probe.raise())))
        .arg(platform::SharpStretch().count());
}

// The system's load averages over 1, 5 and 15 minutes and the threads
// runnable this instant, as /proc/loadavg gives them. Windows keeps none.
inline QString LoadAverage() {
#ifdef _WIN32
    return QStringLiteral("n/a");
#else
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    const QList<QByteArray> parts = f.readAll().simplified().split(' ');
    return QStringLiteral("%1 %2 %3, runnable %4")
        .arg(QString::fromLatin1(parts.value(0)), QString::fromLatin1(parts.value(1)),
             QString::fromLatin1(parts.value(2)),
             QString::fromLatin1(parts.value(3).split('/').value(0)));
#endif
}

// --load N: N busy loops at the normal priority for the bench's run, child
// processes as other programs on the laptop would be; they end with the
// bench, and with it if it is killed. On Windows they are threads of the
// bench (nothing there ends a child with its parent), so the process's own
// CPU figures count them too.
class BusyLoad {
public:
    explicit BusyLoad(const QStringList& args)
        : asked_(args.contains(QStringLiteral("--load"))),
          count_(std::max(0, OptionValue(args, "--load", QStringLiteral("0")).toInt())) {
#ifdef _WIN32
        for (int i = 0; i < count_; ++i)
            loops_.emplace_back([this] {
                while (!stop_.load(std::memory_order_relaxed)) {
                }
            });
#else
        const pid_t parent = ::getpid();
        for (int i = 0; i < count_; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                if (::getppid() != parent)
                    ::_exit(0);
                std::atomic<unsigned long> spin{0};
                for (;;)
                    spin.fetch_add(1, std::memory_order_relaxed);
            }
            if (pid > 0)
                loops_.push_back(pid);
        }
#endif
        start_ = LoadAverage();
    }
    ~BusyLoad() {
#ifdef _WIN32
        stop_ = true;
        for (std::thread& loop : loops_)
            loop.join();
#else
        for (const pid_t pid : loops_) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
#endif
    }
    BusyLoad(const BusyLoad&) = delete;
    BusyLoad& operator=(const BusyLoad&) = delete;
    // The load and the levers in force: a table row when --load was given,
    // else a progress line, so the full run's table keeps its rows.
    void row(const QString& levers) const {
        const QString measured =
            QStringLiteral("load average at start %1; at end %2").arg(start_, LoadAverage());
        if (asked_)
            Row(QStringLiteral("Load during the run"),
                QStringLiteral("%1 busy loops").arg(loops_.size()), measured, levers);
        else
            Progress(QStringLiteral("%1; %2").arg(measured, levers));
    }

private:
    bool asked_;
    int count_;
#ifdef _WIN32
    std::atomic<bool> stop_{false};
    std::vector<std::thread> loops_;
#else
    std::vector<pid_t> loops_;
#endif
    QString start_;
};

// Milliseconds spent in active waits so far.
inline double ActiveWaitMs() {
    return std::chrono::duration<double, std::milli>(platform::ActiveWaitTotal()).count();
}

#ifdef _WIN32
// CPU time of the whole process so far, all threads, in ms, and its peak
// ("VmHWM:") and present ("VmRSS:") working set in kB, -1 for any other key
// or process (bench/win32/bench_process_win.cpp). No CpuMsOf: the benches
// built for Windows do not use it.
double ProcessCpuMs();
long StatusKb(const char* key, const QString& pid = QStringLiteral("self"));
#else
// CPU time of the whole process so far, all threads, in ms (fine-grained,
// unlike CpuMsOf).
inline double ProcessCpuMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// CPU time of a process in ms, user and system, threads that have ended
// included (/proc/<pid>/stat, in clock ticks: 10 ms steps).
inline double CpuMsOf(const QString& pid = QStringLiteral("self")) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    // Fields after the command name in parentheses: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// A line of /proc/<pid>/status such as VmHWM, in kB; -1 when missing.
inline long StatusKb(const char* key, const QString& pid = QStringLiteral("self")) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key)) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            return parts.size() > 1 ? parts[1].toLong() : -1;
        }
    return -1;
}
#endif

// Points the user's folders at a temporary one, so no bench touches the
// real settings, port map or single-instance lock.
inline void IsolateFolders(const QTemporaryDir& dir) {
    QDir().mkpath(dir.path() + QStringLiteral("/config"));
    QDir().mkpath(dir.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(dir.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (dir.path() + QStringLiteral("/runtime")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/data")).toLocal8Bit());
}

// Opens the pseudo-terminal and returns the COM name the program opens to
// reach its slave: a link COM<number> in the ports folder, on Windows the
// pair's own name. Empty when there is no line.
inline QString OpenLine(platform::PseudoTerminal& pty, int number) {
#ifdef _WIN32
    Q_UNUSED(number);
    if (pty.open())
        return pty.slavePath();
    Progress(QStringLiteral("no free COM pair; RELCON4_SIM_LINES names them, "
                            "e.g. COM11:COM31,COM12:COM32"));
    return QString();
#else
    const QString name = QStringLiteral("COM%1").arg(number);
    QDir().mkpath(platform::PortsFolder());
    return pty.open() && QFile::link(pty.slavePath(), platform::PortsFolder() + "/" + name)
               ? name
               : QString();
#endif
}

} // namespace bench
