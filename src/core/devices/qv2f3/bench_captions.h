// The bench page's fields named as a person reads them: the place, the
// column heading and whether a time is preset or measured, and the unit. The
// protocol and the command line's packet printout name the fields with it.
#pragma once

#include <QString>
#include <optional>

namespace qv2f3 {

struct TBenchFieldCaption {
    int place = 0; // 1 or 2
    QString caption; // within the place: "Ton11, Измерено", "Uх.ход", "Статус: нет платы"
    QString unit; // "с", "В", "мА"; empty for a status box
};

// The caption of a place field (a name of bench_packet.h); nothing for
// another name.
std::optional<TBenchFieldCaption> BenchFieldCaption(const QString& fieldName);
// "Место 1".
QString BenchPlaceCaption(int place);
// "Место 1, Ton11, Измерено: 5.03 с", the text trimmed; a status box's
// value "1"/"0" reads "да"/"нет". The name itself for an unknown field.
QString BenchFieldLine(const QString& fieldName, const QString& value);

} // namespace qv2f3
