#include "sim_port.h"

#include <algorithm>
#include <fcntl.h>
#include <limits>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace simtest {

Port::Port(const QString& path) {
    fd_ = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
    }
}

Port::~Port() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool Port::send(const Bytes& bytes) {
    return fd_ >= 0 &&
           ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

Bytes Port::read(std::size_t count, int timeoutMs) {
    return readUntil(count, timeoutMs, -1);
}

Bytes Port::readAny(int timeoutMs, int quietMs) {
    return readUntil(std::numeric_limits<std::size_t>::max(), timeoutMs, quietMs);
}

Bytes Port::readUntil(std::size_t count, int timeoutMs, int quietMs) {
    Bytes out;
    const auto start = std::chrono::steady_clock::now();
    while (out.size() < count && fd_ >= 0) {
        int left = timeoutMs - static_cast<int>(ElapsedMs(start));
        if (!out.empty() && quietMs >= 0)
            left = std::min(left, quietMs);
        if (left <= 0)
            break;
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, left) <= 0 || !(pfd.revents & POLLIN))
            break;
        std::uint8_t buf[256];
        const ssize_t n = ::read(fd_, buf, std::min(sizeof buf, count - out.size()));
        if (n <= 0)
            break;
        out.insert(out.end(), buf, buf + n);
    }
    return out;
}

bool Port::hungUp(int timeoutMs) {
    if (fd_ < 0)
        return true;
    pollfd pfd{fd_, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) <= 0)
        return false;
    if (pfd.revents & (POLLHUP | POLLERR))
        return true;
    std::uint8_t b = 0;
    return ::read(fd_, &b, 1) <= 0;
}

} // namespace simtest
