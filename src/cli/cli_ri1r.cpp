// relcon4-cli ri1r …: the RI1-R session, its whole set in the QV1M.ini layout,
// the page's "load all settings into the unit" sequence and the session's end.
#include "cli_table.h"
#include "devices/qv1m/qv1m_checks.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv1m/ri1r_service.h"
#include "devices/qv4m/ro4d_compare.h"
#include "platform/whole_file.h"
#include "report/ri1r_report.h"

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The current mode as the page shows it (1..7): a digit outside the seven
// modes shows mode 1.
int shownMode(const TQv1mUnitRead& read) {
    return (Qv1ModeIndexValid(read.currentMode) ? read.currentMode : 0) + 1;
}

QJsonObject setJson(const TQv1mUnitRead& read) {
    QJsonArray modes;
    for (int n = 0; n < kQv1ModeCount; ++n) {
        QJsonArray channels;
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const RQV1M_val1& v = read.set.channel(c)[static_cast<std::size_t>(n)];
            channels.append(QJsonObject{{QStringLiteral("Ton"), v.wTimePrevOn},
                                        {QStringLiteral("T6sec"), v.wTime6sec},
                                        {QStringLiteral("Toff"), v.wTimePrevOff},
                                        {QStringLiteral("bFlag"), v.bFlag}});
        }
        modes.append(channels);
    }
    const RQV1M_val2& s = read.set.mQV1M_s;
    return {{QStringLiteral("device"), read.ident.trimmed()},
            {QStringLiteral("releaseDate"), read.releaseDate},
            {QStringLiteral("currentMode"), shownMode(read)},
            {QStringLiteral("modes"), modes},
            {QStringLiteral("common"),
             QJsonObject{{QStringLiteral("bTimePausePrevErr_K1"), s.bTimePausePrevErr_K1},
                         {QStringLiteral("bTimePausePrevErr_K2"), s.bTimePausePrevErr_K2},
                         {QStringLiteral("bTimePausePrevErr_K3"), s.bTimePausePrevErr_K3},
                         {QStringLiteral("bFlagMode_E"), s.bFlagMode_E},
                         {QStringLiteral("rVolt"), s.rVolt},
                         {QStringLiteral("wBut_Lvl_DO"), s.wBut_Lvl_DO},
                         {QStringLiteral("wBut_Lvl_UD"), s.wBut_Lvl_UD},
                         {QStringLiteral("wBut_Lvl_SC"), s.wBut_Lvl_SC}}}};
}

// The set's sections as the protocol names them: each mode's channels and
// the common settings, under their captions, thresholds in volts.
TReport setReport(const TQv1mUnitRead& read) {
    TRi1rReportInput input;
    input.set = read.set;
    return Ri1rReport(input, {});
}

QString setRowsText(const TQv1mUnitRead& read) {
    QStringList lines;
    for (const TReportSection& s : setReport(read).sections) {
        lines << QString() << s.title;
        for (const TReportRow& r : s.rows)
            lines << QStringLiteral("    ") + ReportRowText(r);
    }
    return lines.join(QLatin1Char('\n'));
}

QJsonArray setRowsJson(const TQv1mUnitRead& read) {
    QJsonArray rows;
    for (const TReportSection& s : setReport(read).sections)
        for (const TReportRow& r : s.rows)
            rows.append(QJsonObject{{QStringLiteral("section"), s.title},
                                    {QStringLiteral("caption"), r.caption},
                                    {QStringLiteral("value"), r.value},
                                    {QStringLiteral("unit"), r.unit}});
    return rows;
}

int readUnit(const TCliContext& context) {
    if (!UsePort(context))
        return kExitUsage;
    TQv1mUnitRead read;
    const TCommandResult result = Ri1rRead(read);
    if (!result.ok())
        return FinishCommand(result);
    if (!context.output.isEmpty()) {
        QString problem;
        if (!platform::WriteWholeFile(context.output, Qv1mFileBytes(read.set), &problem))
            return FileProblem(context.output, problem);
    }
    if (context.json) {
        QJsonObject set = setJson(read);
        set.insert(QStringLiteral("parameters"), setRowsJson(read));
        PrintOut(QString::fromUtf8(QJsonDocument(set).toJson()).trimmed());
    } else {
        PrintOut(QStringLiteral("Устройство: %1\nДата выпуска: %2\nТекущий режим: %3\n")
                     .arg(read.ident.trimmed(), read.releaseDate)
                     .arg(shownMode(read)) +
                 setRowsText(read));
    }
    return kExitOk;
}

// The one QV1M.ini of write and diff, then the port. A file the page would
// refuse is refused here too, before the port is touched.
int fileAndPort(const TCliContext& context, TQv1mFileRead& parsed) {
    if (context.args.size() != 1)
        return UsageProblem(
            QStringLiteral("ri1r %1: нужен один файл QV1M.ini").arg(context.action));
    const QString path = context.args.first();
    parsed = Qv1mReadFile(path);
    if (!parsed.ok)
        return FileProblem(path, parsed.tooShort
                                     ? QStringLiteral("меньше %1 строк").arg(kQv1mFileLines)
                                 : parsed.reason.isEmpty() ? parsed.openProblem
                                                           : parsed.reason);
    return UsePort(context) ? kExitOk : kExitUsage;
}

int writeUnit(const TCliContext& context) {
    TQv1mFileRead parsed;
    const int code = fileAndPort(context, parsed);
    if (code != kExitOk)
        return code;
    if (const QStringList faults = Qv1mSetFaults(parsed.set); !faults.isEmpty())
        return ValueProblem(context.args.first(), faults);
    const QDate today = QDate::currentDate();
    const TCommandResult written =
        Ri1rWriteSet(parsed.set, today.day(), today.month(), today.year());
    if (!written.ok() || !context.verify)
        return FinishCommand(written);
    // Read back in a session of its own, which is ended again, as the page's
    // check after the whole set leaves the unit.
    TQv1mUnitRead unit;
    const TCommandResult read = Ri1rRead(unit);
    if (read.ok()) {
        const TCommandResult ended = Ri1rEndSession(false);
        if (!ended.ok())
            return FinishCommand(ended);
    }
    return FinishVerify(
        CompareRi1r(unit, parsed.set, QStringLiteral("Записано"), parsed.set.mQV1M_s.rVolt), read);
}

// The page's compare with a file: the session read, the file's voltage
// reference for the thresholds (the page has none here).
int diffUnit(const TCliContext& context) {
    TQv1mFileRead parsed;
    const int code = fileAndPort(context, parsed);
    if (code != kExitOk)
        return code;
    TQv1mUnitRead unit;
    const TCommandResult read = Ri1rRead(unit);
    return FinishCompare(
        context, CompareRi1r(unit, parsed.set, Ro4dFileSide(), parsed.set.mQV1M_s.rVolt), read);
}

int endSession(const TCliContext& context) {
    return UsePort(context)
               ? FinishCommand(Ri1rEndSession(context.action == QLatin1String("restart")))
               : kExitUsage;
}

} // namespace

QList<TCliCommand> Ri1rCommands() {
    const QString ri1r = QStringLiteral("ri1r");
    return {
        {ri1r, QStringLiteral("read"), QStringLiteral("--port COM<n> [-o QV1M.ini] [--json]"),
         QStringLiteral("начать сеанс и считать все режимы и настройки"), readUnit},
        {ri1r, QStringLiteral("write"), QStringLiteral("--port COM<n> QV1M.ini [--no-verify]"),
         QStringLiteral("загрузить все настройки из файла в устройство (как кнопка страницы) "
                        "и проверить чтением"),
         writeUnit},
        {ri1r, QStringLiteral("diff"), QStringLiteral("--port COM<n> QV1M.ini [--json]"),
         QStringLiteral("сравнить устройство с файлом: 0 совпадает, 1 есть различия"), diffUnit},
        {ri1r, QStringLiteral("end"), QStringLiteral("--port COM<n>"),
         QStringLiteral("завершить сеанс"), endSession},
        {ri1r, QStringLiteral("restart"), QStringLiteral("--port COM<n>"),
         QStringLiteral("завершить сеанс и перезапустить устройство"), endSession},
    };
}
