// The port map: which device node stands behind each COM<n> name. Explicit
// entries are COM<n> symlinks in the per-user ports folder; the serial
// devices with real hardware that the kernel lists under /sys/class/tty
// follow as automatic entries. On Windows the registry's SERIALCOMM list is
// the map, and every COM<n> opens as \\.\COM<n> (win32/port_map_win.cpp).
#pragma once

#include <QList>
#include <QString>

namespace platform {

inline constexpr int kMaxComNumber = 96;

struct PortMapEntry {
    QString comName;    // "COM3"
    int number = 0;     // 3
    QString devicePath; // "/dev/ttyUSB0", "/dev/pts/5", ...
    bool isExplicit = false;
};

// Every entry, explicit first where both claim a name, sorted by number.
QList<PortMapEntry> ListPorts();
// The device path for a name such as "COM3", empty when the map has none.
QString ResolvePort(const QString& comName);
// Whether the device behind an entry is there. An explicit link whose target
// has gone (a /dev/serial/by-id link once its adapter is pulled out) still
// holds its name in the map, but there is nothing to offer the user.
bool DevicePresent(const PortMapEntry& entry);

// Where the kernel's device tree is read; tests point it at a fake tree.
// An empty root restores "/sys". Windows has none: there it changes nothing.
void SetSysfsRoot(const QString& root);

#ifndef _WIN32
QString SysfsRoot();

// The COM number of an automatic entry for a kernel tty name, 0 when the name
// is not one of the serial families (ttyS<k>, ttyUSB<k>, ttyACM<k>).
int AutomaticComNumber(const QString& ttyName);
#endif

} // namespace platform
