// What each RO-4D entry may hold: the width the unit keeps the value in (a
// byte for parameter words 0 to 8 and 12, else a word short of all ones, the
// pattern of a word never written), the pages' units, and for voltages the
// reference they are measured against.
#pragma once

#include "devices/entries/entry_rule.h"
#include "devices/qv4m/param_codec.h"

#include <QString>
#include <QStringList>
#include <vector>

struct TRo4dEntry {
    QString TQv4mParams::*text;
    TCheckedEntry check;
};

// The entries a write sends, with their rules for the page's current values:
// the thresholds reach up to the reference voltage typed on the page, the
// reference up to the board's full scale. The test-line thresholds of the
// board generation not in use are left out.
std::vector<TRo4dEntry> Ro4dEntries(const TQv4mParams& p, double rVoltOpora, bool board2x);

// The parameter words of an image that lie outside what their entries may
// hold, each named ("слово 5 cKoncErrTime (T_240) = 300, допустимо от 0 до 255").
QStringList Ro4dWordFaults(const TParamRegs& regs);
