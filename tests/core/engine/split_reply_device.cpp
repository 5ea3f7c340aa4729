#include "split_reply_device.h"

#include "exchange/exchange_state.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <thread>

namespace enginetest {

serial::OpenResult SplitReplyDevice::open() {
    open_ = true;
    return {0, devicePath(), {}};
}

bool SplitReplyDevice::readBaudRate(std::uint32_t& baud) {
    baud = 9600;
    return true;
}

bool SplitReplyDevice::purge(bool input, bool) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (input)
        input_.clear();
    return true;
}

bool SplitReplyDevice::modemStatus(serial::ModemLines& lines) {
    lines = {};
    return true;
}

bool SplitReplyDevice::lineErrors(serial::LineErrors& errors) {
    errors = {};
    return true;
}

int SplitReplyDevice::inputCount() {
    // The exchange state belongs to the GUI thread; the polling thread only
    // ever sees what is already waiting.
    const bool guiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    std::lock_guard<std::mutex> lock(mutex_);
    if (guiThread && !tailGiven_ && ExchangeState.RxLength == script_.head.size() &&
        written_.size() >= script_.requestLength) {
        tailGiven_ = true;
        input_.insert(input_.end(), script_.tail.begin(), script_.tail.end());
    }
    return static_cast<int>(input_.size());
}

long SplitReplyDevice::writeNow(const std::uint8_t* data, std::size_t count) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool before = written_.size() >= script_.requestLength;
    written_.insert(written_.end(), data, data + count);
    if (!before && written_.size() >= script_.requestLength)
        input_.insert(input_.end(), script_.head.begin(), script_.head.end());
    return static_cast<long>(count);
}

long SplitReplyDevice::readNow(std::uint8_t* data, std::size_t count) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t n = std::min(count, input_.size());
    std::copy_n(input_.begin(), n, data);
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(n));
    return static_cast<long>(n);
}

serial::WaitResult SplitReplyDevice::waitReadable(int timeoutMs) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!input_.empty())
            return serial::WaitResult::Ready;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(std::min(timeoutMs, 5)));
    return serial::WaitResult::TimedOut;
}

} // namespace enginetest
