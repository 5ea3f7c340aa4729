// The adapters as the device manager lists them under "Ports (COM & LPT)":
// the maker, the product and, for a USB device, its serial number, keyed by
// the \\.\COM<n> path the port map gives the same port.
#include "platform/port_identity.h"

#include <windows.h>

#include <devguid.h>
#include <setupapi.h>

namespace platform {

namespace {

QString DeviceText(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    wchar_t text[512] = {};
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, property, &type,
                                             reinterpret_cast<BYTE*>(text),
                                             sizeof(text) - sizeof(wchar_t), nullptr) ||
        type != REG_SZ)
        return {};
    return QString::fromWCharArray(text).trimmed();
}

// "COM5", from the device's own key.
QString PortName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    const HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD bytes = sizeof(name) - sizeof(wchar_t);
    DWORD type = 0;
    const bool ok = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                       reinterpret_cast<BYTE*>(name), &bytes) == ERROR_SUCCESS &&
                    type == REG_SZ;
    ::RegCloseKey(key);
    return ok ? QString::fromWCharArray(name).trimmed() : QString();
}

// A USB device's instance ("USB\VID_0403&PID_6001\A1B2C3") ends with its
// serial number; other buses end with a number of their own making.
QString SerialNumber(HDEVINFO set, SP_DEVINFO_DATA& device) {
    wchar_t id[512] = {};
    if (!::SetupDiGetDeviceInstanceIdW(set, &device, id, 511, nullptr))
        return {};
    const QString instance = QString::fromWCharArray(id);
    if (!instance.startsWith(QStringLiteral("USB\\"), Qt::CaseInsensitive))
        return {};
    const QString last = instance.section(QLatin1Char('\\'), -1);
    return last.contains(QLatin1Char('&')) ? QString() : last;
}

} // namespace

QList<SerialAdapter> SystemAdapters() {
    QList<SerialAdapter> adapters;
    const HDEVINFO set =
        ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return adapters;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        const QString port = PortName(set, device);
        if (port.isEmpty())
            continue;
        adapters.append({QStringLiteral("\\\\.\\") + port.toUpper(),
                         DeviceText(set, device, SPDRP_MFG),
                         DeviceText(set, device, SPDRP_DEVICEDESC), SerialNumber(set, device)});
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return adapters;
}

} // namespace platform
