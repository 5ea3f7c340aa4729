// The ZI2-Z3 bench protocol of a run: the delays set, then for both places
// their status, preset and measured times, idle and working voltages and
// working currents, as the page shows them after the run's packets.
#pragma once

#include "archive/archive_config.h"
#include "report/report.h"

struct TZi2z3ReportInput {
    QString ident; // empty: not known
    TBenchConfig bench;
};

TReport Zi2z3Report(const TZi2z3ReportInput& input, const TReportHeader& header);
