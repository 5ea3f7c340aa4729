// relcon4-sim: one simulated unit on a new pseudo-terminal, registered as a
// COM port of the per-user port map until it is stopped.
#include "faults.h"
#include "platform/clock.h"
#include "platform/stop_signals.h"
#include "sim_server.h"
#include "unit_factory.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

QString hexText(const sim::Bytes& bytes) {
    QString text;
    for (const std::uint8_t b : bytes)
        text += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return text.trimmed();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("relcon4-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates one unit on a pseudo-terminal and registers it as COM<N> in the "
                       "port map, so relcon4 talks to it like to a unit on a serial port. Serves "
                       "until Ctrl+C (SIGINT) or SIGTERM, then removes the COM link."));
    parser.addHelpOption();
    const QCommandLineOption unitOpt(QStringLiteral("unit"),
                                     QStringLiteral("Unit to simulate: ro4d, ri1r or zi2z3."),
                                     QStringLiteral("kind"), QStringLiteral("ro4d"));
    const QCommandLineOption comOpt(
        QStringLiteral("com"),
        QStringLiteral("COM number to register (1..96); default: the first free one from 1."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption boardOpt(QStringLiteral("board"),
                                      QStringLiteral("RO-4D board generation: 2 (with ADC "
                                                     "read-out, default) or 1."),
                                      QStringLiteral("gen"), QStringLiteral("2"));
    const QCommandLineOption dateOpt(
        QStringLiteral("date"),
        QStringLiteral("RI1-R release date already written, dd.mm.yy (default: none)."),
        QStringLiteral("date"));
    const QCommandLineOption modeOpt(QStringLiteral("mode"),
                                     QStringLiteral("RI1-R current mode 1..7 (default 1)."),
                                     QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption faultOpt(QStringLiteral("fault"),
                                      QStringLiteral("Misbehave; may be repeated. FAULT is ") +
                                          sim::FaultSyntaxHelp(),
                                      QStringLiteral("FAULT"));
    const QCommandLineOption traceOpt(QStringLiteral("trace"),
                                      QStringLiteral("Print every piece received (<) and sent (>) "
                                                     "in hex."));
    const QCommandLineOption replugOpt(
        QStringLiteral("replug"),
        QStringLiteral("After the line drops (fault drop), plug a new line in under the same COM "
                       "name MS milliseconds later (default: stay unplugged)."),
        QStringLiteral("MS"), QStringLiteral("-1"));
    const QCommandLineOption rateOpt(
        QStringLiteral("line-rate"),
        QStringLiteral("Send the replies at the pace of a serial line of BAUD bits per second "
                       "(10 bits a byte), as a real unit would; 0 sends them at once (default: "
                       "9600 for zi2z3, 0 for the others)."),
        QStringLiteral("BAUD"), QStringLiteral("-1"));
    parser.addOptions(
        {unitOpt, comOpt, boardOpt, dateOpt, modeOpt, faultOpt, replugOpt, traceOpt, rateOpt});
    parser.process(app);

    QTextStream err(stderr);
    sim::UnitOptions options;
    options.kind = parser.value(unitOpt);
    options.board = parser.value(boardOpt).toInt();
    options.releaseDate = parser.value(dateOpt);
    options.mode = parser.value(modeOpt).toInt();
    options.faults = parser.values(faultOpt);
    bool comOk = false;
    const int com = parser.value(comOpt).toInt(&comOk);
    bool rateOk = false;
    const int lineRate = parser.value(rateOpt).toInt(&rateOk);
    QString error;
    auto unit = sim::MakeUnit(options, &error);
    if (!comOk)
        error = QStringLiteral("--com takes a number");
    const bool rateGiven = parser.isSet(rateOpt);
    if (!rateOk || (rateGiven && lineRate < 0))
        error = QStringLiteral("--line-rate takes a number of bits per second");
    if (!unit || !comOk || !rateOk || (rateGiven && lineRate < 0)) {
        err << "relcon4-sim: " << error << Qt::endl;
        return 2;
    }
    const QString title = unit->title();

    platform::CatchStopSignals();
    sim::SimServer server(std::move(unit));
    if (rateGiven)
        server.setLineRate(lineRate);
    if (parser.isSet(traceOpt))
        server.setTrace([](char direction, const sim::Bytes& bytes) {
            std::printf("%c %s\n", direction, qPrintable(hexText(bytes)));
            std::fflush(stdout);
        });
    const QString name = server.start(com);
    if (name.isEmpty()) {
        err << "relcon4-sim: " << server.errorString() << Qt::endl;
        return 1;
    }
    std::printf("%s %s %s\n", qPrintable(name), qPrintable(server.devicePath()), qPrintable(title));
    std::fflush(stdout);

    const int replugMs = parser.value(replugOpt).toInt();
    std::uint32_t droppedAt = 0;
    bool wasUp = true;
    while (!platform::StopSignalled()) {
        platform::SleepMs(20);
        const bool up = server.lineUp();
        if (wasUp && !up) {
            droppedAt = platform::TickCount();
            std::printf("%s line dropped\n", qPrintable(name));
            std::fflush(stdout);
        }
        wasUp = up;
        if (!up && replugMs >= 0 &&
            static_cast<int>(platform::TickCount() - droppedAt) >= replugMs && server.replug()) {
            std::printf("%s %s plugged in again\n", qPrintable(name),
                        qPrintable(server.devicePath()));
            std::fflush(stdout);
            wasUp = true;
        }
    }
    server.stop();
    return 0;
}
