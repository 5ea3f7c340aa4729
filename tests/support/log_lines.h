// The exchange log's lines as tests read them: oldest first, up to where the
// next line goes (the tests that read them start from an empty log).
#pragma once

#include "exchange/log_state.h"

#include <QStringList>

inline QStringList LogLinesIn(TLogColor color) {
    QStringList lines;
    for (int i = 0; i < LogWritePos; ++i)
        if (LogLineColor[static_cast<std::size_t>(i)] == color)
            lines << LogLines[static_cast<std::size_t>(i)];
    return lines;
}
