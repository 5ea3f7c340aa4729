// One entry of the service archive: what a command read from a unit or put
// into it, with where and when, so a configuration that was ever on a unit
// can be found and put back. Plain data; the store keeps it in SQLite.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The unit kinds as the archive names them ("ro4d", "ri1r", "zi2z3").
inline const QString kArchiveRo4d = QStringLiteral("ro4d");
inline const QString kArchiveRi1r = QStringLiteral("ri1r");
inline const QString kArchiveZi2z3 = QStringLiteral("zi2z3");

struct TArchiveRecord {
    // A UUID, unique across copies and machines, so a shared archive takes
    // each record once.
    QString id;
    QDateTime time; // local time the command finished
    QString unit;   // kArchiveRo4d, kArchiveRi1r or kArchiveZi2z3
    QString operation;
    bool ok = false;
    QString result; // the result text the page (or the command line) gave
    QString port;   // "COM5"
    QString adapter;
    QString ident; // the version or identification text the unit gave
    // The configuration in full, in the layout its own file has: 148 bytes of
    // a .qvf, the 95 lines of QV1M.ini, the bench's key = value lines.
    QByteArray config;
    QString object;
    QString note;
    bool operator==(const TArchiveRecord&) const = default;
};

// Which records a list takes; every part that is set must hold.
struct TArchiveFilter {
    QString object; // the object exactly; empty: any
    QString unit;   // empty: any
    QDate from, to; // inclusive; null: open
    QString text;   // part of the operation, result, ident, port, object or note
};

// "RO-4D", "RI1-R", "ZI2-Z3" for a unit kind.
QString ArchiveUnitCaption(const QString& unit);
// A new record id.
QString NewArchiveId();
// The suffix of the file a record's configuration is saved as: "qvf" for a
// RO-4D, "ini" (the QV1M.ini layout) for an RI1-R, "txt" for the bench.
QString ArchiveExportSuffix(const QString& unit);
