// The RO-4D protocol: the unit's version, every parameter of the two pages
// under its caption, the start and stop conditions of M1 and M2 in words,
// the check of what the unit holds and the register words.
#pragma once

#include "devices/qv4m/qv4m_registers.h"
#include "report/report.h"

#include <optional>

struct TRo4dReportInput {
    TRo4dImage image;
    std::uint8_t bVers = 0x10;
    QString version; // empty: the unit's version is not known (a file)
    // A verify after a write or a compare that ran for this unit.
    std::optional<TCompareResult> check;
    QString checkTitle;
};

TReport Ro4dReport(const TRo4dReportInput& input, const TReportHeader& header);
