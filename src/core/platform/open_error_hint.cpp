#include "platform/open_error_hint.h"

#include "platform/serial_device.h"

namespace platform {

// Linux: COM names are links to tty devices, and the usual holders of an
// adapter are the desktop's own services.
QString OpenErrorHint(std::uint32_t code) {
    switch (code) {
    case serial::kErrFileNotFound:
        return QStringLiteral("устройства нет: адаптер вынут или ссылка COM ведёт в никуда");
    case serial::kErrAccessDenied:
        return QStringLiteral("устройство держит другая программа (ModemManager, brltty, "
                              "терминал)");
    case serial::kErrNoPermission:
        return QStringLiteral("нет прав на устройство: пользователь не в его группе (dialout)");
    case serial::kErrGenFailure:
        return QStringLiteral("устройство не отвечает: за ttyS нет UART или адаптер сбоит");
    case serial::kErrInvalidName:
        return QStringLiteral("ссылка COM ведёт не на устройство");
    default:
        return {};
    }
}

} // namespace platform
