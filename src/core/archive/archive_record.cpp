#include "archive/archive_record.h"

#include <QUuid>

QString ArchiveUnitCaption(const QString& unit) {
    if (unit == kArchiveRo4d)
        return QStringLiteral("RO-4D");
    if (unit == kArchiveRi1r)
        return QStringLiteral("RI1-R");
    if (unit == kArchiveZi2z3)
        return QStringLiteral("ZI2-Z3");
    return unit;
}

QString NewArchiveId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QString ArchiveExportSuffix(const QString& unit) {
    if (unit == kArchiveRo4d)
        return QStringLiteral("qvf");
    if (unit == kArchiveRi1r)
        return QStringLiteral("ini");
    return QStringLiteral("txt");
}
