// A record as text for a person: what, when, where, and the configuration
// by the names the unit's own files use. The archive window's read-only
// view and `relcon4-cli archive show` print it; the list prints one line a record.
#pragma once

#include "archive/archive_record.h"

#include <QByteArray>
#include <QList>

QString ArchiveRecordText(const TArchiveRecord& record);
// "2026-12-10 14:05:31  RO-4D  чтение  выполнено  Объект  COM5  id".
QString ArchiveListLine(const TArchiveRecord& record);
QByteArray ArchiveListJson(const QList<TArchiveRecord>& records);
