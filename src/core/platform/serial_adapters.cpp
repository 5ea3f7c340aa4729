// The adapters as Qt Serial Port enumerates them (udev on Linux).
#include "platform/port_identity.h"

#include <QSerialPortInfo>

namespace platform {

QList<SerialAdapter> SystemAdapters() {
    QList<SerialAdapter> adapters;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        adapters.append(
            {info.systemLocation(), info.manufacturer(), info.description(), info.serialNumber()});
    return adapters;
}

} // namespace platform
