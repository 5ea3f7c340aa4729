// A protocol made from a configuration as the archive keeps it (the .qvf
// bytes of a RO-4D, the QV1M.ini of an RI1-R, the bench's lines), so a
// page and an archive record give the same document.
#pragma once

#include "report/report.h"

#include <QByteArray>
#include <optional>

struct TConfigReportInput {
    QString unit; // kArchiveRo4d, kArchiveRi1r or kArchiveZi2z3
    QByteArray config;
    QString ident; // the RO-4D's version text, the RI1-R's or bench's identification
    QString releaseDate;
    std::optional<TCompareResult> check;
    QString checkTitle;
};

// False with the reason when the configuration is not a whole one of its kind.
bool ConfigReport(const TConfigReportInput& input, const TReportHeader& header, TReport& report,
                  QString& reason);
