#include "exchange/log_colors.h"

QColor WinColorToQColor(TLogColor value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
