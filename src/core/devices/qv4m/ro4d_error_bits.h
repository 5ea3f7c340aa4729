// The error and status bits of a read-errors reply that the statuses window
// shows, with its captions and groups.
#pragma once

#include "devices/qv4m/ro4d_protocol.h"

#include <QList>
#include <QString>

struct TRo4dErrorBit {
    int value; // 0 wErr1, 1 wErr2, 2 bVoltErr
    int bit;
    QString caption;
    QString group;
};

// In the window's order, group by group.
const QList<TRo4dErrorBit>& Ro4dErrorBits();
bool Ro4dErrorBitSet(const TRo4dErrors& errors, const TRo4dErrorBit& bit);
