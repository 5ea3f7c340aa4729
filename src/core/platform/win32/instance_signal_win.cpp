// The single-instance rule of Windows: a named event. The first copy creates
// it and watches it; a later copy finds it already there, sets it and leaves.
#include "platform/instance_signal.h"

#include <QWinEventNotifier>
#include <windows.h>

InstanceSignal::InstanceSignal(const QString& name, QObject* parent)
    : QObject(parent), name_(name) {}

InstanceSignal::~InstanceSignal() {
    delete notifier_;
    if (event_)
        ::CloseHandle(event_);
}

QString InstanceSignal::serverPath() const {
    return name_;
}

bool InstanceSignal::acquire() {
    const std::wstring name = name_.toStdWString();
    // Manual reset, not signalled: the watcher resets it after each wake-up.
    event_ = ::CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    if (!event_ || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return false;
    notifier_ = new QWinEventNotifier(event_);
    connect(notifier_, &QWinEventNotifier::activated, this, [this] {
        emit woken();
        ::ResetEvent(event_);
    });
    return true;
}

bool InstanceSignal::signalFirst(int /*timeoutMs*/) {
    return event_ && ::SetEvent(event_);
}
