#include "archive/archive_sql.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <limits>

namespace {

const QStringList kColumns = {
    QStringLiteral("id"),        QStringLiteral("time"),    QStringLiteral("unit"),
    QStringLiteral("operation"), QStringLiteral("ok"),      QStringLiteral("result"),
    QStringLiteral("port"),      QStringLiteral("adapter"), QStringLiteral("ident"),
    QStringLiteral("object"),    QStringLiteral("note"),    QStringLiteral("config"),
};
// The configuration is the last column, so a list without it stops before.
constexpr int kConfigColumn = 11;

// The WHERE clause of a filter, its values in values; the same SQL serves
// SQLite and PostgreSQL.
QString where(const TArchiveFilter& f, QVariantList& values) {
    QStringList parts;
    if (!f.object.isEmpty()) {
        parts << QStringLiteral("object = ?");
        values << f.object;
    }
    if (!f.unit.isEmpty()) {
        parts << QStringLiteral("unit = ?");
        values << f.unit;
    }
    if (f.from.isValid()) {
        parts << QStringLiteral("time >= ?");
        values << f.from.toString(Qt::ISODate);
    }
    if (f.to.isValid()) {
        parts << QStringLiteral("time < ?");
        values << f.to.addDays(1).toString(Qt::ISODate);
    }
    if (!f.text.isEmpty()) {
        QStringList any;
        for (const char* c :
             {"operation", "result", "ident", "port", "adapter", "object", "note"}) {
            any << QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(QLatin1String(c));
            QString escaped = f.text;
            escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('%'), QStringLiteral("\\%"))
                .replace(QLatin1Char('_'), QStringLiteral("\\_"));
            values << QLatin1Char('%') + escaped + QLatin1Char('%');
        }
        parts << QLatin1Char('(') + any.join(QStringLiteral(" OR ")) + QLatin1Char(')');
    }
    return parts.isEmpty() ? QString()
                           : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

// A query of the filter's WHERE clause, its values bound.
bool runFiltered(QSqlQuery& q, const QString& head, const TArchiveFilter& f, const QString& tail) {
    QVariantList values;
    q.setForwardOnly(true);
    q.prepare(head + where(f, values) + tail);
    for (const QVariant& v : values)
        q.addBindValue(v);
    return q.exec();
}

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

namespace {

// Every column is NOT NULL: an unset text is stored empty.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

} // namespace

void BindArchiveRecord(QSqlQuery& query, const TArchiveRecord& r) {
    query.bindValue(QStringLiteral(":id"), text(r.id));
    query.bindValue(QStringLiteral(":time"), ArchiveTimeText(r.time));
    query.bindValue(QStringLiteral(":unit"), text(r.unit));
    query.bindValue(QStringLiteral(":operation"), text(r.operation));
    query.bindValue(QStringLiteral(":ok"), r.ok ? 1 : 0);
    query.bindValue(QStringLiteral(":result"), text(r.result));
    query.bindValue(QStringLiteral(":port"), text(r.port));
    query.bindValue(QStringLiteral(":adapter"), text(r.adapter));
    query.bindValue(QStringLiteral(":ident"), text(r.ident));
    query.bindValue(QStringLiteral(":object"), text(r.object));
    query.bindValue(QStringLiteral(":note"), text(r.note));
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

QList<TArchiveRecord> ListArchiveRecords(const QSqlDatabase& db, const TArchiveFilter& filter,
                                         int offset, int limit, bool withConfig) {
    QList<TArchiveRecord> out;
    QSqlQuery q(db);
    const QString tail = QStringLiteral(" ORDER BY time DESC, id LIMIT %1 OFFSET %2")
                             .arg(limit < 0 ? std::numeric_limits<int>::max() : limit)
                             .arg(offset);
    if (!runFiltered(q, QStringLiteral("SELECT %1 FROM records").arg(ArchiveColumns(withConfig)),
                     filter, tail))
        return out;
    while (q.next())
        out << ArchiveRecordOf(q, withConfig);
    return out;
}

int CountArchiveRecords(const QSqlDatabase& db, const TArchiveFilter& filter) {
    QSqlQuery q(db);
    return runFiltered(q, QStringLiteral("SELECT COUNT(*) FROM records"), filter, QString()) &&
                   q.next()
               ? q.value(0).toInt()
               : 0;
}
