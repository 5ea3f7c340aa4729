// What stands behind a COM name, in words a technician can match to the
// hardware on the desk: the device path and, for a USB adapter, its maker,
// product and serial number ("/dev/ttyUSB1, FTDI FT232R USB UART, A1B2C3").
// The COM numbering stays the port map's; this only describes its entries.
// Qt Core (and Qt Serial Port on Linux) only, so the command line can use it too.
#pragma once

#include "platform/port_map.h"

#include <QList>
#include <QString>
#include <functional>

namespace platform {

// A serial device as the system's port enumeration knows it.
struct SerialAdapter {
    QString systemLocation; // "/dev/ttyUSB1"
    QString manufacturer;   // "FTDI"
    QString product;        // "FT232R USB UART"
    QString serialNumber;   // "A1B2C3"
};

// The adapters the system lists (Qt Serial Port's enumeration on Linux, the
// device installer's list of ports on Windows).
QList<SerialAdapter> SystemAdapters();

// Where the adapters are listed: by default SystemAdapters(); tests install
// a stand-in (an empty source restores the default).
using TAdapterSource = std::function<QList<SerialAdapter>()>;
void SetAdapterSource(TAdapterSource source);
QList<SerialAdapter> ListAdapters();

// The description of a device path: the path the name finally resolves to
// (a /dev/serial/by-id link shows as /dev/ttyUSB1, a pty as /dev/pts/N),
// then the maker and product, then the serial number; empty parts are left out.
QString PortDetails(const QString& devicePath, const QList<SerialAdapter>& adapters);

// "COM34 — /dev/ttyUSB1, FTDI FT232R USB UART, A1B2C3" for every entry of
// the port map, in the map's order; one enumeration of the adapters for all.
struct DescribedPort {
    PortMapEntry entry;
    QString details;
};
QList<DescribedPort> DescribePorts();
// The details of one COM name ("COM34"), empty when the map has no such name.
QString DescribePort(const QString& comName);

} // namespace platform
