#include "platform/open_error_hint.h"

#include "platform/serial_device.h"

namespace platform {

// Windows: COM names are the drivers' own, and a port is held by whichever
// program opened it first.
QString OpenErrorHint(std::uint32_t code) {
    switch (code) {
    case serial::kErrFileNotFound:
        return QStringLiteral("порта нет в системе: адаптер вынут или его драйвер не установлен");
    case serial::kErrAccessDenied:
        return QStringLiteral("порт открыт другой программой (терминал, программа адаптера)");
    case serial::kErrGenFailure:
        return QStringLiteral("адаптер не отвечает: сбой драйвера или адаптер вынут");
    default:
        return {};
    }
}

} // namespace platform
