// Screen colours of the log's 0x00BBGGRR colour values; windows only.
#pragma once

#include "exchange/log_state.h"

#include <QColor>

// The screen colour of a 0x00BBGGRR value.
QColor WinColorToQColor(TLogColor value);
