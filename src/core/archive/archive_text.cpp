#include "archive/archive_text.h"

#include "archive/archive_compare.h"
#include "archive/archive_config.h"
#include "devices/compare/compare_result.h"
#include "devices/qv1m/qv1m_file.h"
#include "devices/qv4m/qv4m_files.h"
#include "devices/qv4m/ro4d_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The values as the pages show them, then every word as the unit names it.
QString ro4dText(const TArchiveRecord& r) {
    TRo4dImage image;
    QString reason;
    if (!ParseConfigImage(r.config, image, reason))
        return QStringLiteral("Конфигурация не читается: ") + reason;
    QStringList words;
    for (const QString& line :
         QString::fromLatin1(RegExportText(image.params, image.mode)).split(QStringLiteral("\r\n")))
        if (!line.trimmed().isEmpty())
            words << line.trimmed();
    QStringList extra;
    for (std::uint16_t w : image.extra)
        extra << HexWordText(w);
    return Ro4dImageText(Ro4dUnitOf(image, r.ident)) + QStringLiteral("\n\nСлова:\n") +
           words.join(QLatin1Char('\n')) + QStringLiteral("\nДополнительные слова: ") +
           extra.join(QLatin1Char(' '));
}

QString ri1rText(const QByteArray& config) {
    const TQv1mFileRead read = Qv1mParseFile(config);
    if (!read.ok)
        return QStringLiteral("Конфигурация не читается: ") + read.reason;
    QStringList lines;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const RQV1M_val1& v = read.set.channel(c)[static_cast<std::size_t>(n)];
            lines << QStringLiteral("Режим %1, канал %2: Ton %3, T6sec %4, Toff %5, флаги %6")
                         .arg(n + 1)
                         .arg(c)
                         .arg(v.wTimePrevOn)
                         .arg(v.wTime6sec)
                         .arg(v.wTimePrevOff)
                         .arg(v.bFlag);
        }
    const RQV1M_val2& s = read.set.mQV1M_s;
    lines << QStringLiteral("Задержки аварии K1, K2, K3: %1, %2, %3")
                 .arg(s.bTimePausePrevErr_K1)
                 .arg(s.bTimePausePrevErr_K2)
                 .arg(s.bTimePausePrevErr_K3)
          << QStringLiteral("Флаги: %1; пороги DO, UD, SC: %2, %3, %4; Uацп %5")
                 .arg(s.bFlagMode_E)
                 .arg(s.wBut_Lvl_DO)
                 .arg(s.wBut_Lvl_UD)
                 .arg(s.wBut_Lvl_SC)
                 .arg(s.rVolt, 0, 'f', 3);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString ArchiveRecordText(const TArchiveRecord& r) {
    QStringList lines = {
        QStringLiteral("Запись: %1").arg(r.id),
        QStringLiteral("Время: %1").arg(r.time.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))),
        QStringLiteral("Блок: %1").arg(ArchiveUnitCaption(r.unit)),
        QStringLiteral("Операция: %1").arg(r.operation),
        QStringLiteral("Результат: %1").arg(r.result),
        QStringLiteral("Порт: %1 %2").arg(r.port, r.adapter).trimmed(),
        QStringLiteral("Устройство: %1").arg(r.ident),
        QStringLiteral("Объект: %1").arg(r.object),
        QStringLiteral("Примечание: %1").arg(r.note),
        QString(),
    };
    if (r.unit == kArchiveRo4d)
        lines << ro4dText(r);
    else if (r.unit == kArchiveRi1r)
        lines << ri1rText(r.config);
    else
        lines << QString::fromUtf8(r.config).trimmed().replace(QStringLiteral("\r\n"),
                                                               QStringLiteral("\n"));
    return lines.join(QLatin1Char('\n'));
}

QString ArchiveListLine(const TArchiveRecord& r) {
    return QStringList{r.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                       ArchiveUnitCaption(r.unit),
                       r.operation,
                       r.result,
                       r.object,
                       r.port,
                       r.id}
        .join(QStringLiteral("  "));
}

QByteArray ArchiveListJson(const QList<TArchiveRecord>& records) {
    QJsonArray out;
    for (const TArchiveRecord& r : records)
        out.append(QJsonObject{{QStringLiteral("id"), r.id},
                               {QStringLiteral("time"), r.time.toString(Qt::ISODateWithMs)},
                               {QStringLiteral("unit"), r.unit},
                               {QStringLiteral("operation"), r.operation},
                               {QStringLiteral("ok"), r.ok},
                               {QStringLiteral("result"), r.result},
                               {QStringLiteral("port"), r.port},
                               {QStringLiteral("adapter"), r.adapter},
                               {QStringLiteral("ident"), r.ident},
                               {QStringLiteral("object"), r.object},
                               {QStringLiteral("note"), r.note}});
    return QJsonDocument(out).toJson(QJsonDocument::Indented);
}
