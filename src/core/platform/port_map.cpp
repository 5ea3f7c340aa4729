#include "platform/port_map.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace platform {

namespace {

QString& sysfsRoot() {
    static QString root;
    return root;
}

// "COM<n>" with n in 1..96, else 0.
int ExplicitComNumber(const QString& name) {
    static const QRegularExpression re(QStringLiteral("^COM([1-9][0-9]?)$"));
    const auto m = re.match(name);
    if (!m.hasMatch())
        return 0;
    const int n = m.captured(1).toInt();
    return n <= kMaxComNumber ? n : 0;
}

bool Exists(const QString& path) {
    const QFileInfo fi(path);
    return fi.exists() || fi.isSymLink();
}

// A device with real hardware behind it. The kernel lists ttyS0..ttyS31 whether
// or not a UART answers; for those only a non-zero port type counts.
bool HasHardware(const QString& ttyDir, bool isUartFamily) {
    if (isUartFamily) {
        QFile type(ttyDir + QStringLiteral("/type"));
        if (type.open(QIODevice::ReadOnly)) {
            bool ok = false;
            const int value = QString::fromLatin1(type.readAll()).trimmed().toInt(&ok);
            return ok && value != 0;
        }
    }
    return Exists(ttyDir + QStringLiteral("/device"));
}

QList<PortMapEntry> ExplicitEntries() {
    QList<PortMapEntry> entries;
    const QDir dir(PortsFolder());
    const auto infos = dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& fi : infos) {
        const int n = ExplicitComNumber(fi.fileName());
        if (n == 0)
            continue;
        const QString path = fi.isSymLink() ? fi.symLinkTarget() : fi.absoluteFilePath();
        entries.append({QStringLiteral("COM%1").arg(n), n, path, true});
    }
    return entries;
}

QList<PortMapEntry> AutomaticEntries() {
    QList<PortMapEntry> entries;
    const QString classDir = SysfsRoot() + QStringLiteral("/class/tty");
    const auto names =
        QDir(classDir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        const int n = AutomaticComNumber(name);
        if (n == 0 || n > kMaxComNumber)
            continue;
        const bool uart = name.startsWith(QStringLiteral("ttyS"));
        if (!HasHardware(classDir + QLatin1Char('/') + name, uart))
            continue;
        entries.append({QStringLiteral("COM%1").arg(n), n, QStringLiteral("/dev/") + name, false});
    }
    return entries;
}

} // namespace

void SetSysfsRoot(const QString& root) {
    sysfsRoot() = root;
}

QString SysfsRoot() {
    return sysfsRoot().isEmpty() ? QStringLiteral("/sys") : sysfsRoot();
}

int AutomaticComNumber(const QString& ttyName) {
    static const QRegularExpression re(QStringLiteral("^tty(S|USB|ACM)([0-9]{1,3})$"));
    const auto m = re.match(ttyName);
    if (!m.hasMatch())
        return 0;
    const int k = m.captured(2).toInt();
    const QString family = m.captured(1);
    if (family == QLatin1String("S"))
        return k + 1;
    if (family == QLatin1String("USB"))
        return k + 33;
    return k + 65;
}

QList<PortMapEntry> ListPorts() {
    QList<PortMapEntry> all = ExplicitEntries();
    for (const PortMapEntry& e : AutomaticEntries()) {
        const bool taken = std::any_of(all.cbegin(), all.cend(),
                                       [&](const PortMapEntry& x) { return x.number == e.number; });
        if (!taken)
            all.append(e);
    }
    std::stable_sort(all.begin(), all.end(), [](const PortMapEntry& a, const PortMapEntry& b) {
        return a.number < b.number;
    });
    return all;
}

bool DevicePresent(const PortMapEntry& entry) {
    return !entry.isExplicit || QFileInfo::exists(entry.devicePath);
}

QString ResolvePort(const QString& comName) {
    for (const PortMapEntry& e : ListPorts())
        if (e.comName.compare(comName, Qt::CaseInsensitive) == 0)
            return e.devicePath;
    return {};
}

} // namespace platform
