// What the local file and a shared server have in common: the columns of a
// record, putting a record into a statement and taking one out of a row.
#pragma once

#include "archive/archive_record.h"

#include <QList>
#include <QString>

class QSqlDatabase;
class QSqlQuery;

// "id, time, unit, ..., config, object, note": every column, in this order.
QString ArchiveColumns(bool withConfig);
// ":id, :time, ...": the placeholders of an insert of every column.
QString ArchivePlaceholders();
void BindArchiveRecord(QSqlQuery& query, const TArchiveRecord& record);
// The record in the query's current row, selected with ArchiveColumns.
TArchiveRecord ArchiveRecordOf(const QSqlQuery& query, bool withConfig);
// The stored form of a record's time: local ISO 8601 with milliseconds,
// which sorts as the times do.
QString ArchiveTimeText(const QDateTime& time);

// The records of a records table that match the filter, newest first, from
// offset on (limit -1: all); the configuration only when withConfig.
QList<TArchiveRecord> ListArchiveRecords(const QSqlDatabase& db, const TArchiveFilter& filter,
                                         int offset, int limit, bool withConfig);
int CountArchiveRecords(const QSqlDatabase& db, const TArchiveFilter& filter);
