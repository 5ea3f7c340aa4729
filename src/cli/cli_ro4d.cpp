// relcon4-cli ro4d …: the RO-4D commands of the page "COM и команды VI-4D".
#include "cli_ro4d_text.h"
#include "cli_table.h"
#include "devices/qv4m/param_checks.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_service.h"
#include "platform/whole_file.h"

#include <QFile>

namespace {

int readUnit(const TCliContext& context) {
    if (!UsePort(context))
        return kExitUsage;
    TRo4dUnitImage unit;
    const TCommandResult result = Ro4dRead(unit);
    if (!result.ok())
        return FinishCommand(result);
    // Read as the page reads it, but a script is told even without --log:
    // the voltages are then on a 1.x board's scale.
    if (!unit.versionRead)
        PrintError(QStringLiteral("relcon4-cli: %1: версия платы не считана: плата принята за 1.x")
                       .arg(context.port));
    if (!context.output.isEmpty()) {
        const TRo4dImage image = unit.image();
        QString problem;
        if (!platform::WriteWholeFile(
                context.output, ConfigFileBytes(image.params, image.mode, TExtraWords{}), &problem))
            return FileProblem(context.output, problem);
    }
    PrintOut(context.json ? Ro4dImageJson(unit) : Ro4dImageText(unit));
    return kExitOk;
}

// The one .qvf of write and diff, then the port. A file that is not whole is
// refused before the port is touched: a short one would leave part of the
// unit as it was, and a long one is not this format.
int fileAndPort(const TCliContext& context, TRo4dImage& image) {
    if (context.args.size() != 1)
        return UsageProblem(QStringLiteral("ro4d %1: нужен один файл .qvf").arg(context.action));
    const QString path = context.args.first();
    QString reason;
    if (!ReadConfigImage(path, image, reason))
        return FileProblem(path, reason);
    return UsePort(context) ? kExitOk : kExitUsage;
}

int writeUnit(const TCliContext& context) {
    TRo4dImage image;
    const int code = fileAndPort(context, image);
    if (code != kExitOk)
        return code;
    if (const QStringList faults = Ro4dWordFaults(image.params); !faults.isEmpty())
        return ValueProblem(context.args.first(), faults);
    const TCommandResult written = Ro4dWrite(image.params, image.mode);
    if (!written.ok() || !context.verify)
        return FinishCommand(written);
    // An acknowledged write is not yet a kept one: read it back, as the
    // page's check does.
    TRo4dUnitImage unit;
    const TCommandResult read = Ro4dRead(unit);
    return FinishVerify(CompareRo4d(unit, image, Ro4dWrittenSide()), read);
}

int diffUnit(const TCliContext& context) {
    TRo4dImage file;
    const int code = fileAndPort(context, file);
    if (code != kExitOk)
        return code;
    TRo4dUnitImage unit;
    const TCommandResult read = Ro4dRead(unit);
    return FinishCompare(context, CompareRo4d(unit, file, Ro4dFileSide()), read);
}

int flashUnit(const TCliContext& context) {
    return UsePort(context) ? FinishCommand(Ro4dSaveToFlash()) : kExitUsage;
}

int restartUnit(const TCliContext& context) {
    return UsePort(context) ? FinishCommand(Ro4dRestart()) : kExitUsage;
}

int readErrors(const TCliContext& context) {
    if (!UsePort(context))
        return kExitUsage;
    TRo4dErrors e;
    const TCommandResult result = Ro4dReadErrors(e);
    if (result.ok())
        PrintOut(context.json ? Ro4dErrorsJson(e) : Ro4dErrorsText(e));
    return FinishCommand(result);
}

} // namespace

QList<TCliCommand> Ro4dCommands() {
    const QString ro4d = QStringLiteral("ro4d");
    return {
        {ro4d, QStringLiteral("read"), QStringLiteral("--port COM<n> [-o ФАЙЛ.qvf] [--json]"),
         QStringLiteral("считать версию и параметры; -o: файл .qvf из слов блока"), readUnit},
        {ro4d, QStringLiteral("write"), QStringLiteral("--port COM<n> ФАЙЛ.qvf [--no-verify]"),
         QStringLiteral("записать параметры из файла .qvf (148 байт) и проверить чтением"),
         writeUnit},
        {ro4d, QStringLiteral("diff"), QStringLiteral("--port COM<n> ФАЙЛ.qvf [--json]"),
         QStringLiteral("сравнить блок с файлом .qvf: 0 совпадает, 1 есть различия"), diffUnit},
        {ro4d, QStringLiteral("flash"), QStringLiteral("--port COM<n>"),
         QStringLiteral("запомнить данные во FLASH-памяти блока"), flashUnit},
        {ro4d, QStringLiteral("restart"), QStringLiteral("--port COM<n>"),
         QStringLiteral("перезапустить блок"), restartUnit},
        {ro4d, QStringLiteral("errors"), QStringLiteral("--port COM<n> [--json]"),
         QStringLiteral("считать ошибки и статусы напряжений"), readErrors},
    };
}
