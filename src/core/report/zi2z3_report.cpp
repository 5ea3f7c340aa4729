#include "report/zi2z3_report.h"

#include "devices/qv2f3/bench_captions.h"
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

TReportRow fieldRow(const TBenchConfig& bench, const QString& name, const QString& initial) {
    const qv2f3::TBenchFieldCaption c =
        qv2f3::BenchFieldCaption(name).value_or(qv2f3::TBenchFieldCaption{0, name, {}});
    const QString text = fieldText(bench, name, initial);
    // A status box's "1" / "0".
    return {c.caption, c.unit.isEmpty() ? YesNo(text == QLatin1String("1")) : text, c.unit};
}

// The place's fields in the page's order: the status boxes, each time preset
// then measured, the voltages and the current.
TReportSection placeSection(const TBenchConfig& bench, int place) {
    TReportSection s{
        QStringLiteral("Проверочный стенд. ") + qv2f3::BenchPlaceCaption(place), {}, {}};
    const QString zero = QStringLiteral("0");
    for (const QString& name : qv2f3::StatusFieldNames(place))
        s.rows << fieldRow(bench, name, zero);
    const auto preset = qv2f3::PresetFieldNames(place);
    const auto measured = qv2f3::MeasuredFieldNames(place);
    for (std::size_t k = 0; k < preset.size(); ++k)
        s.rows << fieldRow(bench, preset[k], zero) << fieldRow(bench, measured[k], zero);
    for (int variant = 1; variant <= 3; ++variant)
        s.rows << fieldRow(bench,
                           qv2f3::VoltFieldNames(variant)[static_cast<std::size_t>(place - 1)],
                           QStringLiteral("0.00"));
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
