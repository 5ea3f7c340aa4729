// relcon4-cli against the simulated units under every line fault the
// simulator plays, many times over: how often a command ends in success
// without having done its work (a "wrong success"), the exit codes, and the
// slowest command of each fault. Then the cost of the read-back that a
// write does unless --no-verify. Prints figures; asserts nothing.
//
//   bench_fault_matrix [--cli PATH] [--random N] [--seed S] [--verify-reps N]
//
// First every command under every fault, once, each on a fresh unit; then
// N runs (default 0) of a command and a fault taken at random. A
// success is a right one when a clean run of the same read printed the same,
// when a write left the unit holding the file (a diff with the faults gone
// exits 0), and when a bench watch showed a packet with a sound sum.
#include "bench_common.h"

#include "sim_server.h"
#include "unit_factory.h"
#include "zi2z3_unit.h"

#include <QCoreApplication>
#include <QProcess>
#include <map>
#include <random>

namespace {

struct Run {
    int code = -1;
    QString out;
    double ms = 0;
};

QString cliPath;
QString folder;

Run Cli(const QString& com, QStringList args) {
    args.replaceInStrings(QStringLiteral("%PORT%"), com);
    args.replaceInStrings(QStringLiteral("%DIR%"), folder);
    QProcess process;
    const auto start = bench::Clock::now();
    process.start(
        cliPath,
        QStringList{"--no-archive", "--pause", "5", "--timeout", "100", "--attempts", "3"} + args);
    Run r;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        r.code = -2; // hung
    } else {
        r.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    r.ms = bench::MsBetween(start, bench::Clock::now());
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    return r;
}

struct Command {
    const char* name;
    const char* unit;
    QStringList args;
};

const Command kCommands[] = {
    {"ro4d read", "ro4d", {"ro4d", "read", "--port", "%PORT%"}},
    {"ro4d write", "ro4d", {"ro4d", "write", "--port", "%PORT%", "%DIR%/changed.qvf"}},
    {"ri1r read", "ri1r", {"ri1r", "read", "--port", "%PORT%"}},
    {"ri1r write", "ri1r", {"ri1r", "write", "--port", "%PORT%", "%DIR%/changed.ini"}},
    {"zi2z3 settings", "zi2z3", {"zi2z3", "settings", "--port", "%PORT%"}},
    {"zi2z3 settings --set", "zi2z3", {"zi2z3", "settings", "--port", "%PORT%", "--set", "T11=7"}},
    {"zi2z3 bench --watch", "zi2z3", {"zi2z3", "bench", "--port", "%PORT%", "1", "--watch", "1"}},
};

const char* const kFaults[] = {
    "",         "silence", "silence,count=1", "late:500",        "late:20", "short", "split:20",
    "first:20", "crc",     "garbage",         "garbage,count=2", "refuse",  "drop",  "keep",
};

std::unique_ptr<sim::SimUnit> MakeUnit(const QString& kind) {
    sim::UnitOptions options;
    options.kind = kind;
    return sim::MakeUnit(options);
}

// The two files the writes send: each unit's factory read with one value changed.
bool PrepareFiles() {
    for (const char* unit : {"ro4d", "ri1r"}) {
        sim::SimServer server(MakeUnit(QLatin1String(unit)));
        const QString com = server.start();
        const bool ro4d = qstrcmp(unit, "ro4d") == 0;
        const QString read = folder + (ro4d ? "/unit.qvf" : "/unit.ini");
        if (Cli(com, {unit, "read", "--port", "%PORT%", "-o", read}).code != 0)
            return false;
        QFile in(read);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        QByteArray bytes = in.readAll();
        if (ro4d) {
            bytes[2 * 5] = 100; // T_240
        } else {
            QList<QByteArray> lines = bytes.split('\n');
            lines[84] = "9\r"; // fault delay K1
            bytes = lines.join('\n');
        }
        QFile out(folder + (ro4d ? "/changed.qvf" : "/changed.ini"));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

// A clean run's output of each read, to hold a faulty run's against.
std::map<QString, QString> cleanOutputs;

QString CleanOutput(const Command& c) {
    auto found = cleanOutputs.find(QLatin1String(c.name));
    if (found != cleanOutputs.end())
        return found->second;
    sim::SimServer server(MakeUnit(QLatin1String(c.unit)));
    const QString out = Cli(server.start(), c.args).out;
    cleanOutputs[QLatin1String(c.name)] = out;
    return out;
}

bool RightSuccess(const Command& c, const Run& r, sim::SimServer& server, const QString& com) {
    const QString action = c.args[1];
    if (action == QLatin1String("write"))
        return Cli(com, {c.unit, "diff", "--port", "%PORT%", c.args[4]}).code == 0;
    if (c.args.contains(QStringLiteral("--set")))
        return server.unit<sim::Zi2z3Unit>()->delays() ==
               std::array<std::uint8_t, 6>{7, 3, 60, 5, 3, 60};
    if (action == QLatin1String("bench"))
        return r.out.contains(QStringLiteral("CRC-ok"));
    return r.out == CleanOutput(c);
}

struct Tally {
    int runs = 0, ok = 0, wrong = 0, hung = 0, crashed = 0;
    std::map<int, int> codes;
    double worstMs = 0;
};

// Every command under every fault when runs is 0; else runs random picks.
void Matrix(int runs, unsigned seed) {
    std::mt19937 random(seed);
    std::map<QString, Tally> byFault;
    Tally all;
    const int total = runs > 0 ? runs : static_cast<int>(std::size(kCommands) * std::size(kFaults));
    for (int n = 0; n < total; ++n) {
        const std::size_t ci = runs > 0 ? random() % std::size(kCommands) : n / std::size(kFaults);
        const std::size_t fi = runs > 0 ? random() % std::size(kFaults) : n % std::size(kFaults);
        const Command& c = kCommands[ci];
        const QString fault = QLatin1String(kFaults[fi]);
        sim::SimServer server(MakeUnit(QLatin1String(c.unit)));
        const QString com = server.start();
        if (!fault.isEmpty())
            server.unit()->faults().add(*sim::ParseFault(fault));
        const Run r = Cli(com, c.args);
        server.unit()->faults().clear();
        if (!server.lineUp())
            server.replug();
        const bool wrong = r.code == 0 && !RightSuccess(c, r, server, com);
        for (Tally* t : {&byFault[fault.isEmpty() ? QStringLiteral("(none)") : fault], &all}) {
            ++t->runs;
            t->ok += r.code == 0 && !wrong;
            t->wrong += wrong;
            t->hung += r.code == -2;
            t->crashed += r.code == -1;
            ++t->codes[r.code];
            t->worstMs = std::max(t->worstMs, r.ms);
        }
        if (wrong)
            bench::Progress(QStringLiteral("wrong success: %1 under %2").arg(c.name, fault));
    }
    const auto codesText = [](const Tally& t) {
        QStringList parts;
        for (const auto& [code, count] : t.codes)
            parts << QStringLiteral("%1×%2").arg(count).arg(code);
        return parts.join(QStringLiteral(", "));
    };
    for (const auto& [fault, t] : byFault)
        bench::Row(QStringLiteral("%1, fault %2").arg(runs > 0 ? "random" : "matrix", fault),
                   QStringLiteral("0 wrong"),
                   QStringLiteral("%1 runs: %2 right successes, %3 wrong; exits %4")
                       .arg(t.runs)
                       .arg(t.ok)
                       .arg(t.wrong)
                       .arg(codesText(t)),
                   QStringLiteral("slowest %1 s").arg(bench::Ms(t.worstMs / 1000.0)));
    bench::Row(runs > 0 ? QStringLiteral("random, all faults (seed %1)").arg(seed)
                        : QStringLiteral("matrix, every command x every fault"),
               QStringLiteral("0 wrong, 0 hung, 0 crashed"),
               QStringLiteral("%1 runs: %2 wrong successes, %3 hung, %4 crashed")
                   .arg(all.runs)
                   .arg(all.wrong)
                   .arg(all.hung)
                   .arg(all.crashed),
               QStringLiteral("slowest %1 s").arg(bench::Ms(all.worstMs / 1000.0)));
}

// The same write with and without its read-back, each on a fresh unit.
void VerifyCost(int reps) {
    for (const Command& c : {kCommands[1], kCommands[3]}) {
        std::vector<double> with, without;
        for (int n = 0; n < reps; ++n)
            for (bool verify : {true, false}) {
                sim::SimServer server(MakeUnit(QLatin1String(c.unit)));
                QStringList args = c.args;
                if (!verify)
                    args << QStringLiteral("--no-verify");
                const Run r = Cli(server.start(), args);
                (verify ? with : without).push_back(r.code == 0 ? r.ms : 0);
            }
        const double a = bench::SpreadOf(with).median, b = bench::SpreadOf(without).median;
        bench::Row(
            QStringLiteral("%1: read-back after the write (median of %2)").arg(c.name).arg(reps),
            QStringLiteral("--no-verify %1 s").arg(bench::Ms(b / 1000.0)),
            QStringLiteral("with read-back %1 s").arg(bench::Ms(a / 1000.0)),
            QStringLiteral("+%1 s").arg(bench::Ms((a - b) / 1000.0)));
    }
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::IsolateFolders(home);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto option = [&](const char* name, const QString& fallback) {
        return bench::OptionValue(args, name, fallback);
    };
    cliPath = option("--cli", QCoreApplication::applicationDirPath() + "/../relcon4-cli");
    folder = home.path();
    if (!PrepareFiles()) {
        bench::Progress(QStringLiteral("the units could not be read with %1").arg(cliPath));
        return 1;
    }
    Matrix(0, 0);
    if (const int runs = option("--random", "0").toInt(); runs > 0)
        Matrix(runs, option("--seed", "1").toUInt());
    VerifyCost(option("--verify-reps", "5").toInt());
    return 0;
}
