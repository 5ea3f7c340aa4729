// A unit's configuration as a record keeps it, and records built from what
// the device services last left known. The RO-4D keeps the 148 bytes of its
// .qvf, the RI1-R the 95 lines of its QV1M.ini; the bench has no file of its
// own, so it keeps "name = value" lines: the six delays, then the place fields.
#pragma once

#include "archive/archive_record.h"
#include "archive/bench_config.h"

// A record of a command just finished, from the service's last known state:
// the unit kind, the identification, the configuration and the result (the
// service's own words unless resultText is given).
TArchiveRecord Ro4dArchiveRecord(const QString& operation, const QString& resultText = {});
TArchiveRecord Ri1rArchiveRecord(const QString& operation, const QString& resultText = {});
TArchiveRecord Zi2z3ArchiveRecord(const QString& operation, const QString& resultText = {});

// The operations as records name them.
namespace archive_op {
inline const QString Read = QStringLiteral("чтение");
inline const QString Write = QStringLiteral("запись");
inline const QString Flash = QStringLiteral("запись во FLASH");
inline const QString Restart = QStringLiteral("перезапуск");
inline const QString Session = QStringLiteral("начало сеанса");
inline const QString WriteMode = QStringLiteral("запись режима");
inline const QString WriteCommon = QStringLiteral("запись общих настроек");
inline const QString WriteAll = QStringLiteral("запись всех настроек");
inline const QString WriteDate = QStringLiteral("запись даты выпуска");
inline const QString ReadDelays = QStringLiteral("чтение задержек");
inline const QString WriteDelays = QStringLiteral("запись задержек");
inline const QString Bench = QStringLiteral("испытание на стенде");
inline const QString BeforeWrite = QStringLiteral("чтение перед записью");
} // namespace archive_op
