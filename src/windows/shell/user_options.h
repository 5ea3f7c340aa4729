// Choices the program remembers for each user, apart from the exchange
// settings of rs_m.ini: kept in the per-user folder, so a shared installed
// copy keeps each technician's own. Missing or unreadable: the default.
#pragma once

#include <QString>

bool UserOption(const QString& key, bool defaultValue);
void SetUserOption(const QString& key, bool value);
QString UserText(const QString& key, const QString& defaultValue = {});
void SetUserText(const QString& key, const QString& value);

// Keys.
inline const QString kVerifyRo4dWrite = QStringLiteral("verify/ro4d");
inline const QString kVerifyRi1rWrite = QStringLiteral("verify/ri1r");
// The technician's name the protocols are signed with.
inline const QString kReportTechnician = QStringLiteral("report/technician");
