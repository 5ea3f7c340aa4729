#include "archive/archive_sql.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

const QStringList kColumns = {
    QStringLiteral("id"),        QStringLiteral("time"),    QStringLiteral("unit"),
    QStringLiteral("operation"), QStringLiteral("ok"),      QStringLiteral("result"),
    QStringLiteral("port"),      QStringLiteral("adapter"), QStringLiteral("ident"),
    QStringLiteral("object"),    QStringLiteral("note"),    QStringLiteral("config"),
};
// The configuration is the last column, so a list without it stops before.
constexpr int kConfigColumn = 11;

} // namespace

QString ArchiveColumns(bool withConfig) {
    return (withConfig ? kColumns : kColumns.mid(0, kConfigColumn)).join(QStringLiteral(", "));
}

QString ArchivePlaceholders() {
    QStringList names;
    for (const QString& c : kColumns)
        names << QLatin1Char(':') + c;
    return names.join(QStringLiteral(", "));
}

QString ArchiveTimeText(const QDateTime& time) {
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
}

void BindArchiveRecord(QSqlQuery& query, const TArchiveRecord& r) {
    query.bindValue(QStringLiteral(":id"), r.id);
    query.bindValue(QStringLiteral(":time"), ArchiveTimeText(r.time));
    query.bindValue(QStringLiteral(":unit"), r.unit);
    query.bindValue(QStringLiteral(":operation"), r.operation);
    query.bindValue(QStringLiteral(":ok"), r.ok ? 1 : 0);
    query.bindValue(QStringLiteral(":result"), r.result);
    query.bindValue(QStringLiteral(":port"), r.port);
    query.bindValue(QStringLiteral(":adapter"), r.adapter);
    query.bindValue(QStringLiteral(":ident"), r.ident);
    query.bindValue(QStringLiteral(":object"), r.object);
    query.bindValue(QStringLiteral(":note"), r.note);
    // Never a null: an empty configuration is still bytes.
    query.bindValue(QStringLiteral(":config"), r.config.isNull() ? QByteArray("") : r.config);
}

TArchiveRecord ArchiveRecordOf(const QSqlQuery& q, bool withConfig) {
    TArchiveRecord r;
    r.id = q.value(0).toString();
    r.time =
        QDateTime::fromString(q.value(1).toString(), QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    r.unit = q.value(2).toString();
    r.operation = q.value(3).toString();
    r.ok = q.value(4).toInt() != 0;
    r.result = q.value(5).toString();
    r.port = q.value(6).toString();
    r.adapter = q.value(7).toString();
    r.ident = q.value(8).toString();
    r.object = q.value(9).toString();
    r.note = q.value(10).toString();
    if (withConfig)
        r.config = q.value(kConfigColumn).toByteArray();
    return r;
}
