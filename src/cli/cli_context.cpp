#include "cli_context.h"

#include "devices/qv1m/ri1r_service.h"
#include "exchange/exchange_host.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"
#include "platform/event_pump.h"
#include "port/channel_port.h"
#include "port/port_rules.h"

#include <QDateTime>
#include <cstdio>

namespace {

// Port messages go to standard error with --log; the reason the port did not
// open reaches the user through the command's result anyway.
class TCliHost final : public TExchangeHost {
public:
    explicit TCliHost(bool log) : log_(log) {}

    void plainMessage(const QString& text) override { line(text.simplified()); }
    void portMessageBox(const QString& text, const QString& caption) override {
        line(caption + QStringLiteral(": ") + text.simplified());
    }

private:
    void line(const QString& text) {
        if (log_)
            PrintError(LogTimeText(QDateTime::currentMSecsSinceEpoch()) + QLatin1Char(' ') + text);
    }

    bool log_;
};

std::unique_ptr<TCliHost> cliHost;

} // namespace

void PrintError(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    std::fflush(stderr);
}

void PrintOut(const QString& text) {
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

int FinishCommand(const TCommandResult& result) {
    if (result.ok())
        return kExitOk;
    PrintError(QStringLiteral("relcon4-cli: %1: %2").arg(ExchangeState.PortName[0], result.text()));
    switch (result.fault) {
    case TCommandFault::None:
        return kExitOk;
    case TCommandFault::PortNotOpen:
        return kExitPort;
    case TCommandFault::NoReply:
    case TCommandFault::WrongLength:
    case TCommandFault::Unmatched:
        return kExitReply;
    case TCommandFault::Refused:
        return kExitRefused;
    }
    return kExitReply;
}

int FinishCompare(const TCliContext& context, const TCompareResult& compare,
                  const TCommandResult& read) {
    PrintOut(context.json ? QString::fromUtf8(CompareResultJson(compare)).trimmed()
                          : CompareResultText(compare).trimmed());
    if (!compare.complete)
        PrintError(QStringLiteral("relcon4-cli: %1: %2")
                       .arg(ExchangeState.PortName[0], compare.verdict()));
    if (!read.ok())
        return FinishCommand(read);
    if (!compare.complete)
        return kExitReply;
    return compare.equal() ? kExitOk : kExitDiffers;
}

int FinishVerify(const TCompareResult& compare, const TCommandResult& read) {
    const QString port = ExchangeState.PortName[0];
    if (!read.ok()) {
        PrintError(QStringLiteral("relcon4-cli: %1: проверка записи чтением не прошла").arg(port));
        return FinishCommand(read);
    }
    if (compare.equal())
        return kExitOk;
    PrintError(QStringLiteral("relcon4-cli: %1: проверка записи: %2")
                   .arg(port, compare.complete
                                  ? QStringLiteral("устройство хранит не то, что записано")
                                  : compare.verdict()));
    PrintError(CompareResultText(compare).trimmed());
    return compare.complete ? kExitRefused : kExitReply;
}

int FileProblem(const QString& path, const QString& problem) {
    PrintError(QStringLiteral("relcon4-cli: файл %1: %2").arg(path, problem));
    return kExitFile;
}

int ValueProblem(const QString& path, const QStringList& faults) {
    PrintError(QStringLiteral("relcon4-cli: файл %1: значения вне допустимого, в устройство "
                              "ничего не записано:")
                   .arg(path));
    for (const QString& fault : faults)
        PrintError(QStringLiteral("  ") + fault);
    return kExitUsage;
}

int UsageProblem(const QString& text) {
    PrintError(QStringLiteral("relcon4-cli: ") + text);
    PrintError(QStringLiteral("Справка: relcon4-cli --help"));
    return kExitUsage;
}

bool UsePort(const TCliContext& context) {
    if (context.port.isEmpty()) {
        UsageProblem(QStringLiteral("не указан порт (--port COM<n>)"));
        return false;
    }
    // A mistyped name must not reach the line: the port component would
    // open COM1 in its place.
    const QString name = ComPortName(context.port);
    if (name.isEmpty()) {
        UsageProblem(QStringLiteral("нет такого порта: ") + context.port);
        return false;
    }
    ExchangeState.PortName[0] = name;
    return true;
}

void InstallCliHost(bool log) {
    platform::SetEventPumping(false);
    cliHost = std::make_unique<TCliHost>(log);
    setExchangeHost(cliHost.get());
    // With --log every line of the exchange log, as the window would write it
    // out: time, kind, text.
    if (log)
        QObject::connect(&ExchangeLog(), &TLogModel::lineAdded,
                         [](const TLogLine& line) { PrintError(LogLineForText(line)); });
    CreateExchangePort();
    UseCoreQv1Line();
}
