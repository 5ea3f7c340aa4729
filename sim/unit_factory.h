// Makes a simulated unit from its command-line description.
#pragma once

#include "sim_unit.h"

#include <QStringList>
#include <memory>

namespace sim {

struct UnitOptions {
    QString kind = QStringLiteral("ro4d"); // ro4d, ri1r, zi2z3
    int board = 2;                         // RO-4D board generation: 1 or 2
    QString releaseDate;                   // RI1-R "dd.mm.yy"; empty: not written yet
    int mode = 1;                          // RI1-R current mode 1..7
    QStringList faults;                    // fault texts (see ParseFault)
};

QStringList UnitKinds();
// The unit, or nothing with the reason in error.
std::unique_ptr<SimUnit> MakeUnit(const UnitOptions& options, QString* error = nullptr);

} // namespace sim
