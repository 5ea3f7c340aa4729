#include "archive/archive_store.h"

#include "archive/archive_sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <utility>

namespace {

// Each step brings the schema from its index to the next version.
const char* const kMigrations[] = {
    // 1: the records.
    "CREATE TABLE records (id TEXT PRIMARY KEY NOT NULL, time TEXT NOT NULL, unit TEXT NOT NULL,"
    " operation TEXT NOT NULL, ok INTEGER NOT NULL, result TEXT NOT NULL, port TEXT NOT NULL,"
    " adapter TEXT NOT NULL, ident TEXT NOT NULL, object TEXT NOT NULL, note TEXT NOT NULL,"
    " config BLOB NOT NULL);"
    "CREATE INDEX records_time ON records (time)",
    // 2: the window's object list and filter.
    "CREATE INDEX records_object ON records (object, time)",
};
constexpr int kSchemaVersion = static_cast<int>(std::size(kMigrations));

// SQLite's result codes that mean the file itself is not a sound database.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADb = 26;
// How long a write waits for another copy's transaction to end.
constexpr int kBusyWaitMs = 5000;

QSqlDatabase database(const QString& connection) {
    return QSqlDatabase::database(connection, false);
}

int nativeCode(const QSqlError& error) {
    return error.nativeErrorCode().toInt();
}

bool isDamage(const QSqlError& error) {
    const int code = nativeCode(error) & 0xFF;
    return code == kSqliteCorrupt || code == kSqliteNotADb;
}

QString causeOf(const QSqlError& error) {
    return ArchiveSqlCause(nativeCode(error), error.databaseText().isEmpty()
                                                  ? error.driverText()
                                                  : error.databaseText());
}

bool run(QSqlQuery& query, const QString& sql, QString* problem) {
    if (query.exec(sql))
        return true;
    if (problem)
        *problem = causeOf(query.lastError());
    return false;
}

QString dated(const QString& path) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    return aside;
}

} // namespace

QString ArchiveSqlCause(int code, const QString& driverText) {
    QString plain;
    switch (code & 0xFF) {
    case 5:
    case 6:
        plain = QStringLiteral("база занята другой копией программы");
        break;
    case 8:
        plain = QStringLiteral("нет права на запись");
        break;
    case 10:
        plain = QStringLiteral("ошибка чтения или записи на диск");
        break;
    case 13:
        plain = QStringLiteral("диск заполнен");
        break;
    case 14:
        plain = QStringLiteral("файл не удаётся открыть или создать");
        break;
    case kSqliteCorrupt:
    case kSqliteNotADb:
        plain = QStringLiteral("файл повреждён или это не база данных");
        break;
    default:
        break;
    }
    if (plain.isEmpty())
        return driverText.isEmpty() ? QStringLiteral("ошибка базы данных") : driverText;
    return driverText.isEmpty() ? plain : QStringLiteral("%1 (%2)").arg(plain, driverText);
}

TArchiveStore::TArchiveStore(const QString& path)
    : path_(path), connection_(QStringLiteral("archive-") + QUuid::createUuid().toString()) {}

TArchiveStore::~TArchiveStore() {
    close();
}

int TArchiveStore::SchemaVersion() {
    return kSchemaVersion;
}

void TArchiveStore::close() {
    open_ = false;
    if (QSqlDatabase::contains(connection_)) {
        database(connection_).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool TArchiveStore::openFile(QString* problem, bool& damaged) {
    damaged = false;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        *problem = QStringLiteral("нет драйвера SQLite для Qt (пакет libqt6sql6-sqlite)");
        return false;
    }
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        *problem = QStringLiteral("папку %1 не удаётся создать").arg(folder);
        return false;
    }
    // A journal left with frames in it means the last copy did not end
    // cleanly (or another one runs): then the whole file is checked. A clean
    // one is only read far enough to tell a foreign file; damage found later
    // is dealt with where it shows.
    const bool unclean = QFileInfo(path_ + QStringLiteral("-wal")).size() > 0;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyWaitMs));
    if (!db.open()) {
        *problem = causeOf(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    const QString check = unclean ? QStringLiteral("PRAGMA integrity_check")
                                  : QStringLiteral("SELECT 'ok' FROM sqlite_master LIMIT 1");
    if (!q.exec(check)) {
        damaged = isDamage(q.lastError());
        *problem = causeOf(q.lastError());
        return false;
    }
    if (q.next() && q.value(0).toString() != QLatin1String("ok")) {
        damaged = true;
        *problem = QStringLiteral("файл не прошёл проверку целостности");
        return false;
    }
    // WAL: readers never wait for the writer, and a killed write leaves the
    // file as it was before that transaction.
    return run(q, QStringLiteral("PRAGMA journal_mode=WAL"), problem) &&
           run(q, QStringLiteral("PRAGMA synchronous=NORMAL"), problem) && migrate(problem);
}

bool TArchiveStore::moveAside(const QString& cause, QString* problem) {
    close();
    const QString aside = dated(path_);
    if (!QFile::rename(path_, aside)) {
        if (problem)
            *problem =
                QStringLiteral("%1; отложить его под именем %2 не удалось").arg(cause, aside);
        return false;
    }
    // The journal belongs to the file moved aside.
    for (const char* part : {"-wal", "-shm"})
        if (QFile::exists(path_ + QLatin1String(part)))
            QFile::rename(path_ + QLatin1String(part), aside + QLatin1String(part));
    movedAside_ = aside;
    damageCause_ = cause;
    return true;
}

QString TArchiveStore::TakeMovedAside(QString* cause) {
    if (cause)
        *cause = damageCause_;
    return std::exchange(movedAside_, QString());
}

bool TArchiveStore::Open(QString* problem) {
    QString cause;
    bool damaged = false;
    if (open_)
        return true;
    open_ = openFile(&cause, damaged);
    if (!open_ && damaged) {
        if (!moveAside(cause, problem))
            return false;
        open_ = openFile(&cause, damaged);
    }
    if (!open_) {
        close();
        if (problem)
            *problem = cause;
    }
    return open_;
}

bool TArchiveStore::migrate(QString* problem) {
    QSqlDatabase db = database(connection_);
    QSqlQuery q(db);
    if (!run(q, QStringLiteral("PRAGMA user_version"), problem) || !q.next())
        return false;
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion) {
        *problem =
            QStringLiteral("архив записан более новой версией программы (схема %1)").arg(version);
        return false;
    }
    for (int step = version; step < kSchemaVersion; ++step) {
        if (!db.transaction()) {
            *problem = causeOf(db.lastError());
            return false;
        }
        bool ok = true;
        for (const QString& sql :
             QString::fromLatin1(kMigrations[step]).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            ok = ok && run(q, sql, problem);
        ok = ok && run(q, QStringLiteral("PRAGMA user_version=%1").arg(step + 1), problem);
        if (!ok || !db.commit()) {
            if (ok)
                *problem = causeOf(db.lastError());
            db.rollback();
            return false;
        }
    }
    return true;
}

bool TArchiveStore::Add(const TArchiveRecord& record, QString* problem) {
    bool damaged = false;
    if (insert(record, problem, damaged))
        return true;
    // Damage that only a write finds: the file goes aside, the record into a new one.
    return damaged && moveAside(problem ? *problem : QString(), problem) &&
           insert(record, problem, damaged);
}

bool TArchiveStore::insert(const TArchiveRecord& record, QString* problem, bool& damaged) {
    QString cause;
    if (!open_ && !Open(&cause)) {
        if (problem)
            *problem = cause;
        return false;
    }
    QSqlDatabase db = database(connection_);
    // One transaction: a power loss keeps the record whole or not at all.
    bool ok = db.transaction();
    if (ok) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("INSERT INTO records (%1) VALUES (%2)")
                      .arg(ArchiveColumns(true), ArchivePlaceholders()));
        BindArchiveRecord(q, record);
        ok = q.exec();
        if (!ok) {
            cause = causeOf(q.lastError());
            damaged = isDamage(q.lastError());
        }
        ok = ok && db.commit();
    }
    if (!ok) {
        if (cause.isEmpty()) {
            cause = causeOf(db.lastError());
            damaged = isDamage(db.lastError());
        }
        db.rollback();
        if (problem)
            *problem = cause;
    }
    return ok;
}

QList<TArchiveRecord> TArchiveStore::List(const TArchiveFilter& filter, int offset, int limit,
                                          bool withConfig) const {
    if (!open_)
        return {};
    return ListArchiveRecords(database(connection_), filter, offset, limit, withConfig);
}

int TArchiveStore::Count(const TArchiveFilter& filter) const {
    return open_ ? CountArchiveRecords(database(connection_), filter) : 0;
}

std::optional<TArchiveRecord> TArchiveStore::Find(const QString& id) const {
    if (!open_)
        return std::nullopt;
    QSqlQuery q(database(connection_));
    q.prepare(QStringLiteral("SELECT %1 FROM records WHERE id = ?").arg(ArchiveColumns(true)));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return ArchiveRecordOf(q, true);
}

QStringList TArchiveStore::Objects() const {
    QStringList out;
    if (!open_)
        return out;
    QSqlQuery q(database(connection_));
    if (q.exec(QStringLiteral(
            "SELECT DISTINCT object FROM records WHERE object <> '' ORDER BY object")))
        while (q.next())
            out << q.value(0).toString();
    return out;
}

void LoadArchiveDriver() {
    const QString driver = QStringLiteral("QSQLITE");
    if (!QSqlDatabase::isDriverAvailable(driver))
        return;
    const QString connection = QStringLiteral("relcon4-driver-load");
    // The driver stays loaded once the connection is gone.
    QSqlDatabase::addDatabase(driver, connection);
    QSqlDatabase::removeDatabase(connection);
}
