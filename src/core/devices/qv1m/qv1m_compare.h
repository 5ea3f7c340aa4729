// Comparing what an RI1-R unit holds (its session start read) with a
// QV1M.ini file or with what was just written to it: by mode, channel and
// field, and the common settings by their captions on the page.
#pragma once

#include "devices/compare/compare_result.h"
#include "devices/qv1m/qv1m_data.h"

#include <QString>
#include <array>

// What the session start's exchanges brought back, part by part; they stop
// at the first failure.
struct TQv1mUnitRead {
    bool session = false;
    QString ident;
    QString releaseDate;
    int currentMode = -1;
    std::array<bool, kQv1ModeCount> modes{};
    bool delays = false;    // "p": the fault delays
    bool voltFlags = false; // "r": the common flags and thresholds
    TQv1mSet set;

    bool allModes() const;
    bool complete() const;
};

// The parts a compare covers: everything, or one mode just written.
struct TQv1mScope {
    std::array<bool, kQv1ModeCount> modes{true, true, true, true, true, true, true};
    bool delays = true;
    bool voltFlags = true;

    static TQv1mScope OneMode(int n);
};

// The unit (left) against another set (right). Thresholds are shown in volts
// against rVolt, the page's Uацп (the unit does not keep it).
TCompareResult CompareRi1r(const TQv1mUnitRead& unit, const TQv1mSet& other,
                           const QString& rightName, double rVolt,
                           const TQv1mScope& scope = TQv1mScope{});
