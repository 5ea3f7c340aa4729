#include "platform/port_identity.h"

#include <QFileInfo>
#include <QStringList>

namespace platform {

namespace {

// Empty: the system's own enumeration.
TAdapterSource adapterSource;

// The device node a path ends at: links (by-id names, COM links) followed.
QString FinalPath(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// "FTDI" and "FT232R USB UART" read "FTDI FT232R USB UART"; a product that
// already names its maker is not prefixed twice.
QString MakerAndProduct(const SerialAdapter& a) {
    const QString maker = a.manufacturer.trimmed();
    const QString product = a.product.trimmed();
    if (maker.isEmpty() || product.startsWith(maker, Qt::CaseInsensitive))
        return product;
    if (product.isEmpty())
        return maker;
    return maker + QLatin1Char(' ') + product;
}

} // namespace

void SetAdapterSource(TAdapterSource source) {
    adapterSource = std::move(source);
}

QList<SerialAdapter> ListAdapters() {
    if (adapterSource)
        return adapterSource();
    return SystemAdapters();
}

QString PortDetails(const QString& devicePath, const QList<SerialAdapter>& adapters) {
    const QString path = FinalPath(devicePath);
    QStringList parts{path};
    for (const SerialAdapter& a : adapters) {
        if (FinalPath(a.systemLocation) != path)
            continue;
        parts << MakerAndProduct(a) << a.serialNumber.trimmed();
        break;
    }
    parts.removeAll(QString());
    return parts.join(QStringLiteral(", "));
}

QList<DescribedPort> DescribePorts() {
    const QList<SerialAdapter> adapters = ListAdapters();
    QList<DescribedPort> described;
    for (const PortMapEntry& entry : ListPorts())
        described.append({entry, PortDetails(entry.devicePath, adapters)});
    return described;
}

QString DescribePort(const QString& comName) {
    const QString path = ResolvePort(comName);
    return path.isEmpty() ? QString() : PortDetails(path, ListAdapters());
}

} // namespace platform
