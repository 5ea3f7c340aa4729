#include "platform/instance_signal.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

InstanceSignal::InstanceSignal(const QString& name, QObject* parent)
    : QObject(parent), name_(name) {
    dir_ = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir_.isEmpty())
        dir_ = QDir::tempPath();
    QDir().mkpath(dir_);
}

InstanceSignal::~InstanceSignal() {
    if (server_)
        server_->close();
}

QString InstanceSignal::serverPath() const {
    return dir_ + QLatin1Char('/') + name_;
}

bool InstanceSignal::acquire() {
    lock_ = std::make_unique<QLockFile>(serverPath() + QStringLiteral(".lock"));
    // QLockFile removes a lock whose owner process is gone, so a crash never blocks a start.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    // A socket file left by a crashed copy would make listen() fail.
    QLocalServer::removeServer(serverPath());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(serverPath()))
        return true; // still the first copy; later copies just cannot wake it
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* sock = server_->nextPendingConnection()) {
            connect(sock, &QLocalSocket::disconnected, sock, &QObject::deleteLater);
            sock->disconnectFromServer();
            emit woken();
        }
    });
    return true;
}

bool InstanceSignal::signalFirst(int timeoutMs) {
    QLocalSocket sock;
    sock.connectToServer(serverPath());
    if (!sock.waitForConnected(timeoutMs))
        return false;
    sock.write("1");
    sock.waitForBytesWritten(timeoutMs);
    sock.disconnectFromServer();
    return true;
}
