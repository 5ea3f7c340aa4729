// Endurance in one process: many commands of the core's services (as the
// command line runs them) against the three simulated units on their
// pseudo-terminals, a simulator fault in one command of five, then the same
// without faults. Prints the exchanges, the failures, the wrong successes
// (a command that ended in success without its result: a read that differs
// from a clean one, a write the unit does not hold), the slowest command of
// each kind against its bound, and the process's CPU time, resident memory,
// descriptors and threads every --every commands. Asserts nothing.
//
//   bench_soak [--commands N] [--every N] [--seed S] [--timeout MS] [--pause MS]
//              [--phase faults|clean] [--trace]
//
// The simulated units run in this process too (a thread each): the memory,
// descriptor and thread figures are the program's and theirs together.
// The fault "drop" is left to bench_fault_matrix: a line that drops ends the
// process's port for good, as with a real adapter pulled out.
#include "bench_common.h"

#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/ri1r_service.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "devices/qv4m/ro4d_compare.h"
#include "devices/qv4m/ro4d_service.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "platform/event_pump.h"
#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "port/channel_port.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "sim_server.h"
#include "zi2z3_unit.h"

#include <QCoreApplication>
#include <functional>
#include <map>
#include <random>

namespace {

const char* const kFaults[] = {
    "silence", "silence,count=1", "late:500",        "late:20", "short", "split:20", "first:20",
    "crc",     "garbage",         "garbage,count=2", "refuse",  "keep",
};

// T_240, the word a write changes (the sixth parameter word).
constexpr std::size_t kT240Word = 5;

struct Outcome {
    bool ok = false;
    bool right = false; // what a success must have left; meaningless on a failure
    QString why;        // the failure's text
};

struct Kind {
    const char* name;
    int server; // index into the servers
    int frames; // frames of a clean run, for the bound
    std::function<Outcome()> run;
};

struct Figures {
    long commands = 0, exchanges = 0, failures = 0, wrong = 0;
    long cleanFailures = 0; // failures of commands that ran without a fault
    std::map<std::string, double> slowestMs;
    std::map<std::string, QString> slowestFault;
};

int DescriptorCount() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                .size());
}

void Checkpoint(const char* phase, const Figures& f, double cpuStartMs, double wallStartMs) {
    const double wall = bench::MsBetween(bench::Clock::time_point{}, bench::Clock::now());
    bench::Row(
        QStringLiteral("soak %1, after %2 commands").arg(QLatin1String(phase)).arg(f.commands),
        QStringLiteral("0 wrong"),
        QStringLiteral("%1 exchanges, %2 failures (%3 without a fault), %4 wrong successes")
            .arg(f.exchanges)
            .arg(f.failures)
            .arg(f.cleanFailures)
            .arg(f.wrong),
        QStringLiteral("RSS %1 kB, %2 fds, %3 threads; CPU %4 s in %5 s since the start")
            .arg(bench::StatusKb("VmRSS:"))
            .arg(DescriptorCount())
            .arg(bench::StatusKb("Threads:"))
            .arg(bench::Ms((bench::CpuMsOf() - cpuStartMs) / 1000.0, 1))
            .arg(bench::Ms((wall - wallStartMs) / 1000.0, 1)));
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::IsolateFolders(home);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, int fallback) {
        return bench::OptionValue(args, name, QString::number(fallback)).toInt();
    };
    const int commands = option("--commands", 2000);
    const int every = std::max(1, option("--every", 500));
    const bool trace = args.contains(QStringLiteral("--trace"));
    std::mt19937 random(static_cast<unsigned>(option("--seed", 1)));

    // The command line's set-up: no event pumping, the core's own line.
    platform::SetSysfsRoot(home.path() + QStringLiteral("/no-sysfs"));
    QDir().mkpath(platform::PortsFolder());
    SettingsDirOverride = home.path();
    ResetExchangeSettings();
    ExchangeState.Reset();
    platform::SetEventPumping(false);
    CreateExchangePort();
    UseCoreQv1Line();
    TimeOut = option("--timeout", 100);
    PreSendPause = option("--pause", 5);
    ExchangeState.NumOfRepeat = 3;

    std::unique_ptr<sim::SimServer> owned[] = {
        std::make_unique<sim::SimServer>(std::make_unique<sim::Ro4dUnit>()),
        std::make_unique<sim::SimServer>(std::make_unique<sim::Ri1rUnit>()),
        std::make_unique<sim::SimServer>(std::make_unique<sim::Zi2z3Unit>())};
    sim::SimServer* servers[] = {owned[0].get(), owned[1].get(), owned[2].get()};
    QString ports[3];
    for (int k = 0; k < 3; ++k) {
        ports[k] = servers[k]->start();
        if (ports[k].isEmpty()) {
            bench::Progress(QStringLiteral("a simulated unit did not start"));
            return 1;
        }
    }
    const auto on = [&](int server) { ExchangeState.PortName[0] = ports[server]; };

    // Clean reads to hold the others against.
    on(0);
    TRo4dUnitImage ro4dClean;
    on(1);
    TQv1mUnitRead ri1rClean;
    on(2);
    QString identClean;
    qv2f3::TDelaySettings delaysClean{};
    // A few tries each: a busy machine can make one miss its time-out.
    const auto tries = [](const auto& read) {
        for (int k = 0; k < 5; ++k)
            if (read())
                return true;
        return false;
    };
    on(0);
    const bool ro4dOk = tries([&] { return Ro4dRead(ro4dClean).ok(); });
    on(1);
    const bool ri1rOk =
        tries([&] { return Ri1rRead(ri1rClean).ok() && Ri1rEndSession(false).ok(); });
    on(2);
    const bool zi2z3Ok = tries([&] { return Zi2z3ReadSettings(identClean, delaysClean).ok(); });
    if (!ro4dOk || !ri1rOk || !zi2z3Ok) {
        bench::Progress(QStringLiteral("the clean reads failed"));
        return 1;
    }
    // The words the simulated RO-4D holds now, as a read brings them.
    const auto ro4dHeld = [&] {
        std::array<std::uint16_t, kRo4dRegisterCount> words{};
        const auto& regs = servers[0]->unit<sim::Ro4dUnit>()->registers();
        std::copy(regs.begin(), regs.end(), words.begin());
        return words;
    };
    if (ro4dClean.registers != ro4dHeld()) {
        bench::Progress(QStringLiteral("a clean RO-4D read does not give the unit's words"));
        return 1;
    }
    std::uint8_t nextT11 = 1;
    std::uint16_t nextT240 = 100;
    const QString side = Ro4dWrittenSide();

    const Kind kinds[] = {
        {"ro4d read", 0, 8,
         [&] {
             // A request of an earlier, failed write can reach the unit late,
             // while this read runs: each page must then be as the unit held
             // it before or after, not something else.
             const auto before = ro4dHeld();
             TRo4dUnitImage read;
             const TCommandResult r = Ro4dRead(read);
             const auto after = ro4dHeld();
             bool right = read.complete();
             for (int w = 0; right && w < kRo4dRegisterCount; w += kRo4dPageWords) {
                 const auto page = [&](const auto& words) {
                     return std::equal(words.begin() + w, words.begin() + w + kRo4dPageWords,
                                       read.registers.begin() + w);
                 };
                 right = page(after) || page(before);
             }
             if (before != after)
                 bench::Progress(QStringLiteral("the RO-4D unit changed during a read"));
             return Outcome{r.ok(), right, r.text()};
         }},
        {"ro4d write", 0, 15,
         [&] {
             TRo4dImage image = ro4dClean.image();
             nextT240 = nextT240 == 100 ? 200 : 100;
             image.params[kT240Word] = nextT240;
             // As relcon4-cli's write: a success is one the read-back holds.
             TCommandResult r = Ro4dWrite(image.params, image.mode);
             if (r.ok()) {
                 TRo4dUnitImage verify;
                 r = Ro4dRead(verify);
                 if (r.ok() && !CompareRo4d(verify, image, side).equal())
                     r.fault = TCommandFault::Refused;
             }
             // Looked at in the unit itself: a read back over the line could
             // fail under load and leave the verdict unknown.
             TRo4dUnitImage held = ro4dClean;
             held.registers = ro4dHeld();
             return Outcome{r.ok(), CompareRo4d(held, image, side).equal(), r.text()};
         }},
        {"ri1r read", 1, 12,
         [&] {
             TQv1mUnitRead read;
             TCommandResult r = Ri1rRead(read);
             if (r.ok())
                 r = Ri1rEndSession(false);
             return Outcome{
                 r.ok(), read.allModes() && Qv1mFileBytes(read.set) == Qv1mFileBytes(ri1rClean.set),
                 r.text()};
         }},
        {"zi2z3 settings", 2, 2,
         [&] {
             QString ident;
             qv2f3::TDelaySettings delays{};
             const TCommandResult r = Zi2z3ReadSettings(ident, delays);
             return Outcome{r.ok(),
                            ident == identClean &&
                                delays == servers[2]->unit<sim::Zi2z3Unit>()->delays(),
                            r.text()};
         }},
        {"zi2z3 settings --set", 2, 5,
         [&] {
             qv2f3::TDelaySettings delays = delaysClean;
             nextT11 = static_cast<std::uint8_t>(nextT11 % 200 + 1);
             delays[0] = nextT11;
             // As the command line's --set: a session first, then the write.
             QString ident;
             qv2f3::TDelaySettings before{};
             TCommandResult r = Zi2z3ReadSettings(ident, before);
             if (r.ok())
                 r = Zi2z3WriteSettings(delays);
             // Read back, as --set does: a value that did not take fails.
             qv2f3::TDelaySettings back{};
             if (r.ok())
                 r = Zi2z3ReadSettings(ident, back);
             if (r.ok() && back != delays)
                 r.fault = TCommandFault::Refused;
             return Outcome{r.ok(), servers[2]->unit<sim::Zi2z3Unit>()->delays() == delays,
                            r.text()};
         }},
    };

    const double cpuStart = bench::CpuMsOf();
    const double wallStart = bench::MsBetween(bench::Clock::time_point{}, bench::Clock::now());
    // --phase faults|clean runs one of the two, so both can run side by side.
    const QString only = bench::OptionValue(args, "--phase", QString());
    for (const bool withFaults : {true, false}) {
        if (!only.isEmpty() && only != (withFaults ? u"faults" : u"clean"))
            continue;
        const char* phase = withFaults ? "with faults" : "without faults";
        Figures f;
        const char* previous = "";
        QString previousFault;
        for (int n = 0; n < commands; ++n) {
            const Kind& kind = kinds[random() % std::size(kinds)];
            sim::SimServer& server = *servers[kind.server];
            const bool faulty = withFaults && random() % 5 == 0;
            QString fault;
            if (faulty) {
                fault = QLatin1String(kFaults[random() % std::size(kFaults)]);
                server.unit()->faults().add(*sim::ParseFault(fault));
            }
            on(kind.server);
            server.unit()->clearRequests();
            const auto start = bench::Clock::now();
            const Outcome o = kind.run();
            const double ms = bench::MsBetween(start, bench::Clock::now());
            server.unit()->faults().clear();
            if (trace)
                bench::Progress(
                    QStringLiteral("%1 %2 [%3]: %4 in %5 ms")
                        .arg(n)
                        .arg(QLatin1String(kind.name), fault, o.ok ? QStringLiteral("ok") : o.why)
                        .arg(bench::Ms(ms, 0)));
            ++f.commands;
            f.exchanges += static_cast<long>(server.unit()->requests().size());
            f.failures += !o.ok;
            f.cleanFailures += !o.ok && !faulty;
            if (!o.ok && !faulty)
                bench::Progress(QStringLiteral("%1 failed without a fault (command %2, after %3 "
                                               "under \"%4\"): %5")
                                    .arg(QLatin1String(kind.name))
                                    .arg(n)
                                    .arg(QLatin1String(previous), previousFault, o.why));
            if (o.ok && !o.right) {
                ++f.wrong;
                bench::Progress(QStringLiteral("wrong success: %1 under %2")
                                    .arg(QLatin1String(kind.name), fault));
            }
            double& slowest = f.slowestMs[kind.name];
            if (ms > slowest) {
                slowest = ms;
                f.slowestFault[kind.name] = fault.isEmpty() ? QStringLiteral("none") : fault;
            }
            previous = kind.name;
            previousFault = fault;
            if (f.commands % every == 0)
                Checkpoint(phase, f, cpuStart, wallStart);
        }
        // Bound of a command: each frame's attempts, each a pause, a
        // time-out and its bytes (under 30 ms at 9600 baud), and after a
        // retried reply the wait for an earlier attempt's (one more round of
        // attempts); the port's opening (30 ms) and a read-back's frames.
        const int round = ExchangeState.NumOfRepeat * (PreSendPause + TimeOut + 30);
        for (const Kind& kind : kinds) {
            const int frames = kind.frames + (QLatin1String(kind.name) == "ro4d write" ? 8 : 0);
            bench::Row(
                QStringLiteral("soak %1, slowest %2")
                    .arg(QLatin1String(phase), QLatin1String(kind.name)),
                QStringLiteral("bound %1 ms").arg(frames * 2 * round + 60),
                QStringLiteral("%1 ms").arg(bench::Ms(f.slowestMs[kind.name], 0)),
                QStringLiteral("%1 frames; fault %2").arg(frames).arg(f.slowestFault[kind.name]));
        }
    }
    for (sim::SimServer* server : servers)
        server->stop();
    return 0;
}
