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
    if (thread_.joinable())
        thread_.join();
}

void TTimerThreadD::Execute() {
    const std::shared_ptr<Shared> sh = shared_;
    TCustomComPortD* const port = FComPort;
    std::unique_lock<std::mutex> lock(sh->m);
    while (!sh->stop) {
        if (sh->cv.wait_for(lock, std::chrono::milliseconds(kPeriodMs), [&] { return sh->stop; }))
            break;
        if (fSuspend || !port->Connected())
            continue;
        lock.unlock();
        const int waiting = port->PollInputCount();
        lock.lock();
        if (waiting <= 0 || sh->stop)
            continue;
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
    }
}
