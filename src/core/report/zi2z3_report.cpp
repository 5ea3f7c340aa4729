#include "report/zi2z3_report.h"

#include "devices/qv2f3/bench_packet.h"

namespace {

// A field as the page shows it: what the last packet put there, else the
// page's initial text.
QString fieldText(const TBenchConfig& bench, const QString& name, const QString& initial) {
    QString text = initial;
    for (const qv2f3::TFieldText& f : bench.fields)
        if (f.name == name)
            text = f.text.trimmed();
    return text;
}

TReportSection placeSection(const TBenchConfig& bench, int place) {
    TReportSection s{QStringLiteral("Проверочный стенд. Место %1").arg(place), {}, {}};
    const auto status = qv2f3::StatusFieldNames(place);
    const QString statusCaptions[] = {QStringLiteral("нет платы"), QStringLiteral("нет ответа")};
    for (std::size_t k = 0; k < status.size(); ++k)
        s.rows << TReportRow{
            QStringLiteral("Статус: ") + statusCaptions[k],
            YesNo(fieldText(bench, status[k], QStringLiteral("0")) == QLatin1String("1")),
            {}};
    const auto captions = qv2f3::TimeCaptions();
    const auto preset = qv2f3::PresetFieldNames(place);
    const auto measured = qv2f3::MeasuredFieldNames(place);
    for (std::size_t k = 0; k < captions.size(); ++k)
        s.rows << TReportRow{captions[k] + QStringLiteral(", Задано"),
                             fieldText(bench, preset[k], QStringLiteral("0")), QStringLiteral("с")}
               << TReportRow{captions[k] + QStringLiteral(", Измерено"),
                             fieldText(bench, measured[k], QStringLiteral("0")),
                             QStringLiteral("с")};
    const QString volts[] = {QStringLiteral("Uх.ход"), QStringLiteral("Uраб"),
                             QStringLiteral("Iраб")};
    const QString units[] = {QStringLiteral("В"), QStringLiteral("В"), QStringLiteral("мА")};
    for (int variant = 1; variant <= 3; ++variant)
        s.rows << TReportRow{
            volts[variant - 1],
            fieldText(bench, qv2f3::VoltFieldNames(variant)[static_cast<std::size_t>(place - 1)],
                      QStringLiteral("0.00")),
            units[variant - 1]};
    return s;
}

} // namespace

TReport Zi2z3Report(const TZi2z3ReportInput& input, const TReportHeader& header) {
    TReport r;
    r.title = QStringLiteral("Протокол испытания на стенде ZI2-Z3");
    r.header << TReportRow{QStringLiteral("Устройство"),
                           input.ident.isEmpty() ? QStringLiteral("-") : input.ident.trimmed(),
                           {}}
             << ReportHeaderRows(header);
    // The page's rows; its columns are the two channels (T1x, T2x).
    const QString rows[] = {
        QStringLiteral("Время задержки включения реле при появлении напряжения"),
        QStringLiteral("Время задержки выключения реле при снятии напряжения"),
        QStringLiteral("Автовыключение реле после временной задержки")};
    TReportSection delays{QStringLiteral("Настройки режимов"), {}, {}};
    for (int channel = 1; channel <= 2; ++channel)
        for (std::size_t row = 0; row < 3; ++row)
            delays.rows << TReportRow{
                rows[row] + QStringLiteral(", Канал %1 (T%1%2)").arg(channel).arg(row + 1),
                QString::number(
                    input.bench.delays[static_cast<std::size_t>(channel - 1) * 3 + row]),
                QStringLiteral("с")};
    r.sections << delays << placeSection(input.bench, 1) << placeSection(input.bench, 2);
    r.signature = ReportSignatureLine();
    return r;
}
