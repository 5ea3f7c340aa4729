// The RI1-R protocol: identification and release date, the seven modes of
// the three channels, the common settings and the thresholds in volts.
#pragma once

#include "devices/qv1m/qv1m_data.h"
#include "report/report.h"

#include <optional>

struct TRi1rReportInput {
    QString ident; // empty: not known (a file)
    QString releaseDate;
    TQv1mSet set;
    double vref = 0.0; // Uацп the thresholds are shown against; 0: the page's default
    std::optional<TCompareResult> check;
    QString checkTitle;
};

TReport Ri1rReport(const TRi1rReportInput& input, const TReportHeader& header);
