// relcon4-cli ports: the COM names of the port map and the device behind each.
#include "cli_table.h"
#include "platform/port_map.h"

namespace {

int listPorts(const TCliContext&) {
    const QList<platform::PortMapEntry> ports = platform::ListPorts();
    if (ports.isEmpty())
        PrintError(QStringLiteral("relcon4-cli: COM-порты не найдены"));
    for (const platform::PortMapEntry& entry : ports)
        PrintOut(QStringLiteral("%1\t%2%3")
                     .arg(entry.comName, entry.devicePath,
                          entry.isExplicit ? QStringLiteral("\t(своя ссылка)") : QString()));
    return kExitOk;
}

} // namespace

QList<TCliCommand> PortsCommands() {
    return {{QString(), QStringLiteral("ports"), QString(),
             QStringLiteral("COM-порты и устройства за ними"), listPorts}};
}
