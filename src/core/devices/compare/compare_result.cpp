#include "devices/compare/compare_result.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString MatchText() {
    return QStringLiteral("Совпадает");
}

QString CheckedText(bool checked) {
    return checked ? QStringLiteral("да") : QStringLiteral("нет");
}

QString CompareStatusText(const TCompareResult& result) {
    if (!result.complete)
        return QStringLiteral("Статус: ошибка, сравнение неполное");
    if (result.equal())
        return QStringLiteral("Статус: совпадает");
    return QStringLiteral("Статус: различий: %1").arg(result.differences.size());
}

QString VerifyStatusText(const TCompareResult& result, const QString& writeDone) {
    if (!result.complete)
        return writeDone + QStringLiteral(", но проверка записи неполная");
    if (result.equal())
        return writeDone + QStringLiteral(", устройство хранит записанное");
    return writeDone + QStringLiteral(", но устройство хранит не то, что записано");
}

QString HexWordText(std::uint16_t word) {
    return QStringLiteral("0x") +
           QString::number(word, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QString TCompareResult::verdict() const {
    if (!complete)
        return QStringLiteral("Сравнение неполное: ") + incompleteReason;
    if (differences.isEmpty())
        return MatchText();
    return QStringLiteral("Различий: %1").arg(differences.size());
}

QString CompareResultText(const TCompareResult& result) {
    QString out = result.verdict() + QLatin1Char('\n');
    for (const TDifference& d : result.differences)
        out += QStringLiteral("%1\n    %2: %3\n    %4: %5\n")
                   .arg(d.place, result.leftName, d.left, result.rightName, d.right);
    for (const QString& note : result.notes)
        out += QStringLiteral("Примечание: ") + note + QLatin1Char('\n');
    return out;
}

QByteArray CompareResultJson(const TCompareResult& result) {
    QJsonArray differences;
    for (const TDifference& d : result.differences)
        differences.append(QJsonObject{{QStringLiteral("place"), d.place},
                                       {QStringLiteral("left"), d.left},
                                       {QStringLiteral("right"), d.right}});
    const QJsonObject root{
        {QStringLiteral("equal"), result.equal()},
        {QStringLiteral("complete"), result.complete},
        {QStringLiteral("reason"), result.incompleteReason},
        {QStringLiteral("left"), result.leftName},
        {QStringLiteral("right"), result.rightName},
        {QStringLiteral("differences"), differences},
        {QStringLiteral("notes"), QJsonArray::fromStringList(result.notes)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
