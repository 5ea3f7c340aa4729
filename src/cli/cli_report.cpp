// relcon4-cli ro4d|ri1r|zi2z3 report: the commissioning protocol as PDF, made
// from the unit (--port), a file (--file) or an archive record (--archive).
#include "archive/archive_config.h"
#include "archive/archive_recorder.h"
#include "cli_table.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/ri1r_service.h"
#include "devices/qv2f3/bench_frames.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_protocol.h"
#include "devices/qv4m/ro4d_service.h"
#include "report/report_pdf.h"
#include "report/ri1r_report.h"
#include "report/ro4d_report.h"
#include "report/zi2z3_report.h"

#include <QDateTime>
#include <QFileInfo>
#include <optional>

namespace {

enum class TSource { Port, File, Archive };

// The one source the protocol is made from, and the header it starts with;
// nothing when the command line is not usable (the message is out).
std::optional<TSource> sourceOf(const TCliContext& context, TReportHeader& header) {
    const QString name = context.device + QStringLiteral(" report");
    if (context.output.isEmpty()) {
        UsageProblem(name + QStringLiteral(": нужен -o ФАЙЛ.pdf"));
        return std::nullopt;
    }
    const int given = int(!context.port.isEmpty()) + int(!context.file.isEmpty()) +
                      int(!context.archive.isEmpty());
    if (given != 1) {
        UsageProblem(name + QStringLiteral(": нужен один источник: --port, --file или --archive"));
        return std::nullopt;
    }
    header.when = QDateTime::currentDateTime();
    header.object = context.object;
    header.technician = context.technician;
    header.port = context.port;
    if (!context.file.isEmpty()) {
        header.source = QStringLiteral("файл ") + QFileInfo(context.file).fileName();
        return TSource::File;
    }
    if (!context.archive.isEmpty()) {
        header.source = QStringLiteral("запись архива ") + context.archive;
        return TSource::Archive;
    }
    header.source = QStringLiteral("чтение устройства");
    return TSource::Port;
}

// The archive record, of the command's own unit kind.
std::optional<TArchiveRecord> recordOf(const TCliContext& context, const QString& unit,
                                       TReportHeader& header) {
    std::optional<TArchiveRecord> record = FindCliArchiveRecord(context.archive);
    if (!record)
        return std::nullopt;
    if (record->unit != unit) {
        PrintError(
            QStringLiteral("relcon4-cli: запись %1 — не %2, а %3")
                .arg(context.archive, ArchiveUnitCaption(unit), ArchiveUnitCaption(record->unit)));
        return std::nullopt;
    }
    header.port = record->port;
    if (header.object.isEmpty())
        header.object = record->object;
    header.source +=
        QStringLiteral(" (%1, %2)")
            .arg(record->operation, record->time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
    return record;
}

int writePdf(const TCliContext& context, const TReport& report) {
    QString problem;
    if (!WriteReportPdf(report, context.output, &problem))
        return FileProblem(context.output, problem);
    return kExitOk;
}

int ro4dReport(const TCliContext& context) {
    TReportHeader header;
    const auto source = sourceOf(context, header);
    if (!source)
        return kExitUsage;
    TRo4dReportInput input;
    QString reason;
    if (*source == TSource::File) {
        if (!ReadConfigImage(context.file, input.image, reason))
            return FileProblem(context.file, reason);
    } else if (*source == TSource::Archive) {
        const auto record = recordOf(context, kArchiveRo4d, header);
        if (!record)
            return kExitFile;
        if (!ParseConfigImage(record->config, input.image, reason))
            return FileProblem(context.archive, reason);
        input.version = record->ident;
        input.bVers = BoardGeneration(record->ident);
    } else {
        // A file named beside the port is compared with what the unit holds.
        TRo4dImage compared;
        if (context.args.size() > 1)
            return UsageProblem(QStringLiteral("ro4d report: сравнивается не больше одного файла"));
        if (!context.args.isEmpty() && !ReadConfigImage(context.args.first(), compared, reason))
            return FileProblem(context.args.first(), reason);
        if (!UsePort(context))
            return kExitUsage;
        TRo4dUnitImage unit;
        const TCommandResult read = Ro4dRead(unit);
        if (!read.ok())
            return FinishCommand(read);
        input.image = unit.image();
        input.bVers = unit.bVers;
        input.version = unit.version;
        if (!context.args.isEmpty()) {
            input.check = CompareRo4d(unit, compared, Ro4dFileSide());
            input.checkTitle =
                QStringLiteral("Сравнение с файлом ") + QFileInfo(context.args.first()).fileName();
        }
    }
    return writePdf(context, Ro4dReport(input, header));
}

int ri1rReport(const TCliContext& context) {
    TReportHeader header;
    const auto source = sourceOf(context, header);
    if (!source)
        return kExitUsage;
    TRi1rReportInput input;
    if (*source == TSource::Port) {
        if (!UsePort(context))
            return kExitUsage;
        TQv1mUnitRead read;
        const TCommandResult result = Ri1rRead(read);
        if (!result.ok())
            return FinishCommand(result);
        input.ident = read.ident;
        input.releaseDate = read.releaseDate;
        input.set = read.set;
    } else {
        QByteArray bytes;
        QString where = context.file;
        if (*source == TSource::Archive) {
            const auto record = recordOf(context, kArchiveRi1r, header);
            if (!record)
                return kExitFile;
            bytes = record->config;
            input.ident = record->ident;
            where = context.archive;
        }
        const TQv1mFileRead read =
            *source == TSource::File ? Qv1mReadFile(context.file) : Qv1mParseFile(bytes);
        if (!read.ok)
            return FileProblem(where, read.reason.isEmpty()
                                          ? QStringLiteral("файл не прочитан как набор настроек")
                                          : read.reason);
        input.set = read.set;
        input.vref = read.set.mQV1M_s.rVolt;
    }
    return writePdf(context, Ri1rReport(input, header));
}

int zi2z3Report(const TCliContext& context) {
    TReportHeader header;
    const auto source = sourceOf(context, header);
    if (!source)
        return kExitUsage;
    if (*source == TSource::File)
        return UsageProblem(QStringLiteral("zi2z3 report: протокол стенда — из --port или "
                                           "--archive"));
    TZi2z3ReportInput input;
    if (*source == TSource::Archive) {
        const auto record = recordOf(context, kArchiveZi2z3, header);
        if (!record)
            return kExitFile;
        if (!ParseBenchConfig(record->config, input.bench))
            return FileProblem(context.archive, QStringLiteral("конфигурация стенда не читается"));
        input.ident = record->ident;
        return writePdf(context, Zi2z3Report(input, header));
    }
    // A bench command named after report is run, and its packets watched
    // (--watch seconds), before the protocol is made.
    std::optional<std::uint8_t> code;
    if (context.args.size() > 1)
        return UsageProblem(QStringLiteral("zi2z3 report: не больше одного кода команды"));
    if (!context.args.isEmpty()) {
        bool number = false;
        const uint value = context.args.first().toUInt(&number, 0);
        if (!number || value > 0xFF || !qv2f3::FindBenchCommand(static_cast<std::uint8_t>(value)))
            return UsageProblem(QStringLiteral("zi2z3 report: нет команды «%1» (есть 0…6 и 0x80)")
                                    .arg(context.args.first()));
        code = static_cast<std::uint8_t>(value);
    }
    if (!UsePort(context))
        return kExitUsage;
    TCommandResult result = Zi2z3ReadSettings(input.ident, input.bench.delays);
    if (!result.ok())
        return FinishCommand(result);
    if (code) {
        result =
            Zi2z3Bench(*code, std::max(context.watchSeconds, 0) * 1000,
                       [&](const qv2f3::TBenchDecoded& packet) {
                           for (const qv2f3::TFieldText& f : packet.texts)
                               input.bench.fields.push_back(f);
                           for (const qv2f3::TFieldCheck& c : packet.checks)
                               input.bench.fields.push_back(
                                   {c.name, c.checked ? QStringLiteral("1") : QStringLiteral("0")});
                       });
        if (!result.ok())
            return FinishCommand(result);
    }
    return writePdf(context, Zi2z3Report(input, header));
}

QString synopsis(const QString& extra) {
    return QStringLiteral("--port COM<n>%1 | --file ФАЙЛ | --archive ID  -o ФАЙЛ.pdf "
                          "[--object ОБЪЕКТ] [--technician ТЕХНИК]")
        .arg(extra);
}

} // namespace

QList<TCliCommand> ReportCommands() {
    const QString report = QStringLiteral("report");
    return {
        {QStringLiteral("ro4d"), report, synopsis(QStringLiteral(" [ФАЙЛ.qvf]")),
         QStringLiteral("протокол настройки в PDF; с файлом .qvf: и сравнение с ним"), ro4dReport},
        {QStringLiteral("ri1r"), report, synopsis(QString()),
         QStringLiteral("протокол настройки в PDF (файл: QV1M.ini)"), ri1rReport},
        {QStringLiteral("zi2z3"), report,
         QStringLiteral("--port COM<n> [КОД --watch СЕКУНДЫ] | --archive ID  -o ФАЙЛ.pdf "
                        "[--object ОБЪЕКТ] [--technician ТЕХНИК]"),
         QStringLiteral("протокол испытания в PDF; с кодом: сначала команда стенда"), zi2z3Report},
    };
}
