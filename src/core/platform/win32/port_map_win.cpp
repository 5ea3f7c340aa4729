// The port map of Windows: the registry's list of serial ports, and COM<n>
// opened by Windows itself under \\.\COM<n>.
#include "platform/port_map.h"

#include <QRegularExpression>
#include <windows.h>

namespace platform {

namespace {

const QRegularExpression& ComNamePattern() {
    static const QRegularExpression re(QStringLiteral("^COM([1-9][0-9]*)$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

// In the registry's own order, duplicates kept: that is the list a technician
// sees in the device manager's terms.
QList<PortMapEntry> ListPorts() {
    QList<PortMapEntry> ports;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) != ERROR_SUCCESS)
        return ports;
    DWORD values = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                       nullptr, nullptr, nullptr);
    for (DWORD i = 0; i < values; ++i) {
        wchar_t name[1024];
        DWORD nameLength = 1024;
        wchar_t data[256] = {};
        DWORD dataBytes = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data), &dataBytes) != ERROR_SUCCESS)
            break;
        const QString port = QString::fromWCharArray(data).trimmed();
        if (type != REG_SZ || port.isEmpty())
            continue;
        PortMapEntry entry;
        entry.comName = port;
        const QRegularExpressionMatch m = ComNamePattern().match(port);
        entry.number = m.hasMatch() ? m.captured(1).toInt() : 0;
        entry.devicePath = ResolvePort(port);
        ports.append(entry);
    }
    ::RegCloseKey(key);
    return ports;
}

// The ports come from the registry, whatever a test points this at.
void SetSysfsRoot(const QString& /*root*/) {}

// The registry lists only the ports whose device is there.
bool DevicePresent(const PortMapEntry& /*entry*/) {
    return true;
}

// Any name but a path resolves: whether the port is there, and whether the
// name can be a device at all, is for CreateFileW to say (2, 123).
QString ResolvePort(const QString& comName) {
    if (comName.isEmpty() || comName.contains(QLatin1Char('\\')) ||
        comName.contains(QLatin1Char('/')))
        return {};
    return QStringLiteral("\\\\.\\") + comName.toUpper();
}

} // namespace platform
