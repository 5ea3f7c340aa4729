// The archive's SQLite file (Qt SQL, QSQLITE): write-ahead logging, a schema
// version with its migrations, one transaction per record. Another copy of
// the program writing at the same time waits its turn instead of failing.
#pragma once

#include "archive/archive_record.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class TArchiveStore {
public:
    explicit TArchiveStore(const QString& path);
    ~TArchiveStore();
    TArchiveStore(const TArchiveStore&) = delete;
    TArchiveStore& operator=(const TArchiveStore&) = delete;

    // Opens the file, making its folder and the file when missing, and brings
    // the schema up to date. A file that is no SQLite database, or fails its
    // integrity check after a copy ended without closing it, is moved aside
    // under a dated name and a new one is begun; it is never deleted. False
    // with the cause in Russian in problem when the file cannot be opened or made.
    bool Open(QString* problem);
    // The dated name a damaged file was last moved aside to (and why), once;
    // empty when none was.
    QString TakeMovedAside(QString* cause = nullptr);
    bool IsOpen() const { return open_; }
    QString Path() const { return path_; }

    // The record in one transaction; false with the cause, nothing kept. A
    // file a write finds damaged is moved aside and the record goes into a new one.
    bool Add(const TArchiveRecord& record, QString* problem = nullptr);
    // Records matching the filter, newest first, from offset on; the
    // configuration only when withConfig.
    QList<TArchiveRecord> List(const TArchiveFilter& filter, int offset = 0, int limit = -1,
                               bool withConfig = false) const;
    int Count(const TArchiveFilter& filter = {}) const;
    std::optional<TArchiveRecord> Find(const QString& id) const;
    // Every object named in the archive, in alphabetical order.
    QStringList Objects() const;

    // The schema version this program writes.
    static int SchemaVersion();

private:
    bool openFile(QString* problem, bool& damaged);
    bool moveAside(const QString& cause, QString* problem);
    bool insert(const TArchiveRecord& record, QString* problem, bool& damaged);
    bool migrate(QString* problem);
    void close();

    QString path_;
    QString connection_;
    bool open_ = false;
    QString movedAside_;
    QString damageCause_;
};

// The cause of a failed SQLite call in plain Russian ("диск заполнен",
// "база занята другой копией программы", ...), the driver's text after it.
QString ArchiveSqlCause(int nativeCode, const QString& driverText);

// Loads Qt's SQLite driver now, before the program starts any thread: Wine
// (8.0) crashes loading a library with thread-local data once threads have
// run, which the archive's first use after a command was.
void LoadArchiveDriver();
