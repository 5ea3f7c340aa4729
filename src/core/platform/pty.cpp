#include "platform/pty.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

PseudoTerminal::~PseudoTerminal() {
    close();
}

bool PseudoTerminal::open() {
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return false;
    char name[128] = {};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        close();
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slaveKeep_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeep_ < 0) {
        close();
        return false;
    }
    termios tio{};
    if (::tcgetattr(slaveKeep_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveKeep_, TCSANOW, &tio);
    }
    const int flags = ::fcntl(master_, F_GETFL);
    ::fcntl(master_, F_SETFL, flags | O_NONBLOCK);
    return true;
}

bool PseudoTerminal::write(const std::uint8_t* data, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        if (master_ < 0)
            return false;
        const ssize_t n = ::write(master_, data + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd pfd{master_, POLLOUT, 0};
        ::poll(&pfd, 1, 100);
    }
    return true;
}

int PseudoTerminal::read(std::vector<std::uint8_t>& out, int timeoutMs, std::size_t max) {
    if (master_ < 0)
        return -1;
    pollfd pfd{master_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (ready < 0)
        return errno == EINTR ? 0 : -1;
    if (ready == 0 || !(pfd.revents & POLLIN))
        return (pfd.revents & (POLLERR | POLLNVAL)) ? -1 : 0;
    std::uint8_t chunk[512];
    std::size_t total = 0;
    while (total < max) {
        const std::size_t want = std::min(sizeof chunk, max - total);
        const ssize_t n = ::read(master_, chunk, want);
        if (n <= 0)
            break;
        out.insert(out.end(), chunk, chunk + n);
        total += static_cast<std::size_t>(n);
    }
    return static_cast<int>(total);
}

void PseudoTerminal::close() {
    if (slaveKeep_ >= 0)
        ::close(slaveKeep_);
    if (master_ >= 0)
        ::close(master_);
    slaveKeep_ = master_ = -1;
}

} // namespace platform
