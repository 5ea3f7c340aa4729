// A team's shared archive on a PostgreSQL server, through Qt SQL's QPSQL
// driver. Recording is always local; a push copies the records the server
// does not have yet, so one run again after an interruption adds nothing twice.
#pragma once

#include "archive/archive_store.h"

#include <QString>

// postgresql://[user[:password]@][host][:port]/database[?host=/socket/folder]
struct TPostgresTarget {
    QString host; // a name, an address, or a Unix socket's folder
    int port = 5432;
    QString database;
    QString user;
    QString password;
};
// False with the reason when the address is not of that form.
bool ParsePostgresUrl(const QString& url, TPostgresTarget& target, QString& problem);

class TArchiveRemote {
public:
    TArchiveRemote();
    ~TArchiveRemote();
    TArchiveRemote(const TArchiveRemote&) = delete;
    TArchiveRemote& operator=(const TArchiveRemote&) = delete;

    // Connects and makes the records table when the server has none.
    bool Open(const TPostgresTarget& target, QString& problem);
    // Every record of local that the server lacks, in transactions of a few
    // hundred; added and present count what was copied and what was there.
    bool Push(const TArchiveStore& local, int& added, int& present, QString& problem);
    QList<TArchiveRecord> List(const TArchiveFilter& filter) const;

private:
    QString connection_;
};
