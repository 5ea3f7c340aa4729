#include "pty_line.h"

#include "platform/port_map.h"
#include "platform/user_folders.h"
#include "support/test_env.h"

#include <QDir>
#include <QFile>
#include <poll.h>
#include <unistd.h>

namespace serialtest {

PtyPort::PtyPort(int number) : comName_(QStringLiteral("COM%1").arg(number)) {
    platform::SetSysfsRoot(testenv::TempRoot() + QStringLiteral("/no-sysfs"));
    QDir().mkpath(platform::PortsFolder());
    link_ = platform::PortsFolder() + QLatin1Char('/') + comName_;
    QFile::remove(link_);
    ok_ = pty_.open() && QFile::link(pty_.slavePath(), link_);
}

PtyPort::~PtyPort() {
    QFile::remove(link_);
    platform::SetSysfsRoot({});
}

LineRecorder::LineRecorder(int masterFd) : fd_(masterFd), thread_([this] { run(); }) {}

LineRecorder::~LineRecorder() {
    stop_ = true;
    thread_.join();
}

void LineRecorder::run() {
    while (!stop_) {
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, 5) <= 0 || !(pfd.revents & POLLIN))
            continue;
        std::uint8_t chunk[256];
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        const auto now = Clock::now();
        std::lock_guard<std::mutex> lock(mutex_);
        for (ssize_t i = 0; i < n; ++i)
            arrivals_.push_back({chunk[i], now});
    }
}

std::vector<LineRecorder::Arrival> LineRecorder::arrivals() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return arrivals_;
}

std::size_t LineRecorder::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return arrivals_.size();
}

void LineRecorder::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    arrivals_.clear();
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace serialtest
