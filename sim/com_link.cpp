#include "com_link.h"

#include "platform/user_folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sim {

namespace {
QString linkPath(int number) {
    return platform::PortsFolder() + QStringLiteral("/COM") + QString::number(number);
}

// A device that is itself a port of the system (Windows' linked COM pairs):
// its number, else 0.
int SystemPortNumber(const QString& device) {
    if (!device.startsWith(QLatin1String("COM")))
        return 0;
    bool ok = false;
    const int n = device.mid(3).toInt(&ok);
    return ok && n > 0 ? n : 0;
}
} // namespace

QString ComLink::name() const {
    return number_ > 0 ? QStringLiteral("COM%1").arg(number_) : QString();
}

bool ComLink::create(const QString& device, int number, QString* error) {
    remove();
    if (const int own = SystemPortNumber(device)) {
        // The system lists it already: nothing to link, and its number is fixed.
        if (number > 0 && number != own) {
            if (error)
                *error = QStringLiteral("COM%1 is not free here (the line is %2)")
                             .arg(number)
                             .arg(device);
            return false;
        }
        number_ = own;
        device_ = device;
        return true;
    }
    const QString folder = platform::PortsFolder();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the ports folder %1").arg(folder);
        return false;
    }
    if (number < 0 || number > kMaxNumber) {
        if (error)
            *error = QStringLiteral("COM number %1 is outside 1..%2").arg(number).arg(kMaxNumber);
        return false;
    }
    // Creating the link is the claim: it fails when the name exists, so two
    // simulators started together never share a number.
    const int first = number > 0 ? number : 1;
    const int last = number > 0 ? number : kMaxNumber;
    for (int n = first; n <= last; ++n) {
        if (QFile::link(device, linkPath(n))) {
            number_ = n;
            path_ = linkPath(n);
            device_ = device;
            return true;
        }
    }
    if (error)
        *error = number > 0 ? QStringLiteral("%1 already exists").arg(linkPath(number))
                            : QStringLiteral("no free COM number in %1").arg(folder);
    return false;
}

bool ComLink::retarget(const QString& device) {
    if (!isCreated())
        return false;
    if (path_.isEmpty())
        return device == device_;
    QFile::remove(path_);
    if (!QFile::link(device, path_))
        return false;
    device_ = device;
    return true;
}

void ComLink::remove() {
    if (!isCreated())
        return;
    const QFileInfo info(path_);
    if (!path_.isEmpty() && info.isSymLink() &&
        info.symLinkTarget() == QFileInfo(device_).absoluteFilePath())
        QFile::remove(path_);
    number_ = 0;
    path_.clear();
    device_.clear();
}

} // namespace sim
