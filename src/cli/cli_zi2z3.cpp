// relcon4-cli zi2z3 …: the ZI2-Z3 bench's session with its six delay
// settings, and its bench commands with the packets it answers.
#include "archive/bench_config.h"
#include "cli/delay_set.h"
#include "cli_table.h"
#include "devices/qv2f3/bench_captions.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "exchange/exchange_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

using namespace qv2f3;

namespace {

QString settingsText(const TCliContext& context, const QString& ident,
                     const TDelaySettings& delays) {
    if (context.json) {
        QJsonObject values;
        for (std::size_t k = 0; k < delays.size(); ++k)
            values.insert(QLatin1String(kBenchDelayNames[k]), delays[k]);
        return QString::fromUtf8(
                   QJsonDocument(QJsonObject{{QStringLiteral("device"), ident.trimmed()},
                                             {QStringLiteral("delays"), values}})
                       .toJson())
            .trimmed();
    }
    QString out = UnitCaption(ident);
    for (std::size_t k = 0; k < delays.size(); ++k)
        out += QStringLiteral("\n%1 = %2").arg(QLatin1String(kBenchDelayNames[k])).arg(delays[k]);
    return out;
}

// With --set the settings read are changed, written, and read back: what is
// printed is what the unit then holds.
int settings(const TCliContext& context) {
    if (!UsePort(context))
        return kExitUsage;
    QString ident;
    TDelaySettings delays{};
    if (!context.set.isEmpty()) {
        TDelaySettings wanted{};
        if (const auto problem = ApplyDelaySet(context.set, wanted))
            return UsageProblem(*problem);
        TCommandResult r = Zi2z3ReadSettings(ident, delays);
        if (!r.ok())
            return FinishCommand(r);
        ApplyDelaySet(context.set, delays);
        r = Zi2z3WriteSettings(delays);
        if (!r.ok())
            return FinishCommand(r);
    }
    const TDelaySettings written = delays;
    const TCommandResult r = Zi2z3ReadSettings(ident, delays);
    if (r.ok())
        PrintOut(settingsText(context, ident, delays));
    if (!r.ok() || context.set.isEmpty() || delays == written)
        return FinishCommand(r);
    // Accepted but not kept: each value that did not take is named.
    PrintError(QStringLiteral("relcon4-cli: %1: проверка записи: стенд хранит не то, что записано")
                   .arg(ExchangeState.PortName[0]));
    for (std::size_t k = 0; k < delays.size(); ++k)
        if (delays[k] != written[k])
            PrintError(QStringLiteral("  %1: записано %2, в стенде %3")
                           .arg(QLatin1String(kBenchDelayNames[k]))
                           .arg(written[k])
                           .arg(delays[k]));
    return kExitRefused;
}

// Each field under its place and caption, with its unit, as the protocol names it.
QString packetText(const TBenchDecoded& packet) {
    QString out = packet.logLine;
    for (const TFieldText& field : packet.texts)
        out += QStringLiteral("\n    ") + BenchFieldLine(field.name, field.text);
    for (const TFieldCheck& check : packet.checks)
        out +=
            QStringLiteral("\n    ") +
            BenchFieldLine(check.name, check.checked ? QStringLiteral("1") : QStringLiteral("0"));
    return out;
}

// A field by its place, caption and unit, beside the name scripts use.
QJsonObject namedValue(const QString& name, const QJsonValue& value) {
    const TBenchFieldCaption c = BenchFieldCaption(name).value_or(TBenchFieldCaption{});
    return {{QStringLiteral("name"), name},
            {QStringLiteral("place"), c.place},
            {QStringLiteral("caption"), c.caption},
            {QStringLiteral("value"), value},
            {QStringLiteral("unit"), c.unit}};
}

QString packetJson(const TBenchDecoded& packet) {
    QJsonObject fields;
    QJsonArray values;
    for (const TFieldText& field : packet.texts) {
        fields.insert(field.name, field.text.trimmed());
        values.append(namedValue(field.name, field.text.trimmed()));
    }
    for (const TFieldCheck& check : packet.checks) {
        fields.insert(check.name, check.checked);
        values.append(namedValue(check.name, check.checked));
    }
    const QJsonObject root{{QStringLiteral("type"), QString(QChar(packet.type))},
                           {QStringLiteral("whole"), packet.received == packet.length},
                           {QStringLiteral("crcOk"), packet.crcOk},
                           {QStringLiteral("log"), packet.logLine},
                           {QStringLiteral("fields"), fields},
                           {QStringLiteral("values"), values}};
    return QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Compact));
}

int bench(const TCliContext& context) {
    if (context.args.size() != 1)
        return UsageProblem(QStringLiteral("zi2z3 bench: нужен код команды (0…6 или 0x80)"));
    bool number = false;
    const uint code = context.args.first().toUInt(&number, 0);
    const TBenchCommand* command =
        number && code <= 0xFF ? FindBenchCommand(static_cast<std::uint8_t>(code)) : nullptr;
    if (!command)
        return UsageProblem(QStringLiteral("zi2z3 bench: нет команды «%1» (есть 0…6 и 0x80)")
                                .arg(context.args.first()));
    if (!UsePort(context))
        return kExitUsage;
    const int watchMs = std::max(context.watchSeconds, 0) * 1000;
    const TCommandResult r = Zi2z3Bench(command->code, watchMs, [&](const TBenchDecoded& packet) {
        PrintOut(context.json ? packetJson(packet) : packetText(packet));
    });
    if (r.ok() && !context.json)
        PrintError(QString::fromUtf8(command->success));
    return FinishCommand(r);
}

} // namespace

QList<TCliCommand> Zi2z3Commands() {
    const QString zi2z3 = QStringLiteral("zi2z3");
    return {
        {zi2z3, QStringLiteral("settings"),
         QStringLiteral("--port COM<n> [--set T11=N,…] [--json]"),
         QStringLiteral("сеанс и задержки T11…T23 (с --set: изменить, записать, считать снова)"),
         settings},
        {zi2z3, QStringLiteral("bench"),
         QStringLiteral("--port COM<n> КОД [--watch СЕКУНДЫ] [--json]"),
         QStringLiteral("команда стенда (0…6, 0x80); --watch: показывать его посылки N секунд"),
         bench},
    };
}
