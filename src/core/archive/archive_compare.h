// Two configurations of one unit kind compared as the pages name their
// parameters: the compares of the unit against a file, reused for records.
#pragma once

#include "archive/archive_record.h"
#include "devices/compare/compare_result.h"
#include "devices/qv4m/ro4d_compare.h"

#include <QStringList>

// A record's configuration (left; its ident gives a RO-4D board's voltage
// scale) against another of the same unit kind; false with the reason when
// either is not a whole configuration.
bool CompareConfigs(const TArchiveRecord& left, const QString& leftName, const QByteArray& right,
                    const QString& rightName, TCompareResult& result, QString& reason);

// A RO-4D configuration as a complete read of a unit that gave version.
TRo4dUnitImage Ro4dUnitOf(const TRo4dImage& image, const QString& version);

// The names of the bench's place fields, in the page's order: presets and
// measured times of both places, voltages and currents, the status boxes.
QStringList BenchFieldNames();
