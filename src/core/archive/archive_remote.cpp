#include "archive/archive_remote.h"

#include "archive/archive_sql.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

namespace {

constexpr int kBatch = 500;

const char* const kCreate =
    "CREATE TABLE IF NOT EXISTS records (id TEXT PRIMARY KEY NOT NULL, time TEXT NOT NULL,"
    " unit TEXT NOT NULL, operation TEXT NOT NULL, ok INTEGER NOT NULL, result TEXT NOT NULL,"
    " port TEXT NOT NULL, adapter TEXT NOT NULL, ident TEXT NOT NULL, object TEXT NOT NULL,"
    " note TEXT NOT NULL, config BYTEA NOT NULL)";

QString causeOf(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return text.trimmed().isEmpty() ? QStringLiteral("ошибка сервера") : text.trimmed();
}

} // namespace

bool ParsePostgresUrl(const QString& text, TPostgresTarget& target, QString& problem) {
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("postgresql") &&
                           url.scheme() != QLatin1String("postgres"))) {
        problem = QStringLiteral("нужен адрес вида postgresql://сервер/база");
        return false;
    }
    TPostgresTarget t;
    t.host = url.host();
    t.port = url.port(5432);
    t.user = url.userName();
    t.password = url.password();
    t.database = url.path().mid(1);
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("host")))
        t.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    if (t.database.isEmpty()) {
        problem = QStringLiteral("в адресе нет имени базы");
        return false;
    }
    target = t;
    return true;
}

TArchiveRemote::TArchiveRemote()
    : connection_(QStringLiteral("archive-remote-") + QUuid::createUuid().toString()) {}

TArchiveRemote::~TArchiveRemote() {
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool TArchiveRemote::Open(const TPostgresTarget& target, QString& problem) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        problem = QStringLiteral("нет драйвера PostgreSQL для Qt (пакет libqt6sql6-psql)");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection_);
    db.setHostName(target.host);
    db.setPort(target.port);
    db.setDatabaseName(target.database);
    db.setUserName(target.user);
    db.setPassword(target.password);
    if (!db.open()) {
        problem = causeOf(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    if (!q.exec(QLatin1String(kCreate)) ||
        !q.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS records_time ON records (time)"))) {
        problem = causeOf(q.lastError());
        return false;
    }
    return true;
}

bool TArchiveRemote::Push(const TArchiveStore& local, int& added, int& present, QString& problem) {
    added = present = 0;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    const int total = local.Count();
    for (int offset = 0; offset < total; offset += kBatch) {
        const QList<TArchiveRecord> batch = local.List({}, offset, kBatch, true);
        if (!db.transaction()) {
            problem = causeOf(db.lastError());
            return false;
        }
        QSqlQuery q(db);
        // A record the server already has is left as it is there.
        q.prepare(QStringLiteral("INSERT INTO records (%1) VALUES (%2) ON CONFLICT (id) DO NOTHING")
                      .arg(ArchiveColumns(true), ArchivePlaceholders()));
        int newHere = 0;
        for (const TArchiveRecord& r : batch) {
            BindArchiveRecord(q, r);
            if (!q.exec()) {
                problem = causeOf(q.lastError());
                db.rollback();
                return false;
            }
            newHere += q.numRowsAffected() > 0 ? 1 : 0;
        }
        if (!db.commit()) {
            problem = causeOf(db.lastError());
            return false;
        }
        added += newHere;
        present += static_cast<int>(batch.size()) - newHere;
    }
    return true;
}

QList<TArchiveRecord> TArchiveRemote::List(const TArchiveFilter& filter) const {
    return ListArchiveRecords(QSqlDatabase::database(connection_, false), filter, 0, -1, false);
}
