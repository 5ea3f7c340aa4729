#include "devices/qv2f3/bench_captions.h"

#include "devices/qv2f3/bench_packet.h"

namespace qv2f3 {

namespace {

const char* const kStatusCaptions[] = {"Статус: нет платы", "Статус: нет ответа"};
// Variants 1, 2, 3: idle and working voltages, working currents.
const char* const kVoltCaptions[] = {"Uх.ход", "Uраб", "Iраб"};
const char* const kVoltUnits[] = {"В", "В", "мА"};

} // namespace

QString BenchPlaceCaption(int place) {
    return QStringLiteral("Место %1").arg(place);
}

std::optional<TBenchFieldCaption> BenchFieldCaption(const QString& fieldName) {
    const auto times = TimeCaptions();
    for (int place = 1; place <= 2; ++place) {
        const auto status = StatusFieldNames(place);
        for (std::size_t k = 0; k < status.size(); ++k)
            if (status[k] == fieldName)
                return TBenchFieldCaption{place, QString::fromUtf8(kStatusCaptions[k]), {}};
        const auto preset = PresetFieldNames(place);
        const auto measured = MeasuredFieldNames(place);
        for (std::size_t k = 0; k < times.size(); ++k) {
            if (preset[k] == fieldName)
                return TBenchFieldCaption{place, times[k] + QStringLiteral(", Задано"),
                                          QStringLiteral("с")};
            if (measured[k] == fieldName)
                return TBenchFieldCaption{place, times[k] + QStringLiteral(", Измерено"),
                                          QStringLiteral("с")};
        }
        for (int variant = 1; variant <= 3; ++variant)
            if (VoltFieldNames(variant)[static_cast<std::size_t>(place - 1)] == fieldName)
                return TBenchFieldCaption{place, QString::fromUtf8(kVoltCaptions[variant - 1]),
                                          QString::fromUtf8(kVoltUnits[variant - 1])};
    }
    return std::nullopt;
}

QString BenchFieldLine(const QString& fieldName, const QString& value) {
    const auto c = BenchFieldCaption(fieldName);
    if (!c)
        return fieldName + QStringLiteral(": ") + value.trimmed();
    if (c->unit.isEmpty())
        return QStringLiteral("%1, %2: %3")
            .arg(BenchPlaceCaption(c->place), c->caption,
                 value == QLatin1String("1") ? QStringLiteral("да") : QStringLiteral("нет"));
    return QStringLiteral("%1, %2: %3 %4")
        .arg(BenchPlaceCaption(c->place), c->caption, value.trimmed(), c->unit);
}

} // namespace qv2f3
