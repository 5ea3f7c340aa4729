// relcon4-cli ports: the COM names of the port map and the device behind
// each, with the USB adapter's maker, product and serial number where known.
#include "cli_table.h"
#include "platform/port_identity.h"

namespace {

int listPorts(const TCliContext&) {
    const QList<platform::DescribedPort> ports = platform::DescribePorts();
    if (ports.isEmpty())
        PrintError(QStringLiteral("relcon4-cli: COM-порты не найдены"));
    for (const platform::DescribedPort& port : ports)
        PrintOut(QStringLiteral("%1\t%2%3")
                     .arg(port.entry.comName,
                          port.details.isEmpty() ? port.entry.devicePath : port.details,
                          port.entry.isExplicit ? QStringLiteral("\t(своя ссылка)") : QString()));
    return kExitOk;
}

} // namespace

QList<TCliCommand> PortsCommands() {
    return {{QString(), QStringLiteral("ports"), QString(),
             QStringLiteral("COM-порты и устройства за ними"), listPorts}};
}
