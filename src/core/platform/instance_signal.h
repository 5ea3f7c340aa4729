// One running copy per user: a lock file decides who is first, and a local
// socket of the same name lets later copies wake the first one. On Windows a
// named event of that name does both.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QWinEventNotifier;

class InstanceSignal : public QObject {
    Q_OBJECT
public:
    // name is both the lock file's and the socket's name, in the user's runtime folder.
    explicit InstanceSignal(const QString& name, QObject* parent = nullptr);
    ~InstanceSignal() override;

    // True when this copy holds the lock and listens for later copies.
    // A lock left by a copy that crashed is taken over.
    bool acquire();
    // For a later copy: wakes the first one. False when nobody listens.
    bool signalFirst(int timeoutMs = 2000);

    QString serverPath() const;

signals:
    // A later copy has started; emitted on the thread that owns this object.
    void woken();

private:
    QString name_;
#ifdef Q_OS_WIN
    void* event_ = nullptr; // the event's HANDLE
    QWinEventNotifier* notifier_ = nullptr;
#else
    QString dir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
#endif
};
