#include "serial/polling_thread.h"

#include "serial/com_port.h"

#include <QMetaObject>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

// State shared with the calls queued for the GUI thread, which may run (and
// find the thread gone) after the thread object has been destroyed.
struct TTimerThreadD::Shared {
    std::mutex m;
    std::condition_variable cv;
    bool stop = false;
    std::uint64_t posted = 0;
    std::uint64_t served = 0;
};

TTimerThreadD::TTimerThreadD(TCustomComPortD* port)
    : FComPort(port), shared_(std::make_shared<Shared>()) {
    thread_ = std::thread([this] { Execute(); });
}

TTimerThreadD::~TTimerThreadD() {
    {
        std::lock_guard<std::mutex> lock(shared_->m);
        shared_->stop = true;
    }
    shared_->cv.notify_all();
    FComPort->WakeInputWait();
    if (thread_.joinable())
        thread_.join();
}

bool TTimerThreadD::Idle() const {
    return fSuspend || !FComPort->Connected();
}

void TTimerThreadD::Execute() {
    const std::shared_ptr<Shared> sh = shared_;
    TCustomComPortD* const port = FComPort;
    // The next look comes after the period rather than on the line's
    // readiness, where readiness would answer at once without news: the line
    // failed, bytes were left unread, or it said ready with nothing there.
    bool paced = false;
    std::unique_lock<std::mutex> lock(sh->m);
    while (!sh->stop) {
        const bool onReadiness = !paced && !Idle();
        if (onReadiness) {
            lock.unlock();
            const serial::WaitResult result = port->WaitForInput();
            lock.lock();
            if (sh->stop || result == serial::WaitResult::Interrupted)
                continue;
            paced = result == serial::WaitResult::Failed;
        } else {
            paced = false;
            if (sh->cv.wait_for(lock, std::chrono::milliseconds(kPeriodMs),
                                [&] { return sh->stop; }))
                break;
        }
        if (paced || Idle())
            continue;
        lock.unlock();
        const int waiting = port->PollInputCount();
        lock.lock();
        if (waiting <= 0 || sh->stop) {
            paced = onReadiness;
            continue;
        }
        const std::uint64_t seq = ++sh->posted;
        QMetaObject::invokeMethod(
            port,
            [sh, seq, port] {
                {
                    std::lock_guard<std::mutex> guard(sh->m);
                    if (sh->stop)
                        return;
                }
                port->DeliverRxBuf();
                {
                    std::lock_guard<std::mutex> guard(sh->m);
                    sh->served = seq;
                }
                sh->cv.notify_all();
            },
            Qt::QueuedConnection);
        sh->cv.wait(lock, [&] { return sh->stop || sh->served >= seq; });
        if (sh->stop)
            break;
        lock.unlock();
        paced = port->PollInputCount() != 0;
        lock.lock();
    }
}
