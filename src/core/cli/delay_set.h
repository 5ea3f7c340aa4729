// The list `relcon4-cli zi2z3 settings --set` takes: "T11=30,T23=120".
#pragma once

#include "devices/qv2f3/bench_frames.h"

#include <QString>
#include <optional>

// Puts the list's values into delays, names in any case; the problem (in
// Russian, for a usage message) at the first name that is no delay or value
// that is no whole number in 0..255. A value the unit's byte cannot hold is
// refused rather than cut.
std::optional<QString> ApplyDelaySet(const QString& text, qv2f3::TDelaySettings& delays);
