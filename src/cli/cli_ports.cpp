// relcon4-cli ports: the COM names of the port map and the device behind
// each, with the USB adapter's maker, product and serial number where known.
#include "cli_table.h"
#include "platform/port_identity.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// One object a port, for scripts: the name, the device and what the system
// says of it, and whether the name is the user's own link.
QString portsJson(const QList<platform::DescribedPort>& ports) {
    QJsonArray list;
    for (const platform::DescribedPort& port : ports)
        list.append(QJsonObject{{QStringLiteral("port"), port.entry.comName},
                                {QStringLiteral("device"), port.entry.devicePath},
                                {QStringLiteral("details"), port.details},
                                {QStringLiteral("link"), port.entry.isExplicit}});
    return QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Indented)).trimmed();
}

int listPorts(const TCliContext& context) {
    const QList<platform::DescribedPort> ports = platform::DescribePorts();
    if (context.json) {
        PrintOut(portsJson(ports));
        return kExitOk;
    }
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
    return {{QString(), QStringLiteral("ports"), QStringLiteral("[--json]"),
             QStringLiteral("COM-порты и устройства за ними"), listPorts}};
}
